#!/usr/bin/env bash
# Makes the seed corpora under fuzz/corpus from the test fixtures. Needs a built kelvo-cli
# (for the record files) and ImageMagick's convert (for the pictures).
#
# Usage: fuzz/make_corpus.sh PATH/TO/kelvo-cli
set -euo pipefail
cd "$(dirname "$0")/.."
cli=$(realpath "$1")
out=fuzz/corpus
rm -rf "$out"
mkdir -p "$out"/{line_grammar,text_import,expression,computation,date_time,page_layout} \
    "$out"/{consultation,data_exchange,bitmap,jpeg,answers,desktop_options,desktop_script}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

texts=(examples/fahrradberater.txt tests/app/fixtures/weather.txt tests/app/fixtures/consult/*.txt
       tests/authoring/fixtures/*.txt)

# Text forms whole, and their distinct lines one by one.
for f in "${texts[@]}"; do cp "$f" "$out/text_import/$(basename "$f")"; done
i=0
cat "${texts[@]}" | tr -d '\r' | sort -u | while IFS= read -r line; do
    i=$((i + 1))
    printf '%s' "$line" >"$out/line_grammar/line$i"
done

# Record files of the fixtures that import, with the answers of the consult tests after them.
marker=$'\x01ANTWORTEN\x01'
pair() {  # TEXT-FORM ANSWERS NAME
    "$cli" import "$1" "$work/$3.WBP" >/dev/null 2>&1 || return 0
    { cat "$work/$3.WBP"; printf '%s' "$marker"; cat "$2"; } >"$out/consultation/$3"
}
consult=tests/app/fixtures/consult
pair "$consult/question.txt" "$consult/question_weiter.jsonl" question_weiter
pair "$consult/question.txt" "$consult/question_abbruch.jsonl" question_abbruch
pair "$consult/solution.txt" "$consult/breakoff_confirmed.jsonl" solution_breakoff
pair "$consult/form_page.txt" "$consult/form_page.jsonl" form_page
pair "$consult/media.txt" "$consult/media.jsonl" media
pair "$consult/file_dialog.txt" "$consult/file_dialog.jsonl" file_dialog
pair "$consult/unreachable.txt" "$consult/inspector_yes.jsonl" unreachable
pair examples/fahrradberater.txt "$consult/fahrradberater_ebike.jsonl" fahrradberater
for f in "$consult"/*.txt tests/app/fixtures/weather.txt; do
    name=$(basename "$f" .txt)
    [ -f "$out/consultation/$name" ] && continue
    "$cli" import "$f" "$work/$name.WBP" >/dev/null 2>&1 && cp "$work/$name.WBP" "$out/consultation/$name"
done
[ -f "$work/solution.WBP" ] && { cat "$work/solution.WBP"; printf '%s#user\n' "$marker"; } \
    >"$out/consultation/solution_user"

# Text forms, consulted line by line.
{ cat "$consult/question.txt"; printf '%s' "$marker"; cat "$consult/question_weiter.jsonl"; } \
    >"$out/consultation/text_question"
{ cat "$consult/commands_and_print.txt"; printf '%s' "$marker"; } >"$out/consultation/text_commands"
{ cat tests/app/fixtures/weather.txt; printf '%s' "$marker"; } >"$out/consultation/text_weather"

# Answers scripts with the fixture they answer.
answers() {  # FIXTURE ANSWERS
    { printf '#%s\n' "$1"; cat "$2"; } >"$out/answers/$(basename "$2" .jsonl)"
}
answers question "$consult/question_weiter.jsonl"
answers question "$consult/question_abbruch.jsonl"
answers question "$consult/malformed.jsonl"
answers question "$consult/not_fitting.jsonl"
answers solution "$consult/breakoff_confirmed.jsonl"
answers solution "$consult/breakoff_declined.jsonl"
answers form_page "$consult/form_page.jsonl"
answers media "$consult/media.jsonl"
answers file_dialog "$consult/file_dialog.jsonl"
answers unreachable "$consult/inspector_yes.jsonl"
answers fahrradberater "$consult/fahrradberater_ebike.jsonl"
answers fahrradberater "$consult/fahrradberater_stadtrad.jsonl"

# Desktop scripts (docs/desktop-format.md).
printf '%s\n' '{"menu":"Neu"}' '{"file":"NEU.wbp"}' '{"menu":"Bearbeiten"}' \
    '{"type":"K Kommentar"}' '{"key":"Enter"}' '{"type":"Z ZIEL"}' '{"key":"Enter"}' \
    '{"click":"Schliesen_1"}' '{"menu":"Beenden"}' >"$out/desktop_script/new_and_edit"
printf '%s\n' '{"menu":"Öffnen"}' '{"file":"WETTER.WBP"}' '{"menu":"Starten"}' \
    '{"page":"weiter"}' '{"breakoff":true}' '{"answer":"yes"}' '{"answer":"no"}' \
    '{"menu":"Compilieren"}' '{"answer":"yes"}' '{"menu":"Schließen"}' '{"menu":"Beenden"}' \
    >"$out/desktop_script/open_start_compile"
printf '%s\n' '{"menu":"Öffnen"}' '{"file":"WETTER.WBP"}' '{"menu":"Bearbeiten"}' \
    '{"key":"Down"}' '{"click":"Von_1"}' '{"key":"PageDown"}' '{"click":"Bis_1"}' \
    '{"click":"Kopieren_1"}' '{"click":"Suchen"}' '{"input":"TEE"}' '{"row":3}' \
    '{"select":[0,4]}' '{"wheel":-120}' '{"wheel":-120}' '{"click":"Schliesen_Starten"}' \
    '{"page":"weiter"}' '{"close":true}' '{"answer":"yes"}' >"$out/desktop_script/editor_blocks"
printf '#user\n%s\n' '{"page":"weiter"}' '{"key":"F2"}' '{"pointer":[10,20]}' '{"key":"F2"}' \
    '{"menu":"Info"}' '{"menu":"Beenden"}' >"$out/desktop_script/user_module"

# The desktop options.
printf '%s' '{"available":true,"width":800,"height":600}' >"$out/desktop_options/size"
printf '%s' '{"background":{"red":1,"green":2,"blue":3},"pixels":[{"x":1,"y":2,"red":255}],"escapeAtQuery":[1,3]}' \
    >"$out/desktop_options/pixels"
printf '%s' '{"available":false}' >"$out/desktop_options/unavailable"
printf '%s' '2017-07-01 14:05:09' >"$out/desktop_options/clock"
printf '%s' '1024x768' >"$out/desktop_options/screen"

# Expressions, then values for the variables.
n=0
for e in '=2+3*4' '=(2+3)*4' '=1E3/4' '=-0.0001*1' '=SIN(30)' '=SQR(-4)' '=LOG(0)' \
    '=INT(7.5)+FRAC(2.25)+ABS(-1)' '=ATAN(1)+ASIN(0.5)+ACOS(0.5)+RND(1)' \
    '=[A]*2 "Kommentar" +<B>' '=123456789*1000000'; do
    n=$((n + 1))
    printf '%s\n12.5\n  3  \nabc\n1e400' "$e" >"$out/expression/e$n"
done

# Computation lines (typed; the target normalizes them) and numeric variables.
printf '%s\n' 'M [+PUNKTE] = ((0) + (0))' 'M [+PUNKTE] = ([+PUNKTE] + (2))' \
    'M [+TASSEN] = ([TEMPERATUR] / (4))' '[TEMPERATUR]=           8.500' >"$out/computation/sum"
printf '%s\n' 'M [X] = INT ([A] * (3.5))' 'M [Y] = FRAC ([A] / (0))' 'M [Z] = ([A] - [B])' \
    '[A]=          12.250' '[B]=abc' >"$out/computation/functions"
printf '%s\n' 'M [D] = DATE ([T] + (1))' 'M [E] = TIME ((0) + (0))' '[T]=      201707.010' \
    >"$out/computation/dates"

# Dates and times.
for d in '01.07.2017' '29.02.2000' '31.12.9999' ' 1.1.0001 ' '14:05:09' '23:59' ' 0:0:0 ' \
    '      201707.010' '30.02.2017'; do
    printf '%s' "$d" >"$out/date_time/$(printf '%s' "$d" | tr -c '0-9A-Za-z' '_')"
done

# Pages: body lines with fields, then facts and media lines.
printf '%s\n' 'Titel' 'Alter: ]ALTER]  [ANZEIGE[' '<WEITER<  <B1<' '>RAUCHER>' '|+FARBE{2}|' \
    $'\xabMEMO\xab' $'\xbbTEXT\xbb' >"$out/page_layout/fields"
printf '\n\x01\nANZEIGE=hallo\n+FARBE{1}=rot\n+FARBE{2}=blau\nTEXT=viel Text\n' \
    >>"$out/page_layout/fields"
printf '%s\n' 'Bilder' '<XBILDY.BMP<' '<XKAPUTT.BMP<' >"$out/page_layout/pictures"
printf '\n\x01\nG XBILDY.BMP (10.020) (30.040)\nG XTON.WAV (0) (0)\n' >>"$out/page_layout/pictures"

# Data exchange: header bytes, then another knowledge base.
[ -f "$work/weather.WBP" ] || "$cli" import tests/app/fixtures/weather.txt "$work/weather.WBP" >/dev/null
header() { printf "$1" >"$2"; cat "$work/weather.WBP" >>"$2"; }
header '\x00\x01\x03\x00\x01\x03\x04\x05' "$out/data_exchange/read_all"
header '\x00\x02\x00\x05\x00\x00\x00' "$out/data_exchange/read_variable"
header '\x04\x02\x01\x04\x03\x00\x00' "$out/data_exchange/search"
header '\x00\x01\x03\x06\x07\x08\x0b' "$out/data_exchange/write"
header '\x01\x01\x02\x0c\x09\x0a\x00' "$out/data_exchange/write_run_only"

# Pictures.
cp tests/app/fixtures/consult/bild.bmp "$out/bitmap/"
convert -size 5x3 gradient:red-blue -type bilevel "BMP3:$out/bitmap/bits1.bmp"
convert -size 5x3 gradient:red-blue -colors 16 -type palette "BMP3:$out/bitmap/bits4.bmp"
convert -size 7x3 gradient:red-blue -colors 200 -type palette "BMP3:$out/bitmap/bits8.bmp"
convert -size 5x3 gradient:red-blue -type truecolor "BMP3:$out/bitmap/bits24.bmp"
convert -size 5x3 gradient:red-blue -define bmp:subtype=RGB565 "$out/bitmap/bits16.bmp"
convert -size 5x3 gradient:red-blue -flip -define bmp:top-down=true "$out/bitmap/topdown.bmp" 2>/dev/null || true
convert -size 3x2 xc:yellow -define bmp:format=bmp4 -alpha on "$out/bitmap/alpha32.bmp" 2>/dev/null || true
convert -size 8x8 gradient:white-black "$out/jpeg/baseline.jpg"
convert -size 8x8 gradient:red-blue -interlace JPEG "$out/jpeg/progressive.jpg"
convert -size 16x8 gradient:white-black -colorspace Gray "$out/jpeg/grey.jpg"
echo "seeds written to $out"

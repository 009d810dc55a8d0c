#!/usr/bin/env bash
# The desktop's printouts through a real spooler: starts a private cupsd (its own folders and
# socket; a cupsd of the system is left alone) with a CUPS-PDF queue as the default printer,
# prints a print task of 130 lines with a picture, an editor block of 70 lines and a page's
# image through QtPrinter, and checks the PDFs the queue writes: their pages (pdfinfo), the
# pictures (pdfimages) and, on rendered pages, the picture's place.
#
# Usage: qt_printer_cups_round_trip.sh PRINTOUTS_PROGRAM
# With KELVO_KEEP_PRINTOUTS=FOLDER the queue's PDFs are copied there to be looked at.
# Exits 77 (skipped) with the reason when cupsd cannot run here.
set -uo pipefail

program=$1
skip() {
    echo "SKIPPED: $*"
    exit 77
}
fail() {
    echo "FAILED: $*"
    exit 1
}

[ "$(id -u)" -eq 0 ] || skip "cupsd and the cups-pdf backend need root"
cupsd=$(command -v cupsd || echo /usr/sbin/cupsd)
[ -x "$cupsd" ] || skip "cupsd is not installed (Debian package cups)"
backend=/usr/lib/cups/backend/cups-pdf
[ -x "$backend" ] || skip "the cups-pdf backend is not installed (printer-driver-cups-pdf)"
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
[ -f "$ppd" ] || skip "the CUPS-PDF driver description $ppd is missing"
for tool in lpadmin lpstat pdfinfo pdfimages pdftoppm gs; do
    command -v "$tool" >/dev/null || skip "$tool is not installed"
done

work=$(mktemp -d /tmp/kelvo-cups-XXXXXX)
chmod 755 "$work"
name=kelvo-test-$$
# The backend reads its settings from the system's folder, by the name in the device address.
backend_conf=/etc/cups/cups-pdf-$name.conf
daemon=
cleanup() {
    [ -n "$daemon" ] && kill "$daemon" 2>/dev/null && wait "$daemon" 2>/dev/null
    rm -f "$backend_conf"
    rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/etc/ppd" "$work/log" "$work/out" "$work/home" "$work/backend-spool" \
    "$work/spool" "$work/tmp" "$work/cache" "$work/state"
chmod 755 "$work/out" "$work/backend-spool" "$work/state"
# The filters run as the spooler's user (lp) and need the job files.
chgrp lp "$work/spool" "$work/tmp" "$work/cache" "$work/state" 2>/dev/null ||
    skip "the spooler's group lp does not exist"
chmod 0710 "$work/spool"
chmod 1770 "$work/tmp"
chmod 0770 "$work/cache"
cat >"$work/etc/cupsd.conf" <<EOF
Listen $work/cups.sock
LogLevel warn
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
cat >"$work/etc/cups-files.conf" <<EOF
ServerRoot $work/etc
RequestRoot $work/spool
TempDir $work/tmp
CacheDir $work/cache
StateDir $work/state
AccessLog $work/log/access_log
ErrorLog $work/log/error_log
PageLog $work/log/page_log
SystemGroup root
Sandboxing Relaxed
EOF
cat >"$backend_conf" <<EOF
Out $work/out
Spool $work/backend-spool
Label 1
AnonDirName $work/out
EOF

export CUPS_SERVER=$work/cups.sock
export HOME=$work/home
export LPDEST=$name
unset PRINTER

"$cupsd" -f -c "$work/etc/cupsd.conf" -s "$work/etc/cups-files.conf" >"$work/log/cupsd.out" 2>&1 &
daemon=$!
running() { [ "$(lpstat -r 2>/dev/null)" = "scheduler is running" ]; }
for _ in $(seq 1 100); do
    running && break
    kill -0 "$daemon" 2>/dev/null || break
    sleep 0.1
done
if ! running; then
    cat "$work/log/cupsd.out" "$work/log/error_log" 2>/dev/null | tail -20
    skip "the private cupsd did not start"
fi
lpadmin -p "$name" -v "cups-pdf:/$name" -P "$ppd" -E >/dev/null 2>&1 ||
    skip "the CUPS-PDF queue cannot be set up"
lpadmin -d "$name" >/dev/null 2>&1 || skip "the CUPS-PDF queue cannot be made the default"
echo "private cupsd at $CUPS_SERVER, default printer $(lpstat -d)"

# Waits for the queue to write the next PDF and prints its name.
next_pdf() {
    local before=$1
    for _ in $(seq 1 600); do
        local count
        count=$(find "$work/out" -name '*.pdf' | wc -l)
        if [ "$count" -gt "$before" ] && [ -z "$(lpstat -o 2>/dev/null)" ]; then
            ls -t "$work/out"/*.pdf | head -1
            return 0
        fi
        sleep 0.1
    done
    return 1
}

measure=$(dirname "$0")/rendered_page.py

# Page PAGE of a PDF rendered at 72 dots per inch, as a PPM file; prints its name.
render() {
    pdftoppm -r 72 -f "$2" -l "$2" -singlefile "$1" "$work/page" 2>/dev/null && echo "$work/page.ppm"
}

# The box of the pixels near COLOUR ("R,G,B") on a page, as "LEFT TOP WIDTH HEIGHT" in
# millimetres; "none" when there is no such pixel.
colour_box() {
    python3 "$measure" box "$(render "$1" "$2")" 72 "$3"
}

# The number of text rows on a page, left of 60 mm (where the pictures are not).
text_rows() {
    python3 "$measure" rows "$(render "$1" "$2")" 72 60
}

# Whether the box "LEFT TOP WIDTH HEIGHT" lies at LEFT and TOP (plus the printable area's
# offset, at most 10 mm) with WIDTH and HEIGHT, give or take a millimetre and a half.
box_at() {
    local box=$1 left=$2 top=$3 width=$4 height=$5
    [ "$box" != none ] || return 1
    awk -v box="$box" -v l="$left" -v t="$top" -v w="$width" -v h="$height" 'BEGIN {
        split(box, b, " ")
        dx = b[1] - l; dy = b[2] - t
        ok = dx > -1.5 && dx < 10 && dy > -1.5 && dy < 10 && \
             b[3] - w < 1.5 && w - b[3] < 1.5 && b[4] - h < 1.5 && h - b[4] < 1.5
        exit ok ? 0 : 1
    }'
}

# The pictures pdfimages lists, as "PAGE WIDTHxHEIGHT" lines.
pictures() {
    pdfimages -list "$1" | awk 'NR > 2 && $3 == "image" { print $1, $4 "x" $5 }'
}

failures=0
check() {
    local what=$1
    shift
    if "$@"; then
        echo "ok: $what"
    else
        echo "FAILED: $what"
        failures=$((failures + 1))
    fi
}

printed=0
print_one() {
    local test=$1
    "$program" --gtest_filter="QtPrinterOnTheDefaultPrinter.$test" --gtest_brief=1 ||
        fail "$test did not print on the default printer"
    pdf=$(next_pdf "$printed") || fail "$test: the queue wrote no PDF (see $work/log)"
    printed=$((printed + 1))
    echo "$test: $(basename "$pdf")"
    if [ -n "${KELVO_KEEP_PRINTOUTS:-}" ]; then
        mkdir -p "$KELVO_KEEP_PRINTOUTS" && cp "$pdf" "$KELVO_KEEP_PRINTOUTS/$test.pdf"
    fi
}

pages() { [ "$(pdfinfo "$1" | awk '/^Pages:/ { print $2 }')" = "$2" ]; }

print_one PrintTaskOf130LinesWithAPicture
check "print task: 3 pages" pages "$pdf" 3
rows="$(text_rows "$pdf" 1) $(text_rows "$pdf" 2) $(text_rows "$pdf" 3)"
check "print task: text rows 63 63 4 (found $rows)" [ "$rows" = "63 63 4" ]
check "print task: one picture, on page 1" [ "$(pictures "$pdf")" = "1 64x48" ]
# The picture fills its rectangle (left 100 mm, top 35 mm, 50 x 40 mm from the printable
# area's corner): its left half red, its right half blue.
red=$(colour_box "$pdf" 1 255,0,0)
blue=$(colour_box "$pdf" 1 0,0,255)
echo "red at $red, blue at $blue (mm)"
check "print task: the picture's red half at its place" box_at "$red" 100 35 25 40
check "print task: the picture's blue half at its place" box_at "$blue" 125 35 25 40

print_one EditorBlockOf70Lines
check "editor block: 2 pages" pages "$pdf" 2
rows="$(text_rows "$pdf" 1) $(text_rows "$pdf" 2)"
check "editor block: text rows 63 7 (found $rows)" [ "$rows" = "63 7" ]
check "editor block: no picture" [ "$(pictures "$pdf" | wc -l)" = 0 ]

print_one PageImage
check "page image: 1 page" pages "$pdf" 1
check "page image: one picture" [ "$(pictures "$pdf")" = "1 800x600" ]
# Scaled to the printable area's width, the page's green field is half as wide as it.
green=$(colour_box "$pdf" 1 0,160,0)
echo "green at $green (mm)"
check "page image: the green field fills half the width" \
    awk -v box="$green" 'BEGIN { split(box, b, " "); exit b[3] > 90 && b[3] < 105 ? 0 : 1 }'


[ "$failures" -eq 0 ] || fail "$failures checks failed"
echo "all printouts came through the spooler"

#include "forms/consultation_form.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "authoring/line_tokens.h"
#include "store/fact_base.h"
#include "store/fact_record.h"
#include "store/knowledge_base_image.h"
#include "store/stored_number.h"
#include "store/text_field.h"
#include "store/windows1252.h"

namespace kelvo {
namespace {

constexpr std::size_t kName = FactBase::kFieldWidth;

// ORDER ToolButton: names, hints and design lefts of the toolbar buttons.
constexpr std::array<std::string_view, kToolButtonCount> kToolNames{
    "Abbruch_Schalter",  "Drucken_Schalter",   "Datenbasis_Schalter", "Weiter_Schalter",
    "Kopieren_Schalter", "Einfuegen_Schalter", "VideoSound_Schalter"};
constexpr std::array<std::string_view, kToolButtonCount> kToolHints{
    "Sitzung abbrechen", "Formular drucken", "Datenbasis anzeigen",        "Weiter",
    "Kopieren",          "Einf\xFCgen",      "Video- Sounddatei abspielen"};
constexpr std::array<int, kToolButtonCount> kToolLefts{8, 40, 72, 104, 136, 168, 200};

// The window's size levels: the smallest screen of each level, its outer size and the scale of
// its controls.
struct SizeLevel {
    int screenWidth;
    int screenHeight;
    int width;
    int height;
    int numerator;
    int denominator;
};
constexpr std::array<SizeLevel, 5> kSizeLevels{{
    {0, 0, 590, 465, 10000, 10000},
    {801, 600, 670, 520, 11440, 10000},
    {1024, 768, 830, 640, 14286, 10000},
    {1280, 960, 1160, 865, 20000, 10100},
    {1600, 1200, 1400, 1050, 24286, 10000},
}};

constexpr int kStoredValueWidth = 30;

int GridLeft(int column) {
    return 5 + 7 * (column - 1);
}
int GridTop(int line) {
    return 30 + 15 * (line - 1);
}

bool EndsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

std::string LastThree(std::string_view text) {
    return ToUpper(text.size() >= 3 ? text.substr(text.size() - 3) : text);
}

// A number of the media commands is written with at most 4 characters, cut from a longer
// decimal text: 12345 is 1234, -12345 is -123. The window goes where the command puts it.
int MediaCommandNumber(int value) {
    const std::string text = std::to_string(value).substr(0, 4);
    int number = 0;
    std::from_chars(text.data(), text.data() + text.size(), number);
    return number;
}

// Splits a media line's number P into its integer part and its fraction times 1000. An integer
// part beyond the range of int stands for the nearest int, with no fraction.
void SplitPair(double p, int& whole, int& thousandths) {
    constexpr double kLowest = std::numeric_limits<int>::min();
    constexpr double kHighest = std::numeric_limits<int>::max();
    const double integral = std::trunc(p);
    if (std::isnan(p) || integral < kLowest || integral > kHighest) {
        whole = std::isnan(p)        ? 0
                : integral < kLowest ? std::numeric_limits<int>::min()
                                     : std::numeric_limits<int>::max();
        thousandths = 0;
        return;
    }
    whole = static_cast<int>(integral);
    thousandths = static_cast<int>(std::lround((p - integral) * 1000.0));
}

}  // namespace

std::string_view ToolButtonName(ToolButton button) {
    return kToolNames[static_cast<std::size_t>(button)];
}

std::string_view ToolButtonHint(ToolButton button) {
    return kToolHints[static_cast<std::size_t>(button)];
}

FormWindowSize FormWindowSizeFor(int screenWidth, int screenHeight) {
    FormWindowSize size;
    for (std::size_t i = 0; i < kSizeLevels.size(); ++i) {
        const SizeLevel& level = kSizeLevels[i];
        if (screenWidth >= level.screenWidth && screenHeight >= level.screenHeight) {
            size.width = level.width;
            size.height = level.height;
            size.level = static_cast<int>(i) + 1;
            size.scaleNumerator = level.numerator;
            size.scaleDenominator = level.denominator;
        }
    }
    return size;
}

TForm6::TForm6(const PageRequest& page, FactBase& facts, FormEnvironment environment)
    : facts_(facts),
      environment_(std::move(environment)),
      formMode_(page.formMode),
      formPage_(page.formPage),
      firstMediaLine_(page.firstMediaLine),
      solutionRecord_(page.solutionRecord) {
    for (std::string& line : formPage_) {
        line = PadRight(line, kColumns);
    }
    // 1.-3. SessionKey 27; empty pools, every field hidden.
    sessionKey_ = 27;
    for (int pool = 0; pool < kPoolCount; ++pool) {
        pools_[static_cast<std::size_t>(pool)].assign(
            static_cast<std::size_t>(kPoolSlots[static_cast<std::size_t>(pool)] + 1), FormSlot{});
    }
    // 4. The fields of the seven markers (mode 1), toolbar and labels, media lines.
    if (formMode_ == 1) {
        for (const char marker : {'\xAB', '\xBB', ']', '[', '<', '>', '|'}) {
            Komp_einfuegen(marker, marker);
        }
        Koordinaten_Festlegen();
        Grafik_einfuegen();
    } else {
        Koordinaten_Festlegen();
        Grafik_einfuegen();
        ClosingPage();
    }
    // 5. Window size and scale.
    window_ = FormWindowSizeFor(environment_.screenWidth, environment_.screenHeight);
}

const FormSlot& TForm6::Slot(Pool pool, int slot) const {
    return pools_[static_cast<std::size_t>(pool)][static_cast<std::size_t>(slot)];
}

FormSlot& TForm6::SlotRef(Pool pool, int slot) {
    return pools_[static_cast<std::size_t>(pool)][static_cast<std::size_t>(slot)];
}

const ToolButtonState& TForm6::Tool(ToolButton button) const {
    return tools_[static_cast<std::size_t>(button)];
}

int TForm6::ChooseSlot(Pool pool, int& running) {
    const int last = kPoolSlots[static_cast<std::size_t>(pool)];
    if (pool == Pool::Edit || pool == Pool::Memo) {
        // The lowest free slot; when all are in use, the last one is taken over.
        for (int slot = 1; slot <= last; ++slot) {
            if (!Slot(pool, slot).belegt) {
                return slot;
            }
        }
        return last;
    }
    // Running slot numbers, staying on the last slot once it is reached.
    running = std::min(running + 1, last);
    return running;
}

void TForm6::Komp_einfuegen(char bv, char bb) {
    FieldKind kind = FieldKind::Input;
    Pool pool = Pool::Edit;
    switch (bv) {
        case '\xAB':
            kind = FieldKind::MemoInput;
            pool = Pool::Memo;
            break;
        case '\xBB':
            kind = FieldKind::MemoDisplay;
            pool = Pool::Memo;
            break;
        case ']':
            break;
        case '[':
            kind = FieldKind::Display;
            break;
        case '<':
            kind = FieldKind::Button;
            pool = Pool::Button;
            break;
        case '>':
            kind = FieldKind::CheckBox;
            pool = Pool::CheckBox;
            break;
        case '|':
            kind = FieldKind::ListBox;
            pool = Pool::ListBox;
            break;
        default:
            return;
    }
    auto at = [this](int line, int column) -> char& {
        return formPage_[static_cast<std::size_t>(line)][static_cast<std::size_t>(column - 1)];
    };
    int running = 0;
    for (int r = 1; r <= kBodyLines; ++r) {
        for (int j = 1; j <= kColumns; ++j) {
            if (at(r, j) != bv) {
                continue;
            }
            const int posVon = j;
            int posBis = 0;
            for (int l = j + 1; l <= kColumns; ++l) {
                if (at(r, l) == bb) {
                    posBis = l;
                    break;
                }
            }
            if (posBis == 0) {
                continue;
            }
            // The field extends over the following lines that repeat its markers with only
            // blanks between them.
            int h = 1;
            for (int m = r + 1; m <= kBodyLines; ++m) {
                if (at(m, posVon) != bv || at(m, posBis) != bb) {
                    break;
                }
                const std::string_view between =
                    std::string_view(formPage_[static_cast<std::size_t>(m)])
                        .substr(static_cast<std::size_t>(posVon),
                                static_cast<std::size_t>(posBis - posVon - 1));
                if (between.find_first_not_of(' ') != std::string_view::npos) {
                    break;
                }
                ++h;
            }
            const std::string name =
                TrimRight(std::string_view(formPage_[static_cast<std::size_t>(r)])
                              .substr(static_cast<std::size_t>(posVon),
                                      static_cast<std::size_t>(posBis - posVon - 1)));
            if (name.empty() || name.find(' ') != std::string::npos) {
                continue;  // not a field: the text stays as written
            }
            const TokenStep step = NormalizeTextName(name, NameRule::DoublePlus);
            if (!step.ok()) {
                continue;
            }
            const std::string canonical = PadRight(step.stored, kName);
            for (int m = r; m < r + h; ++m) {
                for (int c = posVon; c <= posBis; ++c) {
                    at(m, c) = ' ';
                }
            }
            FormSlot& slot = SlotRef(pool, ChooseSlot(pool, running));
            slot.belegt = true;
            slot.belegtMit = canonical;
            FormComponent& component = slot.component;
            component = FormComponent{};
            component.kind = kind;
            component.readOnly = kind == FieldKind::Display || kind == FieldKind::MemoDisplay;
            component.line = r;
            component.column = posVon;
            component.columns = posBis - posVon + 1;
            component.lines = h;
            const bool singleLine = kind == FieldKind::Input || kind == FieldKind::Display;
            component.rect = {GridLeft(posVon), GridTop(r), 7 * component.columns,
                              singleLine ? 15 : 15 * h};
            FillField(kind, slot, canonical);
        }
    }
}

void TForm6::FillField(FieldKind kind, FormSlot& slot, const std::string& name) {
    FormComponent& component = slot.component;
    const bool found = facts_.LookupFact(name);
    switch (kind) {
        case FieldKind::Input:
        case FieldKind::Display:
        case FieldKind::MemoInput:
        case FieldKind::MemoDisplay:
            component.text = found ? TrimRight(facts_.FoundValue()) : std::string();
            component.visible = true;
            return;
        case FieldKind::Button:
        case FieldKind::CheckBox:
        case FieldKind::ListBox:
            break;
    }
    if (!found) {
        // The slot is used up but free again; no component shows it.
        slot.belegt = false;
        slot.belegtMit.clear();
        component.visible = false;
        return;
    }
    component.visible = true;
    if (kind == FieldKind::Button) {
        component.text = ToUpper(TrimRight(facts_.FoundValue()));
        if (EndsWith(component.text, ".BMP")) {
            const std::string file = component.text;
            component.text.clear();
            const std::string path =
                environment_.findFile ? environment_.findFile(file) : std::string();
            if (!path.empty() && environment_.pictureLoads && environment_.pictureLoads(path)) {
                component.picture = path;
            } else if (environment_.reportButtonPicture) {
                environment_.reportButtonPicture();
            }
        }
        return;
    }
    if (kind == FieldKind::CheckBox) {
        component.text = TrimRight(facts_.FoundValue());
        const std::string state = TrimRight(name) + ":";
        component.checked = state.size() <= kName && facts_.LookupFact(PadRight(state, kName)) &&
                            ToUpper(TrimRight(facts_.FoundValue())) == "WAHR";
        return;
    }
    // List box: the items base{1}, base{2}, ... up to the first that does not exist.
    const int subscript = facts_.SubscriptIndex();
    const std::string trimmed = TrimRight(name);
    const std::size_t brace = trimmed.rfind('{');
    const std::string base = brace == std::string::npos ? trimmed : trimmed.substr(0, brace);
    for (int k = 1;; ++k) {
        const std::string item = base + "{" + std::to_string(k) + "}";
        // A longer name would be cut to 30 characters and could name the same record forever.
        if (item.size() > kName || !facts_.LookupFact(PadRight(item, kName))) {
            break;
        }
        component.items.push_back(TrimRight(facts_.FoundValue()));
        if (k == subscript || PadRight(item, kName) == name) {
            component.selected = k;
        }
    }
}

void TForm6::Koordinaten_Festlegen() {
    scrollBars_ = FormScrollBars{1, 4, 0, kClientWidth - 1, kClientHeight - 1};
    auto place = [this](ToolButton button, int left) {
        ToolButtonState& state = tools_[static_cast<std::size_t>(button)];
        state.visible = true;
        state.left = left;
    };
    posSchalter_ = 40;
    for (std::size_t i = 0; i < tools_.size(); ++i) {
        tools_[i] = {false, kToolLefts[i]};
    }
    place(ToolButton::Abbruch, kToolLefts[0]);
    place(ToolButton::Drucken, kToolLefts[1]);
    if (environment_.programmingModule) {
        posSchalter_ += 32;
        place(ToolButton::Datenbasis, posSchalter_);
    }
    if (!Slot(Pool::Button, 1).belegt) {
        posSchalter_ += 32;
        place(ToolButton::Weiter, posSchalter_);
    }
    if (Slot(Pool::Edit, 1).belegt || Slot(Pool::Memo, 1).belegt) {
        posSchalter_ += 32;
        place(ToolButton::Kopieren, posSchalter_);
        posSchalter_ += 32;
        place(ToolButton::Einfuegen, posSchalter_);
    }
    caption_.clear();
    labels_.fill(std::string());
    if (formMode_ == 1) {
        caption_ = formPage_[0];
        for (int k = 1; k <= kBodyLines; ++k) {
            labels_[static_cast<std::size_t>(k - 1)] = formPage_[static_cast<std::size_t>(k)];
        }
    }
}

void TForm6::Grafik_einfuegen() {
    if (firstMediaLine_ == 0) {
        return;
    }
    pictures_.fill(FormPicture{});
    int counter = 1;
    const KnowledgeBaseImage& image = facts_.image();
    for (int p = firstMediaLine_; p > 0 && p <= image.LastRecord(); ++p) {
        const std::string_view text = image.Text(p);
        if (text.empty() || text[0] != 'G') {
            break;
        }
        ReadMediaLine(p);
        const std::string ext = LastThree(medianame_);
        if (ext == "AVI" || ext == "WAV" || ext == "MPG") {
            xHilf_ = x_;
            yHilf_ = y_;
            cxHilf_ = cx_;
            cyHilf_ = cy_;
            medianameHilf_ = medianame_;
            posSchalter_ += 32;
            tools_[static_cast<std::size_t>(ToolButton::VideoSound)] = {true, posSchalter_};
        } else if (ext == "BMP" || ext == "JPG") {
            const std::string path =
                environment_.findFile ? environment_.findFile(medianame_) : std::string();
            if (!path.empty() && counter >= 1 && counter <= kPictures) {
                pictures_[static_cast<std::size_t>(counter - 1)] = {true, path, {x_, y_, cx_, cy_}};
            }
            ++counter;
        }
    }
    firstMediaLine_ = 0;
}

// A media line: columns 3-32 the variable holding the file name, column 34 the position,
// column 53 the size, each "[" a numeric variable (18 columns) or "(" a number (16 columns
// inside). A part that cannot be read keeps the value of the line before.
void TForm6::ReadMediaLine(int position) {
    const std::string text = PadRight(facts_.image().Text(position), 82);
    if (facts_.LookupFact(text.substr(2, kName))) {
        medianame_ = ToUpper(TrimRight(facts_.FoundValue()));
    }
    auto pair = [&](std::size_t column, int& first, int& second) {
        std::optional<double> value;
        if (text[column - 1] == '[') {
            if (facts_.LookupFact(PadRight(text.substr(column - 1, kStoredNumberWidth), kName))) {
                value = facts_.FoundNumber();
            }
        } else if (text[column - 1] == '(') {
            value = ParseDecimalNumber(TrimLeft(TrimRight(text.substr(column, 16))));
        }
        if (value) {
            SplitPair(*value, first, second);
        }
    };
    pair(34, x_, y_);
    pair(53, cx_, cy_);
}

void TForm6::ClosingPage() {
    auto set = [this](int label, std::string_view text) {
        labels_[static_cast<std::size_t>(label - 1)] =
            CentreText(text, static_cast<std::size_t>(kColumns));
    };
    if (formMode_ == 2) {
        const FactRecord record(solutionRecord_);
        set(4, "Vom System ermittelte L\xF6sungen bei denen");
        set(5, "keine Abschlu\xDFtexte programmiert wurden!");
        set(8, "Objekt    = " + record.Name());
        set(9, "Wert      = " + record.Value());
        if (facts_.LookupFact(PadRight("+UW", kName))) {
            set(25, "[Aussagewahrscheinlichkeit = " + facts_.FoundValue().substr(0, 2) + " %]");
        }
    } else if (formMode_ == 3) {
        set(4, "Das Expertensystem KELVO konnte");
        set(5, "keine L\xF6sung f\xFCr Sie ermitteln!");
    }
}

void TForm6::Store(std::string_view name, std::string_view value) {
    facts_.StoreFact(PadRight(name, kName), value, "99", "02");
}

void TForm6::WeiterClick(std::optional<int> pageButton) {
    if (formMode_ == 1) {
        for (int k = 1; k <= kPoolSlots[0]; ++k) {
            const FormSlot& slot = Slot(Pool::Edit, k);
            if (slot.belegt && !slot.component.readOnly) {
                Store(slot.belegtMit, slot.component.text);
            }
        }
        if (pageButton) {
            const FormSlot& button = Slot(Pool::Button, *pageButton);
            Store("+KELVO_SCHALTER_VARIABLENNAME", button.belegtMit);
            Store("++KELVO_SCHALTER", ToLower(button.component.text));
        }
        for (int k = 1; k <= kPoolSlots[2]; ++k) {
            const FormSlot& slot = Slot(Pool::CheckBox, k);
            if (!slot.belegt) {
                continue;
            }
            const std::string state = TrimRight(slot.belegtMit) + ":";
            if (state.size() <= kName) {
                Store(state, PadRight(slot.component.checked ? "WAHR" : "FALSCH", kName));
            }
        }
        for (int n = 1; n <= kPoolSlots[3]; ++n) {
            const FormSlot& slot = Slot(Pool::ListBox, n);
            if (!slot.belegt) {
                continue;
            }
            const int selected = slot.component.selected;
            const std::string index = std::to_string(n);
            const std::string number =
                PadRight(FormatStoredNumber(static_cast<double>(selected)), kStoredValueWidth);
            Store("[" + PadRight("+LR{" + index + "}", 16) + "]", number);
            Store("++LR{" + index + "}",
                  selected > 0 ? slot.component.items[static_cast<std::size_t>(selected - 1)]
                               : PadRight("?", kStoredValueWidth));
        }
        for (int k = 1; k <= kPoolSlots[4]; ++k) {
            const FormSlot& slot = Slot(Pool::Memo, k);
            if (slot.belegt && !slot.component.readOnly) {
                Store(slot.belegtMit, slot.component.text);
            }
        }
    }
    sessionKey_ = 13;
    abbruch_ = true;
    closed_ = true;
}

void TForm6::AbbruchClick(const std::function<bool()>& askQuit) {
    if (askQuit()) {
        abbruch_ = true;
        sessionKey_ = 27;
        closed_ = true;
    } else {
        Focus_Setzen();
    }
}

bool TForm6::FormClose(const std::function<bool()>& askQuit) {
    if (!abbruch_) {
        AbbruchClick(askQuit);
    }
    if (!abbruch_) {
        closed_ = false;
        return false;
    }
    closed_ = true;
    return true;
}

bool TForm6::FormActivate() {
    abbruch_ = false;
    Focus_Setzen();
    return Tool(ToolButton::VideoSound).visible;
}

void TForm6::Focus_Setzen() {
    if (formMode_ == 1 && Slot(Pool::Button, 1).belegt) {
        focus_ = {Pool::Button, 1};
    }
}

void TForm6::DruckenClick(const std::function<void()>& printImage) {
    printImage();
    Focus_Setzen();
}

void TForm6::DialogClick(const std::function<void()>& showInspector) {
    showInspector();
    Focus_Setzen();
}

void TForm6::VideoSoundClick(const std::function<void(const MediaRequest& request)>& play) {
    if (const std::optional<MediaRequest> request = Video_Sound()) {
        play(*request);
    }
    Focus_Setzen();
}

std::string TForm6::Kurzer_Dateinamen(std::string_view name) const {
    return environment_.findFile && !name.empty() ? environment_.findFile(name) : std::string();
}

std::optional<MediaRequest> TForm6::Video_Sound() {
    // The name is looked up anew on every call, so a file deleted after the page was built
    // plays nothing.
    const std::string path = Kurzer_Dateinamen(medianameHilf_);
    if (path.empty()) {
        return std::nullopt;
    }
    const std::string ext = LastThree(path);
    const std::string name = path.find(' ') != std::string::npos ? "\"" + path + "\"" : path;
    MediaRequest request;
    request.file = path;
    if (ext == "MPG" || ext == "AVI") {
        request.kind = MediaKind::Video;
        request.window = {MediaCommandNumber(xHilf_), MediaCommandNumber(yHilf_),
                          MediaCommandNumber(cxHilf_), MediaCommandNumber(cyHilf_)};
        auto number = [](int value) { return std::to_string(MediaCommandNumber(value)); };
        request.commands = {"open " + name + (ext == "MPG" ? " type mpegvideo" : " type avivideo") +
                                " alias Film style popup",
                            "put Film wait window at " + number(xHilf_) + " " + number(yHilf_) +
                                " " + number(cxHilf_) + " " + number(cyHilf_),
                            "break Film on 27", "play Film wait", "close Film"};
        return request;
    }
    if (ext == "WAV") {
        request.kind = MediaKind::Sound;
        request.commands = {"open " + name + " type waveaudio alias Lied", "break Lied on 27",
                            "play Lied wait", "close Lied"};
        return request;
    }
    return std::nullopt;
}

FormComponent* TForm6::FocusedEdit() {
    if (focus_.pool != Pool::Edit && focus_.pool != Pool::Memo) {
        return nullptr;
    }
    FormSlot& slot = SlotRef(focus_.pool, focus_.slot);
    return slot.component.visible ? &slot.component : nullptr;
}

std::optional<std::string> TForm6::In_AblageClick() const {
    if (focus_.pool != Pool::Edit && focus_.pool != Pool::Memo) {
        return std::nullopt;
    }
    const FormComponent& component = Slot(focus_.pool, focus_.slot).component;
    if (!component.visible) {
        return std::nullopt;
    }
    const std::size_t start = std::min(component.selectionStart, component.text.size());
    return component.text.substr(start, component.selectionLength);
}

void TForm6::Aus_AblageClick(std::string_view text) {
    FormComponent* component = FocusedEdit();
    if (component == nullptr || component->readOnly) {
        return;
    }
    const std::size_t start = std::min(component->selectionStart, component->text.size());
    component->text.replace(start, component->selectionLength, text);
    component->selectionStart = start + text.size();
    component->selectionLength = 0;
}

bool TForm6::SetFieldText(FormControl control, std::string_view text) {
    if ((control.pool != Pool::Edit && control.pool != Pool::Memo) || control.slot < 1 ||
        control.slot > kPoolSlots[static_cast<std::size_t>(control.pool)]) {
        return false;
    }
    FormSlot& slot = SlotRef(control.pool, control.slot);
    if (!slot.component.visible || slot.component.readOnly) {
        return false;
    }
    slot.component.text = std::string(text);
    slot.component.selectionStart = slot.component.text.size();
    slot.component.selectionLength = 0;
    return true;
}

void TForm6::SetChecked(int slot, bool checked) {
    if (slot >= 1 && slot <= kPoolSlots[2]) {
        SlotRef(Pool::CheckBox, slot).component.checked = checked;
    }
}

bool TForm6::Select(int slot, int item) {
    if (slot < 1 || slot > kPoolSlots[3]) {
        return false;
    }
    FormComponent& list = SlotRef(Pool::ListBox, slot).component;
    if (item < 0 || item > static_cast<int>(list.items.size())) {
        return false;
    }
    list.selected = item;
    return true;
}

void TForm6::SetSelection(std::size_t start, std::size_t length) {
    if (FormComponent* component = FocusedEdit()) {
        start = std::min(start, component->text.size());
        component->selectionStart = start;
        component->selectionLength = std::min(length, component->text.size() - start);
    }
}

}  // namespace kelvo

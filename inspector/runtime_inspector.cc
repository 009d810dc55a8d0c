#include "inspector/runtime_inspector.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "store/fact_base.h"
#include "store/fact_record.h"
#include "store/knowledge_base_image.h"
#include "store/text_field.h"
#include "store/window_scale.h"

namespace kelvo {
namespace {

constexpr std::size_t kName = FactBase::kFieldWidth;
constexpr std::size_t kShownWidth = 82;
// What RecentStores holds where no store has been made yet.
constexpr std::string_view kUnwritten = "Leer";
constexpr std::string_view kNothingKnown = "Zu diesem Eintrag ist keine Begr\xFCndung bekannt.";

}  // namespace

TForm7::TForm7(FactBase& facts, int& breakpointLine,
               const std::array<std::string, kWatched>& watchedSources, int mainWidth,
               int mainHeight, FactExplainer explainFact)
    : facts_(facts), breakpointLine_(breakpointLine), explainFact_(std::move(explainFact)) {
    // FormCreate.
    Beobachtete_Variablen_einfuegen(watchedSources);
    breakpointEnabled_ = breakpointLine_ != 0;
    SetView(2);
    scale_ = FindScale(600, 480, mainWidth, 0.8, mainHeight);
    windowWidth_ = static_cast<int>(std::lround(600.0 * scale_ / 10000.0));
    windowHeight_ = static_cast<int>(std::lround(480.0 * scale_ / 10000.0));
    // FormShow.
    UmschaltenClick();
}

std::string TForm7::Umwandeln(std::string_view record) {
    const FactRecord fact(record);
    std::string text = "  " + fact.Name() + " (" + fact.Certainty() + ") . " + fact.Value();
    for (char& c : text) {
        if (c == '\r' || c == '\n' || c == '\t') {
            c = '#';
        }
    }
    return text;
}

void TForm7::SetView(int view) {
    view_ = view;
    const KnowledgeBaseImage& image = facts_.image();
    if (view_ == 1) {
        first_ = 1;
        limit_ = KnowledgeBaseImage::kRecentStoreCount + 1;
        title_ = "Datenbasis...Letzten " + std::to_string(KnowledgeBaseImage::kRecentStoreCount) +
                 " Speicherungen";
    } else {
        first_ = image.FactBoundary() + 1;
        limit_ = image.LastRecord() + 1;
        title_ = "Datenbasis...Komplett anzeigen";
    }
    scrollMax_ = limit_ - first_ > 0 ? limit_ - first_ : 1;
    scrollPosition_ = view_ == 1 ? 1 : scrollMax_;
    current_ = view_ == 1 ? first_ : limit_ - 1;
    Programmzeilen_aktualisieren();
}

void TForm7::UmschaltenClick() {
    SetView(view_ == 1 ? 2 : 1);
}

std::string TForm7::Entry(int n) const {
    const KnowledgeBaseImage& image = facts_.image();
    return view_ == 1 ? std::string(image.RecentStore(n).text()) : std::string(image.Text(n));
}

void TForm7::Programmzeilen_aktualisieren() {
    for (int k = 1; k <= kRows; ++k) {
        const int n = current_ + k - kMiddleRow;
        std::string& row = rows_[static_cast<std::size_t>(k - 1)];
        if (n >= first_ && n <= limit_ - 1) {
            row = Umwandeln(Entry(n)).substr(0, kShownWidth) + " ";
        } else {
            row = std::string(kShownWidth + 1, ' ');
        }
    }
}

void TForm7::Editorposition_aktualisieren(int jump) {
    current_ += jump;
    current_ = std::max(current_, first_);
    current_ = std::min(current_, limit_ - 1);
    scrollPosition_ = current_ - first_ + 1;
    Programmzeilen_aktualisieren();
}

void TForm7::Edit_HilfKeyDown(InspectorKey key) {
    switch (key) {
        case InspectorKey::Up:
            Editorposition_aktualisieren(-1);
            break;
        case InspectorKey::Down:
            Editorposition_aktualisieren(1);
            break;
        case InspectorKey::PageUp:
            Editorposition_aktualisieren(-6);
            break;
        case InspectorKey::PageDown:
            Editorposition_aktualisieren(6);
            break;
    }
}

void TForm7::text1Click(int row) {
    Editorposition_aktualisieren(row - kMiddleRow);
}

void TForm7::ScrollBar1Scroll(int position) {
    current_ = first_ - 1;
    Editorposition_aktualisieren(position);
}

void TForm7::MouseWheelHandler(int delta) {
    if (++wheelMessages_ % 2 != 0 || delta == 0) {
        return;
    }
    Editorposition_aktualisieren(delta < 0 ? 1 : -1);
}

void TForm7::Haltepunkt_loeschenClick() {
    breakpointLine_ = 0;
    breakpointEnabled_ = false;
}

bool TForm7::HasCurrentEntry() const {
    return current_ >= first_ && current_ <= limit_ - 1;
}

int TForm7::SelectedPosition() const {
    return view_ == 2 && HasCurrentEntry() ? current_ : -1;
}

std::string TForm7::SelectedRecord() const {
    if (!HasCurrentEntry()) {
        return {};
    }
    std::string record = Entry(current_);
    if (view_ == 1 && record == PadRight(kUnwritten, kShownWidth)) {
        return {};
    }
    return record;
}

bool TForm7::BegruendungEnabled() const {
    return static_cast<bool>(explainFact_) && !SelectedRecord().empty();
}

std::vector<std::string> TForm7::BegruendungClick() const {
    if (!BegruendungEnabled()) {
        return {};
    }
    std::vector<std::string> lines = explainFact_(SelectedPosition(), SelectedRecord());
    if (lines.empty()) {
        lines.emplace_back(kNothingKnown);
    }
    return lines;
}

void TForm7::Beobachtete_Variablen_einfuegen(const std::array<std::string, kWatched>& sources) {
    for (std::size_t i = 0; i < sources.size(); ++i) {
        const std::string text = TrimRight(TrimLeft(sources[i])).substr(0, kName);
        Watched& watched = watched_[i];
        if (text.empty()) {
            watched.name = PadRight("?", kName);
            watched.value = PadRight("Fehler", kName);
            continue;
        }
        watched.name = PadRight(text, kName);
        watched.value =
            facts_.LookupFact(watched.name) ? facts_.FoundValue() : PadRight("Fehler", kName);
    }
}

}  // namespace kelvo

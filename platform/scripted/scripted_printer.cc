#include "platform/scripted/scripted_printer.h"

#include <nlohmann/json.hpp>

#include "forms/picture_file.h"
#include "platform/scripted/scripted_platform.h"
#include "store/windows1252.h"

namespace kelvo {

ScriptedPrinter::ScriptedPrinter(ScriptedPlatform& platform, ScriptedPrinterOptions options)
    : platform_(platform), options_(options) {}

Status ScriptedPrinter::NoJob() const {
    return Error{"Druckauftrag ist nicht begonnen"};
}

Status ScriptedPrinter::BeginJob(std::string_view fontName, int pointSize) {
    if (open_) {
        return Error{"Druckauftrag l\xC3\xA4uft bereits"};
    }
    open_ = true;
    font_ = Windows1252ToUtf8(fontName);
    points_ = pointSize;
    pages_.assign(1, {});
    pictures_.clear();
    return {};
}

Expected<PageGeometry> ScriptedPrinter::Geometry() {
    return options_.page;
}

Status ScriptedPrinter::WriteLine(std::string_view text) {
    if (!open_) {
        return NoJob();
    }
    pages_.back().push_back(Windows1252ToUtf8(text));
    if (static_cast<int>(pages_.back().size()) >= options_.linesPerPage) {
        pages_.emplace_back();
    }
    return {};
}

Status ScriptedPrinter::DrawPicture(const std::filesystem::path& file, const PixelRect& rect) {
    if (!open_) {
        return NoJob();
    }
    auto picture = LoadPictureFile(file);
    if (!picture) {
        return picture.error();
    }
    pictures_.push_back({PageNumber(), file.string(), rect, picture->width, picture->height});
    return {};
}

void ScriptedPrinter::Finish(bool aborted) {
    // A last page with neither lines nor pictures is not printed.
    if (!pages_.empty() && pages_.back().empty() &&
        (pictures_.empty() || pictures_.back().page < PageNumber())) {
        pages_.pop_back();
    }
    nlohmann::json pictures = nlohmann::json::array();
    for (const PlacedPicture& placed : pictures_) {
        pictures.push_back({{"page", placed.page},
                            {"file", placed.file},
                            {"rect",
                             {{"left", placed.rect.left},
                              {"top", placed.rect.top},
                              {"right", placed.rect.right},
                              {"bottom", placed.rect.bottom}}},
                            {"width", placed.width},
                            {"height", placed.height}});
    }
    platform_.Record({{"event", "print"},
                      {"font", font_},
                      {"points", points_},
                      {"pages", pages_},
                      {"pictures", pictures},
                      {"aborted", aborted}});
    open_ = false;
    pages_.clear();
    pictures_.clear();
}

Status ScriptedPrinter::EndJob() {
    if (!open_) {
        return NoJob();
    }
    Finish(false);
    return {};
}

void ScriptedPrinter::AbortJob() {
    if (open_) {
        Finish(true);
    }
}

}  // namespace kelvo

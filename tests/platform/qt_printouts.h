#pragma once

// The three printouts of the desktop, made the way the program makes them: a print task run by
// a consultation, the editor's block print, and a page's image. The fallback tests and the
// round trip through a spooler print them alike.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <filesystem>
#include <string>
#include <vector>

#include "authoring/program_editor.h"
#include "authoring/program_line_check.h"
#include "store/knowledge_base_file.h"
#include "tests/authoring/editor_fakes.h"
#include "tests/engine/exchange_fixture.h"

namespace kelvo::testing {

/// The picture of the print task: 64 x 48 pixels, its left half red, its right half blue.
inline void WriteTestPicture(const std::filesystem::path& file) {
    QImage picture(64, 48, QImage::Format_RGB888);
    picture.fill(QColor(0, 0, 255));
    QPainter painter(&picture);
    painter.fillRect(0, 0, 32, 48, QColor(255, 0, 0));
    painter.end();
    picture.save(QString::fromStdString(file.string()), "BMP");
}

/// Where the print task places its picture, in millimetres from the top left of the printable
/// area: left 100, top 35, 50 wide and 40 high.
inline constexpr double kPictureLeftMm = 100.0;
inline constexpr double kPictureTopMm = 35.0;
inline constexpr double kPictureWidthMm = 50.0;
inline constexpr double kPictureHeightMm = 40.0;

/// A print task of the lines "Zeile 1" to "Zeile `lines`" with the picture after the first
/// line, printed by one "<DRUCKEN>" through `printer`. Returns the consultation's message
/// boxes (UTF-8 texts).
inline std::vector<std::string> PrintTask(Printer& printer, int lines,
                                          const std::filesystem::path& picture) {
    std::vector<std::string> body;
    for (int i = 1; i <= lines; ++i) {
        body.push_back("T Zeile " + std::to_string(i));
        if (i == 1) {
            body.push_back("G ++BILD (100.035) (50.040)");
        }
    }
    body.push_back("T <DRUCKEN>");
    auto run =
        RunProgram(ExchangeProgram("C", body), {{"++BILD", picture.string()}}, {}, {}, &printer);
    std::vector<std::string> messages;
    for (const nlohmann::json& message : run->Events("message")) {
        messages.push_back(message.at("text"));
    }
    return messages;
}

/// The editor's block print of a program of `lines` comment lines "K 1" to "K `lines`", all
/// of them marked, written as PROG.WBP in `folder`. Returns the editor's message boxes
/// (Windows-1252 texts).
inline std::vector<std::string> PrintEditorBlock(Printer& printer,
                                                 const std::filesystem::path& folder, int lines) {
    std::vector<LineRecord> records;
    for (int i = 1; i <= lines; ++i) {
        records.emplace_back(CheckProgramLine("K " + std::to_string(i)).line);
    }
    const std::filesystem::path path = folder / "PROG.WBP";
    {
        auto created = KnowledgeBaseFile::Create(path);
        EXPECT_TRUE(created.ok());
        EXPECT_TRUE(created.ok() && created->WriteAll(records).ok());
    }
    auto file = KnowledgeBaseFile::Open(path, KnowledgeBaseFile::Mode::ReadWrite);
    EXPECT_TRUE(file.ok());
    if (!file.ok()) {
        return {};
    }
    EditorDesk desk;
    desk.services.printer = &printer;
    EditorState state;
    TForm2 editor(*file, state, desk.services);
    editor.ScrollBar1Scroll(0);
    EXPECT_TRUE(editor.Click(EditorButton::Von_1));
    editor.ScrollBar1Scroll(lines - 1);
    EXPECT_TRUE(editor.Click(EditorButton::Bis_1));
    EXPECT_TRUE(editor.Click(EditorButton::Drucken_1));
    return desk.dialogs.Texts();
}

/// A page's image as the window gives it: 800 x 600 pixels, white, with a green field of
/// 400 x 300 pixels at its centre.
inline QImage PageImage() {
    QImage image(800, 600, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.fillRect(200, 150, 400, 300, QColor(0, 160, 0));
    painter.end();
    return image;
}

}  // namespace kelvo::testing

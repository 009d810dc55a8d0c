// The terminal's own services: its printer and its file dialogs.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/terminal/terminal_platform.h"
#include "platform/terminal/terminal_printer.h"
#include "tests/bitmap_fixture.h"
#include "tests/case_name.h"
#include "tests/store/temp_dir.h"

namespace kelvo {
namespace {

TEST(TerminalPrinter, WritesAFinishedJobPageByPage) {
    TempDir dir;
    const std::string picture = (dir / "bild.bmp").string();
    WriteSmallBitmap(picture);
    std::ostringstream out;
    TerminalPrinter printer(out, {PageGeometry{210.0, 297.0, 4961, 7016}, 2});
    ASSERT_TRUE(printer.BeginJob("Courier New", 10).ok());
    EXPECT_EQ(printer.PageNumber(), 1);
    ASSERT_TRUE(printer.WriteLine("Erste Zeile   ").ok());
    ASSERT_TRUE(printer
                    .WriteLine("Gr\xFC\xDF"
                               "e")
                    .ok());  // fills page 1
    EXPECT_EQ(printer.PageNumber(), 2);
    ASSERT_TRUE(printer.DrawPicture(picture, {10, 20, 110, 220}).ok());
    ASSERT_TRUE(printer.WriteLine("").ok());
    EXPECT_EQ(out.str(), "");  // nothing before the job ends
    ASSERT_TRUE(printer.EndJob().ok());
    const std::string text = out.str();
    EXPECT_NE(text.find("== Druckausgabe (Courier New, 10 Punkt) ==\n--- Seite 1 ---\nErste "
                        "Zeile\nGr\xC3\xBC\xC3\x9F"
                        "e\n--- Seite 2 ---\n\n(Bild: " +
                        picture + ", 2x1 Bildpunkte, auf der Seite von 10,20 bis 110,220)\n"),
              std::string::npos)
        << text;
    EXPECT_TRUE(text.ends_with("== Ende der Druckausgabe ==\n")) << text;
    EXPECT_EQ(text.find("Seite 3"), std::string::npos);
}

TEST(TerminalPrinter, AnAbortedJobPrintsNothingAndABrokenPictureFails) {
    TempDir dir;
    { std::ofstream(dir / "kaputt.bmp", std::ios::binary) << "BM kein Bild"; }
    std::ostringstream out;
    TerminalPrinter printer(out);
    EXPECT_FALSE(printer.WriteLine("ohne Auftrag").ok());
    ASSERT_TRUE(printer.BeginJob("Arial", 12).ok());
    EXPECT_FALSE(printer.BeginJob("Arial", 12).ok());
    ASSERT_TRUE(printer.WriteLine("geheim").ok());
    EXPECT_FALSE(printer.DrawPicture(dir / "kaputt.bmp", {0, 0, 1, 1}).ok());
    printer.AbortJob();
    EXPECT_EQ(out.str().find("geheim"), std::string::npos);
    EXPECT_NE(out.str().find("Druckauftrag abgebrochen"), std::string::npos);
    EXPECT_FALSE(printer.EndJob().ok());
}

struct DialogCase {
    std::string name;
    std::string typed;
    bool save = false;
    bool withFolder = true;
    std::string expected;  ///< below the folder; "-" for cancelled
    std::string shownTitle;

    friend void PrintTo(const DialogCase& row, std::ostream* out) { *out << row.name; }
};

class TerminalFileDialog : public testing::TestWithParam<DialogCase> {};

TEST_P(TerminalFileDialog, AsksForAPath) {
    const DialogCase& row = GetParam();
    TempDir dir;
    std::istringstream in(row.typed);
    std::ostringstream out;
    TerminalPlatform platform(in, out, {});
    FileDialogRequest request;
    request.title = row.name == "OwnTitle" ? "Datei w\xE4hlen" : "";
    request.filters = SplitFileFilter("Texte|*.TXT|Alle Dateien|*.*");
    request.folder = row.withFolder ? dir.path().string() : "";
    const auto chosen = row.save ? platform.SaveFileName(request) : platform.OpenFileName(request);
    if (row.expected == "-") {
        EXPECT_FALSE(chosen.has_value());
    } else {
        ASSERT_TRUE(chosen.has_value());
        const std::filesystem::path base =
            row.withFolder ? dir.path() : std::filesystem::current_path();
        EXPECT_EQ(*chosen, (base / row.expected).lexically_normal().string());
    }
    EXPECT_NE(out.str().find("== " + row.shownTitle + " =="), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("Texte (*.TXT)"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Terminal, TerminalFileDialog,
    testing::Values(DialogCase{"RelativeToTheFolder", "daten/a.txt\n", false, true, "daten/a.txt",
                               "\xC3\x96"
                               "ffnen"},
                    DialogCase{"DotsAreResolved", "x/../b.txt\n", true, true, "b.txt",
                               "Speichern unter"},
                    DialogCase{"CurrentFolderWithoutOne", "c.txt\n", false, false, "c.txt",
                               "\xC3\x96"
                               "ffnen"},
                    DialogCase{"EmptyLineCancels", "\n", false, true, "-",
                               "\xC3\x96"
                               "ffnen"},
                    DialogCase{"EndOfInputCancels", "", true, true, "-", "Speichern unter"},
                    DialogCase{"OwnTitle", "d.txt\n", false, true, "d.txt", "Datei w\xC3\xA4hlen"}),
    CaseName{});

}  // namespace
}  // namespace kelvo

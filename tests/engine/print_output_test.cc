// Print output: collecting the print buffer and printing it on the scripted printer.
#include <gtest/gtest.h>

#include <fstream>

#include "engine/print_output.h"
#include "platform/scripted/scripted_printer.h"
#include "tests/case_name.h"
#include "tests/engine/exchange_fixture.h"
#include "tests/store/temp_dir.h"

namespace kelvo {
namespace {

// The print lines run as the "= (C)" action of B's task block, after its "= (V)" action has
// stored the preset facts.
std::string PrintProgram(const std::vector<std::string>& body) {
    return ExchangeProgram("C", body);
}

std::vector<std::string> TextLines(int count) {
    std::vector<std::string> lines;
    for (int i = 1; i <= count; ++i) {
        lines.push_back("T Zeile " + std::to_string(i));
    }
    return lines;
}

// Prints a program on a scripted printer and keeps its events.
struct PrintRun {
    explicit PrintRun(const std::string& program, PresetFacts facts = {},
                      ScriptedPrinterOptions options = {}, std::vector<nlohmann::json> answers = {})
        : harness(std::make_unique<ConsultationHarness>(program, std::move(answers),
                                                        ConsultationConfig{})),
          printer(harness->platform(), options) {
        harness->consultation().services().printer = &printer;
        harness->consultation().SetTaskRunner(
            TaskSlot::VariableCommands, [facts = std::move(facts)](Consultation& c, int) {
                for (const auto& [name, value] : facts) {
                    c.facts().StoreFact(PadRight(name, 30), value, "99", "02");
                }
            });
        harness->Run();
    }
    std::vector<nlohmann::json> Prints() const { return harness->Events("print"); }

    std::unique_ptr<ConsultationHarness> harness;
    ScriptedPrinter printer;
};

// The printed text lines of a page (those that are not empty).
std::vector<std::string> Printed(const nlohmann::json& page) {
    std::vector<std::string> lines;
    for (const nlohmann::json& line : page) {
        if (!line.get<std::string>().empty()) {
            lines.push_back(line);
        }
    }
    return lines;
}

bool StartsWithTopMargin(const nlohmann::json& page) {
    if (page.size() < 5) {
        return false;
    }
    for (std::size_t i = 0; i < 4; ++i) {
        if (page[i] != "") {
            return false;
        }
    }
    return page[4] != "";
}

struct PagingCase {
    std::string name;
    int linesPerPage;
};

class Paging : public testing::TestWithParam<PagingCase> {};

TEST_P(Paging, Of130LinesGivesPagesOf63And63And4) {
    std::vector<std::string> body = TextLines(130);
    body.push_back("T <DRUCKEN>");
    ScriptedPrinterOptions options;
    options.linesPerPage = GetParam().linesPerPage;
    PrintRun run(PrintProgram(body), {}, options);
    const std::vector<nlohmann::json> prints = run.Prints();
    ASSERT_EQ(prints.size(), 1u);
    EXPECT_EQ(prints[0]["aborted"], false);
    EXPECT_EQ(prints[0]["font"], "Courier New");
    EXPECT_EQ(prints[0]["points"], 10);
    const nlohmann::json& pages = prints[0]["pages"];
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(Printed(pages[0]).size(), 63u);
    EXPECT_EQ(Printed(pages[1]).size(), 63u);
    EXPECT_EQ(Printed(pages[2]), (std::vector<std::string>{"     Zeile 127", "     Zeile 128",
                                                           "     Zeile 129", "     Zeile 130"}));
    for (const nlohmann::json& page : pages) {
        EXPECT_TRUE(StartsWithTopMargin(page)) << page.dump();
    }
    EXPECT_EQ(pages[1][4], "     Zeile 64");
    EXPECT_EQ(run.harness->platform().statusText(), "Bearbeitung l\xE4uft !");
}

INSTANTIATE_TEST_SUITE_P(PrintOutput, Paging,
                         testing::Values(PagingCase{"PageOfExactly67Lines", 67},
                                         PagingCase{"TallerPage", 72}),
                         CaseName());

TEST(PrintOutput, DruckenInLowerCaseIsRecognised) {
    PrintRun run(PrintProgram({"T eins", "T <drucken>"}));
    const std::vector<nlohmann::json> prints = run.Prints();
    ASSERT_EQ(prints.size(), 1u);
    EXPECT_EQ(prints[0]["pages"],
              nlohmann::json::array({nlohmann::json::array({"", "", "", "", "     eins"})}));
}

TEST(PrintOutput, DruckenWithAnEmptyBufferStartsNoJob) {
    PrintRun run(PrintProgram({"T <DRUCKEN>", "T <DRUCKEN>"}));
    EXPECT_TRUE(run.Prints().empty());
}

TEST(PrintOutput, NeueSeiteBeginsANewPageAndIsNotPrinted) {
    ScriptedPrinterOptions options;
    options.linesPerPage = 10;
    PrintRun run(PrintProgram({"T vorher", "T <neue_seite>", "T nachher", "T <DRUCKEN>"}), {},
                 options);
    const std::vector<nlohmann::json> prints = run.Prints();
    ASSERT_EQ(prints.size(), 1u);
    const nlohmann::json& pages = prints[0]["pages"];
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].size(), 10u);
    EXPECT_EQ(Printed(pages[0]), (std::vector<std::string>{"     vorher"}));
    EXPECT_EQ(pages[1], nlohmann::json::array({"", "", "", "", "     nachher"}));
}

TEST(PrintOutput, NeueSeiteAfterAFullPageBeginsOnlyOnePage) {
    std::vector<std::string> body = TextLines(63);
    body.push_back("T <NEUE_SEITE>");
    body.push_back("T danach");
    body.push_back("T <DRUCKEN>");
    PrintRun run(PrintProgram(body));
    const std::vector<nlohmann::json> prints = run.Prints();
    ASSERT_EQ(prints.size(), 1u);
    const nlohmann::json& pages = prints[0]["pages"];
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[1], nlohmann::json::array({"", "", "", "", "     danach"}));
}

TEST(PrintOutput, TwoBlocksFormOnePrintout) {
    const std::string program =
        ExchangeProgram("C", {"T erster Block", "= (C)", "T zweiter Block", "T <DRUCKEN>"});
    PrintRun run(program);
    const std::vector<nlohmann::json> prints = run.Prints();
    ASSERT_EQ(prints.size(), 1u);
    EXPECT_EQ(Printed(prints[0]["pages"][0]),
              (std::vector<std::string>{"     erster Block", "     zweiter Block"}));
}

TEST(PrintOutput, TextLinesAreSubstitutedAndLongTextsSplit) {
    PrintRun run(
        PrintProgram({"T Name: [NAME    [ Ende", "T <<++BRIEF", "T <<++FEHLT", "T <DRUCKEN>"}),
        {{"NAME", "Meier"}, {"++BRIEF", "Sehr geehrte Damen,\r\nzweite Zeile\r\n\r\nEnde"}});
    const std::vector<nlohmann::json> prints = run.Prints();
    ASSERT_EQ(prints.size(), 1u);
    EXPECT_EQ(
        Printed(prints[0]["pages"][0]),
        (std::vector<std::string>{"     Name: Meier      Ende", "     Sehr geehrte Damen,",
                                  "     zweite Zeile", "     ", "     Ende", "     <<++FEHLT"}));
}

// A 2 x 1 bitmap, 24 bits per pixel: red, then blue.
void WriteBitmap(const std::filesystem::path& path) {
    const unsigned char bytes[] = {
        'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  // file header
        40,  0,   0,  0, 2, 0, 0, 0, 1, 0, 0,  0, 1, 0, 24, 0, 0, 0, 0,   0,   8, 0, 0, 0,
        0,   0,   0,  0, 0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 255, 255, 0, 0, 0, 0};
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

ScriptedPrinterOptions PixelsPerCentimetre23622() {
    ScriptedPrinterOptions options;
    options.page = PageGeometry{1000.0, 1000.0, 23622, 23622};
    return options;
}

TEST(PrintOutput, PicturePlacedInMillimetres) {
    TempDir dir;
    WriteBitmap(dir / "bild.bmp");
    PrintRun run(PrintProgram({"T oben", "G ++BILD (20.035) [+GROESSE]", "T unten", "T <DRUCKEN>"}),
                 {{"++BILD", (dir / "BILD.BMP").string()}, {"[+GROESSE        ]", "(50.040)"}},
                 PixelsPerCentimetre23622());
    const std::vector<nlohmann::json> prints = run.Prints();
    ASSERT_EQ(prints.size(), 1u);
    EXPECT_EQ(Printed(prints[0]["pages"][0]),
              (std::vector<std::string>{"     oben", "     unten"}));
    ASSERT_EQ(prints[0]["pictures"].size(), 1u);
    const nlohmann::json& picture = prints[0]["pictures"][0];
    EXPECT_EQ(picture["file"], (dir / "bild.bmp").string());
    EXPECT_EQ(picture["page"], 1);
    EXPECT_EQ(picture["rect"],
              (nlohmann::json{{"left", 472}, {"top", 827}, {"right", 1653}, {"bottom", 1772}}));
    EXPECT_EQ(picture["width"], 2);
    EXPECT_EQ(picture["height"], 1);
}

TEST(PrintOutput, MissingPictureShowsOneMessageAndTheRestPrints) {
    TempDir dir;
    PrintRun run(PrintProgram({"T Text", "G ++BILD (20.035) (50.040)", "G ++KEINE (1.001) (1.001)",
                               "T <DRUCKEN>"}),
                 {{"++BILD", (dir / "FEHLT.JPG").string()}});
    std::vector<std::string> texts;
    for (const nlohmann::json& message : run.harness->Events("message")) {
        texts.push_back(message["text"]);
        EXPECT_EQ(message["icon"], "information");
        EXPECT_EQ(message["buttons"], "ok");
    }
    // The second line names no file at all: it counts as a missing picture too.
    EXPECT_EQ(texts,
              (std::vector<std::string>{"Grafikdatei f\xC3\xBCr die Druckausgabe nicht gefunden",
                                        "Grafikdatei f\xC3\xBCr die Druckausgabe nicht gefunden"}));
    const std::vector<nlohmann::json> prints = run.Prints();
    ASSERT_EQ(prints.size(), 1u);
    EXPECT_EQ(Printed(prints[0]["pages"][0]), (std::vector<std::string>{"     Text"}));
    EXPECT_TRUE(prints[0]["pictures"].empty());
}

TEST(PrintOutput, PictureThatDoesNotDecodeEndsThePrintingQuietly) {
    TempDir dir;
    {
        std::ofstream out(dir / "KAPUTT.BMP", std::ios::binary);
        out << "kein Bild";
    }
    PrintRun run(PrintProgram({"T vorher", "G ++BILD (1.001) (1.001)", "T nachher", "T <DRUCKEN>",
                               "T neu", "T <DRUCKEN>"}),
                 {{"++BILD", (dir / "KAPUTT.BMP").string()}});
    EXPECT_TRUE(run.harness->Events("message").empty());
    const std::vector<nlohmann::json> prints = run.Prints();
    ASSERT_EQ(prints.size(), 2u);
    EXPECT_EQ(prints[0]["aborted"], true);
    // The buffer was emptied: the next printout holds only its own line.
    EXPECT_EQ(prints[1]["aborted"], false);
    EXPECT_EQ(Printed(prints[1]["pages"][0]), (std::vector<std::string>{"     neu"}));
    EXPECT_EQ(run.harness->platform().statusText(), "Bearbeitung l\xE4uft !");
}

TEST(PrintOutput, AbortStopsTheJobWithItsMessage) {
    // The page of the block's "= (N)" takes the first answer; the break-off then waits for the
    // print loop, which serves it before the first line.
    const std::string program =
        ExchangeProgram("N", {"T Seite", "= (C)", "T eins", "T zwei", "T <DRUCKEN>"});
    PrintRun run(program, {}, {}, {{{"page", "weiter"}}, {{"breakoff", true}}});
    const std::vector<nlohmann::json> prints = run.Prints();
    ASSERT_EQ(prints.size(), 1u);
    EXPECT_EQ(prints[0]["aborted"], true);
    EXPECT_TRUE(Printed(prints[0]["pages"][0]).empty());
    const std::vector<std::string> captions = run.harness->MessageCaptions();
    const std::vector<nlohmann::json> messages = run.harness->Events("message");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0]["text"], "Der Druckauftrag wurde unterbrochen");
    EXPECT_EQ(messages[0]["icon"], "information");
    // The request was served by stopping the print: the consultation goes on to its end.
    EXPECT_FALSE(run.harness->consultation().Ended());
}

TEST(PrintOutput, AFullBufferIsPrintedBeforeTheNextLine) {
    std::string text;
    for (int i = 1; i <= 10001; ++i) {
        text += (i > 1 ? "\r\n" : "") + std::string("L") + std::to_string(i);
    }
    ScriptedPrinterOptions options;
    options.linesPerPage = 20000;
    const std::string program = ExchangeProgram("C", {"T <<++VIEL", "T <DRUCKEN>"});
    PrintRun run(program, {{"++VIEL", text}}, options);
    const std::vector<nlohmann::json> prints = run.Prints();
    ASSERT_EQ(prints.size(), 2u);
    std::size_t printed = 0;
    for (const nlohmann::json& print : prints) {
        for (const nlohmann::json& page : print["pages"]) {
            printed += Printed(page).size();
        }
    }
    EXPECT_EQ(printed, 10001u);
    EXPECT_EQ(Printed(prints[1]["pages"][0]), (std::vector<std::string>{"     L10001"}));
}

TEST(PrintOutput, WithoutPrinterTheDesktopSaysSo) {
    auto run = RunProgram(PrintProgram({"T eins", "T <DRUCKEN>"}), {});
    const std::vector<nlohmann::json> messages = run->Events("message");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0]["text"], Windows1252ToUtf8(kNoPrinterMessage));
}

// A printer that refuses the job when it begins or cannot finish it; what it was given is
// kept.
class FailingPrinter final : public Printer {
  public:
    explicit FailingPrinter(bool failAtBegin) : failAtBegin_(failAtBegin) {}
    Status BeginJob(std::string_view, int) override {
        if (failAtBegin_) {
            return Error{
                "Drucker \xE2\x80\x9E"
                "B\xC3\xBCro\xE2\x80\x9C antwortet nicht"};
        }
        ++pages;
        return {};
    }
    Expected<PageGeometry> Geometry() override { return PageGeometry{210, 297, 2100, 2970}; }
    Status WriteLine(std::string_view text) override {
        lines.emplace_back(text);
        return {};
    }
    int PageNumber() const override { return pages; }
    Status DrawPicture(const std::filesystem::path&, const PixelRect&) override { return {}; }
    Status EndJob() override {
        return Error{
            "Drucker \xE2\x80\x9E"
            "B\xC3\xBCro\xE2\x80\x9C antwortet nicht"};
    }
    void AbortJob() override { ++aborts; }

    std::vector<std::string> lines;
    int pages = 0;
    int aborts = 0;

  private:
    bool failAtBegin_;
};

struct FailingPrinterCase {
    std::string name;
    bool failAtBegin;
    std::size_t linesWritten;
    int aborts;
};

class PrinterFailure : public testing::TestWithParam<FailingPrinterCase> {};

TEST_P(PrinterFailure, IsReportedWithItsReasonAndTheConsultationGoesOn) {
    FailingPrinter printer(GetParam().failAtBegin);
    auto run = RunProgram(PrintProgram({"T eins", "T <DRUCKEN>"}), {}, {}, {}, &printer);
    const std::vector<nlohmann::json> messages = run->Events("message");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0]["text"], Windows1252ToUtf8(kPrinterFailedMessage) +
                                       "\r\n\r\nDrucker \xE2\x80\x9E"
                                       "B\xC3\xBCro\xE2\x80\x9C antwortet nicht");
    EXPECT_EQ(messages[0]["caption"], "Hinweis");
    EXPECT_EQ(messages[0]["icon"], "warning");
    EXPECT_EQ(printer.lines.size(), GetParam().linesWritten);
    EXPECT_EQ(printer.aborts, GetParam().aborts);
    EXPECT_FALSE(run->consultation().Ended());
    EXPECT_EQ(run->platform().statusText(), "Bearbeitung l\xE4uft !");
}

INSTANTIATE_TEST_SUITE_P(PrintOutput, PrinterFailure,
                         testing::Values(FailingPrinterCase{"AtTheBeginning", true, 0u, 0},
                                         // four empty lines of the top margin and the line
                                         FailingPrinterCase{"AtTheEnd", false, 5u, 1}),
                         CaseName());

// --- the buffer ----------------------------------------------------------------------------

TEST(PrintBuffer, HoldsTenThousandLinesOfAtMost83Characters) {
    PrintBuffer buffer;
    buffer.ClearPrintBuffer();
    EXPECT_FALSE(buffer.PrintBufferHasLines());
    EXPECT_EQ(buffer.LastIndex(), -1);
    EXPECT_TRUE(buffer.Append(std::string(90, 'x')));
    EXPECT_EQ(buffer.Lines()[0].size(), 83u);
    EXPECT_TRUE(buffer.PrintBufferHasLines());
    while (!buffer.Full()) {
        EXPECT_TRUE(buffer.Append("T"));
    }
    EXPECT_EQ(buffer.LastIndex(), 9999);
    EXPECT_FALSE(buffer.Append("zu viel"));
    EXPECT_EQ(buffer.Lines().size(), 10000u);
    buffer.ClearPrintBuffer();
    EXPECT_FALSE(buffer.PrintBufferHasLines());
}

struct PictureLineCase {
    std::string name;
    std::string line;
    bool picture;
};

class PictureLine : public testing::TestWithParam<PictureLineCase> {};

TEST_P(PictureLine, IsToldByColumn81) {
    EXPECT_EQ(PrintBuffer::IsPictureLine(GetParam().line), GetParam().picture);
}

INSTANTIATE_TEST_SUITE_P(
    PrintBuffer, PictureLine,
    testing::Values(PictureLineCase{"PictureLine", std::string(80, ' ') + "G ", true},
                    PictureLineCase{"TextLine", std::string(80, 'G') + "  ", false},
                    PictureLineCase{"LongTextLine", std::string(80, 'G'), false}),
    CaseName());

}  // namespace
}  // namespace kelvo

// One page from its request to its outcome: the commands of the page carried out the same way
// for every desktop, and where the files a page names are found.

#include "forms/page_session.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "authoring/program_line_check.h"
#include "store/fact_base.h"
#include "store/knowledge_base_image.h"
#include "store/text_field.h"
#include "store/windows1252.h"
#include "tests/case_name.h"
#include "tests/store/temp_dir.h"

namespace kelvo {
namespace {

using Kind = PageAction::Kind;

// A desktop that plays back a list of commands and notes what the page asks of it.
class RecordingDesktop final : public PageDesktop, public Dialogs {
  public:
    RecordingDesktop(std::vector<PageAction> actions, std::deque<bool> quitAnswers)
        : actions_(actions.begin(), actions.end()), quitAnswers_(std::move(quitAnswers)) {}

    PageAction NextAction(TForm6& form) override {
        if (form.Focus() == FormControl{Pool::Button, 1}) {
            log.push_back("focus S1");
        }
        form.SetFocus({Pool::Edit, 1});  // the user works in the first field
        if (actions_.empty()) {
            log.push_back("ran out");
            return {Kind::Stop};
        }
        const PageAction action = actions_.front();
        actions_.pop_front();
        return action;
    }
    void PlayMedia(TForm6& /*form*/, const MediaRequest& request) override {
        log.push_back(request.kind == MediaKind::Sound ? "play" : "play video");
    }
    void PrintPage(const TForm6& form) override {
        log.push_back("print " + TrimRight(form.Caption()));
    }
    void OpenInspector(InspectorContext& context) override {
        log.push_back(std::string("inspector ") + (context.programmingModule ? "P" : "U"));
    }
    MessageAnswer MessageBox(std::string_view text, std::string_view caption, MessageIcon,
                             MessageButtons buttons) override {
        if (buttons == MessageButtons::Ok) {
            log.push_back("message " + std::string(caption) + ": " + std::string(text));
            return MessageAnswer::Ok;
        }
        const bool yes = !quitAnswers_.empty() && quitAnswers_.front();
        if (!quitAnswers_.empty()) {
            quitAnswers_.pop_front();
        }
        log.push_back("ask " + std::string(caption) + (yes ? " yes" : " no"));
        return yes ? MessageAnswer::Yes : MessageAnswer::No;
    }

    std::vector<std::string> log;

  private:
    std::deque<PageAction> actions_;
    std::deque<bool> quitAnswers_;
};

// A program of a comment and one media line, a fact base behind it, and a folder with the
// page's sound file.
class PageFixture {
  public:
    explicit PageFixture(bool programmingModule) : image_(programmingModule) {
        const LineCheck media = CheckProgramLine("G DATEI (0) (0)");
        EXPECT_TRUE(media.ok) << media.reason;
        EXPECT_TRUE(image_.LoadImage({LineRecord("K"), LineRecord(media.line)}).ok());
        image_.SetFactBoundary(image_.LastRecord());
        facts_.StoreFact(PadRight("DATEI", 30), "ton.wav", "99", "02");
        facts_.StoreFact(PadRight("KNOPF", 30), "ok", "99", "02");
        std::ofstream(dir_ / "ton.wav") << "RIFF";
        for (std::string& line : page_.formPage) {
            line.assign(kPageWidth, ' ');
        }
        page_.formPage[0].replace(0, 5, "Seite");
    }

    PageRequest& page() { return page_; }
    FactBase& facts() { return facts_; }
    const TempDir& dir() const { return dir_; }
    int breakpoint = 0;

  private:
    TempDir dir_;
    KnowledgeBaseImage image_;
    FactBase facts_{image_};
    PageRequest page_;
};

struct PageCase {
    std::string name;
    bool programmingModule = true;
    bool pageButton = false;  ///< the page has the button "<KNOPF<" (then no Weiter)
    bool media = false;       ///< the page names the sound file
    int formMode = 1;
    std::vector<PageAction> actions;
    std::deque<bool> quitAnswers;
    PageOutcome outcome = PageOutcome::Continue;
    std::vector<std::string> log;
    std::string stored;  ///< the value "NAME" holds afterwards

    friend void PrintTo(const PageCase& row, std::ostream* out) { *out << row.name; }
};

class PageSessionRun : public testing::TestWithParam<PageCase> {};

TEST_P(PageSessionRun, CarriesOutTheCommands) {
    const PageCase& row = GetParam();
    PageFixture fixture(row.programmingModule);
    fixture.page().formMode = row.formMode;
    fixture.page().formPage[1].replace(0, 6, "]NAME]");
    if (row.pageButton) {
        fixture.page().formPage[3].replace(0, 7, "<KNOPF<");
    }
    fixture.page().firstMediaLine = row.media ? 1 : 0;
    InspectorContext context{fixture.facts(), fixture.breakpoint, row.programmingModule};
    RecordingDesktop desktop(row.actions, row.quitAnswers);
    PageSession session(fixture.page(), context, desktop, desktop,
                        {1024, 768, fixture.dir().path().string()});
    EXPECT_EQ(session.Run(), row.outcome);
    EXPECT_EQ(desktop.log, row.log);
    const bool stored = fixture.facts().LookupFact(PadRight("NAME", 30));
    EXPECT_EQ(stored ? TrimRight(fixture.facts().FoundValue()) : "<none>", row.stored);
}

const PageAction kWeiter{Kind::Weiter};
const PageAction kAbbruch{Kind::Abbruch};
const PageAction kClose{Kind::Close};
const PageAction kDrucken{Kind::Drucken};
const PageAction kDatenbasis{Kind::Datenbasis};
const PageAction kVideoSound{Kind::VideoSound};
const PageAction kButton1{Kind::PageButton, 1};

INSTANTIATE_TEST_SUITE_P(
    Forms, PageSessionRun,
    testing::Values(PageCase{"WeiterStoresTheAnswers",
                             true,
                             false,
                             false,
                             1,
                             {kWeiter},
                             {},
                             PageOutcome::Continue,
                             {},
                             ""},
                    PageCase{"AbbruchDeclinedKeepsThePage",
                             true,
                             false,
                             false,
                             1,
                             {kAbbruch, kWeiter},
                             {false},
                             PageOutcome::Continue,
                             {"ask Programm beenden ? no"},
                             ""},
                    PageCase{"AbbruchConfirmedStoresNothing",
                             true,
                             false,
                             false,
                             1,
                             {kAbbruch},
                             {true},
                             PageOutcome::Abort,
                             {"ask Programm beenden ? yes"},
                             "<none>"},
                    PageCase{"CloseAsksLikeAbbruch",
                             true,
                             false,
                             false,
                             1,
                             {kClose, kClose},
                             {false, true},
                             PageOutcome::Abort,
                             {"ask Programm beenden ? no", "ask Programm beenden ? yes"},
                             "<none>"},
                    PageCase{"StopEndsWithoutAQuestion",
                             true,
                             false,
                             false,
                             1,
                             {},
                             {},
                             PageOutcome::Abort,
                             {"ran out"},
                             "<none>"},
                    PageCase{"DruckenPrintsAndSetsTheFocus",
                             true,
                             true,
                             false,
                             1,
                             {kDrucken, kButton1},
                             {},
                             PageOutcome::Continue,
                             {"focus S1", "print Seite", "focus S1"},
                             ""},
                    PageCase{"DatenbasisOpensTheInspectorAndActivatesAgain",
                             true,
                             true,
                             true,
                             1,
                             {kDatenbasis, kButton1},
                             {},
                             PageOutcome::Continue,
                             {"play", "focus S1", "inspector P", "play", "focus S1"},
                             ""},
                    PageCase{"NoDatenbasisInTheUserModule",
                             false,
                             false,
                             false,
                             1,
                             {kDatenbasis, kWeiter},
                             {},
                             PageOutcome::Continue,
                             {},
                             ""},
                    PageCase{"VideoSoundPlaysAgain",
                             true,
                             false,
                             true,
                             1,
                             {kVideoSound, kWeiter},
                             {},
                             PageOutcome::Continue,
                             {"play", "play"},
                             ""},
                    PageCase{"NoVideoSoundWithoutMedia",
                             true,
                             false,
                             false,
                             1,
                             {kVideoSound, kWeiter},
                             {},
                             PageOutcome::Continue,
                             {},
                             ""},
                    PageCase{"WeiterIsNotThereOnAPageWithButtons",
                             true,
                             true,
                             false,
                             1,
                             {kWeiter, kButton1},
                             {},
                             PageOutcome::Continue,
                             {"focus S1"},
                             ""},
                    PageCase{"AClosingPageReadsNoMedia",
                             true,
                             false,
                             true,
                             2,
                             {kVideoSound, kWeiter},
                             {},
                             PageOutcome::Continue,
                             {},
                             "<none>"}),
    CaseName{});

TEST(PageSession, AButtonPictureThatDoesNotLoadIsReported) {
    PageFixture fixture(true);
    std::ofstream(fixture.dir() / "bild.bmp") << "kein Bild";
    fixture.facts().StoreFact(PadRight("KNOPF", 30), "bild.bmp", "99", "02");
    fixture.page().formPage[1].replace(0, 7, "<KNOPF<");
    InspectorContext context{fixture.facts(), fixture.breakpoint, true};
    RecordingDesktop desktop({kButton1}, {});
    PageSession session(fixture.page(), context, desktop, desktop,
                        {1024, 768, fixture.dir().path().string()});
    EXPECT_EQ(desktop.log,
              (std::vector<std::string>{
                  "message Fehlermeldung: Grafik f\xFCr Ihren Schalter nicht vorhanden"}));
    EXPECT_EQ(session.Run(), PageOutcome::Continue);
}

struct FileCase {
    std::string name;
    std::string wanted;  ///< as the page names it; "@" stands for the folder
    bool withFolder;
    std::string found;  ///< below the folder; empty for none

    friend void PrintTo(const FileCase& row, std::ostream* out) { *out << row.name; }
};

class PageFile : public testing::TestWithParam<FileCase> {};

TEST_P(PageFile, IsFoundAsWrittenThenInTheFolder) {
    const FileCase& row = GetParam();
    TempDir dir;
    std::filesystem::create_directory(dir / "Bilder");
    std::ofstream(dir / "Bilder" / "Foto.JPG") << "x";
    std::ofstream(dir / "ton.wav") << "x";
    std::string wanted = row.wanted;
    if (const std::size_t at = wanted.find('@'); at != std::string::npos) {
        wanted.replace(at, 1, dir.path().string());
    }
    const std::string found =
        FindPageFile(Utf8ToWindows1252(wanted), row.withFolder ? dir.path().string() : "");
    EXPECT_EQ(found, row.found.empty() ? "" : (dir / row.found).string());
}

INSTANTIATE_TEST_SUITE_P(
    Forms, PageFile,
    testing::Values(FileCase{"InTheFolder", "ton.wav", true, "ton.wav"},
                    FileCase{"WithoutCaseAndWithBackslash", "BILDER\\foto.jpg", true,
                             "Bilder/Foto.JPG"},
                    FileCase{"NoFolderNoFile", "ton.wav", false, ""},
                    FileCase{"AbsoluteAsWritten", "@/ton.wav", false, "ton.wav"},
                    // An absolute name is not looked for again inside the folder.
                    FileCase{"AbsoluteMissingIsNotRedirected", "/ton.wav", true, ""},
                    FileCase{"MissingInTheFolder", "fehlt.wav", true, ""},
                    FileCase{"EmptyName", "", true, ""}),
    CaseName{});

}  // namespace
}  // namespace kelvo

// End-to-end tests of kelvo-cli: the built program runs on fixture files in a fresh folder.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "store/knowledge_base_file.h"

namespace kelvo {
namespace {

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Fixture(const std::string& name) {
    return std::string(KELVO_TEST_DATA) + "/fixtures/" + name;
}

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

class CliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kelvo-cli-test-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

    /// Runs kelvo-cli with `arguments` (a shell word list) in the test folder.
    CliRun Cli(const std::string& arguments) const {
        const std::string command = "cd '" + dir_.string() + "' && '" KELVO_CLI "' " + arguments +
                                    " > stdout.txt 2> stderr.txt";
        const int raw = std::system(command.c_str());
        CliRun run;
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        run.out = ReadFile(dir_ / "stdout.txt");
        run.err = ReadFile(dir_ / "stderr.txt");
        return run;
    }

    std::filesystem::path dir_;
};

TEST_F(CliTest, HelpDescribesEveryCommand) {
    const CliRun run = Cli("--help");
    EXPECT_EQ(run.status, 0);
    for (const char* command : {"import", "export", "compile", "consult", "check"}) {
        EXPECT_NE(run.out.find(command), std::string::npos) << command;
    }
}

TEST_F(CliTest, CommandHelpDescribesEveryOption) {
    struct {
        const char* command;
        const char* option;
    } const cases[] = {{"import", "--force"},       {"export", "--raw"},
                       {"compile", "--seed"},       {"consult", "--answers"},
                       {"consult", "--transcript"}, {"consult", "--module"},
                       {"consult", "--breakpoint"}, {"consult", "--clock"},
                       {"consult", "--strict"},     {"consult", "--timeout"}};
    for (const auto& c : cases) {
        const CliRun run = Cli(std::string(c.command) + " --help");
        EXPECT_EQ(run.status, 0) << c.command;
        EXPECT_NE(run.out.find(c.option), std::string::npos) << c.command;
    }
}

TEST_F(CliTest, WrongUsageExitsWithTwo) {
    for (const char* arguments :
         {"", "frobnicate", "import", "import only-one.txt", "export", "export --bogus x.wbp",
          "compile x.wbp --seed abc", "import a b c"}) {
        EXPECT_EQ(Cli(arguments).status, 2) << arguments;
    }
}

TEST_F(CliTest, ImportWritesNormalizedRecords) {
    const CliRun run = Cli("import '" + Fixture("weather.txt") + "' kb.wbp");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "kb.wbp: 18 Programmzeile(n) geschrieben\n");
    auto file = KnowledgeBaseFile::Open(dir_ / "kb.wbp", KnowledgeBaseFile::Mode::ReadOnly);
    ASSERT_TRUE(file.ok()) << file.error().message;
    auto records = file->ReadAll();
    ASSERT_TRUE(records.ok());
    ASSERT_EQ(records->size(), 18u);
    EXPECT_EQ((*records)[1].text(), "Z GETRAENK" + std::string(72, ' '));
    // nothing but the target is left behind
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 3);
}

TEST_F(CliTest, ImportRefusesExistingTargetUnlessForced) {
    std::ofstream(dir_ / "kb.wbp") << "keep";
    const CliRun refused = Cli("import '" + Fixture("weather.txt") + "' kb.wbp");
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err,
              "kb.wbp: Datei besteht bereits; mit --force wird sie \xC3\xBC"
              "berschrieben\n");
    EXPECT_EQ(ReadFile(dir_ / "kb.wbp"), "keep");

    const CliRun forced = Cli("import --force '" + Fixture("weather.txt") + "' kb.wbp");
    EXPECT_EQ(forced.status, 0) << forced.err;
    EXPECT_EQ(std::filesystem::file_size(dir_ / "kb.wbp"), 18u * 84u);
}

TEST_F(CliTest, ImportReportsEveryFaultyLineAndWritesNothing) {
    std::filesystem::copy_file(Fixture("two_faulty_lines.txt"), dir_ / "kb.txt");
    const CliRun run = Cli("import kb.txt kb.wbp");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "kb.txt:2: Ihre Programmzeile ist Fehlerhaft (Wort 1 \"[X]\": erwartet Textname)\n"
              "kb.txt:4: Ihre Programmzeile ist Fehlerhaft (Wort 3 \"++A\": Name mit \"++\" "
              "hier nicht erlaubt)\n"
              "kb.txt: 2 fehlerhafte Zeile(n); kb.wbp wurde nicht geschrieben\n");
    EXPECT_FALSE(std::filesystem::exists(dir_ / "kb.wbp"));
}

TEST_F(CliTest, ImportFileErrors) {
    std::filesystem::create_directory(dir_ / "folder");
    struct {
        const char* name;
        std::string arguments;
        std::string err;
    } const cases[] = {
        {"MissingSource", "import missing.txt kb.wbp", "missing.txt: Datei nicht gefunden\n"},
        {"SourceIsFolder", "import folder kb.wbp", "folder: ist ein Ordner, keine Datei\n"},
        {"TargetIsFolder", "import '" + Fixture("weather.txt") + "' folder",
         "folder: ist ein Ordner, keine Datei\n"},
        {"TargetFolderForced", "import --force '" + Fixture("weather.txt") + "' folder",
         "folder: ist ein Ordner, keine Datei\n"},
    };
    for (const auto& c : cases) {
        const CliRun run = Cli(c.arguments);
        EXPECT_EQ(run.status, 1) << c.name;
        EXPECT_EQ(run.err, c.err) << c.name;
    }
    EXPECT_FALSE(std::filesystem::exists(dir_ / "kb.wbp"));
}

TEST_F(CliTest, ImportIntoMissingFolderLeavesNothing) {
    const CliRun run = Cli("import '" + Fixture("weather.txt") + "' nofolder/kb.wbp");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "nofolder/kb.wbp: Ordner nofolder nicht gefunden\n");
    EXPECT_FALSE(std::filesystem::exists(dir_ / "nofolder"));
}

TEST_F(CliTest, ExportGivesTheTextForm) {
    ASSERT_EQ(Cli("import '" + Fixture("weather.txt") + "' kb.wbp").status, 0);
    const CliRun run = Cli("export kb.wbp");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, ReadFile(Fixture("weather.export.txt")));
    EXPECT_EQ(run.err, "");
}

TEST_F(CliTest, ExportImportRoundTrip) {
    ASSERT_EQ(Cli("import '" + Fixture("weather.txt") + "' first.wbp").status, 0);
    std::ofstream(dir_ / "again.txt") << Cli("export first.wbp").out;
    ASSERT_EQ(Cli("import again.txt second.wbp").status, 0);
    EXPECT_EQ(ReadFile(dir_ / "second.wbp"), ReadFile(dir_ / "first.wbp"));
}

TEST_F(CliTest, ExportRawGivesEveryRecordExactly) {
    ASSERT_EQ(Cli("import '" + Fixture("weather.txt") + "' kb.wbp").status, 0);
    const CliRun run = Cli("export --raw kb.wbp");
    EXPECT_EQ(run.status, 0) << run.err;
    std::size_t lines = 0;
    std::size_t start = 0;
    for (std::size_t end; (end = run.out.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = run.out.substr(start, end - start);
        if (lines == 0) {  // "ä" is two bytes of UTF-8
            EXPECT_EQ(line.size(), 83u);
        } else {
            EXPECT_EQ(line.size(), 82u) << line;
        }
        ++lines;
    }
    EXPECT_EQ(lines, 18u);
}

TEST_F(CliTest, ExportWarnsAboutRecordsNotInNormalForm) {
    ASSERT_EQ(Cli("import '" + Fixture("weather.txt") + "' kb.wbp").status, 0);
    ASSERT_EQ(Cli("compile kb.wbp --seed 1").status, 0);
    const CliRun run = Cli("export kb.WBB");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.err.find("kb.WBB:1: Warnung: Datensatz nicht in Normalform"), std::string::npos)
        << run.err;
}

TEST_F(CliTest, ExportFileErrors) {
    EXPECT_EQ(Cli("export missing.wbp").status, 1);
    std::ofstream(dir_ / "odd.wbp") << "not a multiple of 84";
    const CliRun run = Cli("export odd.wbp");
    EXPECT_EQ(run.status, 1);
    EXPECT_FALSE(run.err.empty());
}

TEST_F(CliTest, CompileDerivesRunOnlyFile) {
    ASSERT_EQ(Cli("import '" + Fixture("weather.txt") + "' kb.wbp").status, 0);
    const CliRun run = Cli("compile kb.wbp --seed 42");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Ihre Wissensbasis wurde\nerfolgreich compiliert.\n");
    auto file = KnowledgeBaseFile::Open(dir_ / "kb.WBB", KnowledgeBaseFile::Mode::ReadOnly);
    ASSERT_TRUE(file.ok()) << file.error().message;
    auto records = file->ReadAll();
    ASSERT_TRUE(records.ok());
    ASSERT_EQ(records->size(), 17u) << "the first comment line is dropped, the last kept";
    for (const LineRecord& record : *records) {
        ASSERT_EQ(record.length(), 83u);
        EXPECT_GE(record.column(83), '0');
        EXPECT_LE(record.column(83), '9');
    }
    EXPECT_EQ((*records)[0].text().substr(0, 10), "Z GETRAENK");
}

TEST_F(CliTest, CompileWithTheSameSeedGivesTheSameFile) {
    ASSERT_EQ(Cli("import '" + Fixture("weather.txt") + "' kb.wbp").status, 0);
    ASSERT_EQ(Cli("compile kb.wbp --seed 7").status, 0);
    const std::string first = ReadFile(dir_ / "kb.WBB");
    ASSERT_EQ(Cli("compile kb.wbp --seed 7").status, 0);
    EXPECT_EQ(ReadFile(dir_ / "kb.WBB"), first);
}

TEST_F(CliTest, CompileFileErrors) {
    std::ofstream(dir_ / "kb.txt") << "K\n";
    const CliRun wrongKind = Cli("compile kb.txt");
    EXPECT_EQ(wrongKind.status, 1);
    EXPECT_EQ(wrongKind.err, "kb.txt: keine bearbeitbare Wissensbasis (Endung .WBP erwartet)\n");
    EXPECT_EQ(Cli("compile missing.wbp").status, 1);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "missing.WBB"));
}

}  // namespace
}  // namespace kelvo

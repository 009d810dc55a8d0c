// File names as knowledge bases write them.
#include "platform/path_lookup.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/case_name.h"
#include "tests/store/temp_dir.h"

namespace kelvo {
namespace {

struct PathCase {
    std::string name;
    std::string written;   // relative to the folder, as the knowledge base writes it
    std::string resolved;  // relative to the folder
};

class ResolvePathTest : public testing::TestWithParam<PathCase> {};

TEST_P(ResolvePathTest, FindsTheFileOnDisk) {
    TempDir dir;
    std::filesystem::create_directories(dir / "Daten" / "Alt");
    std::ofstream(dir / "Daten" / "kunden.wbp") << "";
    std::ofstream(dir / "Daten" / "M\xC3\xBCller.txt") << "";
    EXPECT_EQ(ResolvePath(dir.path().string() + "/" + GetParam().written),
              dir.path() / GetParam().resolved);
}

INSTANTIATE_TEST_SUITE_P(
    PathLookup, ResolvePathTest,
    testing::Values(
        PathCase{"AsWritten", "Daten/kunden.wbp", "Daten/kunden.wbp"},
        PathCase{"UpperCase", "DATEN/KUNDEN.WBP", "Daten/kunden.wbp"},
        PathCase{"BackslashSeparates", "DATEN\\KUNDEN.WBP", "Daten/kunden.wbp"},
        PathCase{"UmlautInWindows1252", "DATEN\\M\xDCLLER.TXT", "Daten/M\xC3\xBCller.txt"},
        PathCase{"NewFileInAnExistingFolder", "DATEN\\ALT\\NEU.WBP", "Daten/Alt/NEU.WBP"},
        PathCase{"MissingFolderKeptAsWritten", "FEHLT\\NEU.WBP", "FEHLT/NEU.WBP"}),
    CaseName());

}  // namespace
}  // namespace kelvo

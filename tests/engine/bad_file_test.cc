// Record files of arbitrary bytes: loading either refuses the file with a message or gives
// records the program check can read, and the check lists its problems without failing.
#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "engine/program_check.h"
#include "store/knowledge_base_file.h"
#include "store/knowledge_base_image.h"
#include "tests/store/temp_dir.h"

namespace kelvo {
namespace {

TEST(BadFiles, LoadOrRefuseButNeverFail) {
    TempDir dir;
    std::mt19937 random(84);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> records(0, 40);
    int loaded = 0;
    for (int i = 0; i < 300; ++i) {
        const auto path = dir / ("ZUFALL" + std::to_string(i) + ".WBP");
        {
            std::ofstream out(path, std::ios::binary);
            const int count = records(random);
            for (int r = 0; r < count; ++r) {
                // Mostly plausible length bytes, now and then a corrupt one.
                out.put(static_cast<char>(random() % 10 == 0 ? byte(random) : byte(random) % 84));
                for (int k = 1; k < 84; ++k) {
                    out.put(static_cast<char>(random() % 3 == 0 ? ' ' : byte(random)));
                }
            }
            if (random() % 8 == 0) {
                out.put('x');  // no longer a multiple of 84
            }
        }
        auto file = KnowledgeBaseFile::Open(path, KnowledgeBaseFile::Mode::ReadOnly);
        if (!file) {
            EXPECT_EQ(file.error().message.rfind(path.string() + ": ", 0), 0u);
            continue;
        }
        KnowledgeBaseImage image(true);
        auto rules = image.LoadImage(*file);
        if (!rules) {
            EXPECT_EQ(rules.error().message.rfind(path.string() + ":", 0), 0u);
            EXPECT_EQ(image.LastRecord(), -1);
            continue;
        }
        ++loaded;
        std::string goal;
        const std::vector<ProgramProblem> problems =
            CheckProgram(image, image.LastRecord(), true, &goal);
        EXPECT_TRUE(goal.size() == 30 || goal == " ") << goal;
        for (const ProgramProblem& problem : problems) {
            EXPECT_TRUE(problem.code == 8 || problem.code == 9);
            EXPECT_GE(problem.position, 0);
            EXPECT_LE(problem.position, std::max(0, image.LastRecord()));
        }
    }
    EXPECT_GT(loaded, 0);
}

}  // namespace
}  // namespace kelvo

// Every operation that replaces a user's file, with a failure at each step of its write and a
// missing or an existing target: the target holds its old or its complete new content, nothing
// is left beside it, the user is told, and the same operation works right afterwards.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "store/file_fault_injector.h"
#include "tests/app/file_replacement.h"
#include "tests/case_name.h"
#include "tests/store/temp_dir.h"

namespace kelvo {
namespace {

namespace fs = std::filesystem;

struct FaultCase {
    std::string name;
    FileReplacement operation;
    FileWriteStep step;
    bool targetExists;
    friend void PrintTo(const FaultCase& row, std::ostream* out) { *out << row.name; }
};

std::vector<FaultCase> FaultCases() {
    std::vector<FaultCase> cases;
    for (const FileReplacement& operation : FileReplacements()) {
        for (std::size_t s = 0; s < kFileWriteStepCount; ++s) {
            const auto step = static_cast<FileWriteStep>(s);
            for (const bool exists : {false, true}) {
                if (exists && !operation.replacesExisting) {
                    continue;
                }
                cases.push_back({operation.name + "_" + std::string(FileWriteStepName(step)) +
                                     (exists ? "_Existing" : "_Missing"),
                                 operation, step, exists});
            }
        }
    }
    return cases;
}

std::string Joined(const std::vector<std::string>& messages) {
    std::string all;
    for (const std::string& message : messages) {
        all += "[" + message + "] ";
    }
    return all;
}

class FileFault : public testing::TestWithParam<FaultCase> {
  protected:
    std::string Normalized(const std::string& content) const {
        const auto& normalize = GetParam().operation.normalize;
        return normalize && content != "<missing>" ? normalize(content) : content;
    }

    TempDir dir_;
};

TEST_P(FileFault, LeavesTheOldOrTheNewContentAndGoesOn) {
    const FaultCase& row = GetParam();
    const FileReplacement& operation = row.operation;
    if (operation.prepare) {
        operation.prepare(dir_.path());
    }
    const fs::path target = dir_ / operation.target;
    if (row.targetExists) {
        WriteContent(target, operation.oldContent);
    }
    const std::string before = row.targetExists ? operation.oldContent : "<missing>";

    FileFaultInjector faults;
    faults.FailAt(row.step, 1);
    const ReplacementResult failed = operation.run(dir_.path(), &faults);
    ASSERT_EQ(faults.Failures(), 1) << "the write never reached the step";

    // Flushing the folder comes after the rename: the new content is complete and in place.
    const bool replaced = row.step == FileWriteStep::SyncFolder;
    EXPECT_EQ(Normalized(FileContent(target)),
              Normalized(replaced ? operation.newContent : before));
    EXPECT_EQ(PartialFiles(dir_.path()), std::vector<std::string>{});
    if (replaced) {
        EXPECT_TRUE(failed.succeeded) << Joined(failed.messages);
    } else if (operation.failureMessage.empty()) {
        // Silent by design: nothing tells the user, whatever happened.
        EXPECT_EQ(failed.messages, std::vector<std::string>{});
    } else {
        EXPECT_FALSE(failed.succeeded);
        EXPECT_NE(Joined(failed.messages).find(operation.failureMessage), std::string::npos)
            << Joined(failed.messages);
    }

    // The program goes on: the next run of the operation writes the file.
    const ReplacementResult again = operation.run(dir_.path(), nullptr);
    if (operation.replacesExisting || !replaced) {
        EXPECT_TRUE(again.succeeded) << Joined(again.messages);
        EXPECT_EQ(Normalized(FileContent(target)), Normalized(operation.newContent));
    }
    EXPECT_EQ(PartialFiles(dir_.path()), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(EveryOperationAndStep, FileFault, testing::ValuesIn(FaultCases()),
                         CaseName());

// Without a fault each operation writes its new content, over an old one where it may.
TEST(FileReplacementTable, EachOperationWritesItsNewContent) {
    for (const FileReplacement& operation : FileReplacements()) {
        TempDir dir;
        if (operation.prepare) {
            operation.prepare(dir.path());
        }
        if (operation.replacesExisting) {
            WriteContent(dir / operation.target, operation.oldContent);
        }
        const ReplacementResult result = operation.run(dir.path(), nullptr);
        EXPECT_TRUE(result.succeeded) << operation.name << ": " << Joined(result.messages);
        const std::string content = FileContent(dir / operation.target);
        EXPECT_EQ(operation.normalize ? operation.normalize(content) : content,
                  operation.newContent)
            << operation.name;
    }
}

}  // namespace
}  // namespace kelvo

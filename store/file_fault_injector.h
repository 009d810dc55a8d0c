#pragma once

#include <array>
#include <string_view>

namespace kelvo {

/// The steps of writing a file that can fail, in the order a whole-content replacement takes
/// them. ORDER matters: kFileWriteStepNames follows it.
enum class FileWriteStep {
    Create,      ///< creating the new file beside the target
    Write,       ///< writing bytes (a failing write has written about half of them)
    Sync,        ///< flushing the new file to the disk
    Rename,      ///< renaming the new file over the target
    SyncFolder,  ///< flushing the folder so that the rename survives a crash
};

inline constexpr std::size_t kFileWriteStepCount = 5;
inline constexpr std::array<std::string_view, kFileWriteStepCount> kFileWriteStepNames = {
    "Create", "Write", "Sync", "Rename", "SyncFolder"};
static_assert(static_cast<std::size_t>(FileWriteStep::SyncFolder) + 1 == kFileWriteStepCount,
              "ORDER: one name per step");

/// The name of a step, for test output.
inline std::string_view FileWriteStepName(FileWriteStep step) {
    return kFileWriteStepNames[static_cast<std::size_t>(step)];
}

/// Makes chosen steps of file writing fail as a full or broken disk would, so that tests can
/// see what a failure at each step leaves behind. The writer asks before each step; the
/// injector counts every step it is asked about. Tests own it and pass it in.
class FileFaultInjector {
  public:
    /// Fails the n-th step asked about, counted over all kinds from 1; 0 fails none.
    void FailAtStep(int n) { failAtStep_ = n; }

    /// Fails the n-th occurrence (from 1) of `step`; 0 fails none.
    void FailAt(FileWriteStep step, int n) {
        failAtOccurrence_[static_cast<std::size_t>(step)] = n;
    }

    /// Counts this step; true when it is the one to fail.
    bool ShouldFail(FileWriteStep step) {
        const auto index = static_cast<std::size_t>(step);
        ++stepsSeen_;
        ++occurrences_[index];
        const bool fail =
            stepsSeen_ == failAtStep_ || occurrences_[index] == failAtOccurrence_[index];
        if (fail) {
            ++failures_;
        }
        return fail;
    }

    /// Steps asked about so far, over all kinds.
    int StepsSeen() const { return stepsSeen_; }

    /// Occurrences of `step` asked about so far.
    int Occurrences(FileWriteStep step) const {
        return occurrences_[static_cast<std::size_t>(step)];
    }

    /// Failures injected so far.
    int Failures() const { return failures_; }

  private:
    int failAtStep_ = 0;
    std::array<int, kFileWriteStepCount> failAtOccurrence_{};
    std::array<int, kFileWriteStepCount> occurrences_{};
    int stepsSeen_ = 0;
    int failures_ = 0;
};

}  // namespace kelvo

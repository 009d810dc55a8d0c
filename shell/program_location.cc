#include "shell/program_location.h"

#include <set>
#include <string>
#include <system_error>

#include "store/windows1252.h"

namespace kelvo {
namespace {

// A file name in the form names are compared in: Windows-1252, upper case.
std::string Folded(const std::filesystem::path& name) {
    return ToUpper(Utf8ToWindows1252(name.string()));
}

bool IsFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

}  // namespace

std::filesystem::path ProgramFolder(const std::filesystem::path& programPath) {
    return programPath.parent_path();
}

std::filesystem::path RunOnlyBesideProgram(const std::filesystem::path& programPath) {
    std::filesystem::path candidate = programPath;
    candidate.replace_extension(".WBB");
    return candidate;
}

std::optional<std::filesystem::path> FindRunOnlyBesideProgram(
    const std::filesystem::path& programPath) {
    const std::filesystem::path candidate = RunOnlyBesideProgram(programPath);
    if (IsFile(candidate)) {
        return candidate;
    }
    const std::filesystem::path folder = candidate.parent_path();
    const std::string wanted = Folded(candidate.filename());
    std::error_code error;
    std::filesystem::directory_iterator entries(folder.empty() ? "." : folder, error);
    if (error) {
        return std::nullopt;
    }
    std::set<std::filesystem::path> matches;  // in name order, so the choice is the same on
                                              // every run
    for (const std::filesystem::directory_entry& entry : entries) {
        if (Folded(entry.path().filename()) == wanted && IsFile(entry.path())) {
            matches.insert(entry.path());
        }
    }
    if (matches.empty()) {
        return std::nullopt;
    }
    return *matches.begin();
}

}  // namespace kelvo

#include "commands/file_operations.h"

#include <utility>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "platform/path_lookup.h"
#include "store/windows1252.h"

namespace kelvo {
namespace {

namespace fs = std::filesystem;

bool HasWildcard(std::string_view part) {
    return part.find_first_of("*?") != std::string_view::npos;
}

// Splits a name at its last folder separator ("\" or "/"): the folder (empty for none, "/"
// for the root) and the last part.
std::pair<std::string, std::string> SplitLastPart(std::string_view name) {
    const std::size_t separator = name.find_last_of("\\/");
    if (separator == std::string_view::npos) {
        return {"", std::string(name)};
    }
    std::string last(name.substr(separator + 1));
    if (separator == 0) {
        return {"/", std::move(last)};
    }
    return {std::string(name.substr(0, separator)), std::move(last)};
}

bool MatchFrom(std::string_view pattern, std::string_view name) {
    // Iterative match with one back-tracking point per "*".
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starAt = std::string_view::npos;
    std::size_t resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starAt = p++;
            resumeAt = n;
        } else if (starAt != std::string_view::npos) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

// The entries of the folder `folderName` whose names match the wildcard part `pattern`;
// false when the folder cannot be read.
bool FindMatches(const std::string& folderName, const std::string& pattern,
                 std::vector<fs::path>& matches) {
    const fs::path folder = folderName.empty() ? fs::path(".") : ResolvePath(folderName);
    std::error_code error;
    fs::directory_iterator it(folder, error);
    if (error) {
        return false;
    }
    for (const fs::directory_iterator end; it != end; it.increment(error)) {
        if (error) {
            return false;
        }
        if (MatchesWildcard(pattern, Utf8ToWindows1252(it->path().filename().string()))) {
            matches.push_back(it->path());
        }
    }
    return !error;
}

// True when `inner` is `outer` or lies inside it.
bool IsWithin(const fs::path& inner, const fs::path& outer) {
    std::error_code error;
    const fs::path a = fs::weakly_canonical(inner, error);
    if (error) {
        return false;
    }
    const fs::path b = fs::weakly_canonical(outer, error);
    if (error) {
        return false;
    }
    auto ai = a.begin();
    for (auto bi = b.begin(); bi != b.end(); ++bi, ++ai) {
        if (bi->empty()) {
            continue;  // the empty last part of a path ending in a separator
        }
        if (ai == a.end() || *ai != *bi) {
            return false;
        }
    }
    return true;
}

// Copies the file or folder `source` to `target`, replacing files that exist there.
bool CopyEntry(const fs::path& source, const fs::path& target) {
    std::error_code error;
    const fs::file_status status = fs::status(source, error);
    if (error) {
        return false;
    }
    if (fs::is_directory(status)) {
        // A folder copied into itself would grow for ever.
        if (IsWithin(target, source)) {
            return false;
        }
        fs::create_directories(target, error);
        if (error) {
            return false;
        }
        fs::copy(source, target, fs::copy_options::recursive | fs::copy_options::overwrite_existing,
                 error);
        return !error;
    }
    if (fs::is_directory(target, error)) {
        return false;  // a file cannot replace a folder
    }
    fs::copy_file(source, target, fs::copy_options::overwrite_existing, error);
    return !error;
}

}  // namespace

bool MatchesWildcard(std::string_view pattern, std::string_view name) {
    const std::string upperPattern = ToUpper(pattern);
    const std::string upperName = ToUpper(name);
    if (MatchFrom(upperPattern, upperName)) {
        return true;
    }
    // "NAME.*" also matches "NAME": the extension part may be missing altogether.
    return upperPattern.size() >= 2 && upperPattern.ends_with(".*") &&
           upperName.find('.') == std::string::npos &&
           MatchFrom(std::string_view(upperPattern).substr(0, upperPattern.size() - 2), upperName);
}

bool CopyDir(std::string_view fromDir, std::string_view toDir) {
    if (fromDir.empty() || toDir.empty()) {
        return false;
    }
    const fs::path destination = ResolvePath(toDir);
    std::error_code error;
    const auto [folder, last] = SplitLastPart(fromDir);
    if (HasWildcard(last)) {
        std::vector<fs::path> matches;
        if (!FindMatches(folder, last, matches) || matches.empty()) {
            return false;
        }
        fs::create_directories(destination, error);
        if (error || !fs::is_directory(destination, error)) {
            return false;
        }
        bool copied = true;
        for (const fs::path& match : matches) {
            copied = CopyEntry(match, destination / match.filename()) && copied;
        }
        return copied;
    }
    const fs::path source = ResolvePath(fromDir);
    if (!fs::exists(source, error)) {
        return false;
    }
    if (fs::is_directory(destination, error)) {
        fs::path name = source.filename();
        if (name.empty()) {
            name = source.parent_path().filename();  // "FOLDER/" names FOLDER
        }
        return CopyEntry(source, destination / name);
    }
    if (destination.has_parent_path()) {
        fs::create_directories(destination.parent_path(), error);
        if (error) {
            return false;
        }
    }
    return CopyEntry(source, destination);
}

bool DeleteFiles(std::string_view file) {
    if (file.empty()) {
        return false;
    }
    std::error_code error;
    const auto [folder, last] = SplitLastPart(file);
    std::vector<fs::path> targets;
    if (HasWildcard(last)) {
        if (!FindMatches(folder, last, targets)) {
            return false;
        }
    } else {
        const fs::path target = ResolvePath(file);
        if (!fs::exists(fs::symlink_status(target, error))) {
            return false;
        }
        targets.push_back(target);
    }
    if (targets.empty()) {
        return false;
    }
    bool deleted = true;
    for (const fs::path& target : targets) {
        fs::remove_all(target, error);
        deleted = deleted && !error;
    }
    return deleted;
}

bool MoveFileOrFolder(std::string_view from, std::string_view to) {
    if (from.empty() || to.empty()) {
        return false;
    }
    const fs::path source = ResolvePath(from);
    const fs::path target = ResolvePath(to);
    std::error_code error;
    if (!fs::exists(fs::symlink_status(source, error)) ||
        fs::exists(fs::symlink_status(target, error))) {
        return false;
    }
    fs::rename(source, target, error);
    if (!error) {
        return true;
    }
    if (error != std::errc::cross_device_link || !fs::is_regular_file(source, error)) {
        return false;
    }
    // Another file system: a file is copied and the original removed.
    if (!fs::copy_file(source, target, error) || error) {
        return false;
    }
    if (!fs::remove(source, error)) {
        fs::remove(target, error);
        return false;
    }
    return true;
}

}  // namespace kelvo

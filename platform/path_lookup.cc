#include "platform/path_lookup.h"

#include <string>
#include <system_error>

#include "store/windows1252.h"

namespace kelvo {
namespace {

// The entry of `folder` whose name equals `part` without regard to case; empty when there is
// none or the folder cannot be read. With several candidates the first in folder order wins.
std::filesystem::path FindWithoutCase(const std::filesystem::path& folder,
                                      const std::string& part) {
    const std::string wanted = ToUpper(Utf8ToWindows1252(part));
    std::error_code error;
    std::filesystem::directory_iterator entries(folder.empty() ? "." : folder, error);
    if (error) {
        return {};
    }
    for (const std::filesystem::directory_entry& entry : entries) {
        const std::string name = entry.path().filename().string();
        if (ToUpper(Utf8ToWindows1252(name)) == wanted) {
            return folder / name;
        }
    }
    return {};
}

}  // namespace

std::filesystem::path ResolvePath(std::string_view windows1252Name) {
    std::string name = Windows1252ToUtf8(windows1252Name);
    for (char& c : name) {
        if (c == '\\') {
            c = '/';
        }
    }
    const std::filesystem::path written(name);
    std::filesystem::path resolved;
    bool found = true;  // every part so far exists
    for (const std::filesystem::path& part : written) {
        const std::string text = part.string();
        if (text.empty()) {
            continue;  // the empty part after a trailing separator
        }
        std::filesystem::path next = resolved / part;
        if (resolved.empty()) {
            next = part;
        }
        std::error_code error;
        if (found && text != "/" && text != "." && text != ".." &&
            !std::filesystem::exists(next, error)) {
            if (std::filesystem::path match = FindWithoutCase(resolved, text); !match.empty()) {
                next = match;
            } else {
                found = false;
            }
        }
        resolved = next;
    }
    return resolved;
}

}  // namespace kelvo

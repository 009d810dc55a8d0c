#include "lint/file_checks.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/path_lookup.h"
#include "store/text_field.h"
#include "store/windows1252.h"

namespace kelvo {
namespace {

enum class FileUse { Media, Picture, Exchange };

/// The file a written value names for its use; empty when the use ignores it or the name
/// cannot be known here.
std::string FileNameOf(std::string_view value, FileUse use, char exchangeKind) {
    std::string name = TrimRight(value);
    if (name.empty() || name.find(':') != std::string::npos) {
        return {};
    }
    if (use == FileUse::Exchange) {
        if (name.size() < 4) {
            return {};
        }
        name.replace(name.size() - 4, 4, exchangeKind == '1' ? ".WBP" : ".WBB");
        return name;
    }
    if (use == FileUse::Media) {
        name = ToUpper(name);
    }
    const std::string extension = ToUpper(name.size() >= 3 ? name.substr(name.size() - 3) : "");
    const bool picture = extension == "BMP" || extension == "JPG";
    const bool media = extension == "AVI" || extension == "WAV" || extension == "MPG";
    return picture || (use == FileUse::Media && media) ? name : std::string();
}

bool ExistsBeside(const std::string& name, const std::string& folder) {
    std::error_code error;
    std::filesystem::path path;
    if (name[0] == '/' || name[0] == '\\') {
        path = ResolvePath(name);
    } else {
        path = ResolvePath(Utf8ToWindows1252(folder) + "/" + name);
    }
    return std::filesystem::is_regular_file(path, error);
}

/// The kind "1" or "2" of an exchange line when it is written as a number; 0 otherwise.
char ExchangeKind(const ProgramStructure& program, int p) {
    const std::string kind = program.Field(p, 53, 70);
    if (kind == "(           1.000)") {
        return '1';
    }
    if (kind == "(           2.000)") {
        return '2';
    }
    return 0;
}

}  // namespace

LintWarnings CheckFilesNamed(const ProgramStructure& program, const VariableAccess& access,
                             const std::string& folder) {
    LintWarnings warnings;
    if (folder.empty() || !access.unknownWrites.empty() || !access.fileCreators.empty()) {
        return warnings;
    }
    auto check = [&](int p, FileUse use, char exchangeKind) {
        const std::string variable = program.Field(p, 3, 32);
        const std::vector<const VariableWrite*> writes = access.WritesOf(variable);
        for (const VariableWrite* write : writes) {
            if (!write->literal) {
                return;  // a name the run decides
            }
        }
        for (const VariableWrite* write : writes) {
            const std::string name = FileNameOf(*write->literal, use, exchangeKind);
            if (!name.empty() && !ExistsBeside(name, folder)) {
                warnings.push_back(
                    {p, LintCode::MissingFile,
                     name + " (gesetzt in Zeile " + std::to_string(write->position + 1) + ")"});
            }
        }
    };
    for (const TaskBody& body : program.bodies) {
        for (int p : body.lines) {
            const char kind = program.Kind(p);
            if (body.ownerKind == 'N' && kind == 'G') {
                check(p, FileUse::Media, 0);
            } else if (body.ownerKind == 'C' && kind == 'G') {
                check(p, FileUse::Picture, 0);
            } else if (body.ownerKind == '\xAB' && kind == 'W') {
                if (const char exchangeKind = ExchangeKind(program, p); exchangeKind != 0) {
                    check(p, FileUse::Exchange, exchangeKind);
                }
            }
        }
    }
    return warnings;
}

}  // namespace kelvo

#include "authoring/knowledge_base_text_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>
#include <vector>

#include "store/knowledge_base_file.h"

namespace kelvo {

Expected<std::string> ReadTextFile(const std::filesystem::path& path, std::uintmax_t maxBytes) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status)) {
        return Error{path.string() + ": Datei nicht gefunden"};
    }
    if (std::filesystem::is_directory(status)) {
        return Error{path.string() + ": ist ein Ordner, keine Datei"};
    }
    auto tooLarge = [&](const std::string& size) {
        return Error{path.string() + ": Datei ist zu gro\xC3\x9F (" + size +
                     " Bytes, h\xC3\xB6"
                     "chstens " +
                     std::to_string(maxBytes) + ")"};
    };
    // The size of a plain file is known before reading; a device or a pipe is read up to the
    // limit.
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (!error && size > maxBytes) {
        return tooLarge(std::to_string(size));
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return Error{path.string() + ": Datei kann nicht gelesen werden (" + std::strerror(errno) +
                     ")"};
    }
    std::string content;
    if (!error) {
        content.reserve(static_cast<std::size_t>(size));
    }
    std::vector<char> chunk(1 << 16);
    while (in) {
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        const auto got = static_cast<std::size_t>(in.gcount());
        if (content.size() + got > maxBytes) {
            return tooLarge("mehr als " + std::to_string(maxBytes));
        }
        content.append(chunk.data(), got);
    }
    if (in.bad()) {
        return Error{path.string() + ": Lesefehler"};
    }
    return content;
}

Status WriteKnowledgeBaseFile(const std::filesystem::path& target,
                              const std::vector<LineRecord>& records, FileFaultInjector* faults,
                              std::string* warning) {
    if (warning != nullptr) {
        warning->clear();
    }
    std::error_code error;
    if (std::filesystem::is_directory(target, error)) {
        return Error{target.string() + ": ist ein Ordner, keine Datei"};
    }
    const std::filesystem::path folder = target.parent_path();
    if (!folder.empty() && !std::filesystem::is_directory(folder, error)) {
        return Error{target.string() + ": Ordner " + folder.string() + " nicht gefunden"};
    }
    const ReplaceOutcome outcome = KnowledgeBaseFile::ReplaceWith(target, records, faults);
    if (!outcome.replaced) {
        return Error{outcome.status.error().message + "; " + target.string() +
                     " wurde nicht geschrieben, eine vorhandene Datei ist unver\xC3\xA4ndert"};
    }
    if (!outcome.status.ok() && warning != nullptr) {
        *warning = outcome.status.error().message;
    }
    return {};
}

}  // namespace kelvo

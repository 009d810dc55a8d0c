#include "authoring/knowledge_base_text_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>

#include "store/knowledge_base_file.h"

namespace kelvo {

Expected<std::string> ReadTextFile(const std::filesystem::path& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status)) {
        return Error{path.string() + ": Datei nicht gefunden"};
    }
    if (std::filesystem::is_directory(status)) {
        return Error{path.string() + ": ist ein Ordner, keine Datei"};
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return Error{path.string() + ": Datei kann nicht gelesen werden (" + std::strerror(errno) +
                     ")"};
    }
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return Error{path.string() + ": Lesefehler"};
    }
    return content;
}

Status WriteKnowledgeBaseFile(const std::filesystem::path& target,
                              const std::vector<LineRecord>& records) {
    std::error_code error;
    if (std::filesystem::is_directory(target, error)) {
        return Error{target.string() + ": ist ein Ordner, keine Datei"};
    }
    const std::filesystem::path folder = target.parent_path();
    if (!folder.empty() && !std::filesystem::is_directory(folder, error)) {
        return Error{target.string() + ": Ordner " + folder.string() + " nicht gefunden"};
    }
    const std::filesystem::path partial =
        target.string() + ".partial-" + std::to_string(static_cast<long>(::getpid()));
    auto file = KnowledgeBaseFile::Create(partial);
    if (!file) {
        return file.error();
    }
    const Status written = file->WriteAll(records);
    file->Close();
    if (!written) {
        std::filesystem::remove(partial, error);
        return written.error();
    }
    std::filesystem::rename(partial, target, error);
    if (error) {
        const std::string why = error.message();
        std::filesystem::remove(partial, error);
        return Error{target.string() + ": Datei kann nicht geschrieben werden (" + why + ")"};
    }
    return {};
}

}  // namespace kelvo

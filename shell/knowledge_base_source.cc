#include "shell/knowledge_base_source.h"

#include <cctype>
#include <utility>

#include "authoring/knowledge_base_text.h"
#include "authoring/knowledge_base_text_file.h"
#include "store/knowledge_base_file.h"
#include "store/knowledge_base_image.h"

namespace kelvo {
namespace {

std::string Upper(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

}  // namespace

std::optional<KnowledgeBaseKind> KindOf(const std::filesystem::path& path) {
    const std::string extension = Upper(path.extension().string());
    if (extension == ".WBP") {
        return KnowledgeBaseKind::Editable;
    }
    if (extension == ".WBB") {
        return KnowledgeBaseKind::RunOnly;
    }
    if (extension == ".TXT") {
        return KnowledgeBaseKind::Text;
    }
    return std::nullopt;
}

Expected<LoadedKnowledgeBase> LoadKnowledgeBase(const std::string& file) {
    const auto kind = KindOf(file);
    if (!kind) {
        return Error{file + ": unbekannte Endung (erwartet .WBP, .WBB oder .txt)"};
    }
    LoadedKnowledgeBase loaded;
    loaded.file = file;
    loaded.kind = *kind;
    if (*kind == KnowledgeBaseKind::Text) {
        auto text = ReadTextFile(file);
        if (!text) {
            return text.error();
        }
        TextImport imported = ImportKnowledgeBaseText(*text, file);
        loaded.warnings = std::move(imported.warnings);
        if (!imported.ok()) {
            std::string message;
            for (const std::string& fault : imported.faults) {
                message += fault + "\n";
            }
            message += file + ": " + std::to_string(imported.faults.size()) +
                       " fehlerhafte Zeile(n); die Wissensbasis wurde nicht gestartet";
            return Error{message};
        }
        loaded.records = std::move(imported.records);
        return loaded;
    }
    auto opened = KnowledgeBaseFile::Open(file, KnowledgeBaseFile::Mode::ReadOnly);
    if (!opened) {
        return opened.error();
    }
    auto records = opened->ReadAll(KnowledgeBaseImage::kMaxProgramLines);
    if (!records) {
        return records.error();
    }
    loaded.records = std::move(*records);
    return loaded;
}

}  // namespace kelvo

#pragma once

// The three forms a knowledge base is read from, and reading one into memory.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "store/expected.h"
#include "store/line_record.h"

namespace kelvo {

/// The forms of a knowledge base, told by the file name's extension.
enum class KnowledgeBaseKind { Editable, RunOnly, Text };

/// ".WBP" Editable, ".WBB" RunOnly, ".txt" Text, in any case; nothing for any other name.
std::optional<KnowledgeBaseKind> KindOf(const std::filesystem::path& path);

/// A knowledge base read into memory.
struct LoadedKnowledgeBase {
    std::string file;  ///< the name as given
    KnowledgeBaseKind kind = KnowledgeBaseKind::Editable;
    std::vector<LineRecord> records;
    /// Import warnings of a text form ("FILE:LINE: Warnung: ..."); they change nothing.
    std::vector<std::string> warnings;
};

/// Reads a ".WBP"/".WBB" file, or imports a ".txt" text form in memory. Fails for an unknown
/// extension, a file error, or (text form) faulty lines: then the message holds one
/// "FILE:LINE: Ihre Programmzeile ist Fehlerhaft (...)" line per faulty line and a summary,
/// as the import reports them, separated by "\n".
Expected<LoadedKnowledgeBase> LoadKnowledgeBase(const std::string& file);

}  // namespace kelvo

#pragma once

// The evidence of a consultation's fact records as JSON (UTF-8): for `kelvo-cli explain
// --json` and the "end" event of `kelvo-cli consult --explain` (docs/consult-format.md).

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "engine/evidence.h"
#include "store/knowledge_base_image.h"

namespace kelvo::cli {

/// The evidence entry `entryNumber` (-1: none, giving a source "unknown"). `nested` adds to
/// each condition's fact the evidence of that fact, an entry already given being only named
/// by its "entry" number.
nlohmann::json EvidenceJson(const Evidence& evidence, const KnowledgeBaseImage& image,
                            int entryNumber, bool nested);

/// The records the jump back removed, oldest first, each with its evidence (not nested).
nlohmann::json RemovedFactsJson(const Evidence& evidence, const KnowledgeBaseImage& image);

/// `object` (30 characters, Windows-1252): its fact records with their nested evidence and,
/// when `whyNot` is set, the rules concluding it (with the value `whyNotValue` when not empty)
/// that did not conclude.
nlohmann::json ExplainJson(const Evidence& evidence, const KnowledgeBaseImage& image,
                           std::string_view object, bool whyNot, std::string_view whyNotValue);

/// The stored form of an object name typed by a user (UTF-8): upper case, a numeric name
/// "[NAME]" with its inner name padded to 16, padded to 30 (Windows-1252).
std::string StoredObjectName(std::string_view utf8);

}  // namespace kelvo::cli

#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/evidence.h"

namespace kelvo {

class KnowledgeBaseImage;

/// The fields of a rule, condition or fact line (columns 1, 3-32, 35-36, 39, 41-70), trimmed.
struct LineFields {
    char kind = ' ';
    std::string object;
    int certainty = 0;
    char op = ' ';
    std::string value;
};

/// Reads the fields of the program line at `position` of `image`.
LineFields ReadLineFields(const KnowledgeBaseImage& image, int position);

/// The program line at `position` as one short text: rule, condition and fact lines as
/// "R OBJECT (CC) . VALUE", the others right-trimmed with runs of blanks made one.
std::string LineSummary(const KnowledgeBaseImage& image, int position);

/// The German name of an origin ("Regel", "Faktzeile", ...).
std::string_view SourceName(EvidenceSource source);
/// The German text of a rule's outcome.
std::string_view OutcomeText(RuleOutcome outcome);

/// The certainty arithmetic of a held condition written out, e.g. "80 x 99 (als 100) / 100 =
/// 80"; Windows-1252.
std::string ShareText(int conditionCertainty, int factCertainty, int share);

/// The evidence tree of the fact record at `position` as indented Windows-1252 lines: the
/// record, where it came from, for a rule every condition with its fact and share, the sums
/// and the cap, and below each condition the tree of its fact. Empty when the position holds
/// no fact record.
std::vector<std::string> ExplainFactLines(const Evidence& evidence, const KnowledgeBaseImage& image,
                                          int position);

/// The same for a record by position, or for position -1 by its text (an entry of the recent
/// stores): the newest fact record with that text, else a record the jump back removed.
std::vector<std::string> ExplainRecordLines(const Evidence& evidence,
                                            const KnowledgeBaseImage& image, int position,
                                            std::string_view record);

/// "Why not": every rule concluding `object` (30 characters) — with `value` (trimmed) when it
/// is not empty — that did not conclude, with its first condition that failed or stayed
/// unknown; Windows-1252 lines. One line saying so when every such rule concluded or there is
/// none.
std::vector<std::string> WhyNotLines(const Evidence& evidence, const KnowledgeBaseImage& image,
                                     std::string_view object, std::string_view value);

}  // namespace kelvo

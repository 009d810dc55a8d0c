#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kelvo {

/// The kinds of block a help document is made of.
enum class HelpBlockKind {
    Title,       ///< "# " line: the document's title
    Heading,     ///< "## " line
    Paragraph,   ///< plain lines, joined
    ListItem,    ///< "- " line and the plain lines that continue it
    Monospaced,  ///< lines beginning with two blanks, kept as written
};

/// One block of a help document. Paragraphs and list items hold their lines joined with one
/// blank; a monospaced block holds its lines (without the two leading blanks) joined with "\n".
struct HelpBlock {
    HelpBlockKind kind = HelpBlockKind::Paragraph;
    std::string text;

    bool operator==(const HelpBlock&) const = default;
};

/// The blocks of a help source (UTF-8, the markup of docs/help/README.md) in order. Every text
/// parses: a line of no other kind is paragraph text. Empty for a text without content.
std::vector<HelpBlock> ParseHelpSource(std::string_view source);

/// The name of a block kind, for messages and test output ("Title", "Heading", ...).
std::string_view HelpBlockKindName(HelpBlockKind kind);

}  // namespace kelvo

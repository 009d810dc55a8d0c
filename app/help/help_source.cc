#include "app/help/help_source.h"

#include <cstddef>
#include <utility>

namespace kelvo {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kMonospacedIndent = "  ";
constexpr std::string_view kTitleMark = "# ";
constexpr std::string_view kHeadingMark = "## ";
constexpr std::string_view kListMark = "- ";
constexpr std::string_view kSpace = " \t";

bool IsBlank(std::string_view line) {
    return line.find_first_not_of(kSpace) == std::string_view::npos;
}

std::string_view Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kSpace);
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(kSpace);
    return text.substr(first, last - first + 1);
}

// Collects the blocks; a paragraph, list item or monospaced block stays open until a line
// of another kind (or the end) closes it.
class HelpSourceParser {
  public:
    void Line(std::string_view line) {
        if (IsBlank(line)) {
            // Empty lines inside a monospaced block belong to it if another monospaced line
            // follows; they are counted until then.
            if (isOpen_ && open_.kind == HelpBlockKind::Monospaced) {
                ++pendingEmptyLines_;
            } else {
                Close();
            }
            return;
        }
        if (line.starts_with(kMonospacedIndent)) {
            const std::string_view content = line.substr(kMonospacedIndent.size());
            if (isOpen_ && open_.kind == HelpBlockKind::Monospaced) {
                open_.text.append(pendingEmptyLines_ + 1, '\n');
                open_.text.append(content);
                pendingEmptyLines_ = 0;
            } else {
                Open(HelpBlockKind::Monospaced, content);
            }
            return;
        }
        if (line.starts_with(kHeadingMark)) {
            Emit(HelpBlockKind::Heading, Trim(line.substr(kHeadingMark.size())));
        } else if (line.starts_with(kTitleMark)) {
            Emit(HelpBlockKind::Title, Trim(line.substr(kTitleMark.size())));
        } else if (line.starts_with(kListMark)) {
            Open(HelpBlockKind::ListItem, Trim(line.substr(kListMark.size())));
        } else if (isOpen_ && (open_.kind == HelpBlockKind::Paragraph ||
                               open_.kind == HelpBlockKind::ListItem)) {
            // paragraph -> line { line }: a plain line continues the open paragraph or item.
            open_.text.append(" ");
            open_.text.append(Trim(line));
        } else {
            Open(HelpBlockKind::Paragraph, Trim(line));
        }
    }

    std::vector<HelpBlock> Finish() {
        Close();
        return std::move(blocks_);
    }

  private:
    void Open(HelpBlockKind kind, std::string_view text) {
        Close();
        open_ = HelpBlock{kind, std::string(text)};
        isOpen_ = true;
    }

    void Emit(HelpBlockKind kind, std::string_view text) {
        Close();
        blocks_.push_back(HelpBlock{kind, std::string(text)});
    }

    // Empty lines at the end of a monospaced block are dropped with it.
    void Close() {
        if (isOpen_) {
            blocks_.push_back(std::exchange(open_, HelpBlock{}));
            isOpen_ = false;
        }
        pendingEmptyLines_ = 0;
    }

    std::vector<HelpBlock> blocks_;
    HelpBlock open_;  // the block later lines may still extend, while isOpen_
    bool isOpen_ = false;
    std::size_t pendingEmptyLines_ = 0;
};

}  // namespace

std::vector<HelpBlock> ParseHelpSource(std::string_view source) {
    if (source.starts_with(kByteOrderMark)) {
        source.remove_prefix(kByteOrderMark.size());
    }
    HelpSourceParser parser;
    while (!source.empty()) {
        const std::size_t end = source.find('\n');
        std::string_view line = source.substr(0, end);
        source.remove_prefix(end == std::string_view::npos ? source.size() : end + 1);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        parser.Line(line);
    }
    return parser.Finish();
}

std::string_view HelpBlockKindName(HelpBlockKind kind) {
    switch (kind) {
        case HelpBlockKind::Title:
            return "Title";
        case HelpBlockKind::Heading:
            return "Heading";
        case HelpBlockKind::Paragraph:
            return "Paragraph";
        case HelpBlockKind::ListItem:
            return "ListItem";
        case HelpBlockKind::Monospaced:
            return "Monospaced";
    }
    return "Unknown";
}

}  // namespace kelvo

#pragma once

#include <string>
#include <vector>

#include "lint/program_structure.h"

namespace kelvo {

// The pages a text body shows, split as the consultation splits them: a page takes text lines
// ("T") and media lines ("G") until it holds its caption and 25 body lines; a text line after
// a full page begins the next page, a media line there cannot be shown (error 13). And the
// fields a page's body lines describe, found as the page is built: the markers in the order
// "«", "»", "]", "[", "<", ">", "|", each field blanked before the next marker is looked for.

/// One page: its text lines (the first is the caption) and its media lines.
struct DisplayPage {
    std::vector<int> textLines;
    std::vector<int> mediaLines;
};

/// The pages of a text body and where showing them stops.
struct PageRun {
    std::vector<DisplayPage> pages;
    int misplacedMedia = -1;  ///< a media line after a full page (error 13); -1 if none
};

/// Splits the body of a display task ("N" or "= (N)") into its pages.
PageRun SplitPages(const ProgramStructure& program, const TaskBody& body);

enum class PageFieldKind { Input, Display, MemoInput, MemoDisplay, Button, CheckBox, ListBox };

/// A field description on a page's body lines.
struct PageField {
    PageFieldKind kind = PageFieldKind::Input;
    int position = 0;         ///< the program line of its first row
    bool valid = false;       ///< false: an intended field whose name is invalid; stays text
    std::string name;         ///< the variable, 30 characters (valid fields only)
    std::string description;  ///< as written, markers included
};

/// The fields of a page. Invalid descriptions are listed only where a field was plainly meant:
/// the name begins right after the opening marker and is a name the grammar rejects (too long,
/// a bad subscript, ...) or a name of upper-case words with a blank between them.
std::vector<PageField> ScanPageFields(const ProgramStructure& program, const DisplayPage& page);

/// Field descriptions in a page's caption, which is never searched for fields, so they stay
/// text: an upper-case name between two equal markers other than "[" (which the caption
/// takes for a value to put in). `valid` is false for each.
std::vector<PageField> CaptionFields(const ProgramStructure& program, const DisplayPage& page);

}  // namespace kelvo

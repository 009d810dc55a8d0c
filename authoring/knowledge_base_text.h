#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "store/line_record.h"

namespace kelvo {

// The text form of a knowledge base: one program line per text line, UTF-8, typed as in the
// editor (a blank inside a text value written "$"). A final line end is optional; a "\r"
// before the line end and a byte-order mark at the start are ignored. Importing checks every
// line with CheckProgramLine and keeps the normalized lines; exporting writes each record
// back with the editor's fill characters, so that importing an export gives the same records.

/// The outcome of importing a text. Messages are UTF-8, "FILE:LINE: text", in line order.
struct TextImport {
    std::vector<LineRecord> records;    ///< the normalized lines; empty when there are faults
    std::vector<std::string> faults;    ///< "FILE:LINE: Ihre Programmzeile ist Fehlerhaft (...)"
    std::vector<std::string> warnings;  ///< "FILE:LINE: Warnung: ..."; they change nothing

    bool ok() const { return faults.empty(); }
};

/// Imports the text form held in `utf8`; `fileName` names it in the messages. A line is
/// faulty when CheckProgramLine rejects it or when it is longer than 83 characters; a
/// character outside Windows-1252 becomes "?" with a warning.
TextImport ImportKnowledgeBaseText(std::string_view utf8, const std::string& fileName);

/// The text form of one record (Windows-1252, no line end): a text value shown with fill
/// characters, its trailing fill characters dropped but one, trailing blanks dropped.
std::string ExportProgramLine(std::string_view recordText);

/// True if the text form of the record imports back to exactly the same record; false for a
/// record that is not a normalized line (an old line kind, a run-only record with its digit,
/// a hand-made record). `reason` (if given) says why.
bool ExportsExactly(std::string_view recordText, std::string* reason = nullptr);

/// The outcome of exporting records.
struct TextExport {
    std::string utf8;                   ///< one line per record, each ended by "\n"
    std::vector<std::string> warnings;  ///< "FILE:LINE: Warnung: ..." for each inexact record
};

/// Exports records in the text form. Every record is written; one that would not import back
/// to itself (see ExportsExactly) gets a warning naming `fileName` and its line number.
TextExport ExportKnowledgeBaseText(const std::vector<LineRecord>& records,
                                   const std::string& fileName = "");

/// Every record's exact text, each character up to its length, as UTF-8, one line per record.
std::string ExportRawRecords(const std::vector<LineRecord>& records);

}  // namespace kelvo

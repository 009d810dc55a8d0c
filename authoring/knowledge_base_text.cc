#include "authoring/knowledge_base_text.h"

#include <algorithm>

#include "authoring/fill_characters.h"
#include "authoring/program_line_check.h"
#include "store/text_field.h"
#include "store/windows1252.h"

namespace kelvo {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string Where(const std::string& fileName, std::size_t line) {
    return fileName + ":" + std::to_string(line) + ": ";
}

std::string FaultMessage(const std::string& fileName, std::size_t line, std::string_view reason) {
    return Where(fileName, line) + Windows1252ToUtf8(kFaultyLineMessage) + " (" +
           Windows1252ToUtf8(reason) + ")";
}

}  // namespace

TextImport ImportKnowledgeBaseText(std::string_view utf8, const std::string& fileName) {
    TextImport result;
    if (utf8.starts_with(kByteOrderMark)) {
        utf8.remove_prefix(kByteOrderMark.size());
    }
    std::size_t lineNumber = 0;
    while (!utf8.empty()) {
        ++lineNumber;
        const std::size_t end = utf8.find('\n');
        std::string_view typed = utf8.substr(0, end);
        utf8.remove_prefix(end == std::string_view::npos ? utf8.size() : end + 1);
        if (typed.ends_with('\r')) {
            typed.remove_suffix(1);
        }
        // A carriage return anywhere else would end the line for many editors and for the
        // export, so the record could not come back from its text form.
        if (typed.find('\r') != std::string_view::npos) {
            result.faults.push_back(FaultMessage(fileName, lineNumber,
                                                 "Wagenr\xFC"
                                                 "cklauf innerhalb der Zeile"));
            continue;
        }
        std::size_t unmappable = 0;
        const std::string line = Utf8ToWindows1252(typed, &unmappable);
        if (unmappable > 0) {
            result.warnings.push_back(Where(fileName, lineNumber) +
                                      "Warnung: " + std::to_string(unmappable) +
                                      " Zeichen ohne Entsprechung in Windows-1252, durch \"?\" "
                                      "ersetzt");
        }
        if (line.size() > LineRecord::kMaxText) {
            result.faults.push_back(FaultMessage(
                fileName, lineNumber, "l\xE4nger als 83 Zeichen: " + std::to_string(line.size())));
            continue;
        }
        LineCheck check = CheckProgramLine(line);
        if (!check.ok) {
            result.faults.push_back(FaultMessage(fileName, lineNumber, check.reason));
            continue;
        }
        if (result.faults.empty()) {
            result.records.emplace_back(check.line);
        }
    }
    if (!result.faults.empty()) {
        result.records.clear();
    }
    return result;
}

std::string ExportProgramLine(std::string_view recordText) {
    if (!HasTextValueField(recordText)) {
        return TrimRight(recordText);
    }
    std::string filled = Fuellzeichen_einfuegen(recordText);
    // The field's trailing "$" stand for padding; one stays, so that an empty value is still
    // a token when the line is read again.
    const std::size_t lastOther = filled.find_last_not_of('$');
    const std::size_t keep =
        std::max(lastOther == std::string::npos ? 0 : lastOther + 1, kTextValueFirstColumn);
    filled.resize(std::min(filled.size(), keep));
    return TrimRight(filled);
}

bool ExportsExactly(std::string_view recordText, std::string* reason) {
    const std::string exported = ExportProgramLine(recordText);
    auto fail = [&](std::string why) {
        if (reason != nullptr) {
            *reason = std::move(why);
        }
        return false;
    };
    if (exported.find_first_of("\r\n") != std::string::npos) {
        return fail("der Datensatz enth\xE4lt einen Zeilenwechsel");
    }
    const LineCheck check = CheckProgramLine(exported);
    if (!check.ok) {
        return fail("die Zeile w\xE4re beim Einlesen fehlerhaft: " + check.reason);
    }
    if (check.line != recordText) {
        return fail("beim Einlesen entst\xFCnde ein anderer Datensatz");
    }
    return true;
}

TextExport ExportKnowledgeBaseText(const std::vector<LineRecord>& records,
                                   const std::string& fileName) {
    TextExport result;
    std::string lines;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const std::string_view text = records[i].text();
        lines += ExportProgramLine(text);
        lines += '\n';
        std::string reason;
        if (!ExportsExactly(text, &reason)) {
            result.warnings.push_back(Where(fileName, i + 1) +
                                      "Warnung: Datensatz nicht in Normalform; " +
                                      Windows1252ToUtf8(reason));
        }
    }
    result.utf8 = Windows1252ToUtf8(lines);
    return result;
}

std::string ExportRawRecords(const std::vector<LineRecord>& records) {
    std::string lines;
    for (const LineRecord& record : records) {
        lines += record.text();
        lines += '\n';
    }
    return Windows1252ToUtf8(lines);
}

}  // namespace kelvo

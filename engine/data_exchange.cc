#include "engine/data_exchange.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "authoring/program_line_check.h"
#include "engine/consultation.h"
#include "engine/error_codes.h"
#include "engine/evidence.h"
#include "platform/path_lookup.h"
#include "store/knowledge_base_file.h"
#include "store/stored_number.h"
#include "store/text_field.h"
#include "store/windows1252.h"

namespace kelvo {
namespace {

constexpr std::size_t kLineWidth = 82;
constexpr std::size_t kPieceWidth = 30;
constexpr std::size_t kKeyWidth = 32;
// A blank count read back is at most this; a larger one comes from a damaged file.
constexpr double kMaxBlankCount = 100000.0;

const std::string kRecordNumberName = PadRight("[+WBNR           ]", FactBase::kFieldWidth);
const std::string kReadName = PadRight("++WB_LESEN", FactBase::kFieldWidth);
const std::string kSearchCountName = PadRight("[+WB_SUCH        ]", FactBase::kFieldWidth);
const std::string kWriteName = PadRight("++WB_SCHREIBEN", FactBase::kFieldWidth);
constexpr std::string_view kBlankCountKey = "J [+LEERZEICHEN    ]";

enum class Direction { Read, Write };

constexpr std::array<int, 6> kReadCodes = {2000, 2010, 2020, 2030, 2040, 2050};
constexpr std::array<int, 7> kWriteCodes = {1000, 1010, 1015, 1020, 1025, 1030, 1050};

// A number rounded to an int; values beyond the int range become the nearest bound.
int RoundedInt(double value) {
    const double rounded = RoundHalfEven(value);
    if (!(rounded > -2147483648.0)) {
        return INT32_MIN;
    }
    return rounded < 2147483647.0 ? static_cast<int>(rounded) : INT32_MAX;
}

bool IsCommand(Direction direction, int code) {
    if (direction == Direction::Read) {
        return std::find(kReadCodes.begin(), kReadCodes.end(), code) != kReadCodes.end();
    }
    return std::find(kWriteCodes.begin(), kWriteCodes.end(), code) != kWriteCodes.end();
}

// The other file's name: the variable's value with its last four characters replaced by the
// extension of the kind.
std::string OtherFileName(std::string_view value, int kind) {
    std::string name = TrimRight(value);
    name.resize(name.size() >= 4 ? name.size() - 4 : 0);
    return name + (kind == 1 ? ".WBP" : ".WBB");
}

// One exchange line: its checks, the other file's content and the command.
class ExchangeLine {
  public:
    ExchangeLine(Consultation& consultation, int position, Direction direction)
        : c_(consultation),
          facts_(consultation.facts()),
          position_(position),
          direction_(direction),
          line_(PadRight(consultation.image().Text(position), kLineWidth)) {}

    /// Carries the line out; false when it failed (and was reported) or the image is full.
    bool Run();

  private:
    bool Fail(ErrorCode code) {
        c_.FHR_Fehler(static_cast<int>(code), position_, true);
        return false;
    }
    // Stores a value with certainty "99" and origin "02"; false when the image is full.
    bool Store(std::string_view name, std::string_view value) {
        if (Evidence* evidence = c_.evidence()) {
            evidence->SetOrigin(EvidenceSource::DataExchange, position_, fileName_);
        }
        if (facts_.StoreFact(name, value, "99", "02") < 0) {
            c_.StopIfImageFull();
            return false;
        }
        return true;
    }
    bool StoreNumber(std::string_view name, double value) {
        return Store(name, FormatStoredNumber(value));
    }
    LineRecord Record(std::string_view text) const {
        return LineRecord(PadRight(text, kLineWidth) + (runOnly_ ? "1" : ""));
    }
    std::vector<LineRecord> VariableRecords(const std::string& name, std::string_view value) const;
    bool Save() {
        // A file that is complete but whose folder could not be flushed counts as written.
        if (!KnowledgeBaseFile::ReplaceWith(path_, records_, c_.services().fileFaults).replaced) {
            return Fail(ErrorCode::KnowledgeBaseAccess);
        }
        return true;
    }
    int Count() const { return static_cast<int>(records_.size()); }
    std::string RecordText(int index) const {
        return std::string(records_[static_cast<std::size_t>(index)].text());
    }

    bool Read(int code, int n);
    bool Write(int code, int n);
    bool WriteVariable(bool replace);
    bool WriteProgramLine(int n, bool append);

    Consultation& c_;
    FactBase& facts_;
    int position_;
    Direction direction_;
    std::string line_;
    bool runOnly_ = false;
    std::filesystem::path path_;
    std::string fileName_;  ///< the other file's name as the program gives it
    std::vector<LineRecord> records_;
};

bool ExchangeLine::Run() {
    // Code and kind. A bracketed field whose variable is missing has been reported by the
    // field evaluation already; the line then fails as a faulty command.
    const Consultation::Operand code = c_.FHR(Columns(line_, 34, 51), position_);
    if (code.status != Consultation::Operand::Status::Number ||
        !IsCommand(direction_, RoundedInt(code.number))) {
        return Fail(ErrorCode::WriteCommandMissing);
    }
    const int command = RoundedInt(code.number);
    const Consultation::Operand kindField = c_.FHR(Columns(line_, 53, 70), position_);
    if (kindField.status == Consultation::Operand::Status::MissingVariable) {
        return Fail(ErrorCode::WriteCommandMissing);
    }
    const int kind = kindField.status == Consultation::Operand::Status::Number
                         ? RoundedInt(kindField.number)
                         : 0;

    if (!facts_.LookupFact(Columns(line_, 3, 32))) {
        return Fail(ErrorCode::CommandVariableNotFound);
    }
    if (kind != 1 && kind != 2) {
        return Fail(ErrorCode::BadCommandLine);
    }
    runOnly_ = kind == 2;
    fileName_ = OtherFileName(facts_.FoundValue(), kind);
    path_ = ResolvePath(fileName_);

    // The file: a new one for 1000, otherwise the existing one, read whole. A file that is
    // not a record file fails to open. Reading in the user module never asks for write access.
    if (command == 1000) {
        std::error_code error;
        if (std::filesystem::exists(path_, error) &&
            !KnowledgeBaseFile::Open(path_, KnowledgeBaseFile::Mode::ReadWrite)) {
            return Fail(ErrorCode::KnowledgeBaseAccess);
        }
        records_.assign(1, Record("K"));
    } else {
        const bool writable = direction_ == Direction::Write || c_.config().programmingModule;
        auto file = KnowledgeBaseFile::Open(path_, writable ? KnowledgeBaseFile::Mode::ReadWrite
                                                            : KnowledgeBaseFile::Mode::ReadOnly);
        if (!file) {
            return Fail(ErrorCode::KnowledgeBaseAccess);
        }
        auto all = file->ReadAll();
        if (!all) {
            return Fail(ErrorCode::KnowledgeBaseAccess);
        }
        records_ = std::move(*all);
    }

    if (!facts_.LookupFact(kRecordNumberName)) {
        return Fail(ErrorCode::CommandVariableNotFound);
    }
    const int n = RoundedInt(facts_.FoundNumber());
    const int last = Count() + (command == 1010 ? 1 : 0);
    if (n < 1 || n > last) {
        return Fail(ErrorCode::BadCommandLine);
    }
    return direction_ == Direction::Read ? Read(command, n) : Write(command, n);
}

bool ExchangeLine::Read(int code, int n) {
    switch (code) {
        case 2000:
            return Store(kReadName, RecordText(n - 1));
        case 2010:
            return StoreNumber(kRecordNumberName, Count());
        case 2020:
            return StoreNumber(kRecordNumberName, Count() + 1);
        case 2030: {
            // Without a search text there is nothing to search for: a loop stepping from
            // match to match would otherwise never end.
            if (!facts_.LookupFact(kReadName)) {
                return Fail(ErrorCode::CommandVariableNotFound);
            }
            const std::string needle = facts_.FoundValue();
            int found = Count();
            for (int i = n - 1; i < Count(); ++i) {
                if (ContainsText(needle, RecordText(i))) {
                    found = i + 1;
                    break;
                }
            }
            return StoreNumber(kRecordNumberName, found);
        }
        case 2040: {
            const std::string needle =
                facts_.LookupFact(kReadName) ? facts_.FoundValue() : std::string();
            if (!StoreNumber(kSearchCountName, 0)) {
                return false;
            }
            int k = 0;
            for (int i = n - 1; i < Count(); ++i) {
                if (!ContainsText(needle, RecordText(i))) {
                    continue;
                }
                ++k;
                const std::string name =
                    PadRight(PadRight("[+WB_SUCH{" + std::to_string(k) + "}", 17) + "]",
                             FactBase::kFieldWidth);
                if (!StoreNumber(kSearchCountName, k) || !StoreNumber(name, i + 1)) {
                    return false;
                }
            }
            return true;
        }
        case 2050: {
            // A variable named by nothing cannot be assigned.
            if (!facts_.LookupFact(kReadName)) {
                return Fail(ErrorCode::CommandVariableNotFound);
            }
            const std::string name =
                PadRight(ToUpper(TrimRight(facts_.FoundValue())), FactBase::kFieldWidth);
            const std::string key = PadRight("J " + name, kKeyWidth);
            std::string value;
            bool afterPiece = false;
            for (int i = 1; i < Count(); ++i) {
                const std::string text = PadRight(RecordText(i), kLineWidth);
                if (text.substr(0, kKeyWidth) == key) {
                    value += TrimRight(text.substr(40, kPieceWidth));
                    afterPiece = true;
                } else if (afterPiece && text.starts_with(kBlankCountKey)) {
                    const std::optional<double> count =
                        ParseDecimalNumber(TrimLeft(TrimRight(text.substr(41, 16))));
                    // Defensive: a count that does not read or is out of range is damage.
                    if (count && *count >= 1.0) {
                        value.append(static_cast<std::size_t>(std::min(*count, kMaxBlankCount)),
                                     ' ');
                    }
                    afterPiece = false;
                } else {
                    afterPiece = false;
                }
            }
            return Store(name, value);
        }
        default:
            return Fail(ErrorCode::WriteCommandMissing);
    }
}

// The records of a variable's value: one variable record per piece of 30 characters, each
// but the last followed by a blank-count record when the piece ends in blanks. The count is
// always that piece's own trailing blanks, so that an entirely blank piece between others
// reads back as exactly 30 blanks.
std::vector<LineRecord> ExchangeLine::VariableRecords(const std::string& name,
                                                      std::string_view value) const {
    const std::string text = TrimRight(value);
    const std::size_t pieces =
        std::max<std::size_t>(1, (text.size() + kPieceWidth - 1) / kPieceWidth);
    std::vector<LineRecord> records;
    for (std::size_t i = 0; i < pieces; ++i) {
        const std::string piece =
            PadRight(i * kPieceWidth < text.size()
                         ? std::string_view(text).substr(i * kPieceWidth, kPieceWidth)
                         : std::string_view(),
                     kPieceWidth);
        records.push_back(Record("J " + name + "      " + (i == 0 ? ". " : "- ") + piece));
        const std::size_t blanks = kPieceWidth - TrimRight(piece).size();
        if (blanks > 0 && i + 1 < pieces) {
            records.push_back(Record(std::string(kBlankCountKey) + std::string(18, ' ') + ". " +
                                     FormatStoredNumber(static_cast<double>(blanks))));
        }
    }
    return records;
}

bool ExchangeLine::WriteVariable(bool replace) {
    if (!facts_.LookupFact(kWriteName)) {
        return true;  // nothing is written
    }
    const std::string name =
        PadRight(ToUpper(TrimRight(facts_.FoundValue())), FactBase::kFieldWidth);
    if (!facts_.LookupFact(name)) {
        return true;
    }
    const std::vector<LineRecord> added = VariableRecords(name, facts_.FoundValue());
    const int before = Count();
    records_.insert(records_.end(), added.begin(), added.end());
    const int total = Count();
    if (replace) {
        // The old definition: the first run of records with the key (and the blank-count
        // records among them) before the new ones, from record 2 on.
        const std::string key = PadRight("J " + name, kKeyWidth);
        auto hasKey = [&](int i) { return PadRight(RecordText(i), kKeyWidth) == key; };
        int start = 1;
        while (start < before && !hasKey(start)) {
            ++start;
        }
        if (start < before) {
            int end = start;
            while (end < before && (hasKey(end) || RecordText(end).starts_with(kBlankCountKey))) {
                ++end;
            }
            std::vector<LineRecord> result(records_.begin(), records_.begin() + start);
            result.insert(result.end(), added.begin(), added.end());
            result.insert(result.end(), records_.begin() + end, records_.begin() + before);
            records_ = std::move(result);
        }
    }
    return Save() && StoreNumber(kRecordNumberName, total);
}

bool ExchangeLine::WriteProgramLine(int n, bool append) {
    const std::string text =
        facts_.LookupFact(kWriteName) ? TrimRight(facts_.FoundValue()) : std::string();
    const LineCheck check = CheckProgramLine(text);
    if (!check.ok) {
        return Fail(ErrorCode::BadCommandLine);
    }
    if (append) {
        records_.push_back(Record(check.line));
    } else {
        records_[static_cast<std::size_t>(n - 1)] = Record(check.line);
    }
    return Save() && (!append || StoreNumber(kRecordNumberName, Count()));
}

bool ExchangeLine::Write(int code, int n) {
    const auto at = records_.begin() + (n - 1);
    switch (code) {
        case 1000:
            return Save();
        case 1010:
            records_.insert(at, Record("K"));
            return Save();
        case 1015:
            return WriteVariable(false);
        case 1050:
            return WriteVariable(true);
        case 1020:
            return WriteProgramLine(n, false);
        case 1025:
            return WriteProgramLine(n, true);
        case 1030:
            records_.erase(at);
            return Save();
        default:
            return Fail(ErrorCode::WriteCommandMissing);
    }
}

void RunBlock(Consultation& consultation, TaskSlot slot, Direction direction) {
    const int start = consultation.Slot(slot);
    if (start < 0) {
        return;
    }
    const KnowledgeBaseImage& image = consultation.image();
    for (int p = start + 1; p <= image.ProgramEnd() && image.Record(p).column(1) == 'W'; ++p) {
        if (!ExchangeLine(consultation, p, direction).Run() || consultation.Ended()) {
            return;
        }
    }
}

}  // namespace

void Wissensbasis_Lesen(Consultation& consultation) {
    RunBlock(consultation, TaskSlot::ReadOther, Direction::Read);
}

void Wissensbasis_Schreiben(Consultation& consultation) {
    RunBlock(consultation, TaskSlot::WriteOther, Direction::Write);
}

}  // namespace kelvo

#include "engine/evidence_text.h"

#include <set>

#include "engine/whole_number.h"
#include "store/fact_record.h"
#include "store/knowledge_base_image.h"
#include "store/text_field.h"

namespace kelvo {
namespace {

// Deeper sub-goal trees are cut with a note: a chain of a thousand sub-goals stays readable.
constexpr int kMaxDepth = 40;

std::string Indent(int level) {
    return std::string(static_cast<std::size_t>(2 * level), ' ');
}

std::string CollapseBlanks(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c != ' ' || (!out.empty() && out.back() != ' ')) {
            out += c;
        }
    }
    return TrimRight(out);
}

std::string LineNumber(int position) {
    return std::to_string(position + 1);
}

std::string FactText(std::string_view record) {
    const FactRecord fact(record);
    return TrimRight(fact.Name()) + " = " + TrimRight(fact.Value()) + " (Sicherheit " +
           fact.Certainty() + ", Herkunft " + fact.Origin() + ")";
}

std::string_view StateText(int state) {
    switch (state) {
        case 2:
            return "erf\xFCllt";
        case 1:
            return "nicht erf\xFCllt";
        default:
            return "unbekannt";
    }
}

class TreeWriter {
  public:
    TreeWriter(const Evidence& evidence, const KnowledgeBaseImage& image,
               std::vector<std::string>& out)
        : evidence_(evidence), image_(image), out_(out) {}

    void Origin(int entryNumber, int level) {
        if (entryNumber < 0) {
            out_.push_back(Indent(level) + "Herkunft nicht bekannt");
            return;
        }
        const EvidenceEntry& entry = evidence_.Entry(entryNumber);
        out_.push_back(Indent(level) + OriginText(entry));
        if (entry.source != EvidenceSource::Rule) {
            return;
        }
        if (level / 2 >= kMaxDepth) {
            out_.push_back(Indent(level + 1) + "(tiefere Unterziele ausgelassen)");
            return;
        }
        if (!shown_.insert(entryNumber).second) {
            out_.push_back(Indent(level + 1) + "(Bedingungen wie oben)");
            return;
        }
        for (const ConditionEvidence& condition : evidence_.ConditionsOf(entry)) {
            Condition(condition, level + 1);
        }
        std::string sum = "Summe " + std::to_string(entry.sum);
        if (entry.sum > 99) {
            sum += ", begrenzt auf 99";
        }
        sum += ": Sicherheit " + std::to_string(std::min(entry.sum, 99));
        out_.push_back(Indent(level + 1) + sum);
    }

  private:
    std::string OriginText(const EvidenceEntry& entry) const {
        const int line = entry.linePosition;
        std::string text(SourceName(entry.source));
        switch (entry.source) {
            case EvidenceSource::Rule:
            case EvidenceSource::FactLine:
            case EvidenceSource::Computation:
            case EvidenceSource::VariableCommand:
                return text + " in Zeile " + LineNumber(line) + ": " + LineSummary(image_, line);
            case EvidenceSource::DataExchange: {
                text += " in Zeile " + LineNumber(line) + ": " + LineSummary(image_, line);
                if (entry.file >= 0 &&
                    static_cast<std::size_t>(entry.file) < evidence_.Files().size()) {
                    text += ", aus der Datei " +
                            evidence_.Files()[static_cast<std::size_t>(entry.file)];
                }
                return text;
            }
            case EvidenceSource::PageAnswer:
                return line >= 0 ? text + " der Aufgabe in Zeile " + LineNumber(line) + ": " +
                                       LineSummary(image_, line)
                                 : text + " (Schlussseite)";
            case EvidenceSource::BlockRepeat:
                return text + " in Zeile " + LineNumber(line) + ": " + LineSummary(image_, line);
            case EvidenceSource::ClosingPhase:
            case EvidenceSource::Unknown:
                break;
        }
        return text;
    }

    void Condition(const ConditionEvidence& condition, int level) {
        const LineFields fields = ReadLineFields(image_, condition.linePosition);
        out_.push_back(Indent(level) + "Bedingung in Zeile " + LineNumber(condition.linePosition) +
                       ": " + LineSummary(image_, condition.linePosition));
        std::string found;
        if (condition.factPosition < 0) {
            found = "kein Fakt gefunden";
        } else {
            found = "Fakt an Position " + std::to_string(condition.factPosition) + ": " +
                    TrimRight(condition.factValue.view()) + " (Sicherheit " +
                    std::to_string(condition.factCertainty) + ")";
        }
        found += ", " + std::string(StateText(condition.state));
        if (condition.state == 2) {
            found +=
                ", Anteil " + ShareText(fields.certainty, condition.factCertainty, condition.share);
        }
        out_.push_back(Indent(level + 1) + found);
        if (condition.groupEnds && condition.state != 0) {
            std::string group = "Gruppe zu Ende: ";
            if (condition.groupBest == -1) {
                group += "wahr mit Sicherheit 0, ";
            } else if (condition.groupBest > 0 || condition.state == 2) {
                group += "beste " + std::to_string(condition.groupBest) + ", ";
            }
            group += "Summe " + std::to_string(condition.sum);
            out_.push_back(Indent(level + 1) + group);
        }
        if (condition.factEntry >= 0 &&
            evidence_.Entry(condition.factEntry).source == EvidenceSource::Rule) {
            Origin(condition.factEntry, level + 1);
        }
    }

    const Evidence& evidence_;
    const KnowledgeBaseImage& image_;
    std::vector<std::string>& out_;
    std::set<int> shown_;
};

}  // namespace

LineFields ReadLineFields(const KnowledgeBaseImage& image, int position) {
    const std::string line = PadRight(image.Text(position), 82);
    LineFields fields;
    fields.kind = line[0];
    fields.object = TrimRight(Columns(line, 3, 32));
    fields.certainty = ReadWholeNumber(Columns(line, 35, 36));
    fields.op = line[38];
    fields.value = TrimRight(Columns(line, 41, 70));
    return fields;
}

std::string LineSummary(const KnowledgeBaseImage& image, int position) {
    if (position < 0 || position > image.ProgramEnd()) {
        return "";
    }
    const LineFields fields = ReadLineFields(image, position);
    switch (fields.kind) {
        case 'R':
            return "R " + fields.object + " " + std::string(1, fields.op) + " " + fields.value;
        case 'U':
        case 'O':
        case 'F': {
            const std::string line = PadRight(image.Text(position), 82);
            return std::string(1, fields.kind) + " " + fields.object + " (" +
                   Columns(line, 35, 36) + ") " + std::string(1, fields.op) + " " + fields.value;
        }
        default:
            return CollapseBlanks(image.Text(position));
    }
}

std::string_view SourceName(EvidenceSource source) {
    switch (source) {
        case EvidenceSource::FactLine:
            return "Faktzeile";
        case EvidenceSource::Rule:
            return "Regel";
        case EvidenceSource::PageAnswer:
            return "Antwort auf der Seite";
        case EvidenceSource::Computation:
            return "Berechnung";
        case EvidenceSource::VariableCommand:
            return "Variablenbefehl";
        case EvidenceSource::DataExchange:
            return "Wissensbasis lesen";
        case EvidenceSource::BlockRepeat:
            return "Z\xE4hler des wiederholten Aufgabenblocks";
        case EvidenceSource::ClosingPhase:
            return "Sicherheit eines Zielwerts in der Schlussphase";
        case EvidenceSource::Unknown:
            break;
    }
    return "Herkunft nicht bekannt";
}

std::string_view OutcomeText(RuleOutcome outcome) {
    switch (outcome) {
        case RuleOutcome::NotExamined:
            return "nicht gepr\xFC"
                   "ft";
        case RuleOutcome::ObjectKnown:
            return "nicht gepr\xFC"
                   "ft: der Wert war schon bekannt";
        case RuleOutcome::Unknown:
            return "offen: eine Bedingung blieb unbekannt";
        case RuleOutcome::Failed:
            return "nicht erf\xFCllt";
        case RuleOutcome::Concluded:
            return "geschlossen";
    }
    return "";
}

std::string ShareText(int conditionCertainty, int factCertainty, int share) {
    const int fact = factCertainty == 99 ? 100 : factCertainty;
    std::string text = std::to_string(conditionCertainty) + " x " + std::to_string(factCertainty);
    if (factCertainty == 99) {
        text += " (als 100)";
    }
    text += " / 100 = ";
    const int product = conditionCertainty * fact;
    if (product % 100 != 0) {
        text += std::to_string(product / 100) + "," + (product % 100 < 10 ? "0" : "") +
                std::to_string(product % 100) +
                (product % 100 == 50 ? ", zur geraden Zahl gerundet " : ", gerundet ");
    }
    text += std::to_string(share);
    if (share == 0) {
        text += " (wahr mit Sicherheit 0)";
    }
    return text;
}

std::vector<std::string> ExplainFactLines(const Evidence& evidence, const KnowledgeBaseImage& image,
                                          int position) {
    std::vector<std::string> lines;
    if (position <= image.FactBoundary() || position > image.LastRecord()) {
        return lines;
    }
    lines.push_back("Fakt an Position " + std::to_string(position) + ": " +
                    FactText(image.Text(position)));
    TreeWriter(evidence, image, lines).Origin(evidence.EntryNumberAt(position), 1);
    return lines;
}

std::vector<std::string> ExplainRecordLines(const Evidence& evidence,
                                            const KnowledgeBaseImage& image, int position,
                                            std::string_view record) {
    if (position >= 0) {
        return ExplainFactLines(evidence, image, position);
    }
    if (const int found = evidence.PositionOfRecord(record); found >= 0) {
        return ExplainFactLines(evidence, image, found);
    }
    const std::string wanted = TrimRight(record);
    const std::vector<RemovedFact>& removed = evidence.Removed();
    for (auto it = removed.rbegin(); it != removed.rend(); ++it) {
        if (TrimRight(it->record) != wanted) {
            continue;
        }
        std::vector<std::string> lines = {"Fakt, einst an Position " +
                                          std::to_string(it->position) + ": " +
                                          FactText(it->record)};
        lines.push_back(Indent(1) +
                        "entfernt durch den R\xFC"
                        "cksprung in Zeile " +
                        LineNumber(it->jumpLinePosition) + ": " +
                        LineSummary(image, it->jumpLinePosition));
        TreeWriter(evidence, image, lines).Origin(it->entry, 1);
        return lines;
    }
    return {};
}

std::vector<std::string> WhyNotLines(const Evidence& evidence, const KnowledgeBaseImage& image,
                                     std::string_view object, std::string_view value) {
    const std::string name = TrimRight(object);
    const std::string wanted = TrimRight(value);
    std::vector<std::string> lines = {"Warum nicht " + name +
                                      (wanted.empty() ? std::string() : " = " + wanted) + "?"};
    const std::vector<RuleRecord>& rules = evidence.Rules();
    int listed = 0;
    int concluded = 0;
    for (int s = 1; s <= image.RuleCount(); ++s) {
        const int position = image.RuleIndex()[static_cast<std::size_t>(s)];
        const LineFields rule = ReadLineFields(image, position);
        if (rule.kind != 'R' || rule.object != name || (!wanted.empty() && rule.value != wanted)) {
            continue;
        }
        const RuleRecord record = static_cast<std::size_t>(s) < rules.size()
                                      ? rules[static_cast<std::size_t>(s)]
                                      : RuleRecord{};
        if (record.outcome == RuleOutcome::Concluded) {
            ++concluded;
            continue;
        }
        ++listed;
        lines.push_back(Indent(1) + "Regel in Zeile " + LineNumber(position) + ": " +
                        LineSummary(image, position) + ": " +
                        std::string(OutcomeText(record.outcome)));
        const ConditionEvidence& condition = record.condition;
        if (record.outcome != RuleOutcome::Failed && record.outcome != RuleOutcome::Unknown) {
            continue;
        }
        std::string text = Indent(2) +
                           (record.outcome == RuleOutcome::Failed
                                ? "erste Bedingung, die nicht erf\xFCllt war: Zeile "
                                : "Bedingung, deren Objekt unbekannt blieb: Zeile ") +
                           LineNumber(condition.linePosition) + ": " +
                           LineSummary(image, condition.linePosition);
        lines.push_back(text);
        lines.push_back(Indent(3) +
                        (condition.factPosition < 0
                             ? std::string("kein Fakt gefunden")
                             : "Fakt an Position " + std::to_string(condition.factPosition) + ": " +
                                   TrimRight(condition.factValue.view()) + " (Sicherheit " +
                                   std::to_string(condition.factCertainty) + ")"));
    }
    if (listed == 0) {
        lines.push_back(Indent(1) + (concluded > 0 ? "Jede Regel dazu hat geschlossen."
                                                   : "Keine Regel schlie\xDFt darauf."));
    }
    return lines;
}

}  // namespace kelvo

#include "app/cli/evidence_json.h"

#include <set>

#include "engine/evidence_text.h"
#include "store/fact_base.h"
#include "store/fact_record.h"
#include "store/text_field.h"
#include "store/windows1252.h"

namespace kelvo::cli {
namespace {

using nlohmann::json;

constexpr int kMaxNesting = 40;

std::string_view SourceKey(EvidenceSource source) {
    switch (source) {
        case EvidenceSource::FactLine:
            return "factLine";
        case EvidenceSource::Rule:
            return "rule";
        case EvidenceSource::PageAnswer:
            return "pageAnswer";
        case EvidenceSource::Computation:
            return "computation";
        case EvidenceSource::VariableCommand:
            return "variableCommand";
        case EvidenceSource::DataExchange:
            return "dataExchange";
        case EvidenceSource::BlockRepeat:
            return "blockRepeat";
        case EvidenceSource::ClosingPhase:
            return "closingPhase";
        case EvidenceSource::Unknown:
            break;
    }
    return "unknown";
}

std::string_view StateKey(int state) {
    return state == 2 ? "held" : state == 1 ? "false" : "unknown";
}

std::string_view OutcomeKey(RuleOutcome outcome) {
    switch (outcome) {
        case RuleOutcome::NotExamined:
            return "notExamined";
        case RuleOutcome::ObjectKnown:
            return "alreadyKnown";
        case RuleOutcome::Unknown:
            return "unknown";
        case RuleOutcome::Failed:
            return "failed";
        case RuleOutcome::Concluded:
            return "concluded";
    }
    return "";
}

json LineNumber(int position) {
    return position >= 0 ? json(position + 1) : json(nullptr);
}

class Writer {
  public:
    Writer(const Evidence& evidence, const KnowledgeBaseImage& image, bool nested)
        : evidence_(evidence), image_(image), nested_(nested) {}

    json Entry(int entryNumber, int depth) {
        if (entryNumber < 0) {
            return {{"source", "unknown"}, {"entry", nullptr}, {"line", nullptr}};
        }
        const EvidenceEntry& entry = evidence_.Entry(entryNumber);
        json out = {{"entry", entryNumber},
                    {"source", SourceKey(entry.source)},
                    {"line", LineNumber(entry.linePosition)}};
        if (entry.linePosition >= 0) {
            out["text"] = Windows1252ToUtf8(LineSummary(image_, entry.linePosition));
        }
        if (entry.source == EvidenceSource::DataExchange && entry.file >= 0) {
            out["file"] =
                Windows1252ToUtf8(evidence_.Files()[static_cast<std::size_t>(entry.file)]);
        }
        if (entry.source != EvidenceSource::Rule) {
            return out;
        }
        if (nested_ && !shown_.insert(entryNumber).second) {
            return {{"entry", entryNumber}, {"source", "rule"}, {"sameAs", entryNumber}};
        }
        json conditions = json::array();
        for (const ConditionEvidence& condition : evidence_.ConditionsOf(entry)) {
            conditions.push_back(Condition(condition, depth));
        }
        out["conditions"] = std::move(conditions);
        out["sum"] = entry.sum;
        out["certainty"] = std::min(entry.sum, 99);
        return out;
    }

  private:
    json Condition(const ConditionEvidence& condition, int depth) {
        const LineFields fields = ReadLineFields(image_, condition.linePosition);
        json out = {{"line", LineNumber(condition.linePosition)},
                    {"text", Windows1252ToUtf8(LineSummary(image_, condition.linePosition))},
                    {"object", Windows1252ToUtf8(fields.object)},
                    {"operator", Windows1252ToUtf8(std::string(1, fields.op))},
                    {"operand", Windows1252ToUtf8(fields.value)},
                    {"conditionCertainty", fields.certainty},
                    {"state", StateKey(condition.state)},
                    {"groupEnds", condition.groupEnds},
                    {"groupBest", condition.groupBest},
                    {"sum", condition.sum}};
        if (condition.state == 2) {
            out["share"] = condition.share;
            out["arithmetic"] = Windows1252ToUtf8(
                ShareText(fields.certainty, condition.factCertainty, condition.share));
        }
        if (condition.factPosition < 0) {
            out["fact"] = nullptr;
        } else {
            json fact = {
                {"position", condition.factPosition},
                {"value", Windows1252ToUtf8(TrimRight(condition.factValue.view()))},
                {"certainty", condition.factCertainty},
                {"entry", condition.factEntry >= 0 ? json(condition.factEntry) : json(nullptr)}};
            if (nested_ && depth < kMaxNesting) {
                fact["evidence"] = Entry(condition.factEntry, depth + 1);
            }
            out["fact"] = std::move(fact);
        }
        return out;
    }

    const Evidence& evidence_;
    const KnowledgeBaseImage& image_;
    bool nested_;
    std::set<int> shown_;
};

json FactJson(int position, std::string_view text) {
    const FactRecord record(text);
    return {{"position", position},
            {"name", Windows1252ToUtf8(TrimRight(record.Name()))},
            {"value", Windows1252ToUtf8(TrimRight(record.Value()))},
            {"certainty", record.Certainty()},
            {"origin", record.Origin()}};
}

}  // namespace

json EvidenceJson(const Evidence& evidence, const KnowledgeBaseImage& image, int entryNumber,
                  bool nested) {
    return Writer(evidence, image, nested).Entry(entryNumber, 0);
}

json RemovedFactsJson(const Evidence& evidence, const KnowledgeBaseImage& image) {
    json removed = json::array();
    for (const RemovedFact& fact : evidence.Removed()) {
        const FactRecord record(fact.record);
        removed.push_back({{"position", fact.position},
                           {"name", Windows1252ToUtf8(record.Name())},
                           {"value", Windows1252ToUtf8(record.Value())},
                           {"certainty", record.Certainty()},
                           {"origin", record.Origin()},
                           {"jumpBackLine", LineNumber(fact.jumpLinePosition)},
                           {"evidence", EvidenceJson(evidence, image, fact.entry, false)}});
    }
    return removed;
}

json ExplainJson(const Evidence& evidence, const KnowledgeBaseImage& image, std::string_view object,
                 bool whyNot, std::string_view whyNotValue) {
    json facts = json::array();
    for (int p = image.FactBoundary() + 1; p <= image.LastRecord(); ++p) {
        if (!FactRecord(image.Text(p)).NameEquals(object)) {
            continue;
        }
        json fact = FactJson(p, image.Text(p));
        fact["evidence"] = EvidenceJson(evidence, image, evidence.EntryNumberAt(p), true);
        facts.push_back(std::move(fact));
    }
    json out = {{"object", Windows1252ToUtf8(TrimRight(object))}, {"facts", std::move(facts)}};
    if (!whyNot) {
        return out;
    }
    const std::string name = TrimRight(object);
    const std::string wanted = TrimRight(whyNotValue);
    json rules = json::array();
    for (int s = 1; s <= image.RuleCount(); ++s) {
        const int position = image.RuleIndex()[static_cast<std::size_t>(s)];
        const LineFields rule = ReadLineFields(image, position);
        if (rule.kind != 'R' || rule.object != name || (!wanted.empty() && rule.value != wanted)) {
            continue;
        }
        const auto& records = evidence.Rules();
        const RuleRecord record = static_cast<std::size_t>(s) < records.size()
                                      ? records[static_cast<std::size_t>(s)]
                                      : RuleRecord{};
        if (record.outcome == RuleOutcome::Concluded) {
            continue;
        }
        json item = {{"line", position + 1},
                     {"text", Windows1252ToUtf8(LineSummary(image, position))},
                     {"value", Windows1252ToUtf8(rule.value)},
                     {"outcome", OutcomeKey(record.outcome)}};
        if (record.outcome == RuleOutcome::Failed || record.outcome == RuleOutcome::Unknown) {
            const ConditionEvidence& condition = record.condition;
            json fact = nullptr;
            if (condition.factPosition >= 0) {
                fact = {{"position", condition.factPosition},
                        {"value", Windows1252ToUtf8(TrimRight(condition.factValue.view()))},
                        {"certainty", condition.factCertainty}};
            }
            item["condition"] = {
                {"line", LineNumber(condition.linePosition)},
                {"text", Windows1252ToUtf8(LineSummary(image, condition.linePosition))},
                {"state", StateKey(condition.state)},
                {"fact", std::move(fact)}};
        }
        rules.push_back(std::move(item));
    }
    out["whyNot"] = {{"value", Windows1252ToUtf8(wanted)}, {"rules", std::move(rules)}};
    return out;
}

std::string StoredObjectName(std::string_view utf8) {
    std::string name = ToUpper(TrimRight(Utf8ToWindows1252(utf8)));
    if (name.size() >= 2 && name.front() == '[' && name.back() == ']') {
        name = "[" + PadRight(name.substr(1, name.size() - 2), 16) + "]";
    }
    return PadRight(name, FactBase::kFieldWidth);
}

}  // namespace kelvo::cli

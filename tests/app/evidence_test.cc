// The evidence a consultation keeps of its fact records: the certainty arithmetic of the rules,
// every kind of origin, the records it follows through replacements, moves and the jump back,
// and "why not".

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "commands/install_variable_commands.h"
#include "engine/evidence.h"
#include "engine/evidence_text.h"
#include "store/fact_record.h"
#include "tests/engine/consultation_harness.h"
#include "tests/store/temp_dir.h"

namespace kelvo {
namespace {

using nlohmann::json;

// The stored name of a numeric variable.
std::string Numeric(std::string_view name) {
    return "[" + PadRight(name, 16) + "]";
}

ConsultationConfig Explaining(SearchMode mode = SearchMode::Indexed) {
    ConsultationConfig config;
    config.explain = true;
    config.searchMode = mode;
    return config;
}

// A consultation with explanations and the variable commands, run to its end.
class ExplainedRun {
  public:
    explicit ExplainedRun(std::string_view text, std::vector<json> answers = {},
                          SearchMode mode = SearchMode::Indexed)
        : harness_(text, std::move(answers), Explaining(mode)) {
        InstallVariableCommands(harness_.consultation());
        harness_.Run();
    }

    ConsultationHarness& harness() { return harness_; }
    const Evidence& evidence() { return *harness_.consultation().evidence(); }
    const KnowledgeBaseImage& image() { return harness_.image(); }

    /// The position of the newest record named `name` (a part of a double-plus value too);
    /// fails the test when there is none.
    int Position(std::string_view name) {
        const std::string key = PadRight(name, FactBase::kFieldWidth);
        for (int p = image().LastRecord(); p > image().FactBoundary(); --p) {
            if (FactRecord(image().Text(p)).NameEquals(key)) {
                return p;
            }
        }
        ADD_FAILURE() << "no record of " << name;
        return -1;
    }
    /// The entry of the newest record of `name`; a default (Unknown) entry when none.
    EvidenceEntry Entry(std::string_view name) {
        const EvidenceEntry* entry = evidence().EntryAt(Position(name));
        EXPECT_NE(entry, nullptr) << name;
        return entry != nullptr ? *entry : EvidenceEntry{};
    }

  private:
    ConsultationHarness harness_;
};

// --- the certainty arithmetic of a rule ----------------------------------------------------

struct ConditionRow {
    int line;  // from 1
    int state;
    int share;
    int groupBest;
    bool groupEnds;
    int sum;
};

struct CertaintyCase {
    std::string name;
    std::string program;  // the rule of ZIEL and what it needs
    int certainty;        // of ZIEL's record
    int sum;              // before the cap
    int ruleLine;
    std::vector<ConditionRow> conditions;
};

// A and B are facts of 99; M45, M63 and M0 are concluded with 45, 63 and 0 by rules of their own.
const std::string kInputs =
    "F A (99) . ja\n"
    "F B (99) . ja\n"
    "R M45 . ja\nU A (45) . ja\n"
    "R M63 . ja\nU A (63) . ja\n"
    "R M0 . ja\nU A (0) . ja\n";

const std::vector<CertaintyCase> kCertaintyCases = {
    {"OneConditionFact99CountsAs100",
     "R ZIEL . x\nU A (80) . ja\n",
     80,
     80,
     11,
     {{12, 2, 80, 80, true, 80}}},
    {"HalfRoundsDownToEven",
     "R ZIEL . x\nU M45 (50) . ja\n",  // 50 x 45 / 100 = 22.5
     22,
     22,
     11,
     {{12, 2, 22, 22, true, 22}}},
    {"HalfRoundsUpToEven",
     "R ZIEL . x\nU M63 (50) . ja\n",  // 50 x 63 / 100 = 31.5
     32,
     32,
     11,
     {{12, 2, 32, 32, true, 32}}},
    {"GroupTakesItsBestAlternative",
     "R ZIEL . x\nU A (80) . nein\nO A (60) . ja\nO B (70) . ja\n",
     70,
     70,
     11,
     {{12, 1, 0, 0, false, 0}, {13, 2, 60, 60, false, 0}, {14, 2, 70, 70, true, 70}}},
    {"GroupsAddUpAndTheSumIsCappedAt99",
     "R ZIEL . x\nU A (80) . ja\nU B (70) . ja\n",
     99,
     150,
     11,
     {{12, 2, 80, 80, true, 80}, {13, 2, 70, 70, true, 150}}},
    {"TrueWithCertaintyZero",
     "R ZIEL . x\nU A (0) . ja\nU B (50) . ja\n",
     50,
     50,
     11,
     {{12, 2, 0, -1, true, 0}, {13, 2, 50, 50, true, 50}}},
    {"FactOfCertaintyZeroGivesZero",
     "R ZIEL . x\nU M0 (90) . ja\n",
     0,
     0,
     11,
     {{12, 2, 0, -1, true, 0}}},
    {"FalseLastAlternativeAfterATrueOne",
     "R ZIEL . x\nU A (40) . ja\nO B (90) . nein\n",
     40,
     40,
     11,
     {{12, 2, 40, 40, false, 0}, {13, 1, 0, 40, true, 40}}},
};

class CertaintyEvidence : public testing::TestWithParam<CertaintyCase> {};

TEST_P(CertaintyEvidence, RecordsTheArithmeticOfTheRuleSearch) {
    const CertaintyCase& row = GetParam();
    ExplainedRun run("K Test\nZ ZIEL\n" + kInputs + row.program + "K\n");
    const int position = run.Position("ZIEL");
    EXPECT_EQ(FactRecord(run.image().Text(position)).CertaintyNumber(), row.certainty);
    const EvidenceEntry entry = run.Entry("ZIEL");
    EXPECT_EQ(entry.source, EvidenceSource::Rule);
    EXPECT_EQ(entry.linePosition + 1, row.ruleLine);
    EXPECT_EQ(entry.sum, row.sum);
    const std::vector<ConditionEvidence> conditions = run.evidence().ConditionsOf(entry);
    ASSERT_EQ(conditions.size(), row.conditions.size());
    for (std::size_t i = 0; i < conditions.size(); ++i) {
        SCOPED_TRACE("condition " + std::to_string(i));
        EXPECT_EQ(conditions[i].linePosition + 1, row.conditions[i].line);
        EXPECT_EQ(conditions[i].state, row.conditions[i].state);
        EXPECT_EQ(conditions[i].share, row.conditions[i].share);
        EXPECT_EQ(conditions[i].groupBest, row.conditions[i].groupBest);
        EXPECT_EQ(conditions[i].groupEnds, row.conditions[i].groupEnds);
        EXPECT_EQ(conditions[i].sum, row.conditions[i].sum);
        EXPECT_GE(conditions[i].factPosition, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Rules, CertaintyEvidence, testing::ValuesIn(kCertaintyCases),
                         [](const auto& row) { return row.param.name; });

TEST(CertaintyEvidence, TextWritesTheArithmeticOut) {
    ExplainedRun run("K Test\nZ ZIEL\n" + kInputs + "R ZIEL . x\nU M45 (50) . ja\nU A (80) . ja\n" +
                     "K\n");
    const std::vector<std::string> lines =
        ExplainFactLines(run.evidence(), run.image(), run.Position("ZIEL"));
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    EXPECT_NE(text.find("Regel in Zeile 11: R ZIEL . x"), std::string::npos) << text;
    EXPECT_NE(text.find("50 x 45 / 100 = 22,50, zur geraden Zahl gerundet 22"), std::string::npos)
        << text;
    EXPECT_NE(text.find("80 x 99 (als 100) / 100 = 80"), std::string::npos) << text;
    EXPECT_NE(text.find("Summe 102, begrenzt auf 99: Sicherheit 99"), std::string::npos) << text;
    // The sub-goal M45 is explained below its condition, indented one step deeper.
    EXPECT_NE(text.find("\n      Regel in Zeile 5: R M45 . ja"), std::string::npos) << text;
}

TEST(CertaintyEvidence, SubGoalConditionPointsToTheRuleThatConcludedIt) {
    ExplainedRun run(
        "K Test\nZ ZIEL\nR ZIEL . x\nU C (90) . ja\nR C . ja\nU A (80) . ja\n"
        "F A (99) . ja\nK\n");
    const EvidenceEntry goal = run.Entry("ZIEL");
    const std::vector<ConditionEvidence> conditions = run.evidence().ConditionsOf(goal);
    ASSERT_EQ(conditions.size(), 1u);
    EXPECT_EQ(conditions[0].factPosition, run.Position("C"));
    ASSERT_GE(conditions[0].factEntry, 0);
    const EvidenceEntry& sub = run.evidence().Entry(conditions[0].factEntry);
    EXPECT_EQ(sub.source, EvidenceSource::Rule);
    EXPECT_EQ(sub.linePosition + 1, 5);
    EXPECT_EQ(sub.sum, 80);
    EXPECT_EQ(conditions[0].share, 72);  // 90 x 80 / 100
}

// --- origins -------------------------------------------------------------------------------

struct OriginCase {
    std::string name;
    std::string program;
    std::vector<json> answers;
    std::string object;
    EvidenceSource source;
    int line;  // from 1; 0 for none
};

const std::string kStart =
    "K Test\nZ ZIEL\nR ZIEL . fertig\nU S1 (99) . ja\nR S1 . ja\nU START (99) . ja\n"
    "F START (99) . ja\n";  // lines 1-7
// A second rule of the goal that needs S2, concluded after S1 (lines 8-11).
const std::string kSecondFact = "R ZIEL . zwei\nU S2 (99) . ja\nR S2 . ja\nU S1 (99) . ja\n";
// A block on S2 repeated three times (lines 12-16).
const std::string kBlock = "V S1 . ja\nJ [+LS] . (3)\nB S2 . ja\n= (H)\nM [+Z] = ((1) + (1))\nK\n";

const std::vector<OriginCase> kOriginCases = {
    {"FactLine", kStart + "K\n", {}, "START", EvidenceSource::FactLine, 7},
    {"Rule", kStart + "K\n", {}, "S1", EvidenceSource::Rule, 5},
    {"Computation",
     kStart + "H S1 . ja\nM [+X] = ((2) + (3))\nM [+Y] = ((1) + (1))\nK\n",
     {},
     Numeric("+Y"),
     EvidenceSource::Computation,
     10},
    {"VariableCommand",
     kStart + "V S1 . ja\nJ +P . eins\nJ +Q . zwei\nK\n",
     {},
     "+Q",
     EvidenceSource::VariableCommand,
     10},
    {"PlusNameReplacedInPlaceTakesTheNewOrigin",
     kStart + "V S1 . ja\nJ +P . eins\nJ +Q . zwei\nJ +P . drei\nK\n",
     {},
     "+P",
     EvidenceSource::VariableCommand,
     11},
    {"PageAnswer",
     kStart + "N S1 . ja\nT Name\nT Name: ]NAME          ]\nK\n",
     {json{{"page", {{"fields", {{"name", "Erna"}}}}}}},
     "NAME",
     EvidenceSource::PageAnswer,
     8},
    {"ClosingPhase", kStart + "K\n", {}, "+UW", EvidenceSource::ClosingPhase, 0},
    {"BlockRepeat",
     kStart + kSecondFact + kBlock,
     {},
     Numeric("+LS"),
     EvidenceSource::BlockRepeat,
     14},
    {"ComputationInsideABlock",
     kStart + kSecondFact + kBlock,
     {},
     Numeric("+Z"),
     EvidenceSource::Computation,
     16},
};

class OriginEvidence : public testing::TestWithParam<OriginCase> {};

TEST_P(OriginEvidence, NamesWhereTheValueCameFrom) {
    const OriginCase& row = GetParam();
    ExplainedRun run(row.program, row.answers);
    EXPECT_EQ(run.harness().consultation().LastErrorCode(), 0);
    const EvidenceEntry entry = run.Entry(row.object);
    EXPECT_EQ(entry.source, row.source) << SourceName(entry.source);
    EXPECT_EQ(entry.linePosition + 1, row.line);
}

INSTANTIATE_TEST_SUITE_P(Stores, OriginEvidence, testing::ValuesIn(kOriginCases),
                         [](const auto& row) { return row.param.name; });

// Every fact record has an entry whose source agrees with the record's origin column: "01"
// exactly for the rules.
TEST_P(OriginEvidence, EveryRecordHasAnEntryMatchingItsOriginColumn) {
    const OriginCase& row = GetParam();
    ExplainedRun run(row.program, row.answers);
    for (int p = run.image().FactBoundary() + 1; p <= run.image().LastRecord(); ++p) {
        const EvidenceEntry* entry = run.evidence().EntryAt(p);
        ASSERT_NE(entry, nullptr) << p;
        EXPECT_NE(entry->source, EvidenceSource::Unknown) << run.image().Text(p);
        EXPECT_EQ(entry->source == EvidenceSource::Rule,
                  FactRecord(run.image().Text(p)).OriginNumber() == 1)
            << run.image().Text(p);
    }
}

TEST(OriginEvidence, DataExchangeReadNamesTheFile) {
    TempDir folder;
    const std::filesystem::path kept = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    {
        ExplainedRun run(kStart +
                         "R ZIEL . weiter\nU S3 (99) . ja\nR S3 . ja\nU S2 (99) . ja\n"
                         "R S2 . ja\nU S1 (99) . ja\n"
                         "V S1 . ja\nJ ++DATEI . DATEN.WBP\nJ [+WBNR] . (1)\n"
                         "J ++WB_SCHREIBEN . ++T\nJ ++T . hallo\n"
                         "\xC2\xBB S2 . ja\nW ++DATEI (1000) (1)\n"
                         "\xC2\xAB S3 . ja\nW ++DATEI (2010) (1)\nK\n");
        EXPECT_EQ(run.harness().consultation().LastErrorCode(), 0);
        const EvidenceEntry entry = run.Entry(Numeric("+WBNR"));
        EXPECT_EQ(entry.source, EvidenceSource::DataExchange);
        EXPECT_EQ(entry.linePosition + 1, 22);
        ASSERT_GE(entry.file, 0);
        EXPECT_EQ(run.evidence().Files()[static_cast<std::size_t>(entry.file)], "DATEN.WBP");
    }
    std::filesystem::current_path(kept);
}

// --- records that move ---------------------------------------------------------------------

// ++T grows from one record to three while +A and +B follow it: the records behind move, and
// their evidence with them, in both search modes (one splice, or single moves).
TEST(MovingEvidence, DoublePlusRewriteMovesTheEvidenceOfLaterRecords) {
    for (const SearchMode mode : {SearchMode::Indexed, SearchMode::Literal}) {
        SCOPED_TRACE(mode == SearchMode::Indexed ? "indexed" : "literal");
        ExplainedRun run(kStart + kSecondFact +
                             "V S1 . ja\nJ ++T . kurz\nJ +A . eins\nJ +B . zwei\n"
                             "H S1 . ja\nM [+C] = ((1) + (1))\n"
                             "V S2 . ja\nJ ++T - " +
                             std::string(30, 'x') + "\nJ ++T - " + std::string(30, 'y') + "\nK\n",
                         {}, mode);
        EXPECT_EQ(run.harness().consultation().LastErrorCode(), 0);
        const struct {
            std::string name;
            EvidenceSource source;
            int line;
        } expected[] = {{"+A", EvidenceSource::VariableCommand, 14},
                        {"+B", EvidenceSource::VariableCommand, 15},
                        {"++T1", EvidenceSource::VariableCommand, 20},
                        {"++T3", EvidenceSource::VariableCommand, 20},
                        {Numeric("+C"), EvidenceSource::Computation, 17},
                        {"S1", EvidenceSource::Rule, 5},
                        {"S2", EvidenceSource::Rule, 10},
                        {"ZIEL", EvidenceSource::Rule, 8},
                        {"START", EvidenceSource::FactLine, 7}};
        for (const auto& row : expected) {
            const EvidenceEntry entry = run.Entry(row.name);
            EXPECT_EQ(entry.source, row.source) << row.name;
            EXPECT_EQ(entry.linePosition + 1, row.line) << row.name;
        }
        EXPECT_LT(run.Position("++T3"), run.Position("+A"));
    }
}

const std::string kJumpBack =
    "K Ruecksprung\nZ ZIEL\n"
    "R ZIEL . start\nU ANFANG (0) . ja\n"                       // 3-4
    "R ZIEL . sprung\nU SPRUNG (50) . ja\n"                     // 5-6
    "R ANFANG . ja\nU START (99) . ja\nF START (99) . ja\n"     // 7-9
    "V ANFANG . ja\nJ [+R] . (0)\n"                             // 10-11
    "R SPRUNG . ja\nU [+R] (99) < (2)\nU WETTER (80) . kalt\n"  // 12-14
    "R SPRUNG . nein\nU [+R] (99) \xC2\xBB (2)\n"               // 15-16
    "R WETTER . kalt\nU START (90) . ja\n"                      // 17-18
    "H SPRUNG . ja\nM [+R] = ([+R] + (1))\n"                    // 19-20
    "X SPRUNG . ja\nY WETTER\nK\n";                             // 21-22

TEST(MovingEvidence, JumpBackKeepsWhatItRemovedInTheHistory) {
    ExplainedRun run(kJumpBack);
    const std::vector<RemovedFact>& removed = run.evidence().Removed();
    std::vector<std::string> names;
    for (const RemovedFact& fact : removed) {
        names.push_back(TrimRight(FactRecord(fact.record).Name()));
        EXPECT_EQ(fact.jumpLinePosition + 1, 22);
        ASSERT_GE(fact.entry, 0);
        const EvidenceEntry& entry = run.evidence().Entry(fact.entry);
        EXPECT_EQ(entry.source, EvidenceSource::Rule);
        EXPECT_EQ(entry.linePosition + 1, names.back() == "WETTER" ? 17 : 12);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"WETTER", "SPRUNG", "WETTER", "SPRUNG"}));
    // What the fact base holds at the end is explained by what stored it last.
    EXPECT_FALSE(run.harness().facts().LookupFact(PadRight("WETTER", 30)));
    EXPECT_EQ(run.Entry("SPRUNG").linePosition + 1, 15);
    EXPECT_EQ(run.Entry(Numeric("+R")).source, EvidenceSource::Computation);
    // A removed record is found by its text, as the inspector's recent stores give it.
    const std::vector<std::string> lines =
        ExplainRecordLines(run.evidence(), run.image(), -1, removed.front().record);
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines[1].find("R\xFC"
                            "cksprung in Zeile 22"),
              std::string::npos)
        << lines[1];
}

TEST(MovingEvidence, RecentStoresEntryIsFoundByItsText) {
    ExplainedRun run(kStart + "K\n");
    const int position = run.Position("S1");
    const std::vector<std::string> byText = ExplainRecordLines(
        run.evidence(), run.image(), -1, PadRight(run.image().Text(position), 82));
    EXPECT_EQ(byText, ExplainFactLines(run.evidence(), run.image(), position));
    EXPECT_TRUE(ExplainRecordLines(run.evidence(), run.image(), -1, "NICHTS").empty());
    // A program line or a place behind the fact base has no evidence.
    EXPECT_TRUE(ExplainFactLines(run.evidence(), run.image(), 0).empty());
    EXPECT_TRUE(
        ExplainFactLines(run.evidence(), run.image(), run.image().LastRecord() + 1).empty());
}

// --- why not -------------------------------------------------------------------------------

struct WhyNotRow {
    int ruleLine;
    RuleOutcome outcome;
    int conditionLine;  // 0 when none is decisive
};

struct WhyNotCase {
    std::string name;
    std::string program;
    std::string object;
    std::vector<WhyNotRow> rules;  // every rule of the object, in program order
};

const std::vector<WhyNotCase> kWhyNotCases = {
    {"FailedConditionAndConcludedRule",
     "K\nZ ZIEL\nF A (99) . ja\nR ZIEL . eins\nU A (99) . nein\nR ZIEL . zwei\nU A (99) . ja\nK\n",
     "ZIEL",
     {{4, RuleOutcome::Failed, 5}, {6, RuleOutcome::Concluded, 0}}},
    {"FirstAlternativeOfTheFailingGroup",
     "K\nZ ZIEL\nF A (99) . ja\nR ZIEL . eins\nU A (99) . ja\nU A (80) . x\nO A (70) . y\n"
     "R ZIEL . zwei\nU A (99) . ja\nK\n",
     "ZIEL",
     {{4, RuleOutcome::Failed, 6}, {8, RuleOutcome::Concluded, 0}}},
    {"SubGoalWhoseRuleFails",
     "K\nZ ZIEL\nF A (99) . ja\nR ZIEL . eins\nU A (99) . ja\nR ZIEL . zwei\nU B (90) . ja\n"
     "R B . ja\nU A (99) . nein\nK\n",
     "B",
     {{8, RuleOutcome::Failed, 9}}},
    {"ConditionThatStaysUnknown",
     "K\nZ ZIEL\nF A (99) . ja\nR ZIEL . eins\nU A (99) . ja\nR ZIEL . zwei\nU B (90) . ja\n"
     "R B . ja\nU A (99) . nein\nK\n",
     "ZIEL",
     {{4, RuleOutcome::Concluded, 0}, {6, RuleOutcome::Unknown, 7}}},
    {"ValueConcludedEarlierIsPassedOver",
     "K\nZ ZIEL\nF A (99) . ja\nR ZIEL . eins\nU A (99) . ja\nR ZIEL . eins\nU A (50) . ja\nK\n",
     "ZIEL",
     {{4, RuleOutcome::Concluded, 0}, {6, RuleOutcome::ObjectKnown, 0}}},
    {"RuleOfAnObjectNeverSought",
     "K\nZ ZIEL\nF A (99) . ja\nR ZIEL . eins\nU A (99) . ja\nR D . ja\nU A (99) . ja\nK\n",
     "D",
     {{6, RuleOutcome::NotExamined, 0}}},
};

class WhyNot : public testing::TestWithParam<WhyNotCase> {};

TEST_P(WhyNot, GivesEachRuleItsOutcomeAndDecisiveCondition) {
    const WhyNotCase& row = GetParam();
    ExplainedRun run(row.program);
    const std::vector<RuleRecord>& records = run.evidence().Rules();
    std::vector<WhyNotRow> found;
    for (int s = 1; s <= run.image().RuleCount(); ++s) {
        const int position = run.image().RuleIndex()[static_cast<std::size_t>(s)];
        if (ReadLineFields(run.image(), position).object != row.object) {
            continue;
        }
        const RuleRecord& record = records.at(static_cast<std::size_t>(s));
        found.push_back({position + 1, record.outcome, record.condition.linePosition + 1});
    }
    ASSERT_EQ(found.size(), row.rules.size());
    for (std::size_t i = 0; i < found.size(); ++i) {
        EXPECT_EQ(found[i].ruleLine, row.rules[i].ruleLine);
        EXPECT_EQ(found[i].outcome, row.rules[i].outcome) << OutcomeText(found[i].outcome);
        EXPECT_EQ(found[i].conditionLine, row.rules[i].conditionLine);
    }
    // The text lists exactly the rules that did not conclude.
    const std::vector<std::string> lines =
        WhyNotLines(run.evidence(), run.image(), PadRight(row.object, 30), "");
    int listed = 0;
    for (const WhyNotRow& rule : row.rules) {
        const std::string head = "  Regel in Zeile " + std::to_string(rule.ruleLine) + ":";
        const bool shown = std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
            return line.starts_with(head);
        });
        EXPECT_EQ(shown, rule.outcome != RuleOutcome::Concluded) << head;
        listed += shown ? 1 : 0;
    }
    if (listed == 0) {
        EXPECT_EQ(lines.size(), 2u);
    }
}

INSTANTIATE_TEST_SUITE_P(Rules, WhyNot, testing::ValuesIn(kWhyNotCases),
                         [](const auto& row) { return row.param.name; });

TEST(WhyNot, ValueFilterKeepsOnlyRulesOfThatValue) {
    ExplainedRun run(kWhyNotCases[0].program);
    const std::vector<std::string> zwei =
        WhyNotLines(run.evidence(), run.image(), PadRight("ZIEL", 30), "zwei");
    ASSERT_EQ(zwei.size(), 2u);
    EXPECT_EQ(zwei[0], "Warum nicht ZIEL = zwei?");
    EXPECT_EQ(zwei[1], "  Jede Regel dazu hat geschlossen.");
    const std::vector<std::string> eins =
        WhyNotLines(run.evidence(), run.image(), PadRight("ZIEL", 30), "eins");
    ASSERT_EQ(eins.size(), 4u);
    EXPECT_EQ(eins[1], "  Regel in Zeile 4: R ZIEL . eins: nicht erf\xFCllt");
    EXPECT_EQ(eins[2], "    erste Bedingung, die nicht erf\xFCllt war: Zeile 5: U A (99) . nein");
    EXPECT_EQ(eins[3], "      Fakt an Position 8: ja (Sicherheit 99)");
}

// --- off -----------------------------------------------------------------------------------

TEST(EvidenceOff, NoEvidenceAndNoObserverWithoutExplanations) {
    ConsultationHarness harness(kStart + "K\n");
    EXPECT_EQ(harness.consultation().evidence(), nullptr);
    EXPECT_EQ(harness.image().recordObserver(), nullptr);
    harness.Run();
    EXPECT_EQ(harness.Value("ZIEL"), "fertig");
}

TEST(EvidenceOff, TheConsultationTakesItsObserverAlongWhenItEnds) {
    KnowledgeBaseImage image(true);
    ScriptedPlatform platform({}, {});
    SeededRandomSource random(1);
    ConsultationServices services{platform, platform, platform, random, platform};
    {
        const Consultation consultation(image, Explaining(), services);
        EXPECT_EQ(image.recordObserver(), consultation.evidence());
        EXPECT_NE(image.recordObserver(), nullptr);
    }
    EXPECT_EQ(image.recordObserver(), nullptr);
}

// --- the inspector's context ---------------------------------------------------------------

// The scripted desktop, asking the inspector's and the pages' context for the evidence of the
// fact `name` as they open.
class ExplainingWindows : public SessionWindows {
  public:
    ExplainingWindows(ScriptedPlatform& platform, std::string name)
        : platform_(platform), name_(PadRight(name, FactBase::kFieldWidth)) {}

    PageOutcome ShowPage(const PageRequest& page, InspectorContext& context) override {
        Ask(context);
        return platform_.ShowPage(page, context);
    }
    void ShowInspector(InspectorReason why, int line, InspectorContext& context) override {
        Ask(context);
        platform_.ShowInspector(why, line, context);
    }
    void SetSessionWindowVisible(bool visible) override {
        platform_.SetSessionWindowVisible(visible);
    }
    void SetCursor(CursorShape shape) override { platform_.SetCursor(shape); }
    void SetStatusText(std::string_view text) override { platform_.SetStatusText(text); }
    bool PumpOneEvent() override { return platform_.PumpOneEvent(); }

    int opened = 0;
    int explained = 0;
    std::vector<std::string> byPosition;
    std::vector<std::string> byText;

  private:
    void Ask(InspectorContext& context) {
        ++opened;
        if (!context.explainFact) {
            return;
        }
        ++explained;
        FactBase& facts = context.facts;
        if (!facts.LookupFact(name_)) {
            return;
        }
        const int position = facts.FoundPosition();
        byPosition = context.explainFact(position, {});
        byText = context.explainFact(-1, facts.image().Text(position));
    }

    ScriptedPlatform& platform_;
    std::string name_;
};

struct InspectorCase {
    std::string name;
    bool programmingModule;
    bool explain;
    bool explained;
};

const std::vector<InspectorCase> kInspectorCases = {
    {"ProgrammingModuleWithExplanations", true, true, true},
    {"UserModule", false, true, false},
    {"ExplanationsOff", true, false, false},
};

class InspectorContextEvidence : public testing::TestWithParam<InspectorCase> {};

TEST_P(InspectorContextEvidence, ExplainsFactsOnlyInTheProgrammingModule) {
    const InspectorCase& row = GetParam();
    KnowledgeBaseImage image(row.programmingModule);
    TextImport imported = ImportKnowledgeBaseText(kStart + "K\n", "test.txt");
    ASSERT_TRUE(image.LoadImage(std::move(imported.records)).ok());
    ScriptedPlatform platform({}, {});
    ExplainingWindows windows(platform, "S1");
    SeededRandomSource random(1);
    ConsultationServices services{platform, windows, platform, random, platform};
    ConsultationConfig config = Explaining();
    config.programmingModule = row.programmingModule;
    config.explain = row.explain;
    config.breakpointLine = 5;  // the rule of S1: the inspector opens after it concluded
    Consultation consultation(image, config, services);
    InstallVariableCommands(consultation);
    consultation.Run();
    EXPECT_GE(windows.opened, row.programmingModule ? 2 : 1);  // the solution page at least
    EXPECT_EQ(windows.explained > 0, row.explained);
    if (!row.explained) {
        return;
    }
    EXPECT_EQ(windows.explained, windows.opened);
    ASSERT_GE(windows.byPosition.size(), 3u);
    EXPECT_EQ(windows.byPosition[1], "  Regel in Zeile 5: R S1 . ja");
    EXPECT_EQ(windows.byText, windows.byPosition);
}

INSTANTIATE_TEST_SUITE_P(Modules, InspectorContextEvidence, testing::ValuesIn(kInspectorCases),
                         [](const auto& row) { return row.param.name; });

}  // namespace
}  // namespace kelvo

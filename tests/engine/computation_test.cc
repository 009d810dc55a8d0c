#include "engine/computation.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/case_name.h"

#include "authoring/knowledge_base_text.h"
#include "engine/consultation.h"
#include "engine/error_codes.h"
#include "platform/scripted/scripted_platform.h"
#include "store/random_source.h"
#include "store/stored_number.h"
#include "store/text_field.h"
#include "store/windows1252.h"
#include "tests/engine/consultation_harness.h"

namespace kelvo {
namespace {

// The stored form of a numeric name: "[" + the name, padded to 17, + "]".
std::string NumericName(std::string_view name) {
    return PadRight("[" + std::string(name), 17) + "]";
}

// A random source that always gives the same number.
class FixedRandom final : public RandomSource {
  public:
    double NextUnit() override { return 0.4321; }
};

// A clock that crosses midnight between two readings and counts them.
class MidnightClock final : public Clock {
  public:
    int reads = 0;
    LocalDateTime Now() override {
        ++reads;
        return reads == 1 ? LocalDateTime{2017, 7, 1, 23, 59, 59}
                          : LocalDateTime{2017, 7, 2, 0, 0, 0};
    }
    std::uint32_t TickCount() override { return 0; }
    void Sleep(std::uint32_t) override {}
};

struct Message {
    std::string caption;
    std::string text;
};

// A consultation whose image holds a program given as text, with an empty fact base behind
// it, on the scripted platform (clock 1 July 2017, 14:05:09). Lines are counted from 0.
class ComputationTest : public testing::Test {
  protected:
    void Load(std::string_view program, bool programmingModule = false) {
        const TextImport imported = ImportKnowledgeBaseText(program, "test.txt");
        ASSERT_TRUE(imported.ok()) << imported.faults.front();
        image_ = std::make_unique<KnowledgeBaseImage>(programmingModule, 1000);
        ASSERT_TRUE(image_->LoadImage(imported.records).ok());
        image_->SetProgramEnd(image_->LastRecord());
        image_->SetFactBoundary(image_->LastRecord());
        ConsultationConfig config;
        config.programmingModule = programmingModule;
        consultation_ = std::make_unique<Consultation>(*image_, config, services_);
    }

    Consultation& consultation() { return *consultation_; }
    FactBase& facts() { return consultation_->facts(); }

    void SetNumber(std::string_view name, double value) {
        ASSERT_GE(facts().StoreFact(NumericName(name), FormatStoredNumber(value), "99", "02"), 0);
    }
    void SetValue(std::string_view name, std::string_view value) {
        ASSERT_GE(facts().StoreFact(NumericName(name), value, "99", "02"), 0);
    }

    /// The value stored for the numeric variable, blanks at the end removed; empty when it is
    /// not set.
    std::optional<std::string> Stored(std::string_view name) {
        if (!facts().LookupFact(NumericName(name))) {
            return std::nullopt;
        }
        return TrimRight(facts().FoundValue());
    }

    /// The number of fact records of a numeric variable.
    int RecordCount(std::string_view name) {
        int count = 0;
        const std::string key = PadRight(NumericName(name), FactBase::kFieldWidth);
        for (int p = image_->FactBoundary() + 1; p <= image_->LastRecord(); ++p) {
            if (image_->Text(p).substr(0, FactBase::kFieldWidth) == key) {
                ++count;
            }
        }
        return count;
    }

    std::vector<Message> Messages() const {
        std::vector<Message> messages;
        for (const nlohmann::json& event : platform_.events()) {
            if (event.at("event") == "message") {
                messages.push_back({event.at("caption"), event.at("text")});
            }
        }
        return messages;
    }

    /// Runs line `position` of the image with Formel.
    void RunLine(int position, int certainty = 0) {
        Formel(consultation(), position, certainty, image_->Text(position));
    }

    /// Runs the computation task whose header or action line is at `slot`.
    void RunTask(int slot, int certainty = 0) {
        consultation().SetSlot(TaskSlot::Computation, slot);
        Formelaufruf(consultation(), certainty);
    }

    void ExpectReported(int code, int position) {
        const std::vector<Message> messages = Messages();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].caption, "Fehlermeldung in Zeile: " + std::to_string(position + 1));
        EXPECT_EQ(messages[0].text, Windows1252ToUtf8(ErrorMessage(code)));
        // A missing operand variable is reported by the operand reading, not through the
        // error register, which the stopped line leaves clear.
        EXPECT_EQ(consultation().ErrorRegister(),
                  code == static_cast<int>(ErrorCode::VariableNotFound) ? 0 : code);
        EXPECT_EQ(consultation().ErrorLine(), position);
        EXPECT_TRUE(consultation().Ended());
    }

    ScriptedPlatform platform_{{}, ScriptedOptions{}};
    FixedRandom random_;
    ConsultationServices services_{platform_, platform_, platform_, random_, platform_};
    std::unique_ptr<KnowledgeBaseImage> image_;
    std::unique_ptr<Consultation> consultation_;
};

// One computation line, run with the operands [A] = 7, [B] = 2, [Z] = 0, [NEG] = -4, the
// dates [D] = 201702.28, [E] = 201703.01, [BAD] = 201702.30 (no such day), [T] = "(abc)" (not
// a number) and the task's certainty 73. The result is [R].
struct LineCase {
    const char* name;
    const char* line;
    const char* stored;  ///< the stored result; nullptr when nothing is stored
    int error;           ///< the code reported; 0 for none
};

class ComputationLineCases : public ComputationTest,
                             public testing::WithParamInterface<LineCase> {};

TEST_P(ComputationLineCases, StoreTheResultOrReportTheError) {
    const LineCase& row = GetParam();
    Load("K\n" + std::string(row.line) + "\nK\n");
    SetNumber("A", 7);
    SetNumber("B", 2);
    SetNumber("Z", 0);
    SetNumber("NEG", -4);
    SetNumber("D", 201702.28);
    SetNumber("E", 201703.01);
    SetNumber("BAD", 201702.30);
    SetValue("T", "(abc)");

    RunLine(1, 73);

    if (row.stored != nullptr) {
        EXPECT_EQ(Stored("R"), row.stored);
        EXPECT_EQ(facts().FoundCertainty(), 99);
        EXPECT_EQ(facts().FoundOrigin(), 2);
    } else {
        EXPECT_EQ(Stored("R"), std::nullopt);
    }
    if (row.error != 0) {
        ExpectReported(row.error, 1);
    } else {
        EXPECT_TRUE(Messages().empty());
        EXPECT_EQ(consultation().ErrorRegister(), 0);
        EXPECT_FALSE(consultation().Ended());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ComputationLineCases,
    testing::Values(
        // The four operations.
        LineCase{"DivideSevenByTwo", "M [R] = ((7) / (2))", "(           3.500)", 0},
        LineCase{"AddVariables", "M [R] = [A] + [B]", "(           9.000)", 0},
        LineCase{"SubtractVariables", "M [R] = [B] - [A]", "(          -5.000)", 0},
        LineCase{"MultiplyVariableAndNumber", "M [R] = ([A] * (2.5))", "(          17.500)", 0},
        LineCase{"DivideNegative", "M [R] = [NEG] / [B]", "(          -2.000)", 0},
        LineCase{"RoundsToThousandths", "M [R] = ((2) / (3))", "(           0.667)", 0},
        LineCase{"NegativeZeroWithoutSign", "M [R] = ((-0.0001) * (1))", "(           0.000)", 0},
        LineCase{"DivideByZeroVariable", "M [R] = [A] / [Z]", nullptr, 5},
        LineCase{"DivideByZeroNumber", "M [R] = ((1) / (0))", nullptr, 5},
        LineCase{"ZeroDividedByNumber", "M [R] = [Z] / [A]", "(           0.000)", 0},
        // The functions, each applied to the result of the operation.
        LineCase{"IntTowardsZero", "M [R] = INT((-2.7) + (0))", "(          -2.000)", 0},
        LineCase{"IntOfQuotient", "M [R] = INT([A] / [B])", "(           3.000)", 0},
        LineCase{"AbsOfDifference", "M [R] = ABS([B] - [A])", "(           5.000)", 0},
        LineCase{"SqrOfProduct", "M [R] = SQR((8) * (2))", "(           4.000)", 0},
        LineCase{"SqrOfNegative", "M [R] = SQR([NEG] + (0))", nullptr, 5},
        LineCase{"RndHalfToEven", "M [R] = RND((2.5) + (0))", "(           2.000)", 0},
        LineCase{"RndThreeAndAHalf", "M [R] = RND((3) + (0.5))", "(           3.000)", 0},
        LineCase{"RndNegativeHalf", "M [R] = RND((-2.5) + (0))", "(          -2.000)", 0},
        LineCase{"RndAboveHalf", "M [R] = RND((2.51) + (0))", "(           3.000)", 0},
        LineCase{"LogOfOne", "M [R] = LOG((1) + (0))", "(           0.000)", 0},
        LineCase{"LogOfZero", "M [R] = LOG([Z] + (0))", nullptr, 5},
        LineCase{"LogOfNegative", "M [R] = LOG([NEG] + (0))", nullptr, 5},
        LineCase{"FracKeepsSign", "M [R] = FRAC((-2.75) + (0))", "(          -0.750)", 0},
        LineCase{"SinThirty", "M [R] = SIN((15) * (2))", "(           0.500)", 0},
        LineCase{"CosSixty", "M [R] = COS((60) + (0))", "(           0.500)", 0},
        LineCase{"TanFortyFive", "M [R] = TAN((45) + (0))", "(           1.000)", 0},
        LineCase{"TanNinetyOutOfRange", "M [R] = TAN((90) + (0))", nullptr, 2},
        LineCase{"AsinOne", "M [R] = ASIN((1) + (0))", "(          90.000)", 0},
        LineCase{"AsinAboveOne", "M [R] = ASIN((1.01) + (0))", nullptr, 5},
        LineCase{"AcosMinusOne", "M [R] = ACOS((-1) + (0))", "(         180.000)", 0},
        LineCase{"AcosBelowMinusOne", "M [R] = ACOS((-1) - (0.01))", nullptr, 5},
        LineCase{"AtanOne", "M [R] = ATAN((1) + (0))", "(          45.000)", 0},
        LineCase{"DatuToday", "M [R] = DATU((0) + (0))", "(      201707.010)", 0},
        LineCase{"ZeitNow", "M [R] = ZEIT((0) + (0))", "(        1405.090)", 0},
        LineCase{"UwleCertainty", "M [R] = UWLE((0) + (0))", "(          73.000)", 0},
        LineCase{"UwlePlusResult", "M [R] = UWLE([A] * [B])", "(          87.000)", 0},
        LineCase{"ZufaRandom", "M [R] = ZUFA((0) + (0))", "(           0.432)", 0},
        LineCase{"VersVersion", "M [R] = VERS((0) + (0))", "(        2017.001)", 0},
        LineCase{"ModuUserModule", "M [R] = MODU((0) + (0))", "(           0.100)", 0},
        LineCase{"DabeLiteralDate", "M [R] = DABE((201702.28) + (1))", "(      201703.010)", 0},
        LineCase{"DabeDateVariable", "M [R] = DABE([D] + (1))", "(      201703.010)", 0},
        LineCase{"DabeMinusDays", "M [R] = DABE([E] - (1))", "(      201702.280)", 0},
        LineCase{"DabeDaysFromVariable", "M [R] = DABE([D] + [B])", "(      201703.020)", 0},
        LineCase{"DabeTimesKeepsProduct", "M [R] = DABE((201702.28) * (1))", "(      201702.280)",
                 0},
        LineCase{"DabeInvalidDateVariable", "M [R] = DABE([BAD] + (1))", nullptr, 15},
        LineCase{"DabeNumberThatIsNoDate", "M [R] = DABE([A] + (1))", nullptr, 15},
        LineCase{"DabeInvalidDateWithTimes", "M [R] = DABE([BAD] * (1))", nullptr, 15},
        LineCase{"DadiLiteralDates", "M [R] = DADI((201703.01) - (201702.28))",
                 "(           1.000)", 0},
        LineCase{"DadiDateVariables", "M [R] = DADI([E] - [D])", "(           1.000)", 0},
        LineCase{"DadiEarlierFirst", "M [R] = DADI([D] + [E])", "(          -1.000)", 0},
        LineCase{"DadiInvalidFirst", "M [R] = DADI([BAD] - [D])", nullptr, 15},
        LineCase{"DadiInvalidSecond", "M [R] = DADI([E] - [BAD])", nullptr, 15},
        LineCase{"DadiSecondNoDate", "M [R] = DADI([E] - (3))", nullptr, 15},
        // The range of the number format.
        LineCase{"LargestStored", "M [R] = ((999999999999.999) + (0))", "(999999999999.999)", 0},
        LineCase{"LargestByAddition", "M [R] = ((999999999998.999) + (1))", "(999999999999.999)",
                 0},
        LineCase{"OneThousandBillionOutOfRange", "M [R] = ((999999999999) + (1))", nullptr, 2},
        LineCase{"JustAboveLargest", "M [R] = ((999999999999.999) + (0.001))", nullptr, 2},
        LineCase{"SmallestStored", "M [R] = ((-99999999999.999) + (0))", "(-99999999999.999)", 0},
        LineCase{"SmallestBySubtraction", "M [R] = ((-99999999998.999) - (1))",
                 "(-99999999999.999)", 0},
        LineCase{"MinusHundredBillionOutOfRange", "M [R] = ((-99999999999) - (1))", nullptr, 2},
        LineCase{"JustBelowSmallest", "M [R] = ((-99999999999.999) - (0.001))", nullptr, 2},
        LineCase{"ProductOverflow", "M [R] = ((999999999999) * (999999999999))", nullptr, 2},
        LineCase{"RangeCheckedAfterFunction", "M [R] = INT((999999999999) + (0.9))",
                 "(999999999999.000)", 0},
        // Operands that are not numbers or name missing variables.
        LineCase{"FirstOperandNotANumber", "M [R] = ([T] + (1))", nullptr, 0},
        LineCase{"SecondOperandNotANumber", "M [R] = ((1) + [T])", nullptr, 0},
        LineCase{"NotANumberBeforeMissing", "M [R] = [T] + [MISSING]", nullptr, 0},
        LineCase{"NotANumberWithFailingFunction", "M [R] = LOG([T] + (0))", nullptr, 0},
        LineCase{"FirstOperandMissing", "M [R] = ([MISSING] + (1))", nullptr, 3},
        LineCase{"SecondOperandMissing", "M [R] = ((1) + [MISSING])", nullptr, 3},
        LineCase{"MissingBeforeNotANumber", "M [R] = [MISSING] + [T]", nullptr, 3},
        LineCase{"MissingBeforeDivisionByZero", "M [R] = [MISSING] / [Z]", nullptr, 3}),
    CaseName());

TEST_F(ComputationTest, PlusVariableIsComputedAgainInPlace) {
    Load("H X . Y\nM [+X] = ((1) + (0))\nM [+X] = ([+X] * (5))\nK\n");
    RunTask(0);
    EXPECT_EQ(Stored("+X"), "(           5.000)");
    EXPECT_EQ(RecordCount("+X"), 1);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ComputationTest, PlusVariableSetBeforeIsReplaced) {
    Load("H X . Y\nM [+X] = ((2) + (0))\nK\n");
    SetNumber("+X", 1);
    RunTask(0);
    EXPECT_EQ(Stored("+X"), "(           2.000)");
    EXPECT_EQ(RecordCount("+X"), 1);
}

TEST_F(ComputationTest, OtherVariableComputedTwiceReportsAlreadySet) {
    Load("H X . Y\nM [X] = ((1) + (0))\nM [X] = ((2) + (0))\nM [Y] = ((3) + (0))\nK\n");
    RunTask(0);
    ExpectReported(static_cast<int>(ErrorCode::AlreadySet), 2);
    EXPECT_EQ(Stored("X"), "(           1.000)");
    EXPECT_EQ(RecordCount("X"), 1);
    EXPECT_EQ(Stored("Y"), std::nullopt);  // the runner stopped at the error
}

TEST_F(ComputationTest, VariableSetByAnotherLineIsNotComputed) {
    Load("K\nM [A] = ((1) + (0))\nK\n");
    SetNumber("A", 7);
    RunLine(1);
    ExpectReported(static_cast<int>(ErrorCode::AlreadySet), 1);
    EXPECT_EQ(Stored("A"), "(           7.000)");
}

TEST_F(ComputationTest, ResultsChainFromLineToLine) {
    Load(
        "H X . Y\n"
        "M [U] = ((7) / (2))\n"
        "M [V] = RND([U] + (0))\n"
        "M [+W] = ([V] * [U])\n"
        "M [+W] = INT([+W] + (0))\n"
        "K\n");
    RunTask(0);
    EXPECT_EQ(Stored("U"), "(           3.500)");
    EXPECT_EQ(Stored("V"), "(           3.000)");   // 3 + the fraction 0.5 rounded to even
    EXPECT_EQ(Stored("+W"), "(          10.000)");  // INT of 3 * 3.5
}

TEST_F(ComputationTest, RunnerStopsAtTheFirstLineOfAnotherKind) {
    Load("H X . Y\nM [U] = ((1) + (0))\nK\nM [V] = ((2) + (0))\nK\n");
    RunTask(0);
    EXPECT_EQ(Stored("U"), "(           1.000)");
    EXPECT_EQ(Stored("V"), std::nullopt);
}

TEST_F(ComputationTest, RunnerStartsBelowItsSlot) {
    Load("M [U] = ((1) + (0))\nH X . Y\nM [V] = ((2) + (0))\nK\n");
    RunTask(1);
    EXPECT_EQ(Stored("U"), std::nullopt);
    EXPECT_EQ(Stored("V"), "(           2.000)");
}

TEST_F(ComputationTest, RunnerGoesOnAfterALineThatIsNotANumber) {
    Load("H X . Y\nM [U] = ([T] + (1))\nM [V] = ((2) + (0))\nK\n");
    SetValue("T", "kein Wert");
    RunTask(0);
    EXPECT_EQ(Stored("U"), std::nullopt);
    EXPECT_EQ(Stored("V"), "(           2.000)");
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(consultation().ErrorRegister(), 0);
}

TEST_F(ComputationTest, RunnerStopsAfterAMissingVariable) {
    Load("H X . Y\nM [U] = ([MISSING] + (1))\nM [V] = ((2) + (0))\nK\n");
    RunTask(0);
    ExpectReported(static_cast<int>(ErrorCode::VariableNotFound), 1);
    EXPECT_EQ(Stored("U"), std::nullopt);
    EXPECT_EQ(Stored("V"), std::nullopt);
}

TEST_F(ComputationTest, RunnerStopsAfterAnError) {
    Load("H X . Y\nM [U] = ((1) + (0))\nM [V] = ((1) / (0))\nM [W] = ((3) + (0))\nK\n");
    RunTask(0);
    ExpectReported(static_cast<int>(ErrorCode::InvalidComputation), 2);
    EXPECT_EQ(Stored("U"), "(           1.000)");
    EXPECT_EQ(Stored("V"), std::nullopt);
    EXPECT_EQ(Stored("W"), std::nullopt);
}

TEST_F(ComputationTest, RunnerPassesTheCertaintyToEveryLine) {
    Load("H X . Y\nM [U] = UWLE((0) + (0))\nM [V] = UWLE((1) + (0))\nK\n");
    RunTask(0, 42);
    EXPECT_EQ(Stored("U"), "(          42.000)");
    EXPECT_EQ(Stored("V"), "(          43.000)");
}

TEST_F(ComputationTest, ModuInTheProgrammingModule) {
    Load("K\nM [R] = MODU((0) + (0))\nK\n", true);
    RunLine(1);
    EXPECT_EQ(Stored("R"), "(           1.100)");
}

TEST_F(ComputationTest, ErrorInTheProgrammingModuleOffersTheInspector) {
    Load("K\nM [R] = ((1) / (0))\nK\n", true);
    RunLine(1);
    const std::vector<Message> messages = Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].caption, "Fehlermeldung in Zeile: 2");
    EXPECT_EQ(messages[0].text, "Rechenoperation fehlerhaft");
    EXPECT_EQ(messages[1].caption, "Dialogfenster anzeigen ?");
    EXPECT_TRUE(consultation().Ended());
}

TEST_F(ComputationTest, ErrorMessagesAreTheFixedTexts) {
    Load("H X . Y\nM [R] = ((999999999999) + (1))\nK\n");
    RunTask(0);
    const std::vector<Message> messages = Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Variable (Zahl) ausserhalb\r\ndes  zul\xC3\xA4ssigen  Bereiches");
}

TEST_F(ComputationTest, DabeReadsTheDateVariableNotItsNumber) {
    // The variable's value is read by its columns, so a value with a third decimal still names
    // the day of its first two.
    Load("K\nM [R] = DABE([D] + (1))\nK\n");
    SetValue("D", "(      201712.319)");
    RunLine(1);
    EXPECT_EQ(Stored("R"), "(      201801.010)");
}

TEST_F(ComputationTest, DatuAndZeitReadTheClockOncePerLine) {
    MidnightClock clock;
    ConsultationServices services{platform_, platform_, clock, random_, platform_};
    const TextImport imported = ImportKnowledgeBaseText(
        "H X . Y\nM [U] = DATU((0) + (0))\nM [V] = ZEIT((0) + (0))\nM [W] = ((1) + (0))\nK\n",
        "test.txt");
    ASSERT_TRUE(imported.ok());
    KnowledgeBaseImage image(false, 1000);
    ASSERT_TRUE(image.LoadImage(imported.records).ok());
    image.SetProgramEnd(image.LastRecord());
    image.SetFactBoundary(image.LastRecord());
    ConsultationConfig config;
    config.programmingModule = false;
    Consultation consultation(image, config, services);
    consultation.SetSlot(TaskSlot::Computation, 0);
    Formelaufruf(consultation, 0);
    EXPECT_EQ(clock.reads, 2);  // one per DATU or ZEIT line, none for the others
    ASSERT_TRUE(consultation.facts().LookupFact(NumericName("U")));
    EXPECT_EQ(TrimRight(consultation.facts().FoundValue()), "(      201707.010)");
    ASSERT_TRUE(consultation.facts().LookupFact(NumericName("V")));
    EXPECT_EQ(TrimRight(consultation.facts().FoundValue()), "(           0.000)");
}

TEST_F(ComputationTest, CorruptOperatorReportsAnInvalidComputation) {
    Load("K\nM [R] = ((1) + (2))\nK\n");
    std::string line(image_->Text(1));
    line[48] = '%';  // column 49
    ASSERT_TRUE(image_->StoreRecord(line, 1));
    RunLine(1);
    ExpectReported(static_cast<int>(ErrorCode::InvalidComputation), 1);
    EXPECT_EQ(Stored("R"), std::nullopt);
}

TEST_F(ComputationTest, CorruptFunctionNameReportsAnInvalidComputation) {
    Load("K\nM [R] = ABS((1) + (2))\nK\n");
    std::string line(image_->Text(1));
    line.replace(23, 4, "abs ");  // columns 24-27 are compared exactly
    ASSERT_TRUE(image_->StoreRecord(line, 1));
    RunLine(1);
    ExpectReported(static_cast<int>(ErrorCode::InvalidComputation), 1);
}

// Whole consultations: the rule concluding ZWISCHEN starts the computation task.
class ComputationConsultationTest : public testing::Test {
  protected:
    void Run(std::string_view program) {
        ConsultationConfig config;
        config.programmingModule = false;
        harness_ =
            std::make_unique<ConsultationHarness>(program, std::vector<nlohmann::json>{}, config);
        harness_->consultation().SetTaskRunner(TaskSlot::Computation, [](Consultation& c, int) {
            Formelaufruf(c, c.RuleCertainty());
        });
        harness_->Run();
    }

    std::string Stored(std::string_view name) { return harness_->Value(NumericName(name)); }

    std::unique_ptr<ConsultationHarness> harness_;
};

TEST_F(ComputationConsultationTest, ComputationTaskRunsWhenItsFactIsConcluded) {
    Run("K Berechnung\n"
        "Z ERGEBNIS\n"
        "R ergebnis . fertig\n"
        "U ZWISCHEN (99) . ja\n"
        "R zwischen . ja\n"
        "U WETTER (80) . kalt\n"
        "F wetter (99) . kalt\n"
        "H zwischen . ja\n"
        "M [X] = ((7) / (2))\n"
        "M [Y] = UWLE((0) + (0))\n"
        "K\n");
    EXPECT_EQ(Stored("X"), "(           3.500)");
    EXPECT_EQ(harness_->Certainty(NumericName("X")), 99);
    // "UWLE" adds the certainty the fact that started the task was concluded with.
    const int certainty = harness_->Certainty("ZWISCHEN");
    EXPECT_GT(certainty, 0);
    EXPECT_LT(certainty, 99);
    EXPECT_EQ(Stored("Y"), FormatStoredNumber(certainty));
}

TEST_F(ComputationConsultationTest, ComputationActionOfATaskBlockRuns) {
    Run("K Berechnung\n"
        "Z ERGEBNIS\n"
        "R ergebnis . fertig\n"
        "U ZWISCHEN (99) . ja\n"
        "R zwischen . ja\n"
        "U WETTER (99) . kalt\n"
        "F wetter (99) . kalt\n"
        "B zwischen . ja\n"
        "= (H)\n"
        "M [X] = ((7) * (3))\n"
        "K\n");
    EXPECT_EQ(Stored("X"), "(          21.000)");
}

TEST_F(ComputationConsultationTest, ComputationErrorEndsTheConsultation) {
    Run("K Berechnung\n"
        "Z ERGEBNIS\n"
        "R ergebnis . fertig\n"
        "U ZWISCHEN (99) . ja\n"
        "R zwischen . ja\n"
        "U WETTER (99) . kalt\n"
        "F wetter (99) . kalt\n"
        "H zwischen . ja\n"
        "M [X] = SQR((-1) + (0))\n"
        "K\n");
    EXPECT_TRUE(harness_->consultation().Ended());
    EXPECT_EQ(harness_->consultation().ErrorLine(), 8);
    EXPECT_EQ(harness_->MessageCaptions(), std::vector<std::string>{"Fehlermeldung in Zeile: 9"});
    EXPECT_EQ(Stored("X"), "<none>");
    EXPECT_TRUE(harness_->Events("page").empty());  // the closing phase is skipped
}

}  // namespace
}  // namespace kelvo

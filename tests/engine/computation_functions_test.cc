#include "engine/computation_functions.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/case_name.h"

#include "store/stored_number.h"

namespace kelvo {
namespace {

// Inputs with fixed answers that count how often each is asked for.
class FixedInputs final : public FunctionInputs {
  public:
    std::string date1 = "(      201702.280)";
    std::string date2 = "(      201703.010)";
    LocalDateTime now{2017, 7, 1, 14, 5, 9};
    double random = 0.25;

    int dateReads = 0;
    int clockReads = 0;
    int randomReads = 0;

    std::string DateText(int operand) override {
        ++dateReads;
        return operand == 1 ? date1 : date2;
    }
    LocalDateTime Now() override {
        ++clockReads;
        return now;
    }
    double NextRandom() override {
        ++randomReads;
        return random;
    }
};

struct FunctionCase {
    const char* name;
    const char* function;
    double x;
    const char* stored;  ///< the stored form of the value; nullptr when an error is expected
    int error = 0;
    double b = 0.0;
    char operation = '+';
    int certainty = 0;
    bool programmingModule = false;
};

class ComputationFunctionCases : public testing::TestWithParam<FunctionCase> {};

TEST_P(ComputationFunctionCases, GiveTheValueOrTheError) {
    const FunctionCase& row = GetParam();
    const ComputationFunction function = FindComputationFunction(row.function);
    ASSERT_NE(function, nullptr) << row.function;
    FixedInputs inputs;
    const FunctionResult result = function(
        FunctionCall{row.x, row.b, row.operation, row.certainty, row.programmingModule, inputs});
    EXPECT_EQ(result.error, row.error);
    if (row.stored != nullptr) {
        EXPECT_EQ(FormatStoredNumber(result.value), row.stored);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ComputationFunctionCases,
    testing::Values(
        FunctionCase{"IntPositive", "INT ", 2.7, "(           2.000)"},
        FunctionCase{"IntTowardsZero", "INT ", -2.7, "(          -2.000)"},
        FunctionCase{"IntWhole", "INT ", -3.0, "(          -3.000)"},
        FunctionCase{"AbsNegative", "ABS ", -4.25, "(           4.250)"},
        FunctionCase{"AbsPositive", "ABS ", 4.25, "(           4.250)"},
        FunctionCase{"SqrNine", "SQR ", 9.0, "(           3.000)"},
        FunctionCase{"SqrTwo", "SQR ", 2.0, "(           1.414)"},
        FunctionCase{"SqrZero", "SQR ", 0.0, "(           0.000)"},
        FunctionCase{"SqrNegative", "SQR ", -0.001, nullptr, 5},
        FunctionCase{"RndHalfDown", "RND ", 2.5, "(           2.000)"},
        FunctionCase{"RndThreeAndAHalf", "RND ", 3.5, "(           3.000)"},
        FunctionCase{"RndNegativeHalf", "RND ", -2.5, "(          -2.000)"},
        FunctionCase{"RndAboveHalf", "RND ", 2.51, "(           3.000)"},
        FunctionCase{"RndSixTenths", "RND ", 2.6, "(           3.000)"},
        FunctionCase{"RndBelowHalf", "RND ", 2.49, "(           2.000)"},
        FunctionCase{"RndNegativeAboveHalf", "RND ", -2.6, "(          -3.000)"},
        FunctionCase{"RndWhole", "RND ", 7.0, "(           7.000)"},
        FunctionCase{"LogE", "LOG ", 2.718281828459045, "(           1.000)"},
        FunctionCase{"LogOne", "LOG ", 1.0, "(           0.000)"},
        FunctionCase{"LogTen", "LOG ", 10.0, "(           2.303)"},
        FunctionCase{"LogZero", "LOG ", 0.0, nullptr, 5},
        FunctionCase{"LogNegative", "LOG ", -1.0, nullptr, 5},
        FunctionCase{"FracPositive", "FRAC", 2.75, "(           0.750)"},
        FunctionCase{"FracKeepsSign", "FRAC", -2.75, "(          -0.750)"},
        FunctionCase{"FracWhole", "FRAC", 5.0, "(           0.000)"},
        FunctionCase{"SinThirty", "SIN ", 30.0, "(           0.500)"},
        FunctionCase{"SinNinety", "SIN ", 90.0, "(           1.000)"},
        FunctionCase{"SinMinusNinety", "SIN ", -90.0, "(          -1.000)"},
        FunctionCase{"SinOneEighty", "SIN ", 180.0, "(           0.000)"},
        FunctionCase{"CosSixty", "COS ", 60.0, "(           0.500)"},
        FunctionCase{"CosOneEighty", "COS ", 180.0, "(          -1.000)"},
        FunctionCase{"CosNinety", "COS ", 90.0, "(           0.000)"},
        FunctionCase{"TanFortyFive", "TAN ", 45.0, "(           1.000)"},
        FunctionCase{"TanMinusFortyFive", "TAN ", -45.0, "(          -1.000)"},
        FunctionCase{"TanSixty", "TAN ", 60.0, "(           1.732)"},
        FunctionCase{"AsinOne", "ASIN", 1.0, "(          90.000)"},
        FunctionCase{"AsinMinusOne", "ASIN", -1.0, "(         -90.000)"},
        FunctionCase{"AsinHalf", "ASIN", 0.5, "(          30.000)"},
        FunctionCase{"AsinZero", "ASIN", 0.0, "(           0.000)"},
        FunctionCase{"AsinAboveOne", "ASIN", 1.01, nullptr, 5},
        FunctionCase{"AsinBelowMinusOne", "ASIN", -1.01, nullptr, 5},
        FunctionCase{"AcosMinusOne", "ACOS", -1.0, "(         180.000)"},
        FunctionCase{"AcosOne", "ACOS", 1.0, "(           0.000)"},
        FunctionCase{"AcosHalf", "ACOS", 0.5, "(          60.000)"},
        FunctionCase{"AcosZero", "ACOS", 0.0, "(          90.000)"},
        FunctionCase{"AcosAboveOne", "ACOS", 1.01, nullptr, 5},
        FunctionCase{"AcosBelowMinusOne", "ACOS", -1.01, nullptr, 5},
        FunctionCase{"AtanOne", "ATAN", 1.0, "(          45.000)"},
        FunctionCase{"AtanMinusOne", "ATAN", -1.0, "(         -45.000)"},
        FunctionCase{"AtanLarge", "ATAN", 1e12, "(          90.000)"},
        FunctionCase{"DatuIgnoresX", "DATU", 123.0, "(      201707.010)"},
        FunctionCase{"ZeitIgnoresX", "ZEIT", 123.0, "(        1405.090)"},
        FunctionCase{"UwleAddsCertainty", "UWLE", 0.0, "(          80.000)", 0, 0, '+', 80},
        FunctionCase{"UwleToX", "UWLE", 1.5, "(         100.500)", 0, 0, '+', 99},
        FunctionCase{"DabePlus", "DABE", 201703.28, "(      201703.010)", 0, 1, '+'},
        FunctionCase{"DabeMinus", "DABE", 201701.28, "(      201702.270)", 0, 1, '-'},
        FunctionCase{"DabeMinusOverYearEnd", "DABE", 0, "(      201612.310)", 0, 59, '-'},
        FunctionCase{"DabeMinusNegativeDays", "DABE", 0, "(      201703.010)", 0, -1, '-'},
        FunctionCase{"DabeTimesKeepsOperation", "DABE", 403404.56, "(      403404.560)", 0, 2, '*'},
        FunctionCase{"DabeDividedKeepsOperation", "DABE", 100851.14, "(      100851.140)", 0, 2,
                     '/'},
        FunctionCase{"DadiFirstEarlier", "DADI", 0, "(          -1.000)"},
        FunctionCase{"VersIsTheVersion", "VERS", 5.0, "(        2017.001)"},
        FunctionCase{"ModuUserModule", "MODU", 5.0, "(           0.100)", 0, 0, '+', 0, false},
        FunctionCase{"ModuProgrammingModule", "MODU", 5.0, "(           1.100)", 0, 0, '+', 0,
                     true}),
    CaseName());

struct DateCase {
    const char* name;
    const char* function;
    const char* date1;
    const char* date2;
    char operation;
    double b;
    const char* stored;  ///< nullptr: error 15
};

class DateFunctionCases : public testing::TestWithParam<DateCase> {};

TEST_P(DateFunctionCases, ReadTheDatesOfTheOperands) {
    const DateCase& row = GetParam();
    FixedInputs inputs;
    inputs.date1 = row.date1;
    inputs.date2 = row.date2;
    const FunctionResult result = FindComputationFunction(row.function)(
        FunctionCall{12.0, row.b, row.operation, 0, false, inputs});
    if (row.stored == nullptr) {
        EXPECT_EQ(result.error, 15);
    } else {
        EXPECT_EQ(result.error, 0);
        EXPECT_EQ(FormatStoredNumber(result.value), row.stored);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, DateFunctionCases,
    testing::Values(
        DateCase{"DabeOverFebruary", "DABE", "(      201702.280)", "", '+', 1,
                 "(      201703.010)"},
        DateCase{"DabeLeapYear", "DABE", "(      201602.280)", "", '+', 1, "(      201602.290)"},
        DateCase{"DabeAYear", "DABE", "(      201707.010)", "", '+', 365, "(      201807.010)"},
        DateCase{"DabeFromVariableValue", "DABE", "(      201707.010)            ", "", '-', 1,
                 "(      201706.300)"},
        DateCase{"DabeInvalidDate", "DABE", "(      201702.300)", "", '+', 1, nullptr},
        DateCase{"DabeNotADate", "DABE", "(           7.000)", "", '+', 1, nullptr},
        DateCase{"DabeMissingVariable", "DABE", "", "", '+', 1, nullptr},
        DateCase{"DabeInvalidDateWithTimes", "DABE", "(      201702.300)", "", '*', 1, nullptr},
        DateCase{"DabeBeyondYear9999", "DABE", "(      999912.310)", "", '+', 1, nullptr},
        DateCase{"DabeHugeDays", "DABE", "(      201707.010)", "", '+', 1e11, nullptr},
        DateCase{"DadiOneDay", "DADI", "(      201703.010)", "(      201702.280)", '-', 0,
                 "(           1.000)"},
        DateCase{"DadiLeapYear", "DADI", "(      201603.010)", "(      201602.280)", '+', 0,
                 "(           2.000)"},
        DateCase{"DadiSameDay", "DADI", "(      201707.010)", "(      201707.010)", '+', 0,
                 "(           0.000)"},
        DateCase{"DadiCenturies", "DADI", "(      200001.010)", "(      190001.010)", '+', 0,
                 "(       36524.000)"},
        DateCase{"DadiFirstInvalid", "DADI", "(      201713.010)", "(      201702.280)", '+', 0,
                 nullptr},
        DateCase{"DadiSecondInvalid", "DADI", "(      201703.010)", "(           1.000)", '+', 0,
                 nullptr}),
    CaseName());

TEST(ComputationFunctions, AskOnlyForTheInputsTheyUse) {
    struct Row {
        const char* function;
        int dateReads;
        int clockReads;
        int randomReads;
    };
    const Row rows[] = {{"INT ", 0, 0, 0}, {"DATU", 0, 1, 0}, {"ZEIT", 0, 1, 0}, {"ZUFA", 0, 0, 1},
                        {"DABE", 1, 0, 0}, {"DADI", 2, 0, 0}, {"UWLE", 0, 0, 0}, {"VERS", 0, 0, 0}};
    for (const Row& row : rows) {
        FixedInputs inputs;
        const FunctionResult result =
            FindComputationFunction(row.function)(FunctionCall{1.0, 1.0, '+', 0, false, inputs});
        EXPECT_EQ(result.error, 0) << row.function;
        EXPECT_EQ(inputs.dateReads, row.dateReads) << row.function;
        EXPECT_EQ(inputs.clockReads, row.clockReads) << row.function;
        EXPECT_EQ(inputs.randomReads, row.randomReads) << row.function;
    }
}

TEST(ComputationFunctions, ZufaGivesTheNextRandomNumber) {
    FixedInputs inputs;
    inputs.random = 0.6789;
    const FunctionResult result =
        FindComputationFunction("ZUFA")(FunctionCall{42.0, 0.0, '+', 0, false, inputs});
    EXPECT_EQ(result.error, 0);
    EXPECT_EQ(result.value, 0.6789);
}

TEST(ComputationFunctions, DatuAndZeitWriteTwoDigitFields) {
    FixedInputs inputs;
    inputs.now = LocalDateTime{2003, 1, 2, 0, 5, 7};
    EXPECT_EQ(FindComputationFunction("DATU")(FunctionCall{0, 0, '+', 0, false, inputs}).value,
              200301.02);
    EXPECT_EQ(FindComputationFunction("ZEIT")(FunctionCall{0, 0, '+', 0, false, inputs}).value,
              5.07);
}

TEST(FindComputationFunction, ComparesFourCharactersExactly) {
    for (int i = 0; i < kComputationFunctionCount; ++i) {
        EXPECT_NE(FindComputationFunction(ComputationFunctionName(i)), nullptr) << i;
    }
    EXPECT_EQ(FindComputationFunction("INT"), nullptr);
    EXPECT_EQ(FindComputationFunction("int "), nullptr);
    EXPECT_EQ(FindComputationFunction(" INT"), nullptr);
    EXPECT_EQ(FindComputationFunction("    "), nullptr);
    EXPECT_EQ(FindComputationFunction("FRACT"), nullptr);
    EXPECT_EQ(ComputationFunctionName(kComputationFunctionCount), "");
}

TEST(FindComputationFunction, KnowsTheTwentyNames) {
    const char* names[] = {"INT ", "ABS ", "SQR ", "RND ", "LOG ", "FRAC", "SIN ",
                           "COS ", "TAN ", "ASIN", "ACOS", "ATAN", "DATU", "ZEIT",
                           "UWLE", "DABE", "DADI", "ZUFA", "VERS", "MODU"};
    for (const char* name : names) {
        EXPECT_NE(FindComputationFunction(name), nullptr) << name;
    }
}

TEST(RoundComputation, RoundsTheFractionHalvesToEven) {
    EXPECT_EQ(RoundComputation(2.5), 2.0);
    EXPECT_EQ(RoundComputation(3.5), 3.0);
    EXPECT_EQ(RoundComputation(-2.5), -2.0);
    EXPECT_EQ(RoundComputation(-3.5), -3.0);
    EXPECT_EQ(RoundComputation(2.6), 3.0);
    EXPECT_EQ(RoundComputation(-2.6), -3.0);
    EXPECT_EQ(RoundComputation(0.5), 0.0);
    EXPECT_EQ(RoundComputation(1e15 + 0.5), 1e15);
}

TEST(VersionText, ReadsAsItsNumber) {
    EXPECT_EQ(kVersionText, "2017.001");
    EXPECT_EQ(ParseDecimalNumber(kVersionText), 2017.001);
}

}  // namespace
}  // namespace kelvo

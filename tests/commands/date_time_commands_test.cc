// The conversions "D" and "Z" in both directions, with "+KELVO_KONVERTIERFEHLER".
#include <gtest/gtest.h>

#include "tests/case_name.h"
#include "tests/commands/command_run.h"

namespace kelvo {
namespace {

const std::string kD = "[+D              ]";
const std::string kZ = "[+Z              ]";
const std::string kConv = "+KELVO_KONVERTIERFEHLER";

class DateTimeCommand : public testing::TestWithParam<CommandCase> {};

TEST_P(DateTimeCommand, LeavesTheRecords) {
    CheckCommandCase(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Date, DateTimeCommand,
    testing::Values(CommandCase{"TextToNumber",
                                {"J +T . 31.01.2024", "J [+D] D +T"},
                                {{kD, "(      202401.310)/99/02"}, {kConv, "0/99/02"}}},
                    CommandCase{"OneDigitTextToNumber",
                                {"J +T . 1.2.2024", "J [+D] D +T"},
                                {{kD, "(      202402.010)/99/02"}, {kConv, "0/99/02"}}},
                    CommandCase{"NoSuchDate",
                                {"J +T . 31.02.2024", "J [+D] D +T"},
                                {{kD, "(           0.000)/99/02"}, {kConv, "1/99/02"}}},
                    CommandCase{"NotADate",
                                {"J +T . morgen", "J [+D] D +T"},
                                {{kD, "(           0.000)/99/02"}, {kConv, "1/99/02"}}},
                    CommandCase{"NumberToText",
                                {"J [+D] . (202401.31)", "J +T D [+D]"},
                                {{"+T", "31.01.2024/99/02"}, {kConv, "0/99/02"}}},
                    CommandCase{"NumberThatIsNoDate",
                                {"J [+D] . (12.5)", "J +T D [+D]"},
                                {{"+T", "/99/02"}, {kConv, "1/99/02"}}},
                    CommandCase{"NumberWithMonthThirteen",
                                {"J [+D] . (202413.01)", "J +T D [+D]"},
                                {{"+T", "/99/02"}, {kConv, "1/99/02"}}},
                    CommandCase{"NegativeNumberIsNoDate",
                                {"J [+D] . (-202401.31)", "J +T D [+D]"},
                                {{"+T", "/99/02"}, {kConv, "1/99/02"}}},
                    CommandCase{"EightDigitNumberIsNoDate",
                                {"J [+D] . (12345601.01)", "J +T D [+D]"},
                                {{"+T", "/99/02"}, {kConv, "1/99/02"}}},
                    CommandCase{"MissingOperandIsError17",
                                {"J [+D] D +T"},
                                {{kD, "<none>"}, {kConv, "<none>"}},
                                17}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    Time, DateTimeCommand,
    testing::Values(
        CommandCase{"TextToNumber",
                    {"J +T . 09:05:03", "J [+Z] Z +T"},
                    {{kZ, "(         905.030)/99/02"}, {kConv, "0/99/02"}}},
        CommandCase{
            "SecondsOnly", {"J +T . 00:00:07", "J [+Z] Z +T"}, {{kZ, "(           0.070)/99/02"}}},
        CommandCase{
            "HalfPastTen", {"J +T . 10:30:00", "J [+Z] Z +T"}, {{kZ, "(        1030.000)/99/02"}}},
        CommandCase{"WithoutSeconds",
                    {"J +T . 10:30", "J [+Z] Z +T"},
                    {{kZ, "(        1030.000)/99/02"}, {kConv, "0/99/02"}}},
        CommandCase{"HourTwentyFive",
                    {"J +T . 25:00:00", "J [+Z] Z +T"},
                    {{kZ, "(           0.000)/99/02"}, {kConv, "1/99/02"}}},
        CommandCase{"NumberToText",
                    {"J [+Z] . (905.03)", "J +T Z [+Z]"},
                    {{"+T", "09:05:03/99/02"}, {kConv, "0/99/02"}}},
        CommandCase{"MinutesOnly", {"J [+Z] . (5)", "J +T Z [+Z]"}, {{"+T", "00:05:00/99/02"}}},
        CommandCase{"ThirdDecimalDropped",
                    {"J [+Z] . (1234.567)", "J +T Z [+Z]"},
                    {{"+T", "12:34:56/99/02"}}},
        CommandCase{"NumberThatIsNoTime",
                    {"J [+Z] . (1290)", "J +T Z [+Z]"},
                    {{"+T", "/99/02"}, {kConv, "1/99/02"}}},
        CommandCase{"NegativeNumber",
                    {"J [+Z] . (-5)", "J +T Z [+Z]"},
                    {{"+T", "/99/02"}, {kConv, "1/99/02"}}},
        CommandCase{"MissingOperandIsError17", {"J +T Z [+Z]"}, {{"+T", "<none>"}}, 17}),
    CaseName());

TEST(ConvertTime, ATwoDigitTimeTextSurvivesTheRoundTrip) {
    for (const std::string time : {"00:00:00", "09:05:03", "12:34:56", "23:59:59"}) {
        CommandRun run({"J +T . " + time, "J [+Z] Z +T", "J +U Z [+Z]"});
        EXPECT_EQ(run.Value("+U"), time);
    }
}

TEST(ConvertDate, TheConversionOutcomeIsStoredBeforeTheResult) {
    CommandRun run({"J +T . 31.01.2024", "J [+D] D +T"});
    const std::vector<std::string> facts = run.FactList();
    const auto position = [&facts](std::string_view prefix) {
        for (std::size_t i = 0; i < facts.size(); ++i) {
            if (facts[i].starts_with(prefix)) {
                return i;
            }
        }
        return facts.size();
    };
    EXPECT_LT(position("+KELVO_KONVERTIERFEHLER="), position("[+D"));
}

}  // namespace
}  // namespace kelvo

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/automation_keys.h"
#include "tests/case_name.h"
#include "tests/commands/service_command_run.h"

namespace kelvo {
namespace {

constexpr const char* kBadKeyMessage = "Tastaturk\xC3\xBCrzel Fehlerhaft !";

// The desktop events of a run in short: "key down 65 @500", "mouse move 10,20 @500",
// "mouse left down @500", "screen @500", "pixel 10,20 @500", "escape @0".
std::vector<std::string> DesktopEvents(ServiceCommandRun& run) {
    std::vector<std::string> events;
    for (const nlohmann::json& event : run.platform().events()) {
        const std::string kind = event.at("event");
        std::string text;
        if (kind == "key") {
            text = "key " + event.at("action").get<std::string>() + " " +
                   std::to_string(event.at("code").get<int>());
        } else if (kind == "mouse" && event.at("action") == "move") {
            text = "mouse move " + std::to_string(event.at("x").get<int>()) + "," +
                   std::to_string(event.at("y").get<int>());
        } else if (kind == "mouse") {
            text = "mouse " + event.at("button").get<std::string>() + " " +
                   event.at("action").get<std::string>();
        } else if (kind == "pixel") {
            text = "pixel " + std::to_string(event.at("x").get<int>()) + "," +
                   std::to_string(event.at("y").get<int>());
        } else if (kind == "screen" || kind == "escape") {
            text = kind;
        } else {
            continue;
        }
        events.push_back(text + " @" + std::to_string(event.at("tick").get<int>()));
    }
    return events;
}

struct AutomationCase {
    std::string name;
    std::vector<std::string> lines;
    std::vector<std::string> events;
    std::vector<std::pair<std::string, std::string>> values = {};  ///< name, trimmed value
    std::vector<std::string> messages = {};                        ///< texts (UTF-8)
    ScriptedScreenOptions screen = {};

    friend void PrintTo(const AutomationCase& row, std::ostream* out) { *out << row.name; }
};

class AutomationCommandTest : public testing::TestWithParam<AutomationCase> {};

TEST_P(AutomationCommandTest, SendsTheEvents) {
    const AutomationCase& row = GetParam();
    ServiceCommandRun run(row.lines, {nullptr, row.screen, true});
    EXPECT_EQ(DesktopEvents(run), row.events);
    for (const auto& [name, value] : row.values) {
        EXPECT_EQ(run.Value(name), value) << name;
    }
    EXPECT_EQ(run.MessageTexts(), row.messages);
    EXPECT_EQ(run.ErrorCode(), 0);
}

ScriptedScreenOptions ScreenWithPixels() {
    ScriptedScreenOptions screen;
    screen.width = 800;
    screen.height = 600;
    screen.pixels = {{5, 6, {0, 0, 255}}, {7, 8, {255, 0, 0}}};
    return screen;
}

ScriptedScreenOptions EscapeAtQuery(int query) {
    ScriptedScreenOptions screen;
    screen.escapeAtQuery = {query};
    return screen;
}

INSTANTIATE_TEST_SUITE_P(
    Keys, AutomationCommandTest,
    testing::Values(
        AutomationCase{
            "TwoKeysWaitHalfASecondEach",
            {"J +T / A", "J +T / B"},
            {"key down 65 @500", "key up 65 @500", "key down 66 @1000", "key up 66 @1000"}},
        AutomationCase{"NameIsUpperCased", {"J +T / a"}, {"key down 65 @500", "key up 65 @500"}},
        AutomationCase{
            "ShiftHeldForACapital",
            {"J +T / shift_unten", "J +T / a", "J +T / shift_oben"},
            {"key down 16 @500", "key down 65 @1000", "key up 65 @1000", "key up 16 @1500"}},
        AutomationCase{
            "ArrowUpIsPressedAndReleased",
            {"J +T / CURSOR_NACH_OBEN", "J +T / BILD_NACH_UNTEN"},
            {"key down 38 @500", "key up 38 @500", "key down 34 @1000", "key up 34 @1000"}},
        AutomationCase{"UmlautKey", {"J +T / \xC3\xB6"}, {"key down 192 @500", "key up 192 @500"}},
        AutomationCase{"UnknownKeyShowsTheMessageAndGoesOn",
                       {"J +T / F13", "J +T / F12", "J +T . weiter"},
                       {"key down 123 @1000", "key up 123 @1000"},
                       {{"+T", "weiter"}},
                       {kBadKeyMessage}}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(Pauses, AutomationCommandTest,
                         testing::Values(AutomationCase{"SetPauseAppliesToTheFollowingLines",
                                                        {"J [+SYSTEM_VAR_0001] . (100)",
                                                         "J +T / PAUSE_DR\xC3\x9C"
                                                         "CKEN",
                                                         "J +T / A", "J +T / B"},
                                                        {"key down 65 @600", "key up 65 @600",
                                                         "key down 66 @700", "key up 66 @700"}},
                                         AutomationCase{"SetPauseWithoutVariableIsZero",
                                                        {"J +T / PAUSE_DR\xC3\x9C"
                                                         "CKEN",
                                                         "J +T / A"},
                                                        {"key down 65 @500", "key up 65 @500"}},
                                         AutomationCase{"NegativeHalfWaitsTheEvenNeighbour",
                                                        {"J [+SYSTEM_VAR_0001] . (-2.5)",
                                                         "J +T / PAUSE", "J +T / A"},
                                                        {"key down 65 @1002", "key up 65 @1002"}},
                                         AutomationCase{"NegativeHalfSetsTheEvenPause",
                                                        {"J [+SYSTEM_VAR_0001] . (-3.5)",
                                                         "J +T / PAUSE_DR\xC3\x9C"
                                                         "CKEN",
                                                         "J +T / A"},
                                                        {"key down 65 @504", "key up 65 @504"}},
                                         AutomationCase{"PauseWithoutVariableDoesNotWait",
                                                        {"J +T / PAUSE", "J +T / A"},
                                                        {"key down 65 @1000", "key up 65 @1000"}}),
                         CaseName());

INSTANTIATE_TEST_SUITE_P(
    MouseAndScreen, AutomationCommandTest,
    testing::Values(
        AutomationCase{"FirstClickWithoutVariablesIsAtTheOrigin",
                       {"J +T / MAUS_LINKS"},
                       {"mouse move 0,0 @500", "mouse left down @500", "mouse left up @500"}},
        AutomationCase{
            "CoordinatesAreKeptWithinTheBlock",
            {"J [+SYSTEM_VAR_0002] . (20)", "J +T / MAUS_MITTE", "J [+SYSTEM_VAR_0001] . (-30.4)",
             "J +T / MAUS_DOPPELCLICK", "J +T / MAUS_RECHTS"},
            {"mouse move 0,20 @500", "mouse middle down @500", "mouse middle up @500",
             "mouse move 30,20 @1000", "mouse left down @1000", "mouse left up @1000",
             "mouse left down @1000", "mouse left up @1000", "mouse move 30,20 @1500",
             "mouse right down @1500", "mouse right up @1500"}},
        AutomationCase{"ScreenSize",
                       {"J +T / bildschirmaufl\xC3\xB6sung"},
                       {"screen @500"},
                       {{"[+SYSTEM_VAR_0001]", "(         800.000)"},
                        {"[+SYSTEM_VAR_0002]", "(         600.000)"}},
                       {},
                       ScreenWithPixels()},
        AutomationCase{"BluePixelHasNoRed",
                       {"J [+SYSTEM_VAR_0001] . (5)", "J [+SYSTEM_VAR_0002] . (6)",
                        "J +T / FARBPUNKT_ERKENNEN"},
                       {"pixel 5,6 @500"},
                       {{"[+SYSTEM_VAR_0001]", "(           0.000)"}},
                       {},
                       ScreenWithPixels()},
        AutomationCase{"RedPixel",
                       {"J [+SYSTEM_VAR_0001] . (7)", "J [+SYSTEM_VAR_0002] . (8)",
                        "J +T / FARBPUNKT_ERKENNEN", "J +T / MAUS_LINKS"},
                       {"pixel 7,8 @500", "mouse move 255,8 @1000", "mouse left down @1000",
                        "mouse left up @1000"},
                       {{"[+SYSTEM_VAR_0001]", "(         255.000)"}},
                       {},
                       ScreenWithPixels()},
        AutomationCase{"WhitePixel",
                       {"J +T / FARBPUNKT_ERKENNEN"},
                       {"pixel 0,0 @500"},
                       {{"[+SYSTEM_VAR_0001]", "(         255.000)"}},
                       {},
                       ScreenWithPixels()}),
    CaseName());

TEST(AutomationCommand, EscapeEndsTheBlockAfterItsLine) {
    ServiceCommandRun run({"J +T / A", "J +T / B", "J +T / C", "J +T . weiter"},
                          {nullptr, EscapeAtQuery(2), true});
    EXPECT_EQ(DesktopEvents(run),
              (std::vector<std::string>{"key down 65 @500", "key up 65 @500", "escape @500",
                                        "key down 66 @1000", "key up 66 @1000"}));
    EXPECT_EQ(run.Value("+T"), "<none>");
    // The break-off request is served by the session, which asks whether to end.
    EXPECT_NE(
        std::find(run.MessageCaptions().begin(), run.MessageCaptions().end(), "Programm beenden ?"),
        run.MessageCaptions().end());
}

TEST(AutomationCommand, UnavailableDesktopSaysSoOnceAndGoesOn) {
    ScriptedScreenOptions screen;
    screen.available = false;
    ServiceCommandRun run({"J +T / PAUSE", "J +T / A", "J +T / MAUS_LINKS",
                           "J +T / BILDSCHIRMAUFL\xC3\x96SUNG", "J +T . weiter"},
                          {nullptr, screen, true});
    EXPECT_TRUE(DesktopEvents(run).empty());
    ASSERT_EQ(run.MessageTexts().size(), 1u);
    EXPECT_NE(run.MessageTexts()[0].find("nicht verf\xC3\xBCgbar"), std::string::npos);
    EXPECT_EQ(run.Value("[+SYSTEM_VAR_0001]"), "<none>");
    EXPECT_EQ(run.Value("+T"), "weiter");
    EXPECT_EQ(run.ErrorCode(), 0);
}

TEST(AutomationCommand, PausesNeedNoDesktop) {
    ScriptedScreenOptions screen;
    screen.available = false;
    ServiceCommandRun run({"J +T / PAUSE",
                           "J +T / PAUSE_DR\xC3\x9C"
                           "CKEN",
                           "J +T . weiter"},
                          {nullptr, screen, true});
    EXPECT_TRUE(run.MessageTexts().empty());
    EXPECT_EQ(run.Value("+T"), "weiter");
}

TEST(AutomationCommand, WithoutServiceSaysSoAndGoesOn) {
    ServiceCommandRun run({"J +T / A", "J +T / B", "J +T . weiter"}, {nullptr, {}, false});
    ASSERT_EQ(run.MessageTexts().size(), 1u);
    EXPECT_NE(run.MessageTexts()[0].find("Tastatur- und Maussteuerung"), std::string::npos);
    EXPECT_EQ(run.Value("+T"), "weiter");
}

struct KeyCase {
    std::string name;  ///< the key name (Windows-1252), also the case's name where it can be
    int code;
    KeyAction action;
};

TEST(AutomationKeys, KeyTable) {
    const std::vector<KeyCase> cases{
        {"0", 48, KeyAction::PressAndRelease},
        {"9", 57, KeyAction::PressAndRelease},
        {"A", 65, KeyAction::PressAndRelease},
        {"Z", 90, KeyAction::PressAndRelease},
        {"F1", 112, KeyAction::PressAndRelease},
        {"F9", 120, KeyAction::PressAndRelease},
        {"F10", 121, KeyAction::PressAndRelease},
        {"F12", 123, KeyAction::PressAndRelease},
        {"\xDF", 219, KeyAction::PressAndRelease},
        {",", 188, KeyAction::PressAndRelease},
        {".", 190, KeyAction::PressAndRelease},
        {"-", 189, KeyAction::PressAndRelease},
        {"+", 107, KeyAction::PressAndRelease},
        {"*", 106, KeyAction::PressAndRelease},
        {"\xD6", 192, KeyAction::PressAndRelease},
        {"\xC4", 222, KeyAction::PressAndRelease},
        {"\xDC", 186, KeyAction::PressAndRelease},
        {"<", 226, KeyAction::PressAndRelease},
        {"#", 191, KeyAction::PressAndRelease},
        {"LEERTASTE", 32, KeyAction::PressAndRelease},
        {"TAB", 9, KeyAction::PressAndRelease},
        {"RETURN", 13, KeyAction::PressAndRelease},
        {"POS1", 36, KeyAction::PressAndRelease},
        {"ENDE", 35, KeyAction::PressAndRelease},
        {"APPLICATION", 93, KeyAction::PressAndRelease},
        {"BILD_NACH_OBEN", 33, KeyAction::PressAndRelease},
        {"BILD_NACH_UNTEN", 34, KeyAction::PressAndRelease},
        {"CURSOR_NACH_OBEN", 38, KeyAction::PressAndRelease},
        {"CURSOR_NACH_UNTEN", 40, KeyAction::PressAndRelease},
        {"CURSOR_NACH_RECHTS", 39, KeyAction::PressAndRelease},
        {"CURSOR_NACH_LINKS", 37, KeyAction::PressAndRelease},
        {"L\xD6SCHEN_NACH_RECHTS", 46, KeyAction::PressAndRelease},
        {"L\xD6SCHEN_NACH_LINKS", 8, KeyAction::PressAndRelease},
        {"SHIFT_UNTEN", 16, KeyAction::PressOnly},
        {"SHIFT_OBEN", 16, KeyAction::ReleaseOnly},
        {"STRG_UNTEN", 17, KeyAction::PressOnly},
        {"STRG_OBEN", 17, KeyAction::ReleaseOnly},
        {"ALT_UNTEN", 18, KeyAction::PressOnly},
        {"ALT_OBEN", 18, KeyAction::ReleaseOnly},
        {"ALTGR_UNTEN", 165, KeyAction::PressOnly},
        {"ALTGR_OBEN", 165, KeyAction::ReleaseOnly},
        // Names that are no key.
        {"F13", 0, KeyAction::PressAndRelease},
        {"F0", 0, KeyAction::PressAndRelease},
        {"F01", 0, KeyAction::PressAndRelease},
        {"a", 0, KeyAction::PressAndRelease},
        {"AB", 0, KeyAction::PressAndRelease},
        {"", 0, KeyAction::PressAndRelease},
        {"LEERTASTE ", 0, KeyAction::PressAndRelease},
        {"MAUS_LINKS", 0, KeyAction::PressAndRelease},
    };
    for (const KeyCase& row : cases) {
        const KeyStroke stroke = LookupKey(row.name);
        EXPECT_EQ(stroke.code, row.code) << row.name;
        EXPECT_EQ(stroke.action, row.action) << row.name;
    }
}

}  // namespace
}  // namespace kelvo

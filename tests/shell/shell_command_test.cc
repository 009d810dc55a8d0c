#include "shell/shell_command.h"

#include <gtest/gtest.h>

#include <string>

#include "shell/version_text.h"
#include "store/windows1252.h"
#include "tests/case_name.h"

namespace kelvo {
namespace {

// One row of the enabling table: a command in the four states.
struct EnablingRow {
    std::string name;
    ShellCommand command;
    bool closedProgramming;
    bool closedUser;
    bool openProgramming;
    bool openUser;
};

class EnablingTableTest : public testing::TestWithParam<EnablingRow> {};

TEST_P(EnablingTableTest, EachStateOfBothModules) {
    const EnablingRow& row = GetParam();
    EXPECT_EQ(CommandEnabled(row.command, false, true), row.closedProgramming);
    EXPECT_EQ(CommandEnabled(row.command, false, false), row.closedUser);
    EXPECT_EQ(CommandEnabled(row.command, true, true), row.openProgramming);
    EXPECT_EQ(CommandEnabled(row.command, true, false), row.openUser);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, EnablingTableTest,
    testing::Values(EnablingRow{"Neu", ShellCommand::Neu, true, false, false, false},
                    EnablingRow{"Oeffnen", ShellCommand::Oeffnen, true, true, false, false},
                    EnablingRow{"Schliesen", ShellCommand::Schliesen, false, false, true, true},
                    EnablingRow{"Compilieren", ShellCommand::Compilieren, false, false, true,
                                false},
                    EnablingRow{"Beenden", ShellCommand::Beenden, true, true, false, false},
                    EnablingRow{"Info", ShellCommand::Info, true, true, true, true},
                    EnablingRow{"Bearbeiten", ShellCommand::Bearbeiten, false, false, true, false},
                    EnablingRow{"Starten", ShellCommand::Starten, false, false, true, true},
                    EnablingRow{"Hilfe", ShellCommand::Hilfe, true, true, true, true}),
    CaseName());

// The menus and buttons a view builds from the table.
struct ViewRow {
    std::string name;  // UTF-8
    std::string menu;
    std::string caption;
    std::string shortcut;
    std::string button;
    int buttonLeft;
    std::string hint;
};

class CommandViewTest : public testing::TestWithParam<ViewRow> {};

TEST_P(CommandViewTest, MenuItemAndButton) {
    const ViewRow& row = GetParam();
    const auto command = ShellCommandNamed(Utf8ToWindows1252(row.name));
    ASSERT_TRUE(command.has_value());
    const ShellCommandView& view = ViewOf(*command);
    EXPECT_EQ(Windows1252ToUtf8(view.menu), row.menu);
    EXPECT_EQ(Windows1252ToUtf8(view.caption), row.caption);
    EXPECT_EQ(view.shortcut, row.shortcut);
    EXPECT_EQ(view.button, row.button);
    EXPECT_EQ(view.buttonLeft, row.buttonLeft);
    EXPECT_EQ(Windows1252ToUtf8(view.buttonHint), row.hint);
    EXPECT_EQ(view.separatorBefore, row.name == "Info");
}

ViewRow Row(const std::string& name, const std::string& menu, const std::string& caption,
            const std::string& shortcut, const std::string& button = "", int left = 0,
            const std::string& hint = "") {
    return {name, menu, caption, shortcut, button, left, hint};
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CommandViewTest,
    testing::Values(Row("Neu", "&Wissensbasis", "&Neu", "Ctrl+N", "NeuButton", 8,
                        "Wissensbasis neu erstellen"),
                    Row("Öffnen", "&Wissensbasis", "Ö&ffnen", "Ctrl+F", "OeffnenButton", 40,
                        "Wissensbasis öffnen"),
                    Row("Schließen", "&Wissensbasis", "&Schließen", "Ctrl+S", "SchliesenButton", 72,
                        "Wissensbasis schließen"),
                    Row("Compilieren", "&Wissensbasis", "&Compilieren", "Ctrl+C"),
                    Row("Beenden", "&Wissensbasis", "&Beenden", "Ctrl+B"),
                    Row("Info", "&Wissensbasis", "&Info", "Ctrl+I"),
                    Row("Bearbeiten", "&Dienste", "B&earbeiten", "Ctrl+E", "BearbeitenButton", 112,
                        "Wissensbasis bearbeiten"),
                    Row("Starten", "&Dienste", "S&tarten", "Ctrl+T", "StartenButton", 144,
                        "Wissensbasis starten"),
                    Row("Hilfe", "&Hilfe", "&Hilfe", "F1", "HilfeButton", 184, "Hilfe aufrufen")),
    [](const testing::TestParamInfo<ViewRow>& row) {
        return std::string(ViewOf(*ShellCommandNamed(Utf8ToWindows1252(row.param.name))).component);
    });

TEST(ShellCommandTest, UnknownNamesAreNoCommand) {
    EXPECT_FALSE(ShellCommandNamed("Oeffnen").has_value());  // the component, not the name
    EXPECT_FALSE(ShellCommandNamed("neu").has_value());
    EXPECT_FALSE(ShellCommandNamed("").has_value());
}

struct TitleRow {
    std::string name;
    std::string fileName;
    bool programmingModule;
    int databaseAccess;
    std::string title;
};

class WindowTitleTest : public testing::TestWithParam<TitleRow> {};

TEST_P(WindowTitleTest, VersionFileModuleAndAccess) {
    const TitleRow& row = GetParam();
    EXPECT_EQ(Windows1252ToUtf8(MainWindowTitle(Utf8ToWindows1252(row.fileName),
                                                row.programmingModule, row.databaseAccess)),
              row.title);
}

INSTANTIATE_TEST_SUITE_P(
    Titles, WindowTitleTest,
    testing::Values(
        TitleRow{"OpenProgramming", "/home/a/KREDIT.WBP", true, 2,
                 "Expertensystem Kelvo Version 2017 Build: 001 - KREDIT.WBP  [Programmiermodul]"
                 "  [Datenbankzugriff=schnell]"},
        TitleRow{"ClosedProgramming", "", true, 2,
                 "Expertensystem Kelvo Version 2017 Build: 001 -   [Programmiermodul]"
                 "  [Datenbankzugriff=schnell]"},
        TitleRow{"OpenUser", "/opt/k/BERATER.WBB", false, 2,
                 "Expertensystem Kelvo Version 2017 Build: 001 - BERATER.WBB  [Benutzermodul]"
                 "  [Datenbankzugriff=schnell]"},
        TitleRow{"SlowAccess", "", false, 1,
                 "Expertensystem Kelvo Version 2017 Build: 001 -   [Benutzermodul]"
                 "  [Datenbankzugriff=langsam]"},
        TitleRow{"BackslashFolder", "C:\\kb\\Rat gebär.wbp", true, 2,
                 "Expertensystem Kelvo Version 2017 Build: 001 - Rat gebär.wbp"
                 "  [Programmiermodul]  [Datenbankzugriff=schnell]"}),
    CaseName());

TEST(VersionTextTest, AboutBoxAndStartDialog) {
    const AboutBox about = InfoAboutBox();
    EXPECT_EQ(about.caption, "Info");
    EXPECT_EQ(about.productName, "Expertensystem Kelvo");
    EXPECT_EQ(about.version, "Version = 2017 Build: 001");
    EXPECT_EQ(Windows1252ToUtf8(StartDialogTitle(false, 2)),
              "Öffnen [Expertensystem Kelvo Version 2017 Build: 001]  [Benutzermodul]"
              "  [Datenbankzugriff=schnell]");
}

}  // namespace
}  // namespace kelvo

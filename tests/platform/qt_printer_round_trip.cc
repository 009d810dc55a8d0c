// The desktop's three printouts on the system's default printer. Run by
// qt_printer_cups_round_trip.sh against a private spooler, which then checks what it printed;
// without a default printer every case fails.
#include <gtest/gtest.h>

#include <QPrinterInfo>

#include "platform/qt/qt_printer.h"
#include "platform/qt/qt_text.h"
#include "tests/platform/qt_printouts.h"
#include "tests/store/temp_dir.h"

namespace kelvo::testing {
namespace {

class QtPrinterOnTheDefaultPrinter : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(QPrinterInfo::defaultPrinterName().isEmpty()) << "no default printer";
    }
    // Nothing goes to a PDF of our own and nothing is reported.
    void TearDown() override {
        EXPECT_TRUE(printer_.lastFallbackFile().empty()) << printer_.lastFallbackFile();
        for (const RecordingDialogs::Box& box : dialogs_.boxes) {
            ADD_FAILURE() << "a message: " << box.text;
        }
    }

    TempDir dir_;
    RecordingDialogs dialogs_;
    QtPrinter printer_{dialogs_, QtPrinterOptions{.fallbackFolder = [this] { return dir_.path(); },
                                                  .defaultPrinterName = {}}};
};

TEST_F(QtPrinterOnTheDefaultPrinter, PrintTaskOf130LinesWithAPicture) {
    WriteTestPicture(dir_ / "bild.bmp");
    EXPECT_EQ(PrintTask(printer_, 130, dir_ / "bild.bmp"), std::vector<std::string>{});
}

TEST_F(QtPrinterOnTheDefaultPrinter, EditorBlockOf70Lines) {
    EXPECT_EQ(PrintEditorBlock(printer_, dir_.path(), 70), std::vector<std::string>{});
}

TEST_F(QtPrinterOnTheDefaultPrinter, PageImage) {
    EXPECT_TRUE(printer_.PrintImage(PageImage()).ok());
}

}  // namespace
}  // namespace kelvo::testing

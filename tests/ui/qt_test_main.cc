// The main of the Qt test programs: one QApplication for all tests, on the offscreen platform
// unless the environment chooses another.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication application(argc, argv);
    // As in the programs: the models decide when the program ends, not the last window.
    QApplication::setQuitOnLastWindowClosed(false);
    return RUN_ALL_TESTS();
}

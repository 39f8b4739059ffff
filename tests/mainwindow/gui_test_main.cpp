// The window tests need one QApplication for the whole test program.

#include <gtest/gtest.h>

#include <QApplication>
#include <clocale>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests at build time and running them from a terminal need
    // no display; the offscreen platform also keeps sizes and dpi the same.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // QApplication takes the environment's locale; number reading in the
    // tests assumes the C form unless a test pins another one.
    std::setlocale(LC_NUMERIC, "C");
    return RUN_ALL_TESTS();
}

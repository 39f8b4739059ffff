#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>
#include <clocale>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Listing tests at build time needs no display; offscreen keeps sizes and dpi fixed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");  // QApplication took the environment's; tests pin others themselves
    // Fonts named outright, so that sizes of texts do not depend on the machine's font choices.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans"));
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    return RUN_ALL_TESTS();
}

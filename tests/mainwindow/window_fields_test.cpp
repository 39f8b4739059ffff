// The window's fields: start state, focus order, access keys, Days filter, conversion, reading.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <tuple>

#include "mainwindow/field_conversion.h"
#include "mainwindow/window_test_support.h"
#include "common/run_failure.h"

namespace sorvane {
namespace {

TEST(MainWindowStart, FieldsListAndStatusLine) {
    test::WindowUnderTest w;
    const std::tuple<const char*, QString, int> fields[] = {  // name, text, limit (0: any length)
        {"txtTage", "0", 20}, {"txtDSN", "neuedb", 50}, {"txtTabelle", "SystemEvents", 50},
        {"txtBenutzer", "root", 255}, {"txtPass", "", 128}, {"txtDelRecPerTrip", "10", 0},
        {"txtDisplayStatusAfter", "10", 0}, {"txtSeparateWith", ",", 0}, {"txtEscapeWith", "\"", 0},
        {"txtFilename", "BackupFile", 0}, {"txtFileExtension", ".csv", 0},
        {"txtFilePath", QDir::homePath() + "/", 0}};
    for (const auto& [name, text, limit] : fields) {
        auto* edit = w.window->findChild<QLineEdit*>(name);
        ASSERT_NE(edit, nullptr) << name;
        EXPECT_EQ(edit->text(), text) << name;
        const int typed = limit > 0 ? limit + 1 : 40000;  // beyond the toolkit's default limit
        edit->clear();
        edit->insert(QString(typed, QLatin1Char('7')));  // the typing path, limit applied
        EXPECT_EQ(edit->text().size(), limit > 0 ? limit : typed) << name;
    }
    EXPECT_EQ(w.c().LabelStatus->text(), "");
    const QComboBox* list = w.c().Combo1;
    EXPECT_EQ(std::tuple(list->count(), list->itemText(1), list->currentText(), list->isEditable()),
              std::tuple(2, QString("DeviceReportedTime"), QString("ReceivedAt"), false));
    w.c().txtPass->setText("s3cr;t");
    EXPECT_EQ(w.c().txtPass->displayText(), "******");
}

TEST(MainWindowStart, FocusOrderAndAccessKeys) {
    test::WindowUnderTest w;
    const auto focusName = [] {
        return QApplication::focusWidget() != nullptr ? QApplication::focusWidget()->objectName() : QString();
    };
    ASSERT_EQ(focusName(), "txtTage");
    const QStringList order = {
        "Combo1", "txtDSN", "txtTabelle", "txtBenutzer", "txtPass", "txtDelRecPerTrip",
        "txtDisplayStatusAfter", "Command1", "Command2", "txtSeparateWith", "Command3", "txtEscapeWith",
        "txtFilename", "txtFileExtension", "Command4", "txtFilePath", "CheckIncludeDate",
        "CheckOverWriteFile", "txtTage"};
    QStringList visited;
    for (qsizetype i = 0; i < order.size(); ++i) {
        test::PressKey(Qt::Key_Tab);
        visited << focusName();
    }
    EXPECT_EQ(visited, order);
    const std::pair<Qt::Key, const char*> keys[] = {{Qt::Key_S, "txtDSN"}, {Qt::Key_T, "txtTabelle"},
                                                    {Qt::Key_U, "txtBenutzer"}, {Qt::Key_P, "txtPass"},
                                                    {Qt::Key_D, "txtTage"}};
    for (const auto& [key, field] : keys) {
        test::PressKey(key, Qt::AltModifier);
        EXPECT_EQ(focusName(), field);
    }
}

TEST(DaysKeyFilter, OnlyDigitsAndBackspaceChangeTheField) {
    test::WindowUnderTest w;
    QLineEdit* days = w.c().txtTage;
    const std::tuple<int, Qt::KeyboardModifiers, QString, QString> keys[] = {  // result from "12"
        {Qt::Key_0, {}, "0", "120"}, {Qt::Key_9, {}, "9", "129"}, {Qt::Key_Backspace, {}, "\b", "1"},
        {Qt::Key_A, {}, "a", "12"}, {Qt::Key_Minus, {}, "-", "12"}, {Qt::Key_V, Qt::ControlModifier, "\x16", "12"},
        {Qt::Key_twosuperior, {}, QString(QChar(0xB2)), "12"},
        {Qt::Key_unknown, {}, QString(QChar(0x0663)), "12"}};  // Arabic-Indic three
    QApplication::clipboard()->setText("345");
    for (const auto& [key, modifiers, text, expected] : keys) {
        days->setText("12");
        test::PressKey(key, modifiers, text, days);
        EXPECT_EQ(days->text(), expected) << key;
    }
    test::PressKey(Qt::Key_Home, Qt::NoModifier, QString(), days);  // keys that type nothing pass
    days->paste();  // the context menu's paste is not typing
    EXPECT_EQ(days->text(), "34512");
}

TEST(ConvertToInteger16, RoundsHalfToEvenAndChecksTheRangeAfterRounding) {
    const std::tuple<const char*, int, long> cases[] = {  // text, result, failure number
        {" 30 ", 30, 0}, {"2.5", 2, 0}, {"3.5", 4, 0}, {"-2.5", -2, 0}, {"32767.4", 32767, 0},
        {"-32768.5", -32768, 0}, {"", 0, kTypeMismatch}, {"7 days", 0, kTypeMismatch},
        {"0x10", 0, kTypeMismatch}, {"32767.5", 0, kOverflow}, {"-32768.51", 0, kOverflow}};
    for (const auto& [text, result, failure] : cases) {
        try {
            EXPECT_EQ(std::tuple(ConvertToInteger16(text), 0L), std::tuple(result, failure)) << text;
        } catch (const RunFailure& raised) {
            const std::string description = failure == kOverflow ? "Overflow" : "Typen unverträglich";
            EXPECT_EQ(std::tuple(raised.Number(), raised.Description()), std::tuple(failure, description)) << text;
        }
    }
}

TEST(ReadSettingsFromFields, TakesEveryFieldAsItStands) {
    test::WindowUnderTest w;
    const FormControls& c = w.c();
    c.Combo1->setCurrentIndex(1);
    c.CheckOverWriteFile->setChecked(true);
    const std::pair<QLineEdit*, const char*> texts[] = {
        {c.txtTage, "30"}, {c.txtDelRecPerTrip, " 1000000.5 "}, {c.txtTabelle, " Log Table "}, {c.txtDSN, ""},
        {c.txtBenutzer, "jürgen"}, {c.txtPass, "pa;ss"}, {c.txtSeparateWith, ""}, {c.txtEscapeWith, "'"},
        {c.txtFilename, "old rows"}, {c.txtFileExtension, ".txt"}, {c.txtFilePath, "/tmp/archive"}};
    for (const auto& [field, text] : texts) field->setText(QString::fromUtf8(text));
    const PurgeSettings s = ReadSettingsFromFields(c, kBackupRun);
    EXPECT_EQ((std::vector<std::string>{s.tableName, s.dsn, s.userName, s.password, s.separator, s.escapeText,
                                        s.fileName, s.fileExtension, s.filePath, s.timeColumn}),
              (std::vector<std::string>{" Log Table ", "", "jürgen", "pa;ss", "", "'", "old rows", ".txt",
                                        "/tmp/archive", "DeviceReportedTime"}));
    EXPECT_EQ((std::vector<int>{s.days, s.recordsPerTrip, s.deleteRows, s.backupRows, s.commandLineMode,
                                std::get<int>(s.overwrite), std::get<int>(s.includeDate)}),
              (std::vector<int>{30, 1000000, kFalse16, kTrue16, 0, 1, 0}));
}

}  // namespace
}  // namespace sorvane

// The Days key filter, the 16-bit conversion, the reading of the fields into
// the run's settings, and the status tick's text and period.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <optional>

#include "mainwindow/days_key_filter.h"
#include "mainwindow/field_conversion.h"
#include "mainwindow/status_tick.h"
#include "mainwindow/window_test_support.h"
#include "purge/run_failure.h"
#include "startup/regional.h"
#include "support/scoped_locale.h"

namespace sorvane {
namespace {

using test::PressKey;
using test::WindowUnderTest;

TEST(DaysKeyFilter, OnlyDigitsAndBackspaceChangeTheField) {
    WindowUnderTest w;
    QLineEdit* days = w.c().txtTage;
    const struct {
        const char* what;
        int key;
        Qt::KeyboardModifiers modifiers;
        QString text;
        QString expected;  // starting from "12" with the cursor at the end
    } keys[] = {
        {"digit", Qt::Key_7, Qt::NoModifier, "7", "127"},
        {"zero", Qt::Key_0, Qt::NoModifier, "0", "120"},
        {"backspace", Qt::Key_Backspace, Qt::NoModifier, "\b", "1"},
        {"letter", Qt::Key_A, Qt::NoModifier, "a", "12"},
        {"minus", Qt::Key_Minus, Qt::NoModifier, "-", "12"},
        {"point", Qt::Key_Period, Qt::NoModifier, ".", "12"},
        {"comma", Qt::Key_Comma, Qt::NoModifier, ",", "12"},
        {"blank", Qt::Key_Space, Qt::NoModifier, " ", "12"},
        {"plus", Qt::Key_Plus, Qt::NoModifier, "+", "12"},
        {"superscript two", Qt::Key_twosuperior, Qt::NoModifier, QString(QChar(0xB2)), "12"},
        {"Arabic-Indic digit", Qt::Key_unknown, Qt::NoModifier, QString(QChar(0x0663)), "12"},
    };
    for (const auto& k : keys) {
        days->setText("12");
        days->setFocus();
        days->end(false);
        PressKey(k.key, k.modifiers, k.text, days);
        EXPECT_EQ(days->text(), k.expected) << k.what;
    }
}

TEST(DaysKeyFilter, EnterEscapeAndPasteKeyAreCancelledButCursorKeysAndMenuPastePass) {
    WindowUnderTest w;
    QLineEdit* days = w.c().txtTage;
    days->setText("12");
    days->setFocus();
    days->end(false);

    // Cursor movement types no character and keeps working.
    PressKey(Qt::Key_Left, Qt::NoModifier, QString(), days);
    EXPECT_EQ(days->cursorPosition(), 1);
    PressKey(Qt::Key_Home, Qt::NoModifier, QString(), days);
    EXPECT_EQ(days->cursorPosition(), 0);

    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        QString text;
    } cancelled[] = {{Qt::Key_Return, Qt::NoModifier, "\r"},
                     {Qt::Key_Enter, Qt::KeypadModifier, "\r"},
                     {Qt::Key_Escape, Qt::NoModifier, "\x1b"},
                     {Qt::Key_V, Qt::ControlModifier, "\x16"}};
    QApplication::clipboard()->setText("345");
    for (const auto& k : cancelled) {
        QKeyEvent press(QEvent::KeyPress, k.key, k.modifiers, k.text);
        const auto code = TypedCharacterCode(press);
        ASSERT_TRUE(code.has_value()) << k.key;
        EXPECT_FALSE(IsAcceptedDaysCharacter(*code)) << k.key;
        PressKey(k.key, k.modifiers, k.text, days);
        EXPECT_EQ(days->text(), "12") << k.key;
    }
    QKeyEvent ctrlV(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier, QString());
    EXPECT_EQ(TypedCharacterCode(ctrlV), std::optional<char16_t>(22));

    // The edit control's own paste (its context menu) is not typing.
    if (QApplication::clipboard()->text() != "345") GTEST_SKIP() << "no clipboard here";
    days->paste();
    EXPECT_EQ(days->text(), "34512");
}

TEST(ConvertToInteger16, RoundsHalfToEvenAndChecksTheRangeAfterRounding) {
    const struct {
        const char* text;
        int expected;
    } cases[] = {
        {"7", 7},        {" 30 ", 30},     {"+5", 5},          {"-12", -12},
        {"2.5", 2},      {"3.5", 4},       {"-2.5", -2},       {"0.5", 0},
        {"2.4999", 2},   {"2.51", 3},      {"1e2", 100},       {"32767", 32767},
        {"32767.4", 32767}, {"-32768", -32768}, {"-32768.5", -32768}, {"00", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ConvertToInteger16(c.text), c.expected) << c.text;
    }
}

TEST(ConvertToInteger16, NotANumberIsATypeMismatchAndTooLargeIsAnOverflow) {
    const struct {
        const char* text;
        long number;
    } failures[] = {
        {"", kTypeMismatch},      {" ", kTypeMismatch},        {"abc", kTypeMismatch},
        {"7 days", kTypeMismatch}, {"1,5", kTypeMismatch},     {"0x10", kTypeMismatch},
        {"32767.5", kOverflow},   {"32768", kOverflow},        {"-32769", kOverflow},
        {"40000", kOverflow},     {"1e10", kOverflow},         {"-32768.51", kOverflow},
    };
    for (const auto& f : failures) {
        try {
            ConvertToInteger16(f.text);
            ADD_FAILURE() << "no failure for \"" << f.text << "\"";
        } catch (const RunFailure& failure) {
            EXPECT_EQ(failure.Number(), f.number) << f.text;
            EXPECT_EQ(failure.Description(),
                      f.number == kTypeMismatch ? "Typen unverträglich" : "Overflow")
                << f.text;
        }
    }
}

TEST(ConvertToInteger16, ReadsTheSystemsDecimalSeparator) {
    test::ScopedLocale german("de_DE.UTF-8");
    if (!german.Available()) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    EXPECT_EQ(ConvertToInteger16("2,5"), 2);
    EXPECT_EQ(ConvertToInteger16("2,6"), 3);
    EXPECT_THROW(ConvertToInteger16("2.6"), RunFailure);
}

TEST(ReadSettingsFromFields, TakesEveryFieldAsItStandsAndTheCommandsFlags) {
    WindowUnderTest w;
    const FormControls& c = w.c();
    c.Combo1->setCurrentIndex(1);
    c.txtTage->setText("30");
    c.txtDelRecPerTrip->setText(" 2.5 ");
    c.txtTabelle->setText(" Log Table ");
    c.txtDSN->setText("");
    c.txtBenutzer->setText("jürgen");
    c.txtPass->setText("pa;ss");
    c.txtSeparateWith->setText("");
    c.txtEscapeWith->setText("'");
    c.txtFilename->setText("old rows");
    c.txtFileExtension->setText(".txt");
    c.txtFilePath->setText("/tmp/archive");
    c.CheckOverWriteFile->setChecked(true);
    c.CheckIncludeDate->setChecked(false);

    const struct {
        RunKind kind;
        Bool16 deleteRows;
        Bool16 backupRows;
    } commands[] = {{kDeleteRun, kTrue16, kFalse16},
                    {kBackupRun, kFalse16, kTrue16},
                    {kBackupAndDeleteRun, kTrue16, kTrue16}};
    for (const auto& command : commands) {
        const PurgeSettings s = ReadSettingsFromFields(c, command.kind);
        EXPECT_EQ(s.timeColumn, "DeviceReportedTime");
        EXPECT_EQ(s.days, 30);
        EXPECT_EQ(s.recordsPerTrip, 2);
        EXPECT_EQ(s.tableName, " Log Table ");
        EXPECT_EQ(s.dsn, "");
        EXPECT_EQ(s.userName, "jürgen");
        EXPECT_EQ(s.password, "pa;ss");
        EXPECT_EQ(s.separator, "");
        EXPECT_EQ(s.escapeText, "'");
        EXPECT_EQ(s.fileName, "old rows");
        EXPECT_EQ(s.fileExtension, ".txt");
        EXPECT_EQ(s.filePath, "/tmp/archive");
        EXPECT_EQ(s.overwrite, NumberOrText(1));
        EXPECT_EQ(s.includeDate, NumberOrText(0));
        EXPECT_EQ(s.deleteRows, command.deleteRows);
        EXPECT_EQ(s.backupRows, command.backupRows);
        EXPECT_EQ(s.commandLineMode, 0);
    }
}

TEST(ReadSettingsFromFields, DaysIsReadBeforeRecordsPerTrip) {
    WindowUnderTest w;
    const struct {
        const char* days;
        const char* perTrip;
        const char* description;
    } cases[] = {
        {"", "40000", "Typen unverträglich"},  // Days fails first
        {"40000", "x", "Overflow"},
        {"7", "", "Typen unverträglich"},
        {"7", "40000", "Overflow"},
    };
    for (const auto& c : cases) {
        w.c().txtTage->setText(c.days);
        w.c().txtDelRecPerTrip->setText(c.perTrip);
        try {
            ReadSettingsFromFields(w.c(), kDeleteRun);
            ADD_FAILURE() << c.days << " / " << c.perTrip;
        } catch (const RunFailure& failure) {
            EXPECT_EQ(failure.Description(), c.description) << c.days << " / " << c.perTrip;
        }
    }
}

TEST(StatusTick, PeriodComesFromTheDisplayStatusFieldWhenItIsAWholeNumber) {
    const struct {
        const char* field;
        int milliseconds;
    } cases[] = {
        {"10", 10000}, {"1", 1000},     {"3", 3000},  {" 60 ", 60000}, {"5.0", 5000},
        {"0", 10000},  {"-5", 10000},   {"1.5", 10000}, {"", 10000},  {"soon", 10000},
        {"0.9", 10000}, {"99999999", 2147483000},
    };
    for (const auto& c : cases) EXPECT_EQ(StatusTimerPeriodMs(c.field), c.milliseconds) << c.field;
}

TEST(StatusTick, ShowsTheGeneralDateAndTheBatchCounter) {
    const QString text = StatusTickText(120);
    EXPECT_TRUE(text.endsWith(" Deleted: 120")) << text.toStdString();
    // The date part is today's general date (the time may have moved on).
    const QString today = QString::fromStdString(FormatGeneralDateNow()).section(' ', 0, 0);
    EXPECT_TRUE(text.startsWith(today)) << text.toStdString();
}

}  // namespace
}  // namespace sorvane

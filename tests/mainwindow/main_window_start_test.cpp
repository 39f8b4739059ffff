// The main window right after start: texts, list, limits, password echo,
// geometry, focus order, access keys and the menu tree.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

#include "mainwindow/twips.h"
#include "mainwindow/window_test_support.h"

namespace sorvane {
namespace {

using test::PressKey;
using test::WindowUnderTest;

template <typename Widget>
Widget* Find(const MainWindow& window, const char* name) {
    return window.findChild<Widget*>(QString::fromLatin1(name));
}

TEST(MainWindowStart, FieldsHoldTheirInitialTexts) {
    WindowUnderTest w;
    const struct {
        const char* name;
        QString text;
    } fields[] = {
        {"txtTage", "0"},           {"txtDSN", "neuedb"},
        {"txtTabelle", "SystemEvents"}, {"txtBenutzer", "root"},
        {"txtPass", ""},            {"txtDelRecPerTrip", "10"},
        {"txtDisplayStatusAfter", "10"}, {"txtSeparateWith", ","},
        {"txtEscapeWith", "\""},    {"txtFilename", "BackupFile"},
        {"txtFileExtension", ".csv"}, {"txtFilePath", QDir::homePath() + "/"},
    };
    for (const auto& field : fields) {
        auto* edit = Find<QLineEdit>(*w.window, field.name);
        ASSERT_NE(edit, nullptr) << field.name;
        EXPECT_EQ(edit->text(), field.text) << field.name;
    }
}

TEST(MainWindowStart, CaptionsStatusLineAndCheckBoxes) {
    WindowUnderTest w;
    EXPECT_EQ(w.window->windowTitle(), "Sorvane");
    EXPECT_EQ(w.window->objectName(), "Form1");
    const struct {
        const char* name;
        QString caption;
    } captions[] = {
        {"Label3", "&Days :"}, {"Label2", "D&SN :"}, {"Label1", "&Table name :"},
        {"Label4", "&Username :"}, {"Label5", "&Password :"},
        {"lblDelRecPerState", "Delete records per trip:"},
        {"lblDisplayStatusAfter", "Display Status after (sec):"},
        {"Label6", "BackupFile Settings (CSV)"}, {"lblSeparateWith", "Separator"},
        {"lblEscapeWith", "Escape Sequence"}, {"lblFilename", "Filename"},
        {"lblFileExtension", "File Extension"}, {"lblFilePath", "File Path"},
        {"LabelStatus", ""},
    };
    for (const auto& label : captions) {
        auto* widget = Find<QLabel>(*w.window, label.name);
        ASSERT_NE(widget, nullptr) << label.name;
        EXPECT_EQ(widget->text(), label.caption) << label.name;
    }
    const struct {
        const char* name;
        QString caption;
    } buttons[] = {{"Command1", "Delete"}, {"Command2", "&Quit"}, {"Command3", "Backup"},
                   {"Command4", "Backup and Delete"}};
    for (const auto& button : buttons) {
        auto* widget = Find<QPushButton>(*w.window, button.name);
        ASSERT_NE(widget, nullptr) << button.name;
        EXPECT_EQ(widget->text(), button.caption) << button.name;
        EXPECT_FALSE(widget->isDefault() || widget->autoDefault()) << button.name;
    }
    EXPECT_EQ(w.c().CheckIncludeDate->text(), "Include Date in Filename");
    EXPECT_EQ(w.c().CheckOverWriteFile->text(), "Allow to overwrite File");
    EXPECT_FALSE(w.c().CheckIncludeDate->isChecked());
    EXPECT_FALSE(w.c().CheckOverWriteFile->isChecked());
    EXPECT_FALSE(w.c().timerDeleting->isActive());

    const QFont heading = w.c().Label6->font();
    EXPECT_TRUE(heading.bold());
    EXPECT_DOUBLE_EQ(heading.pointSizeF(), 9.75);
}

TEST(MainWindowStart, TimeColumnListOffersTwoItemsAndNoTyping) {
    WindowUnderTest w;
    QComboBox* list = w.c().Combo1;
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->itemText(0), "ReceivedAt");
    EXPECT_EQ(list->itemText(1), "DeviceReportedTime");
    EXPECT_EQ(list->currentIndex(), 0);
    EXPECT_FALSE(list->isEditable());
    EXPECT_EQ(list->lineEdit(), nullptr);
}

TEST(MainWindowStart, LengthLimitsStopTyping) {
    WindowUnderTest w;
    const struct {
        const char* name;
        int limit;  // 0: any length
    } fields[] = {
        {"txtTage", 20},          {"txtDSN", 50},          {"txtTabelle", 50},
        {"txtBenutzer", 255},     {"txtPass", 128},        {"txtDelRecPerTrip", 0},
        {"txtDisplayStatusAfter", 0}, {"txtSeparateWith", 0}, {"txtEscapeWith", 0},
        {"txtFilename", 0},       {"txtFileExtension", 0}, {"txtFilePath", 0},
    };
    constexpr int kLong = 40000;  // beyond the toolkit's own default limit
    for (const auto& field : fields) {
        auto* edit = Find<QLineEdit>(*w.window, field.name);
        ASSERT_NE(edit, nullptr) << field.name;
        edit->clear();
        const int typed = field.limit > 0 ? field.limit + 1 : kLong;
        edit->insert(QString(typed, QLatin1Char('7')));  // the typing path, limit applied
        EXPECT_EQ(edit->text().size(), field.limit > 0 ? field.limit : kLong) << field.name;
    }

    // One more character typed at the limit is refused as well.
    QLineEdit* dsn = w.c().txtDSN;
    dsn->setText(QString(50, QLatin1Char('d')));
    dsn->setFocus();
    PressKey(Qt::Key_X, Qt::NoModifier, "x", dsn);
    EXPECT_EQ(dsn->text(), QString(50, QLatin1Char('d')));
}

TEST(MainWindowStart, PasswordShowsOneStarPerCharacter) {
    WindowUnderTest w;
    QLineEdit* password = w.c().txtPass;
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    password->setFocus();
    test::TypeText(password, "s3cr;t");
    EXPECT_EQ(password->text(), "s3cr;t");
    EXPECT_EQ(password->displayText(), "******");
}

TEST(MainWindowStart, LayoutFollowsTheDesignAtItsDpi) {
    EXPECT_EQ(TwipsToPixels(2640, 96), 176);
    EXPECT_EQ(TwipsToPixels(5085, 96), 339);
    EXPECT_EQ(TwipsToPixels(2640, 144), 264);
    EXPECT_EQ(TwipsToPixels(285, 120), 24);  // 23.75 rounds up, not down
    EXPECT_EQ(TwipsToPixels(0, 192), 0);

    WindowUnderTest w;
    QWidget* client = w.window->centralWidget();
    if (client->logicalDpiX() != 96 || client->logicalDpiY() != 96) {
        GTEST_SKIP() << "the screen is not at 96 dpi";
    }
    EXPECT_EQ(client->size(), QSize(339, 446));
    EXPECT_EQ(w.c().txtTage->geometry(), QRect(176, 24, 153, 19));
    EXPECT_EQ(w.c().Command4->geometry(), QRect(112, 384, 113, 25));
    EXPECT_EQ(w.c().LabelStatus->geometry(), QRect(168, 416, 161, 25));
    EXPECT_EQ(w.c().Line1->geometry().center().x(), 160);
    // The window cannot be resized away from its design.
    EXPECT_EQ(w.window->minimumSize(), w.window->maximumSize());
}

TEST(MainWindowStart, CaptionsFitTheirDesignedBoxes) {
    WindowUnderTest w;
    // The wrapped heading and the status line are left out: they are not one-line captions.
    for (QLabel* label : w.window->findChildren<QLabel*>()) {
        if (label == w.c().Label6 || label == w.c().LabelStatus) continue;
        EXPECT_LE(label->sizeHint().width(), label->width()) << label->objectName().toStdString();
    }
    for (QCheckBox* box : {w.c().CheckIncludeDate, w.c().CheckOverWriteFile}) {
        EXPECT_LE(box->sizeHint().width(), box->width()) << box->objectName().toStdString();
        EXPECT_GE(box->font().pointSizeF(), 6.5);
    }
    EXPECT_EQ(w.c().CheckIncludeDate->font(), w.c().CheckOverWriteFile->font());
}

TEST(MainWindowStart, FocusStartsInDaysAndTabFollowsTheDesignedOrder) {
    WindowUnderTest w;
    EXPECT_EQ(w.window->focusWidget(), w.c().txtTage);
    if (QApplication::focusWidget() != w.c().txtTage) GTEST_SKIP() << "window did not get the focus";

    const QStringList expected = {
        "Combo1",           "txtDSN",          "txtTabelle",       "txtBenutzer",
        "txtPass",          "txtDelRecPerTrip", "txtDisplayStatusAfter", "Command1",
        "Command2",         "txtSeparateWith", "Command3",         "txtEscapeWith",
        "txtFilename",      "txtFileExtension", "Command4",        "txtFilePath",
        "CheckIncludeDate", "CheckOverWriteFile", "txtTage",
    };
    QStringList visited;
    for (int i = 0; i < expected.size(); ++i) {
        PressKey(Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        visited << (focus != nullptr ? focus->objectName() : QStringLiteral("(none)"));
    }
    EXPECT_EQ(visited, expected);
}

TEST(MainWindowStart, AccessKeysOfLabelsMoveTheFocusToTheFieldBelow) {
    WindowUnderTest w;
    if (QApplication::activeWindow() != w.window.get()) GTEST_SKIP() << "window is not active";
    const struct {
        Qt::Key key;
        const char* field;
    } keys[] = {{Qt::Key_S, "txtDSN"},      {Qt::Key_T, "txtTabelle"}, {Qt::Key_U, "txtBenutzer"},
                {Qt::Key_P, "txtPass"},     {Qt::Key_D, "txtTage"}};
    w.c().CheckOverWriteFile->setFocus();
    for (const auto& k : keys) {
        PressKey(k.key, Qt::AltModifier);
        QWidget* focus = QApplication::focusWidget();
        EXPECT_EQ(focus != nullptr ? focus->objectName() : QString(), k.field)
            << "Alt+" << QKeySequence(k.key).toString().toStdString();
    }
    EXPECT_EQ(w.services.endRequests, 0);
    PressKey(Qt::Key_Q, Qt::AltModifier);  // "&Quit" clicks after its pressed-look delay
    test::ProcessEventsFor(400);
    EXPECT_EQ(w.services.endRequests, 1);
}

TEST(MainWindowStart, MenuTreeCarriesNamesCaptionsAndOrder) {
    WindowUnderTest w;
    struct Item {
        QString name;
        QString caption;
        std::vector<Item> children;
    };
    const std::vector<Item> bar = {
        {"File", "&File", {{"Exit1", "E&xit", {}}}},
        {"Options", "&Options",
         {{"Language", "&Language",
           {{"German", "&Deutsch", {}}, {"English", "&English", {}}, {"French", "&Français", {}}}}}},
        {"Help1", "&Help",
         {{"About", "&About Sorvane", {}},
          {"RequestSupport", "&Request Support", {}},
          {"OrmistelMainPage", "&Ormistel Main Page", {}},
          {"ProductAnnouncementLists", "&Product Announcement Lists", {}},
          {"SupportForums", "&Support Forums", {}},
          {"Manpage", "&Manpage", {}}}},
    };
    std::function<void(const QList<QAction*>&, const std::vector<Item>&)> check =
        [&](const QList<QAction*>& actions, const std::vector<Item>& items) {
            ASSERT_EQ(actions.size(), static_cast<qsizetype>(items.size()));
            for (std::size_t i = 0; i < items.size(); ++i) {
                QAction* action = actions[static_cast<qsizetype>(i)];
                const Item& item = items[i];
                EXPECT_EQ(action->objectName(), item.name);
                EXPECT_EQ(action->text(), item.caption);
                EXPECT_TRUE(action->isEnabled() && action->isVisible()) << item.name.toStdString();
                EXPECT_FALSE(action->isCheckable()) << item.name.toStdString();
                EXPECT_TRUE(action->shortcut().isEmpty()) << item.name.toStdString();
                if (!item.children.empty()) {
                    ASSERT_NE(action->menu(), nullptr) << item.name.toStdString();
                    EXPECT_EQ(action->menu()->objectName(), item.name);
                    check(action->menu()->actions(), item.children);
                }
            }
        };
    check(w.window->menuBar()->actions(), bar);
    EXPECT_EQ(w.window->ExitAction(), Find<QAction>(*w.window, "Exit1"));
}

}  // namespace
}  // namespace sorvane

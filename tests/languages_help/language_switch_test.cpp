// Options > Language: only the table's texts change, the About box follows, a
// German run speaks German, and the hidden About box left behind ends with us.

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <map>

#include "languages_help/language_table.h"
#include "languages_help/message_boxes.h"
#include "mainwindow/window_test_support.h"

namespace sorvane {
namespace {

// Every visible text by object name; a menu's title under its name + "(menu)".
std::map<QString, QString> CollectTexts(MainWindow& window) {
    std::map<QString, QString> texts{{"(window title)", window.windowTitle()}};
    for (auto* label : window.findChildren<QLabel*>()) texts[label->objectName()] = label->text();
    for (auto* button : window.findChildren<QAbstractButton*>()) texts[button->objectName()] = button->text();
    for (auto* action : window.findChildren<QAction*>()) {
        if (!action->objectName().isEmpty()) texts[action->objectName()] = action->text();
    }
    for (auto* menu : window.findChildren<QMenu*>()) texts[menu->objectName() + "(menu)"] = menu->title();
    for (auto* combo : window.findChildren<QComboBox*>()) {
        for (int i = 0; i < combo->count(); ++i) texts[combo->objectName() + QString::number(i)] = combo->itemText(i);
    }
    for (const MessageTranslation& m : kMessageTexts) {
        texts["(message)" + QString::number(&m - kMessageTexts)] = window.MessageTexts().*m.message;
    }
    return texts;
}

void Choose(MainWindow& window, QAction* WindowMenus::*item) { (window.Menus().*item)->trigger(); }

struct LanguageCase {
    const char* name;
    QAction* WindowMenus::*item;
    Language language;
    const char* label3;  // written out so that a slip in the table itself shows
};

class LanguageSwitch : public ::testing::TestWithParam<LanguageCase> {
protected:
    test::WindowUnderTest w_;
};

TEST_P(LanguageSwitch, RewritesTheTableAloneAndEnglishRestoresTheStart) {
    const LanguageCase& c = GetParam();
    MainWindow& window = *w_.window;
    const auto start = CollectTexts(window);
    Choose(window, c.item);

    auto expected = start;
    for (const CaptionTranslation& caption : kWindowCaptions) {
        const QString name = CaptionObject(caption.target, window.Controls(), window.Menus())->objectName();
        expected[name] = caption.texts.In(c.language);
        if (expected.count(name + "(menu)")) expected[name + "(menu)"] = caption.texts.In(c.language);
    }
    for (const MessageTranslation& m : kMessageTexts) {
        expected["(message)" + QString::number(&m - kMessageTexts)] = m.texts.In(c.language);
    }
    EXPECT_EQ(CollectTexts(window), expected);
    EXPECT_EQ(window.Controls().Label3->text(), QString::fromUtf8(c.label3));

    // The hidden box the switch leaves behind, and one opened after it, both
    // speak the new language.
    AboutBox& about = window.LanguagesHelp().About();
    for (int box = 0; box < 2; ++box) {
        ASSERT_NE(about.Existing(), nullptr);
        EXPECT_EQ(about.Existing()->isVisible(), box == 1);
        EXPECT_EQ(about.Existing()->windowTitle(), kAboutCaption.In(c.language));
        EXPECT_EQ(about.Existing()->findChild<QLabel*>("lblMoreInformationAt")->text(),
                  kAboutMoreInformationAt.In(c.language));
        delete about.Existing();
        Choose(window, &WindowMenus::About);
    }

    Choose(window, &WindowMenus::English);
    EXPECT_EQ(CollectTexts(window), start);
    EXPECT_EQ(about.Existing()->windowTitle(), "About Sorvane");
}

INSTANTIATE_TEST_SUITE_P(EachLanguage, LanguageSwitch,
                         ::testing::Values(LanguageCase{"English", &WindowMenus::English, Language::English, "&Days :"},
                                           LanguageCase{"French", &WindowMenus::French, Language::French, "&Jours :"},
                                           LanguageCase{"German", &WindowMenus::German, Language::German, "&Tage :"}),
                         [](const auto& info) { return std::string(info.param.name); });

// The Days "0" question in German, its Yes and No included (the toolkit's
// own texts), and the fields' right-click menu; English removes them again.
TEST(ToolkitTexts, FollowTheLanguageAndEnglishRemovesThem) {
    test::WindowUnderTest w;
    w.services.answerYes = false;
    const auto shown = [&] {
        w.c().Command1->click();  // Days is "0": asks, and No starts no run
        const auto& question = w.services.questions.back();
        const auto box = MakeQuestionBox(w.window.get(), question.prompt, question.title);
        const std::unique_ptr<QMenu> menu(w.c().txtDSN->createStandardContextMenu());
        return QStringList{question.prompt, question.title, box->button(QMessageBox::Yes)->text(),
                           box->button(QMessageBox::No)->text(), menu->actions().at(0)->text().section('\t', 0, 0)};
    };
    Choose(*w.window, &WindowMenus::German);
    EXPECT_EQ(shown(), QStringList({"Wollen sie wirklich die gesamte Datenbank leeren ?", "WARNUNG!", "&Ja",
                                    "&Nein", "&Rückgängig"}));
    Choose(*w.window, &WindowMenus::French);
    EXPECT_EQ(shown().mid(2), QStringList({"&Oui", "&Non", "&Annuler"}));
    Choose(*w.window, &WindowMenus::English);
    EXPECT_EQ(shown().mid(2), QStringList({"&Yes", "&No", "&Undo"}));
}

TEST(ProgramLifetime, EndsWithTheMainWindowAfterASwitchUnlessTheAboutBoxIsOpen) {
    for (const bool aboutOpen : {false, true}) {
        test::WindowUnderTest w;
        // Windows other tests left on screen would keep the program running.
        for (QWidget* widget : QApplication::topLevelWidgets()) widget->setVisible(widget == w.window.get());
        Choose(*w.window, &WindowMenus::German);
        if (aboutOpen) Choose(*w.window, &WindowMenus::About);
        bool closedAboutLater = false;
        QTimer::singleShot(0, [&] { w.window->close(); });
        QTimer::singleShot(300, w.window.get(), [&] {
            closedAboutLater = true;
            w.window->LanguagesHelp().About().Existing()->close();
        });
        QTimer::singleShot(5000, w.window.get(), [] { QCoreApplication::exit(99); });  // still running
        EXPECT_NE(QApplication::exec(), 99);
        EXPECT_EQ(closedAboutLater, aboutOpen);
        Choose(*w.window, &WindowMenus::English);
    }
}

}  // namespace
}  // namespace sorvane

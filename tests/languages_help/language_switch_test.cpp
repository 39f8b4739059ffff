// Options > Language on the real main window: every text of the language
// table changes, nothing else does, English restores the start, the About box
// follows, and no item gets a check mark.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <map>
#include <set>

#include "languages_help/about_box.h"
#include "languages_help/help_test_support.h"
#include "languages_help/language_table.h"
#include "mainwindow/window_test_support.h"

namespace sorvane {
namespace {

using Texts = std::map<QString, QString>;

// Every visible text of the window by object name (menus by their title, so
// a menu and the action that opens it share one entry).
Texts CollectTexts(QWidget& window) {
    Texts texts;
    texts[QStringLiteral("(window title)")] = window.windowTitle();
    for (auto* label : window.findChildren<QLabel*>()) texts[label->objectName()] = label->text();
    for (auto* button : window.findChildren<QAbstractButton*>()) texts[button->objectName()] = button->text();
    for (auto* action : window.findChildren<QAction*>()) {
        if (!action->objectName().isEmpty()) texts[action->objectName()] = action->text();
    }
    for (auto* menu : window.findChildren<QMenu*>()) texts[menu->objectName() + "(menu)"] = menu->title();
    for (auto* combo : window.findChildren<QComboBox*>()) {
        for (int i = 0; i < combo->count(); ++i) texts[combo->objectName() + QString::number(i)] = combo->itemText(i);
    }
    return texts;
}

std::vector<QString> Messages(const WindowMessageTexts& m) {
    return {m.msgDeleting,      m.msgDone,        m.msgNumbersOnly, m.msgDeletedPrefix,
            m.msgDeletedSuffix, m.msgDropWarning, m.msgWarningTitle};
}

void Choose(QWidget& window, const char* languageItem) {
    QAction* item = window.findChild<QAction*>(QString::fromLatin1(languageItem));
    ASSERT_NE(item, nullptr) << languageItem;
    item->trigger();
}

void ExpectNoCheckMarks(QWidget& window) {
    for (const char* name : {"German", "English", "French"}) {
        QAction* item = window.findChild<QAction*>(QString::fromLatin1(name));
        ASSERT_NE(item, nullptr);
        EXPECT_FALSE(item->isCheckable()) << name;
        EXPECT_FALSE(item->isChecked()) << name;
    }
}

// A few texts as the design fixes them, written out here so that a slip in
// the table itself is caught as well.
struct LanguageCase {
    const char* item;
    Language language;
    const char* label3;
    const char* command2;
    const char* fileMenu;
    const char* msgDeleting;
    const char* msgNumbersOnly;
    const char* aboutItem;
    const char* aboutCaption;
    const char* moreInformationAt;
};

const LanguageCase kCases[] = {
    {"English", Language::English, "&Days :", "&Quit", "&File", "Deleting . . . ",
     "Please type only numbers in the \"Days\" field", "&About Sorvane", "About Sorvane", "More Information at"},
    {"French", Language::French, "&Jours :", "&Quittez", "&Dossier", "Rayant . . . ",
     "Veuillez dactylographier seulement les nombres en \" Jours \" champ.", "&Au sujet de Sorvane",
     "Au sujet de Sorvane", "Plus d'information à"},
    {"German", Language::German, "&Tage :", "Sch&liessen", "&Datei", "Lösche . . . ",
     "Bitte nur Zahlen im Feld \"Tage\" verwenden.", "&Über Sorvane", "Über Sorvane", "Mehr Informationen auf"},
};

void PrintTo(const LanguageCase& c, std::ostream* out) { *out << c.item; }

class LanguageSwitch : public ::testing::TestWithParam<LanguageCase> {
protected:
    void SetUp() override { test::DestroyHelpWindows(); }
    void TearDown() override {
        // The About box keeps the last language for a box created later.
        SetAboutLanguageTexts(kAboutCaption.In(Language::English), kAboutMoreInformationAt.In(Language::English));
        test::DestroyHelpWindows();
    }

    test::WindowUnderTest w_;
};

TEST_P(LanguageSwitch, RewritesExactlyTheTableAndTheAboutBox) {
    const LanguageCase& c = GetParam();
    QWidget& window = *w_.window;
    const Texts before = CollectTexts(window);

    Choose(window, c.item);

    const Texts after = CollectTexts(window);
    std::set<QString> tableNames;
    for (const CaptionTranslation& caption : kWindowCaptions) {
        const QString name = QString::fromLatin1(caption.objectName);
        tableNames.insert(name);
        tableNames.insert(name + "(menu)");
        ASSERT_TRUE(after.count(name)) << caption.objectName << " is not in the window";
        EXPECT_EQ(after.at(name), caption.texts.In(c.language)) << caption.objectName;
    }
    for (const auto& [name, text] : after) {
        if (!tableNames.count(name)) {
            EXPECT_EQ(text, before.at(name)) << qPrintable(name) << " changed";
        }
    }

    EXPECT_EQ(after.at("Label3"), QString::fromUtf8(c.label3));
    EXPECT_EQ(after.at("Label2"), "D&SN :");
    EXPECT_EQ(after.at("Command2"), QString::fromUtf8(c.command2));
    EXPECT_EQ(after.at("File(menu)"), QString::fromUtf8(c.fileMenu));
    EXPECT_EQ(after.at("About"), QString::fromUtf8(c.aboutItem));
    EXPECT_EQ(after.at("Command3"), "Backup");

    const WindowMessageTexts& messages = w_.window->MessageTexts();
    const std::vector<QString> written = Messages(messages);
    for (std::size_t i = 0; i < std::size(kMessageTexts); ++i) {
        EXPECT_EQ(written[i], kMessageTexts[i].texts.In(c.language)) << "message " << i;
    }
    EXPECT_EQ(messages.msgDeleting, QString::fromUtf8(c.msgDeleting));
    EXPECT_EQ(messages.msgNumbersOnly, QString::fromUtf8(c.msgNumbersOnly));

    // The switch leaves the About box behind, hidden, in the new language.
    QDialog* about = ExistingAboutBox();
    ASSERT_NE(about, nullptr);
    EXPECT_FALSE(about->isVisible());
    EXPECT_EQ(about->windowTitle(), QString::fromUtf8(c.aboutCaption));
    EXPECT_EQ(about->findChild<QLabel*>("lblMoreInformationAt")->text(), QString::fromUtf8(c.moreInformationAt));
    EXPECT_EQ(about->findChild<QLabel*>("lblVersion")->text(), "Client Version 1.4");

    ExpectNoCheckMarks(window);
}

TEST_P(LanguageSwitch, EnglishAfterwardsRestoresTheStart) {
    QWidget& window = *w_.window;
    const Texts start = CollectTexts(window);
    const std::vector<QString> startMessages = Messages(w_.window->MessageTexts());

    Choose(window, GetParam().item);
    Choose(window, GetParam().item);  // the same language again changes nothing
    Choose(window, "English");

    EXPECT_EQ(CollectTexts(window), start);
    EXPECT_EQ(Messages(w_.window->MessageTexts()), startMessages);
    EXPECT_EQ(ExistingAboutBox()->windowTitle(), "About Sorvane");
    ExpectNoCheckMarks(window);
}

TEST_P(LanguageSwitch, AboutBoxOpenedLaterShowsTheLastLanguage) {
    const LanguageCase& c = GetParam();
    QWidget& window = *w_.window;
    QAction* aboutItem = window.findChild<QAction*>("About");
    ASSERT_NE(aboutItem, nullptr);

    // Switched while open, then closed and opened anew.
    aboutItem->trigger();
    Choose(window, c.item);
    EXPECT_TRUE(ExistingAboutBox()->isVisible());
    EXPECT_EQ(ExistingAboutBox()->windowTitle(), QString::fromUtf8(c.aboutCaption));
    ExistingAboutBox()->findChild<QAbstractButton*>("cmdOK")->click();
    test::RunPendingDeletes();
    ASSERT_EQ(ExistingAboutBox(), nullptr);

    aboutItem->trigger();
    QDialog* about = ExistingAboutBox();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(about->windowTitle(), QString::fromUtf8(c.aboutCaption));
    EXPECT_EQ(about->findChild<QLabel*>("lblMoreInformationAt")->text(), QString::fromUtf8(c.moreInformationAt));
    Choose(window, "English");
}

INSTANTIATE_TEST_SUITE_P(EachLanguage, LanguageSwitch, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.item); });

}  // namespace
}  // namespace sorvane

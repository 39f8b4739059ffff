#include "languages_help/language_switch.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QWidget>
#include <QtGlobal>

#include "languages_help/about_box.h"
#include "languages_help/window_message_texts.h"

namespace sorvane {

namespace {

// A menu's title is also the text of the action that opens it, so a menu is
// found whether its name sits on the QMenu or on that action.
bool SetCaption(QWidget& mainWindow, const char* objectName, const QString& caption) {
    const QString name = QString::fromLatin1(objectName);
    if (auto* menu = mainWindow.findChild<QMenu*>(name)) {
        menu->setTitle(caption);
        return true;
    }
    if (auto* action = mainWindow.findChild<QAction*>(name)) {
        action->setText(caption);
        return true;
    }
    if (auto* label = mainWindow.findChild<QLabel*>(name)) {
        label->setText(caption);
        return true;
    }
    if (auto* button = mainWindow.findChild<QAbstractButton*>(name)) {
        button->setText(caption);
        return true;
    }
    return false;
}

}  // namespace

void SwitchLanguage(QWidget& mainWindow, WindowMessageTexts& texts, Language language) {
    for (const CaptionTranslation& caption : kWindowCaptions) {
        if (!SetCaption(mainWindow, caption.objectName, caption.texts.In(language))) {
            qWarning("Language switch: the main window has no control named %s", caption.objectName);
        }
    }
    for (const MessageTranslation& message : kMessageTexts) texts.*message.message = message.texts.In(language);
    SetAboutLanguageTexts(kAboutCaption.In(language), kAboutMoreInformationAt.In(language));
}

void English_Click(QWidget& mainWindow, WindowMessageTexts& texts) {
    SwitchLanguage(mainWindow, texts, Language::English);
}

void French_Click(QWidget& mainWindow, WindowMessageTexts& texts) {
    SwitchLanguage(mainWindow, texts, Language::French);
}

void German_Click(QWidget& mainWindow, WindowMessageTexts& texts) {
    SwitchLanguage(mainWindow, texts, Language::German);
}

}  // namespace sorvane

// The real message boxes: title, buttons, no icon, the default button, and
// the answer they return.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "mainwindow/window_services.h"

namespace sorvane {
namespace {

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::Warning;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

// Looks at the modal box once it is open and presses `press` on it.
void AnswerNextBox(SeenBox& seen, QMessageBox::StandardButton press) {
    QTimer::singleShot(0, [&seen, press] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return;
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.buttons = box->standardButtons();
        seen.defaultButton = box->standardButton(box->defaultButton());
        box->button(press)->click();
    });
}

TEST(ToolkitWindowServices, QuestionBoxHasYesAndNoWithoutIconAndReturnsTheAnswer) {
    ToolkitWindowServices services;
    for (const auto answer : {QMessageBox::Yes, QMessageBox::No}) {
        SeenBox seen;
        AnswerNextBox(seen, answer);
        const bool yes = services.AskYesNo(nullptr, "Drop everything ?", "WARNING!");
        EXPECT_EQ(yes, answer == QMessageBox::Yes);
        EXPECT_EQ(seen.title, "WARNING!");
        EXPECT_EQ(seen.text, "Drop everything ?");
        EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
        EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
        EXPECT_EQ(seen.defaultButton, QMessageBox::Yes);
    }
}

TEST(ToolkitWindowServices, MessageBoxIsTitledSorvaneWithOkOnly) {
    ToolkitWindowServices services;
    SeenBox seen;
    AnswerNextBox(seen, QMessageBox::Ok);
    services.ShowMessage(nullptr, "No Data is available");
    EXPECT_EQ(seen.title, "Sorvane");
    EXPECT_EQ(seen.text, "No Data is available");
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    EXPECT_EQ(seen.buttons, QMessageBox::Ok);
}

}  // namespace
}  // namespace sorvane

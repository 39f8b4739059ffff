// Every text of the windows and message boxes, in each language, drawn whole
// inside its control: font metrics of the control's own font, wrapped where
// the control wraps. Run once more at QT_SCALE_FACTOR=1.5 (see CMakeLists).

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>

#include "languages_help/message_boxes.h"
#include "mainwindow/status_tick.h"
#include "mainwindow/window_test_support.h"

namespace sorvane {
namespace {

// Room a text keeps from its window's edges and from a button's frame.
constexpr double kWindowMargin = 4;
constexpr double kButtonPadding = 3;

struct DrawnText {
    QRectF text;  // where it is drawn, in the control's coordinates
    QRectF room;  // where it may be drawn
};

DrawnText Draw(const QWidget& control, const QRectF& room, int flags, const QString& text) {
    return {QFontMetricsF(control.font(), &control).boundingRect(room, flags, text), room};
}

std::optional<DrawnText> Drawn(const QWidget& control) {
    const QStyle& style = *control.style();
    QStyleOptionButton button;
    button.initFrom(&control);
    button.text = control.property("text").toString();
    if (const auto* label = qobject_cast<const QLabel*>(&control); label && !label->text().isEmpty()) {
        const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0) |
                          (label->buddy() ? Qt::TextShowMnemonic : 0);
        return Draw(control, label->contentsRect(), flags, label->text());
    }
    if (qobject_cast<const QCheckBox*>(&control)) {
        return Draw(control, style.subElementRect(QStyle::SE_CheckBoxContents, &button, &control),
                    Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, button.text);
    }
    if (qobject_cast<const QPushButton*>(&control)) {
        const QRectF contents = style.subElementRect(QStyle::SE_PushButtonContents, &button, &control);
        return Draw(control, contents.adjusted(kButtonPadding, 0, -kButtonPadding, 0),
                    Qt::AlignCenter | Qt::TextShowMnemonic, button.text);
    }
    return std::nullopt;
}

bool Inside(const QRectF& room, const QRectF& text) { return room.adjusted(-0.01, -0.01, 0.01, 0.01).contains(text); }

// One line per text of `top` and its children that is cut off or too near
// the window's edge.
QStringList Unfit(const QWidget& top) {
    QStringList unfit;
    const auto check = [&](const QWidget& control, const QString& text, const DrawnText& drawn) {
        const QWidget& window = *control.window();
        const QRectF inWindow = drawn.text.translated(control.mapTo(&window, QPoint(0, 0)));
        const QRectF windowRoom = QRectF(window.rect()).adjusted(kWindowMargin, kWindowMargin, -kWindowMargin,
                                                                 -kWindowMargin);
        if (Inside(drawn.room, drawn.text) && Inside(windowRoom, inWindow)) return;
        QDebug(&unfit.emplace_back()) << control.objectName() << text << drawn.text << "in" << drawn.room
                                      << "window" << window.size();
    };
    for (const QWidget* control : top.findChildren<QWidget*>()) {
        if (!control->isVisibleTo(&top)) continue;
        if (const std::optional<DrawnText> drawn = Drawn(*control)) {
            check(*control, control->property("text").toString(), *drawn);
        }
        if (const auto* combo = qobject_cast<const QComboBox*>(control)) {
            QStyleOptionComboBox option;
            option.initFrom(combo);
            const QRect field =
                combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
            for (int i = 0; i < combo->count(); ++i) {
                check(*combo, combo->itemText(i), Draw(*combo, field, Qt::AlignVCenter, combo->itemText(i)));
            }
        }
    }
    return unfit;
}

// No caption drawn over another control, and captions in one size: only the
// heading and the status line have fonts of their own.
TEST(MainWindowLayout, CaptionsClearOfOtherControlsAndInOneSize) {
    test::WindowUnderTest w;
    const QWidget& client = *w.window->centralWidget();
    const QList<QWidget*> controls = client.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (const QWidget* a : controls) {
        const std::optional<DrawnText> drawn = Drawn(*a);
        for (const QWidget* b : controls) {
            EXPECT_TRUE(a == b || !drawn || !drawn->text.translated(a->pos()).intersects(b->geometry()))
                << a->objectName().toStdString() << " on " << b->objectName().toStdString();
        }
        if (a != w.c().Label6 && a != w.c().LabelStatus) {
            EXPECT_EQ(a->font().pointSizeF(), client.font().pointSizeF()) << a->objectName().toStdString();
        }
    }
}

class TextsFit : public ::testing::TestWithParam<QAction* WindowMenus::*> {
protected:
    void SetUp() override {
        ASSERT_EQ(QFontInfo(QApplication::font()).family(), "DejaVu Sans") << "fonts-dejavu-core is needed";
        (w_.window->Menus().*GetParam())->trigger();
    }
    test::WindowUnderTest w_;
};

TEST_P(TextsFit, MainWindowAboutBoxAndStatusLine) {
    QDialog& about = w_.window->LanguagesHelp().About().Box();
    about.show();
    QStringList unfit = Unfit(*w_.window) + Unfit(about);
    // What a run writes into the status line: the start, the progress after
    // each batch, the timer's tick and the end of a run of ten million rows.
    for (const QString& text : {w_.window->MessageTexts().msgDeleting, QString("Deleted records no:  10000000"),
                                StatusTickText(10000000), QString("Deleted  10000000 records in 10:00:21")}) {
        w_.c().LabelStatus->setText(text);
        unfit += Unfit(*w_.window);
    }
    EXPECT_EQ(unfit.join("\n").toStdString(), "");
}

// A box narrower than its title gets the title cut down to a few letters by
// the window manager. The title bar's font is the manager's: bold in the
// box's font stands in for it, beside room for the frame's buttons.
TEST_P(TextsFit, MessageBoxesAndTheirTitles) {
    constexpr int kTitleBarButtons = 80;
    const WindowMessageTexts& texts = w_.window->MessageTexts();
    std::vector<std::unique_ptr<QMessageBox>> boxes;
    boxes.push_back(MakeQuestionBox(w_.window.get(), texts.msgDropWarning, texts.msgWarningTitle));
    for (const char* text : {"Overflow", "No Data is available", "Deleting successful", "Backup was successful",
                             "Error 2 opening support.sorvane.example/tools/SupportRequest.asp?PellrowClient=1"}) {
        boxes.push_back(MakeMessageBox(w_.window.get(), text, MessageIcon::None));
    }
    boxes.push_back(MakeMessageBox(w_.window.get(), texts.msgNumbersOnly, MessageIcon::None));
    for (const auto& box : boxes) {
        box->show();
        QApplication::processEvents();
        EXPECT_EQ(Unfit(*box).join("\n").toStdString(), "");
        QFont titleFont = box->font();
        titleFont.setBold(true);
        EXPECT_GE(box->width(), QFontMetrics(titleFont).horizontalAdvance(box->windowTitle()) + kTitleBarButtons)
            << box->text().toStdString();
    }
}

constexpr const char* kLanguageNames[] = {"English", "French", "German"};
INSTANTIATE_TEST_SUITE_P(EachLanguage, TextsFit,
                         ::testing::Values(&WindowMenus::English, &WindowMenus::French, &WindowMenus::German),
                         [](const auto& info) { return std::string(kLanguageNames[info.index]); });

}  // namespace
}  // namespace sorvane

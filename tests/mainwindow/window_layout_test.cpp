// Every text of the windows and message boxes, in each language, drawn whole
// inside its control: font metrics of the control's own font, wrapped where
// the control wraps. Run once more at QT_SCALE_FACTOR=1.5 (see CMakeLists).

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>

#include "languages_help/language_table.h"
#include "languages_help/message_boxes.h"
#include "mainwindow/status_tick.h"
#include "mainwindow/window_test_support.h"

namespace sorvane {
namespace {

// Room a text keeps from the edges of its window, and from a button's frame.
constexpr double kWindowMargin = 4;
constexpr double kButtonPadding = 3;

// Where the text of `widget` is drawn, in the widget's coordinates, and the
// room it may take; empty when the widget shows no text.
struct DrawnText {
    QRectF text;
    QRectF room;
};

QRectF TextRect(const QWidget& widget, const QRectF& room, int flags, const QString& text) {
    return QFontMetricsF(widget.font(), &widget).boundingRect(room, flags, text);
}

std::optional<DrawnText> Drawn(const QWidget& widget) {
    const QStyle& style = *widget.style();
    if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
        if (label->text().isEmpty()) return std::nullopt;
        const QRectF room = label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(),
                                                           -label->margin());
        const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0) |
                          (label->buddy() ? Qt::TextShowMnemonic : 0);
        return DrawnText{TextRect(widget, room, flags, label->text()), room};
    }
    if (const auto* box = qobject_cast<const QCheckBox*>(&widget)) {
        QStyleOptionButton option;
        option.initFrom(box);
        option.text = box->text();
        const QRectF room = style.subElementRect(QStyle::SE_CheckBoxContents, &option, box);
        return DrawnText{TextRect(widget, room, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic,
                                  box->text()), room};
    }
    if (const auto* button = qobject_cast<const QPushButton*>(&widget)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QRectF room = QRectF(style.subElementRect(QStyle::SE_PushButtonContents, &option, button))
                                .adjusted(kButtonPadding, 0, -kButtonPadding, 0);
        return DrawnText{TextRect(widget, room, Qt::AlignCenter | Qt::TextShowMnemonic, button->text()), room};
    }
    return std::nullopt;
}

// One line per text that does not fit: where, which text, and by how much.
class FitCheck {
public:
    explicit FitCheck(QString where) : where_(std::move(where)) {}

    void Widget(const QWidget& widget) {
        const std::optional<DrawnText> drawn = Drawn(widget);
        if (!drawn) return;
        const QString text = widget.property("text").toString();
        if (!Contains(drawn->room, drawn->text)) Fail(widget, text, drawn->text, drawn->room);
        // Inside the window too, a little away from its edges.
        const QWidget& window = *widget.window();
        const QRectF inWindow = drawn->text.translated(widget.mapTo(&window, QPoint(0, 0)));
        const QRectF windowRoom = QRectF(window.rect()).adjusted(kWindowMargin, kWindowMargin, -kWindowMargin,
                                                                 -kWindowMargin);
        if (!Contains(windowRoom, inWindow)) Fail(widget, text + " (window edge)", inWindow, windowRoom);
    }

    void Combo(const QComboBox& combo) {
        QStyleOptionComboBox option;
        option.initFrom(&combo);
        option.frame = true;
        const QRect room = combo.style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField,
                                                         &combo);
        for (int i = 0; i < combo.count(); ++i) {
            const QRectF text = TextRect(combo, room, Qt::AlignLeft | Qt::AlignVCenter, combo.itemText(i));
            if (!Contains(room, text)) Fail(combo, combo.itemText(i), text, room);
        }
    }

    // Every text in `top` and its children.
    void Tree(const QWidget& top) {
        for (const QWidget* child : top.findChildren<QWidget*>()) {
            if (!child->isVisibleTo(&top)) continue;
            if (const auto* combo = qobject_cast<const QComboBox*>(child)) Combo(*combo);
            Widget(*child);
        }
    }

    const QStringList& Failures() const { return failures_; }

private:
    static bool Contains(const QRectF& room, const QRectF& text) {
        return room.adjusted(-0.01, -0.01, 0.01, 0.01).contains(text);
    }
    void Fail(const QWidget& widget, const QString& text, const QRectF& drawn, const QRectF& room) {
        failures_ << QStringLiteral("%1 %2 \"%3\": text %4,%5 %6x%7 in %8,%9 %10x%11")
                         .arg(where_, widget.objectName(), text)
                         .arg(drawn.x()).arg(drawn.y()).arg(drawn.width()).arg(drawn.height())
                         .arg(room.x()).arg(room.y()).arg(room.width()).arg(room.height());
    }

    QString where_;
    QStringList failures_;
};

struct LanguageCase {
    const char* name;
    QAction* WindowMenus::*item;
};

class TextsFit : public ::testing::TestWithParam<LanguageCase> {
protected:
    void SetUp() override {
        ASSERT_EQ(QFontInfo(QApplication::font()).family(), "DejaVu Sans") << "fonts-dejavu-core is needed";
        (w_.window->Menus().*GetParam().item)->trigger();
    }
    void Expect(const FitCheck& check) { EXPECT_TRUE(check.Failures().isEmpty()) << check.Failures().join("\n").toStdString(); }

    test::WindowUnderTest w_;
};

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

TEST_P(TextsFit, MainWindowAndItsStatusLine) {
    FitCheck check(QString::fromLatin1(GetParam().name));
    check.Tree(*w_.window);
    // What a run writes into the status line: the start, the progress after
    // each batch, the timer's tick and the end of a run of ten million rows.
    QLabel& status = *w_.c().LabelStatus;
    for (const QString& text : {w_.window->MessageTexts().msgDeleting, QString("Deleted records no:  10000000"),
                                StatusTickText(10000000), QString("Deleted  10000000 records in 10:00:21")}) {
        status.setText(text);
        check.Widget(status);
    }
    Expect(check);
}

TEST_P(TextsFit, AboutBox) {
    QDialog& box = w_.window->LanguagesHelp().About().Box();
    box.show();
    FitCheck check(QString::fromLatin1(GetParam().name));
    check.Tree(box);
    Expect(check);
}

// The title must fit too: a box narrower than its title gets it cut down to a
// few letters by the window manager. Its font there is the manager's; bold in
// the box's font stands in for it, beside room for the frame's buttons.
TEST_P(TextsFit, MessageBoxes) {
    constexpr int kTitleBarButtons = 80;
    const WindowMessageTexts& texts = w_.window->MessageTexts();
    std::vector<std::unique_ptr<QMessageBox>> boxes;
    boxes.push_back(MakeQuestionBox(w_.window.get(), texts.msgDropWarning, texts.msgWarningTitle));
    for (const QString& text : {texts.msgNumbersOnly, QString("Overflow"), QString("No Data is available"),
                                QString("Deleting successful"), QString("Backup was successful"),
                                QString("Error 2 opening support.sorvane.example/tools/SupportRequest.asp?PellrowClient=1")}) {
        boxes.push_back(MakeMessageBox(w_.window.get(), text, MessageIcon::None));
    }
    FitCheck check(QString::fromLatin1(GetParam().name));
    for (const auto& box : boxes) {
        box->show();
        QApplication::processEvents();
        check.Tree(*box);
        QFont titleFont = box->font();
        titleFont.setBold(true);
        EXPECT_GE(box->width(), QFontMetrics(titleFont).horizontalAdvance(box->windowTitle()) + kTitleBarButtons)
            << box->text().toStdString();
        box->hide();
    }
    Expect(check);
}

INSTANTIATE_TEST_SUITE_P(EachLanguage, TextsFit,
                         ::testing::Values(LanguageCase{"English", &WindowMenus::English},
                                           LanguageCase{"French", &WindowMenus::French},
                                           LanguageCase{"German", &WindowMenus::German}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace sorvane

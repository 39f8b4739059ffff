#include "mainwindow/caption_fit.h"

#include <QCheckBox>
#include <QFontMetricsF>
#include <QLabel>
#include <QPushButton>
#include <QStyleOptionButton>
#include <algorithm>
#include <cmath>
#include <map>

#include "languages_help/language_table.h"
#include "languages_help/twips.h"
#include "mainwindow/form_controls.h"

namespace sorvane {

namespace {

// The design leaves 150 twips between the fields and the right edge; a
// caption keeps at least 120 twips from the rule between the columns.
constexpr int kRightMarginTwips = 150;
constexpr int kRuleGapTwips = 120;

int TextWidth(const QWidget& control, const QString& caption) {
    return static_cast<int>(
        std::ceil(QFontMetricsF(control.font(), &control).size(Qt::TextShowMnemonic, caption).width()));
}

// The width a control needs for its caption, beside what its style draws
// around the text.
int NeededWidth(const QWidget& control, const QString& caption) {
    if (const auto* button = qobject_cast<const QPushButton*>(&control)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = caption;
        const QRect contents = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        const int frame = button->width() - contents.width();
        return TextWidth(control, caption) + frame + button->style()->pixelMetric(QStyle::PM_ButtonMargin);
    }
    if (const auto* box = qobject_cast<const QCheckBox*>(&control)) {
        QStyleOptionButton option;
        option.initFrom(box);
        option.text = caption;
        const QRect contents = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
        return contents.x() + TextWidth(control, caption) + 1;
    }
    const auto* label = qobject_cast<const QLabel*>(&control);
    const int margins = label != nullptr ? 2 * label->margin() + label->contentsMargins().left() +
                                               label->contentsMargins().right()
                                         : 0;
    return TextWidth(control, caption) + margins;
}

QString CaptionOf(const QWidget& control) { return control.property("text").toString(); }

}  // namespace

void FitCaptionsOfEveryLanguage(QWidget& client, const FormControls& c) {
    // Every caption a control may show: its own and those of the languages.
    std::map<QWidget*, QStringList> captions;
    for (QWidget* control : client.findChildren<QWidget*>()) {
        if (qobject_cast<QLabel*>(control) || qobject_cast<QAbstractButton*>(control)) {
            captions[control] << CaptionOf(*control);
        }
    }
    for (const CaptionTranslation& caption : kWindowCaptions) {
        QWidget* control = nullptr;
        if (const auto* label = std::get_if<QLabel* CaptionedControls::*>(&caption.target)) control = c.**label;
        if (const auto* button = std::get_if<QPushButton* CaptionedControls::*>(&caption.target)) {
            control = c.**button;
        }
        if (control == nullptr) continue;
        for (int language = 0; language < kLanguageCount; ++language) {
            captions[control] << caption.texts.In(static_cast<Language>(language));
        }
    }

    for (const auto& [control, texts] : captions) {
        // Controls that wrap their text were designed for it.
        const auto* label = qobject_cast<QLabel*>(control);
        if (label != nullptr && label->wordWrap()) continue;
        int width = control->width();
        for (const QString& text : texts) width = std::max(width, NeededWidth(*control, text));
        control->resize(width, control->height());
    }

    // A left-column control that now reaches the rule between the columns
    // moves the rule and everything right of it further right.
    const int dpiX = client.logicalDpiX();
    const QRect rule = c.Line1->geometry();
    int leftColumnEnd = 0;
    for (const auto& [control, texts] : captions) {
        const QRect place = control->geometry();
        if (place.left() < rule.left() && place.top() < rule.bottom()) {
            leftColumnEnd = std::max(leftColumnEnd, place.right() + 1);
        }
    }
    const int shift = std::max(0, leftColumnEnd + TwipsToPixels(kRuleGapTwips, dpiX) - (rule.left() + 1));
    int rightmost = 0;
    for (QWidget* control : client.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (shift > 0 && control->x() >= rule.left()) control->move(control->x() + shift, control->y());
        rightmost = std::max(rightmost, control->geometry().right() + 1);
    }
    const int width = std::max(client.width(), rightmost + TwipsToPixels(kRightMarginTwips, dpiX));
    client.setFixedSize(width, client.height());
}

}  // namespace sorvane

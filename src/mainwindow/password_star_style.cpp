#include "mainwindow/password_star_style.h"

#include <QLineEdit>
#include <QProxyStyle>

namespace sorvane {

namespace {

// The mask character of a password field is a style hint; everything else is
// left to the application's style.
class StarPasswordStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter) return '*';
        if (hint == SH_LineEdit_PasswordMaskDelay) return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

}  // namespace

void UseStarPasswordEcho(QLineEdit& field) {
    // The widget does not own its style; parenting it to the field ties their
    // lifetimes together (the widget holds the style through a guarded pointer).
    auto* style = new StarPasswordStyle;
    style->setParent(&field);
    field.setStyle(style);
    field.setEchoMode(QLineEdit::Password);
}

}  // namespace sorvane

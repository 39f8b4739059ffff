#include "mainwindow/days_key_filter.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QString>

namespace sorvane {

std::optional<char16_t> TypedCharacterCode(const QKeyEvent& event) {
    const int key = event.key();
    switch (key) {
    case Qt::Key_Backspace: return u'\b';
    case Qt::Key_Return:
    case Qt::Key_Enter: return u'\r';
    case Qt::Key_Escape: return char16_t{27};
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete: return std::nullopt;  // focus movement and editing, not characters
    default: break;
    }
    // Ctrl+letter types a control character even where the platform leaves
    // the event's text empty; this is what cancels Ctrl+V, Ctrl+X and Ctrl+Z.
    const Qt::KeyboardModifiers mods = event.modifiers();
    if ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier) && key >= Qt::Key_A &&
        key <= Qt::Key_Z) {
        return static_cast<char16_t>(key - Qt::Key_A + 1);
    }
    const QString text = event.text();
    if (text.isEmpty()) return std::nullopt;
    return text.at(0).unicode();
}

bool IsAcceptedDaysCharacter(char16_t code) {
    return code == u'\b' || (code >= u'0' && code <= u'9');
}

bool DaysKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const std::optional<char16_t> code = TypedCharacterCode(*static_cast<QKeyEvent*>(event));
        if (code && !IsAcceptedDaysCharacter(*code)) return true;
    } else if (event->type() == QEvent::InputMethod) {
        // Characters composed by an input method are typed characters too.
        const QString committed = static_cast<QInputMethodEvent*>(event)->commitString();
        for (const QChar c : committed) {
            if (!IsAcceptedDaysCharacter(c.unicode())) return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace sorvane

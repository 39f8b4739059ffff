#pragma once
// The key filter of the Days field: typed characters other than the ten
// digits and backspace are cancelled. Keys that type no character (cursor
// movement, Tab, Delete) are not characters and pass; text pasted through the
// field's context menu is not typed and passes too.

#include <QObject>
#include <optional>

class QKeyEvent;

namespace sorvane {

// The character code a key press types, as a 16-bit code: printable text,
// or the control code of Enter (13), Escape (27), Backspace (8) and
// Ctrl+letter (1 to 26, so Ctrl+V is 22). No value for keys that type nothing.
std::optional<char16_t> TypedCharacterCode(const QKeyEvent& event);

// True for "1234567890" and backspace (8).
bool IsAcceptedDaysCharacter(char16_t code);

class DaysKeyFilter : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace sorvane

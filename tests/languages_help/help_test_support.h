#pragma once
// Helpers for the language, help and About tests: a catcher that answers the
// modal message boxes these parts open, a launcher that answers for the
// desktop, and clean-up of the program-wide windows between tests.

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <vector>

namespace sorvane::test {

struct SeenMessageBox {
    QString title;
    QString text;
    QMessageBox::Icon icon;
    QWidget* parent;
};

// While it lives, every modal message box that opens is recorded and closed
// with OK as soon as the event loop runs inside it.
class MessageBoxCatcher {
public:
    MessageBoxCatcher();
    const std::vector<SeenMessageBox>& Seen() const { return seen_; }

private:
    QTimer poll_;
    std::vector<SeenMessageBox> seen_;
};

// Answers for the desktop with a fixed result and records the addresses it
// was handed; the desktop launcher comes back when it goes.
class ScriptedLauncher {
public:
    explicit ScriptedLauncher(int result);
    ~ScriptedLauncher();
    ScriptedLauncher(const ScriptedLauncher&) = delete;
    ScriptedLauncher& operator=(const ScriptedLauncher&) = delete;

    QStringList addresses;

private:
    int result_;
};

// Destroys the About box and the manual-page window when they exist and runs
// pending deletions, so that each test starts without them.
void DestroyHelpWindows();

// Runs the deletions that deleteLater and close-with-delete have queued.
void RunPendingDeletes();

// Top-level widgets with this object name that still exist.
int CountTopLevels(const QString& objectName);

}  // namespace sorvane::test

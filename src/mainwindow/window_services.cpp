#include "mainwindow/window_services.h"

#include <cstdio>
#include <cstdlib>

#include "languages_help/desktop_launcher.h"
#include "languages_help/message_boxes.h"

namespace sorvane {

bool ToolkitWindowServices::AskYesNo(QWidget* parent, const QString& prompt, const QString& title) {
    return MakeQuestionBox(parent, prompt, title)->exec() == QMessageBox::Yes;
}

void ToolkitWindowServices::ShowMessage(QWidget* parent, const QString& text, MessageIcon icon) {
    MakeMessageBox(parent, text, icon)->exec();
}

int ToolkitWindowServices::OpenWebAddress(const QString& address) { return OpenWithDesktop(address); }

void ToolkitWindowServices::EndProgram() {
    // The end may be asked for from inside a purge run's yield, several event
    // loops deep: leaving the event loop would let the run go on. Every delete
    // is committed on its own and a batch is deleted only after its export, so
    // stopping between two events loses no row; the process stops here without
    // running window or exit handlers that could still touch the unfinished run.
    std::fflush(nullptr);
    std::_Exit(0);
}

}  // namespace sorvane

#include "mainwindow/window_services.h"

#include <QMessageBox>
#include <cstdio>
#include <cstdlib>

namespace sorvane {

QString ProgramTitle() { return QStringLiteral("Sorvane"); }

bool ToolkitWindowServices::AskYesNo(QWidget* parent, const QString& prompt, const QString& title) {
    QMessageBox box(QMessageBox::NoIcon, title, prompt, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void ToolkitWindowServices::ShowMessage(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, ProgramTitle(), text, QMessageBox::Ok, parent);
    box.exec();
}

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

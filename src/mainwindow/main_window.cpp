#include "mainwindow/main_window.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

#include "languages_help/languages_help.h"
#include "mainwindow/form_layout.h"
#include "mainwindow/form_menu.h"
#include "mainwindow/status_tick.h"
#include "mainwindow/window_services.h"
#include "common/reporting.h"

namespace sorvane {

MainWindow::MainWindow(WindowServices& services, QWidget* parent)
    : QMainWindow(parent), services_(services), host_(controls_, services, *this, runLog_) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(ProgramTitle());

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("clientArea"));
    controls_ = BuildFormControls(*client);
    setCentralWidget(client);
    exitAction_ = BuildFormMenu(*menuBar()).Exit1;
    // The controls do not follow the window's size, so the window keeps the
    // size of its menu bar and designed client area.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    connect(controls_.Command1, &QPushButton::clicked, this, [this] { RunCommand(kDeleteRun); });
    connect(controls_.Command3, &QPushButton::clicked, this, [this] { RunCommand(kBackupRun); });
    connect(controls_.Command4, &QPushButton::clicked, this,
            [this] { RunCommand(kBackupAndDeleteRun); });
    connect(controls_.Command2, &QPushButton::clicked, this, [this] { services_.EndProgram(); });
    connect(exitAction_, &QAction::triggered, this, [this] { services_.EndProgram(); });
    connect(controls_.timerDeleting, &QTimer::timeout, this, [this] { ShowStatusTick(); });

    LoadForm();
    AttachLanguagesAndHelp(*this, texts_);
}

void MainWindow::LoadForm() {
    controls_.LabelStatus->setText(QString());

    texts_.msgDeleting = QStringLiteral("Deleting . . . ");
    texts_.msgDone = QStringLiteral("Done.");
    texts_.msgNumbersOnly = QStringLiteral("Please type only numbers in the \"Days\" field");
    texts_.msgDeletedPrefix = QString();
    texts_.msgDeletedSuffix = QStringLiteral(" Data Records were deleted");
    texts_.msgDropWarning = QStringLiteral("This will drop the whole database, continue ?");
    texts_.msgWarningTitle = QStringLiteral("WARNING!");

    controls_.Combo1->setCurrentIndex(0);
    controls_.lblDelRecPerState->setText(QStringLiteral("Delete records per trip:"));
    controls_.lblDisplayStatusAfter->setText(QStringLiteral("Display Status after (sec):"));

    runLog_.WriteDebugLog("Application started");
}

void MainWindow::ShowStatusTick() {
    controls_.LabelStatus->setText(StatusTickText(host_.BatchCounter()));
}

}  // namespace sorvane

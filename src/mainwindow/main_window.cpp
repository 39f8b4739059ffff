#include "mainwindow/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

#include "mainwindow/form_layout.h"
#include "mainwindow/form_menu.h"
#include "mainwindow/status_tick.h"
#include "mainwindow/window_services.h"
#include "common/run_log.h"

namespace sorvane {

MainWindow::MainWindow(WindowServices& services, QWidget* parent)
    : QMainWindow(parent), services_(services), host_(controls_, services, *this, runLog_) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(ProgramTitle());

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("clientArea"));
    controls_ = BuildFormControls(*client);
    setCentralWidget(client);
    menus_ = BuildFormMenu(*menuBar());
    // The controls do not follow the window's size, so the window keeps the
    // size of its menu bar and designed client area.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    connect(controls_.Command1, &QPushButton::clicked, this, [this] { RunCommand(kDeleteRun); });
    connect(controls_.Command3, &QPushButton::clicked, this, [this] { RunCommand(kBackupRun); });
    connect(controls_.Command4, &QPushButton::clicked, this,
            [this] { RunCommand(kBackupAndDeleteRun); });
    connect(controls_.Command2, &QPushButton::clicked, this, [this] { services_.EndProgram(); });
    connect(menus_.Exit1, &QAction::triggered, this, [this] { services_.EndProgram(); });
    connect(controls_.timerDeleting, &QTimer::timeout, this, [this] { ShowStatusTick(); });

    LoadForm();
    languagesHelp_ = std::make_unique<LanguagesAndHelp>(*this, controls_, menus_, texts_, services_);
}

MainWindow::~MainWindow() = default;

void MainWindow::closeEvent(QCloseEvent* event) {
    // The close arrives while the run yields to the window. Letting the
    // window go while the run goes on would finish the purge unseen; ending
    // here stops it at that yield, as Quit does: between two batches, or
    // during a batch's backup, which is then not deleted.
    if (runUnderWay_) services_.EndProgram();
    QMainWindow::closeEvent(event);
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

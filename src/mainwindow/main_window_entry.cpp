#include "mainwindow/main_window_entry.h"

#include <QApplication>
#include <memory>

#include "mainwindow/main_window.h"
#include "mainwindow/window_services.h"

namespace sorvane {

int RunWindowApplication(int& argc, char** argv) {
    std::unique_ptr<QApplication> ownApplication;
    if (QApplication::instance() == nullptr) {
        ownApplication = std::make_unique<QApplication>(argc, argv);
    }
    QApplication::setApplicationName(QStringLiteral("Sorvane"));

    ToolkitWindowServices services;
    MainWindow window(services);
    window.show();
    return QApplication::exec();
}

}  // namespace sorvane

#include "languages_help/window_manual_page_sink.h"

#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <QString>
#include <QWidget>

#include "languages_help/display_probe.h"
#include "languages_help/manpage_window.h"

namespace sorvane {

namespace {

class WindowManualPageSink : public ManualPageSink {
public:
    explicit WindowManualPageSink(std::unique_ptr<QApplication> ownApplication)
        : ownApplication_(std::move(ownApplication)) {}

    void AppendLine(const std::string& line) override {
        // The first line creates the window, hidden; the text goes in at once
        // on Show, which is far quicker than line by line for a long page.
        manpage_->Window();
        pending_ += QString::fromLocal8Bit(line);
        pending_ += QStringLiteral("\r\n");
    }

    void Show() override {
        Flush();
        manpage_->Show();
    }

    void Yield() override { QCoreApplication::processEvents(); }

    void WaitUntilClosed() override {
        pending_.clear();
        QPointer<QWidget> window = manpage_->Existing();
        if (!window) return;
        // Filled but never shown (a failure while its text was being filled):
        // it keeps nothing running.
        if (!window->isVisible()) {
            delete window.data();
            return;
        }
        QEventLoop untilClosed;
        QObject::connect(window.data(), &QObject::destroyed, &untilClosed, &QEventLoop::quit);
        untilClosed.exec();
    }

private:
    void Flush() {
        if (pending_.isEmpty()) return;
        manpage_->AppendText(pending_);
        pending_.clear();
    }

    std::unique_ptr<QApplication> ownApplication_;
    // Declared after the application: the window cannot outlive the
    // application this sink may have created.
    std::unique_ptr<ManpageWindow> manpage_ = std::make_unique<ManpageWindow>();
    QString pending_;
};

}  // namespace

std::unique_ptr<ManualPageSink> MakeWindowManualPageSink(int& argc, char** argv) {
    if (QCoreApplication* existing = QCoreApplication::instance()) {
        if (!qobject_cast<QApplication*>(existing)) return nullptr;
        return std::make_unique<WindowManualPageSink>(nullptr);
    }
    if (!WindowPlatformStarts(argc, argv)) return nullptr;
    return std::make_unique<WindowManualPageSink>(std::make_unique<QApplication>(argc, argv));
}

}  // namespace sorvane

#include "languages_help/desktop_launcher.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QString>
#include <QTimer>

namespace sorvane {

namespace {

constexpr int kVerdictWaitMs = 5000;

}  // namespace

int OpenWithDesktop(const QString& address) {
    // Parented to the application: an opener that outlives this call must not
    // be killed when a local QProcess would go out of scope.
    auto* opener = new QProcess(QCoreApplication::instance());
    opener->setProgram(QStringLiteral("xdg-open"));
    opener->setArguments({address});
    opener->setProcessChannelMode(QProcess::ForwardedChannels);
    opener->start();
    if (!opener->waitForStarted()) {
        delete opener;
        return kOpenerNotFound;
    }

    if (opener->state() != QProcess::NotRunning) {
        QEventLoop waiting;
        QTimer deadline;
        deadline.setSingleShot(true);
        QObject::connect(&deadline, &QTimer::timeout, &waiting, &QEventLoop::quit);
        QObject::connect(opener, &QProcess::finished, &waiting, &QEventLoop::quit);
        deadline.start(kVerdictWaitMs);
        if (opener->state() != QProcess::NotRunning) waiting.exec();
    }
    if (opener->state() != QProcess::NotRunning) {
        QObject::connect(opener, &QProcess::finished, opener, &QObject::deleteLater);
        return kDesktopOpening;
    }

    const bool crashed = opener->exitStatus() == QProcess::CrashExit;
    const int exitCode = opener->exitCode();
    opener->deleteLater();
    if (crashed || exitCode > kOpenerFailedAtWorst || exitCode < 0) return kOpenerFailedAtWorst;
    return exitCode == 0 ? kDesktopOpening : exitCode;
}

}  // namespace sorvane

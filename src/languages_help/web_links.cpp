#include "languages_help/web_links.h"

#include <QMessageBox>
#include <QPointer>
#include <QString>

#include "languages_help/desktop_launcher.h"

namespace sorvane {

namespace {

constexpr int kHighestFailureCode = 32;

WebLauncher& ReplacementLauncher() {
    static WebLauncher launcher;
    return launcher;
}

}  // namespace

const WebLinkItem kHelpWebLinks[4] = {
    {"RequestSupport", kHttpsScheme, kSupportRequestAddress},
    {"OrmistelMainPage", kHttpScheme, kProductFamilyHost},
    {"ProductAnnouncementLists", kHttpScheme, kMailingListHost},
    {"SupportForums", kHttpScheme, kForumHost},
};

void SetWebLauncher(WebLauncher launcher) { ReplacementLauncher() = std::move(launcher); }

void OpenWebLink(const QString& scheme, const QString& storedAddress, QWidget* owner) {
    // The launcher may run the event loop while it waits for the desktop; the
    // owner can be closed meanwhile.
    const QPointer<QWidget> guardedOwner(owner);
    const WebLauncher launcher = ReplacementLauncher();
    const QString address = scheme + storedAddress;
    const int result = launcher ? launcher(address) : OpenWithDesktop(address);
    if (result > kHighestFailureCode) return;

    QMessageBox message(QMessageBox::Critical, QStringLiteral("Sorvane"),
                        QStringLiteral("Error %1 opening %2").arg(result).arg(storedAddress), QMessageBox::Ok,
                        guardedOwner.data());
    message.exec();
}

}  // namespace sorvane

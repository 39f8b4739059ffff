#include "languages_help/web_links.h"

#include <QPointer>
#include <QWidget>
#include <QString>

#include "languages_help/desktop_services.h"

namespace sorvane {

namespace {

constexpr int kHighestFailureCode = 32;

}  // namespace

const WebLinkItem kHelpWebLinks[4] = {
    {&WindowMenus::RequestSupport, kHttpsScheme, kSupportRequestAddress},
    {&WindowMenus::OrmistelMainPage, kHttpScheme, kProductFamilyHost},
    {&WindowMenus::ProductAnnouncementLists, kHttpScheme, kMailingListHost},
    {&WindowMenus::SupportForums, kHttpScheme, kForumHost},
};

void OpenWebLink(DesktopServices& services, const QString& scheme, const QString& storedAddress,
                 QWidget* owner) {
    // Opening may run the event loop while it waits for the desktop; the
    // owner can be closed meanwhile.
    const QPointer<QWidget> guardedOwner(owner);
    const int result = services.OpenWebAddress(scheme + storedAddress);
    if (result > kHighestFailureCode) return;
    services.ShowMessage(guardedOwner.data(), QStringLiteral("Error %1 opening %2").arg(result).arg(storedAddress),
                         MessageIcon::Critical);
}

}  // namespace sorvane

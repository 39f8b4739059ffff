#pragma once
// The web addresses of the Help menu and of the About box's web label, and
// the one way they are opened in the user's browser.

#include "languages_help/window_controls.h"

class QString;
class QWidget;

namespace sorvane {

class DesktopServices;

// Stored addresses carry no scheme: it goes in front only when the address is
// handed to the desktop, and a failure message shows the stored address alone.
inline constexpr char kSupportRequestAddress[] =
    "support.sorvane.example/tools/SupportRequest.asp?PellrowClient=1";
inline constexpr char kProductFamilyHost[] = "www.sorvane.example";
inline constexpr char kMailingListHost[] = "lists.sorvane.example";
inline constexpr char kForumHost[] = "forums.sorvane.example";

inline constexpr char kHttpsScheme[] = "https://";
inline constexpr char kHttpScheme[] = "http://";

// A Help menu item that opens a web address.
struct WebLinkItem {
    QAction* WindowMenus::*item;
    const char* scheme;
    const char* storedAddress;
};

extern const WebLinkItem kHelpWebLinks[4];

// Opens scheme + storedAddress through the services. On failure shows
// "Error <n> opening <storedAddress>" (critical icon, title "Sorvane") over
// the owner window and waits until the user has closed it; nothing else happens.
void OpenWebLink(DesktopServices& services, const QString& scheme, const QString& storedAddress,
                 QWidget* owner);

}  // namespace sorvane

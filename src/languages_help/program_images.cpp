#include "languages_help/program_images.h"

#include <QIcon>
#include <QPixmap>

// The resources sit in a static library: nothing would pull their object file
// into the program unless it is registered by name.
static void RegisterImageResources() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(languages_help);
        return true;
    }();
    (void)registered;
}

namespace sorvane {

QIcon ProgramIcon() {
    RegisterImageResources();
    return QIcon(QStringLiteral(":/sorvane/icon16.png"));
}

QPixmap LogoPixmap() {
    RegisterImageResources();
    return QPixmap(QStringLiteral(":/sorvane/logo.gif"), "GIF");
}

}  // namespace sorvane

#include "languages_help/message_boxes.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QSpacerItem>

namespace sorvane {

namespace {

// Room a title bar takes besides the title: the icon and the close, minimise
// and maximise buttons of common window managers.
constexpr int kTitleBarButtonsRoom = 110;

// A box sized for a short text alone ("Overflow") is so narrow that the
// window manager cuts its title down to a few letters. The title bar's font is
// the window manager's; the box's own font, in bold, stands in for it.
void MakeRoomForTitle(QMessageBox& box) {
    QFont titleFont = box.font();
    titleFont.setBold(true);
    const int width = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + kTitleBarButtonsRoom;
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr) return;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

QMessageBox::Icon ToolkitIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Critical: return QMessageBox::Critical;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

QString ProgramTitle() { return QStringLiteral("Sorvane"); }

std::unique_ptr<QMessageBox> MakeQuestionBox(QWidget* parent, const QString& prompt, const QString& title) {
    auto box = std::make_unique<QMessageBox>(QMessageBox::NoIcon, title, prompt,
                                             QMessageBox::Yes | QMessageBox::No, parent);
    box->setDefaultButton(QMessageBox::No);
    box->setEscapeButton(QMessageBox::No);
    MakeRoomForTitle(*box);
    return box;
}

std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* parent, const QString& text, MessageIcon icon) {
    auto box = std::make_unique<QMessageBox>(ToolkitIcon(icon), ProgramTitle(), text, QMessageBox::Ok, parent);
    MakeRoomForTitle(*box);
    return box;
}

}  // namespace sorvane

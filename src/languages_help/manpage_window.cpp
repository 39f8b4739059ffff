#include "languages_help/manpage_window.h"

#include <QFont>
#include <algorithm>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QString>
#include <QTextCursor>
#include <QWidget>

#include "languages_help/program_images.h"
#include "languages_help/twips.h"

namespace sorvane {

namespace {

constexpr int kClientWidthTwips = 13215;
constexpr int kClientHeightTwips = 5925;
constexpr int kTextLeftTwips = 120;
constexpr int kTextTopTwips = 120;
constexpr int kTextWidthTwips = 12975;
constexpr int kTextHeightTwips = 5655;

QPointer<QWidget>& TheWindow() {
    static QPointer<QWidget> window;
    return window;
}

QWidget* CreateWindow() {
    auto* window = new QWidget(nullptr, Qt::Window);
    window->setObjectName(QStringLiteral("frmManpage"));
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(QStringLiteral("Manpage"));
    window->setWindowIcon(ProgramIcon());
    const int dpiX = window->logicalDpiX();
    const int dpiY = window->logicalDpiY();
    window->resize(TwipsToPixels(kClientWidthTwips, dpiX), TwipsToPixels(kClientHeightTwips, dpiY));

    // The text box keeps its designed place and size whatever the window's size.
    auto* text = new QPlainTextEdit(window);
    text->setObjectName(QStringLiteral("Text1"));
    text->setGeometry(TwipsToPixels(kTextLeftTwips, dpiX), TwipsToPixels(kTextTopTwips, dpiY),
                      TwipsToPixels(kTextWidthTwips, dpiX), TwipsToPixels(kTextHeightTwips, dpiY));
    text->setReadOnly(true);  // still selectable and copyable
    text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(9.75);
    text->setFont(font);
    text->setFocus();
    return window;
}

void ShowManpageMessage(QWidget* owner, const QString& text) {
    QMessageBox message(QMessageBox::Warning, QStringLiteral("Sorvane"), text, QMessageBox::Ok, owner);
    message.exec();
}

}  // namespace

QWidget& ManpageWindow() {
    QPointer<QWidget>& window = TheWindow();
    if (!window) window = CreateWindow();
    return *window;
}

QWidget* ExistingManpageWindow() { return TheWindow().data(); }

QPlainTextEdit& ManpageText() { return *ManpageWindow().findChild<QPlainTextEdit*>(QStringLiteral("Text1")); }

void AppendManpageLine(const QString& line) { AppendManpageText(line + QStringLiteral("\r\n")); }

void AppendManpageText(const QString& text) {
    QTextCursor end(ManpageText().document());
    end.movePosition(QTextCursor::End);
    // Each CR LF pair becomes one line break in the document.
    end.insertText(text);
}

void ShowManpageWindow() {
    QWidget& window = ManpageWindow();
    window.show();
    window.raise();
    window.activateWindow();
}

void Manpage_Click(QWidget* messageOwner, const ManualPageLoader& loader) {
    const std::optional<std::vector<std::string>> lines = loader ? loader() : std::nullopt;
    if (!lines) {
        ShowManpageMessage(messageOwner, QStringLiteral("The manual page \"%1\" is missing, empty or unreadable.")
                                             .arg(QString::fromLatin1(kManualPageFileName)));
        return;
    }

    const std::size_t shown = std::min(lines->size(), kManpageLineLimit);
    QString text;
    for (std::size_t index = 0; index < shown; ++index) {
        text += QString::fromLocal8Bit((*lines)[index]);
        text += QStringLiteral("\r\n");
    }
    AppendManpageText(text);
    ShowManpageWindow();

    if (lines->size() > kManpageLineLimit) {
        ShowManpageMessage(&ManpageWindow(),
                           QStringLiteral("The manual page has %1 lines; only the first %2 are shown.")
                               .arg(lines->size())
                               .arg(kManpageLineLimit));
    }
}

}  // namespace sorvane

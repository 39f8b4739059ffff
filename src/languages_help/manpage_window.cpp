#include "languages_help/manpage_window.h"

#include <QFont>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QResizeEvent>
#include <QScreen>
#include <QString>
#include <QTextCursor>
#include <QWidget>
#include <algorithm>

#include "languages_help/desktop_services.h"
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

// The text box keeps its designed place and size whatever the window's size,
// except where the window is smaller (a screen narrower than the design, at a
// large scale factor): then it ends a margin inside the window, so that its
// scroll bar stays in sight.
class ManpageFrame : public QWidget {
public:
    ManpageFrame() : QWidget(nullptr, Qt::Window) {
        const int dpiX = logicalDpiX();
        const int dpiY = logicalDpiY();
        designedText_ = QRect(TwipsToPixels(kTextLeftTwips, dpiX), TwipsToPixels(kTextTopTwips, dpiY),
                              TwipsToPixels(kTextWidthTwips, dpiX), TwipsToPixels(kTextHeightTwips, dpiY));
        designedSize_ = QSize(TwipsToPixels(kClientWidthTwips, dpiX), TwipsToPixels(kClientHeightTwips, dpiY));
    }

    QSize DesignedSize() const { return designedSize_; }

    void PlaceText() {
        if (text_ == nullptr) return;
        const QSize room(width() - (designedSize_.width() - designedText_.right() - 1),
                         height() - (designedSize_.height() - designedText_.bottom() - 1));
        text_->setGeometry(designedText_.left(), designedText_.top(),
                           std::min(designedText_.width(), room.width() - designedText_.left()),
                           std::min(designedText_.height(), room.height() - designedText_.top()));
    }

    QPlainTextEdit* text_ = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        PlaceText();
    }

private:
    QRect designedText_;
    QSize designedSize_;
};

QWidget* CreateWindow() {
    auto* window = new ManpageFrame;
    window->setObjectName(QStringLiteral("frmManpage"));
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(QStringLiteral("Manpage"));
    window->setWindowIcon(ProgramIcon());

    auto* text = new QPlainTextEdit(window);
    text->setObjectName(QStringLiteral("Text1"));
    text->setReadOnly(true);  // still selectable and copyable
    text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // The page is laid out in columns of a fixed pitch (option names, their
    // indented explanations, the exit-status table).
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSizeF(9.75);
    text->setFont(font);
    text->setFocus();
    window->text_ = text;

    // The designed size where the screen holds it, else the screen's room.
    QSize size = window->DesignedSize();
    if (const QScreen* screen = window->screen()) size = size.boundedTo(screen->availableGeometry().size());
    window->resize(size);
    window->PlaceText();
    return window;
}

}  // namespace

ManpageWindow::~ManpageWindow() { delete window_.data(); }

QWidget& ManpageWindow::Window() {
    if (!window_) window_ = CreateWindow();
    return *window_;
}

QPlainTextEdit& ManpageWindow::Text() { return *static_cast<ManpageFrame&>(Window()).text_; }

void ManpageWindow::AppendText(const QString& text) {
    QTextCursor end(Text().document());
    end.movePosition(QTextCursor::End);
    // Each CR LF pair becomes one line break in the document.
    end.insertText(text);
}

void ManpageWindow::ReplaceText(const QString& text) {
    Text().clear();
    AppendText(text);
}

void ManpageWindow::Show() {
    QWidget& window = Window();
    window.show();
    window.raise();
    window.activateWindow();
}

void Manpage_Click(ManpageWindow& manpage, DesktopServices& services, QWidget* messageOwner,
                   const ManualPageLoader& loader) {
    const std::optional<std::vector<std::string>> lines = loader ? loader() : std::nullopt;
    if (!lines) {
        services.ShowMessage(messageOwner,
                             QStringLiteral("The manual page \"%1\" is missing, empty or unreadable.")
                                 .arg(QString::fromLatin1(kManualPageFileName)),
                             MessageIcon::Warning);
        return;
    }

    const std::size_t shown = std::min(lines->size(), kManpageLineLimit);
    QString text;
    for (std::size_t index = 0; index < shown; ++index) {
        text += QString::fromLocal8Bit((*lines)[index]);
        text += QStringLiteral("\r\n");
    }
    // The page once, however often it is asked for while the window is open.
    manpage.ReplaceText(text);
    manpage.Show();

    if (lines->size() > kManpageLineLimit) {
        services.ShowMessage(&manpage.Window(),
                             QStringLiteral("The manual page has %1 lines; only the first %2 are shown.")
                                 .arg(lines->size())
                                 .arg(kManpageLineLimit),
                             MessageIcon::Warning);
    }
}

}  // namespace sorvane

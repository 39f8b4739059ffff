#include "languages_help/about_box.h"

#include <QColor>
#include <QFontMetricsF>
#include <algorithm>
#include <cmath>
#include <QDialog>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QPalette>
#include <QPointer>
#include <QPushButton>
#include <QString>

#include "common/version.h"
#include "languages_help/clickable_label.h"
#include "languages_help/language_table.h"
#include "languages_help/program_images.h"
#include "languages_help/web_links.h"
#include "languages_help/twips.h"

namespace sorvane {

namespace {

constexpr int kClientWidthTwips = 5730;
constexpr int kClientHeightTwips = 3360;
constexpr int kSeparatorWidthTwips = 5760;
constexpr int kLogoLeftTwips = 1320;
constexpr int kLogoTopTwips = 1320;

QFont BoldLinkFont() {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(9.75);
    font.setWeight(QFont::Bold);
    return font;
}

class Placer {
public:
    explicit Placer(QWidget& box) : box_(box), dpiX_(box.logicalDpiX()), dpiY_(box.logicalDpiY()) {}

    int X(int twips) const { return TwipsToPixels(twips, dpiX_); }
    int Y(int twips) const { return TwipsToPixels(twips, dpiY_); }

    template <typename Control>
    Control* Make(const char* name, int left, int top, int width, int height) {
        auto* control = new Control(&box_);
        control->setObjectName(QString::fromLatin1(name));
        control->setGeometry(X(left), Y(top), X(width), Y(height));
        return control;
    }

    // A line one pixel high across the box.
    void Line(const char* name, int top, const QColor& colour) {
        auto* line = new QFrame(&box_);
        line->setObjectName(QString::fromLatin1(name));
        line->setFrameShape(QFrame::NoFrame);
        line->setGeometry(0, Y(top), X(kSeparatorWidthTwips), 1);
        QPalette palette = line->palette();
        palette.setColor(QPalette::Window, colour);
        line->setPalette(palette);
        line->setAutoFillBackground(true);
    }

private:
    QWidget& box_;
    int dpiX_;
    int dpiY_;
};

// The longer French and German captions do not fit the designed width in
// every font: the label grows to the widest of them, around the same centre,
// as far as the box's edges allow.
void WidenAroundCentreForEveryLanguage(QLabel& label, const Translations& captions) {
    const QFontMetricsF metrics(label.font(), &label);
    int width = label.width();
    for (int language = 0; language < kLanguageCount; ++language) {
        const QString caption = captions.In(static_cast<Language>(language));
        width = std::max(width, static_cast<int>(std::ceil(metrics.horizontalAdvance(caption))) + 2);
    }
    const int centre = label.x() + label.width() / 2;
    const int left = std::max(0, centre - width / 2);
    label.setGeometry(left, label.y(), width, label.height());
}

void AddLogo(QDialog& box, const Placer& place) {
    auto* logo = new QLabel(&box);
    logo->setObjectName(QStringLiteral("pbLogo"));
    const QPixmap image = LogoPixmap();
    logo->setPixmap(image);
    // A one-pixel border around the image, drawn in the window-text colour on
    // the window-background colour.
    logo->setFrameStyle(QFrame::Box | QFrame::Plain);
    logo->setLineWidth(1);
    QPalette palette = logo->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Base));
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Text));
    logo->setPalette(palette);
    logo->setAutoFillBackground(true);
    logo->setGeometry(place.X(kLogoLeftTwips), place.Y(kLogoTopTwips), image.width() + 2, image.height() + 2);
}

}  // namespace

AboutBox::AboutBox(DesktopServices& services)
    : services_(services),
      windowCaption_(kAboutCaption.In(Language::English)),
      moreInformationAt_(kAboutMoreInformationAt.In(Language::English)) {}

AboutBox::~AboutBox() { delete box_.data(); }

QDialog* AboutBox::Create() {
    auto* box = new QDialog(nullptr);
    box->setObjectName(QStringLiteral("frmAbout"));
    // A tool window has no task-bar entry; without minimise and maximise
    // buttons and with a fixed size, the frame cannot be resized.
    box->setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    // Tool windows do not normally keep the program running; an open About box
    // does (a hidden one does not: only visible windows count).
    box->setAttribute(Qt::WA_QuitOnClose, true);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->setWindowIcon(ProgramIcon());
    box->setWindowTitle(windowCaption_);

    Placer place(*box);
    box->setFixedSize(place.X(kClientWidthTwips), place.Y(kClientHeightTwips));

    place.Make<QLabel>("lblTitle", 120, 120, 4335, 255)->setText(QStringLiteral("Korvenel Sorvane"));
    place.Make<QLabel>("lblVersion", 120, 480, 3765, 225)
        ->setText(QStringLiteral("Client Version ") + QString::fromLatin1(kProgramVersion));
    AddLogo(*box, place);
    place.Line("Line1", 2625, QColor(128, 128, 128));
    place.Line("Line2", 2640, QColor(255, 255, 255));

    auto* moreInformation = place.Make<QLabel>("lblMoreInformationAt", 240, 2760, 2535, 255);
    moreInformation->setText(moreInformationAt_);
    moreInformationAtLabel_ = moreInformation;
    moreInformation->setAlignment(Qt::AlignCenter);
    moreInformation->setFont(BoldLinkFont());
    WidenAroundCentreForEveryLanguage(*moreInformation, kAboutMoreInformationAt);

    auto* webLabel = place.Make<ClickableLabel>("lblwwwkorvenelcom", 240, 3000, 3015, 255);
    webLabel->setText(QString::fromLatin1(kProductFamilyHost));
    webLabel->setAlignment(Qt::AlignCenter);
    webLabel->setFont(BoldLinkFont());
    QPalette linkPalette = webLabel->palette();
    linkPalette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    webLabel->setPalette(linkPalette);
    webLabel->setCursor(Qt::PointingHandCursor);
    webLabel->setToolTip(QStringLiteral("Click here to visit our Website"));
    QObject::connect(webLabel, &ClickableLabel::clicked, box, [this, box] {
        OpenWebLink(services_, QString::fromLatin1(kHttpScheme), QString::fromLatin1(kProductFamilyHost), box);
    });

    auto* ok = place.Make<QPushButton>("cmdOK", 4320, 2880, 1260, 345);
    ok->setText(QStringLiteral("OK"));
    // Enter presses the default button; Esc rejects the dialog, which closes it.
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, box, &QWidget::close);
    ok->setFocus();
    return box;
}

QDialog& AboutBox::Box() {
    if (!box_) box_ = Create();
    return *box_;
}

void AboutBox::Show() {
    QDialog& box = Box();
    box.show();
    box.raise();
    box.activateWindow();
}

void AboutBox::SetLanguageTexts(const QString& windowCaption, const QString& moreInformationAt) {
    windowCaption_ = windowCaption;
    moreInformationAt_ = moreInformationAt;
    QDialog& box = Box();
    moreInformationAtLabel_->setText(moreInformationAt);
    box.setWindowTitle(windowCaption);
}

}  // namespace sorvane

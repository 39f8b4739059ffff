#include "mainwindow/form_layout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <limits>

#include "mainwindow/caption_fit.h"
#include "mainwindow/days_key_filter.h"
#include "mainwindow/password_star_style.h"
#include "languages_help/twips.h"

namespace sorvane {

namespace {

// A text box without a designed limit takes any length.
constexpr int kNoLengthLimit = std::numeric_limits<int>::max();

class Placer {
public:
    explicit Placer(QWidget& client)
        : client_(client), dpiX_(client.logicalDpiX()), dpiY_(client.logicalDpiY()) {}

    template <typename Control>
    Control* Make(const char* name, int left, int top, int width, int height) {
        auto* control = new Control(&client_);
        control->setObjectName(QString::fromLatin1(name));
        control->setGeometry(TwipsToPixels(left, dpiX_), TwipsToPixels(top, dpiY_),
                             TwipsToPixels(width, dpiX_), TwipsToPixels(height, dpiY_));
        return control;
    }

    QLabel* Label(const char* name, const QString& caption, int left, int top, int width,
                  int height) {
        QLabel* label = Make<QLabel>(name, left, top, width, height);
        label->setText(caption);
        return label;
    }

    QLineEdit* TextBox(const char* name, const QString& text, int maxLength, int left, int top,
                       int width, int height) {
        QLineEdit* field = Make<QLineEdit>(name, left, top, width, height);
        field->setMaxLength(maxLength);
        field->setText(text);
        return field;
    }

    QSize ClientSize() const {
        return QSize(TwipsToPixels(kClientWidthTwips, dpiX_),
                     TwipsToPixels(kClientHeightTwips, dpiY_));
    }

private:
    QWidget& client_;
    int dpiX_;
    int dpiY_;
};

// The home folder is where a user expects a backup to land by default, and
// one the user may always write to.
QString InitialFilePath() {
    QString home = QDir::homePath();
    if (!home.endsWith(QLatin1Char('/'))) home += QLatin1Char('/');
    return home;
}

void BuildRightColumn(Placer& place, FormControls& c) {
    c.Label3 = place.Label("Label3", QStringLiteral("&Days :"), 2640, 120, 2055, 255);
    c.txtTage = place.TextBox("txtTage", QStringLiteral("0"), 20, 2640, 360, 2295, 285);
    c.txtTage->installEventFilter(new DaysKeyFilter(c.txtTage));

    c.Combo1 = place.Make<QComboBox>("Combo1", 2640, 720, 2295, 315);
    c.Combo1->setEditable(false);
    c.Combo1->addItems({QStringLiteral("ReceivedAt"), QStringLiteral("DeviceReportedTime")});

    c.Label2 = place.Label("Label2", QStringLiteral("D&SN :"), 2640, 1200, 2055, 255);
    c.txtDSN = place.TextBox("txtDSN", QStringLiteral("neuedb"), 50, 2640, 1440, 2295, 285);
    c.Label1 = place.Label("Label1", QStringLiteral("&Table name :"), 2640, 1920, 2055, 255);
    c.txtTabelle =
        place.TextBox("txtTabelle", QStringLiteral("SystemEvents"), 50, 2640, 2160, 2295, 285);
    c.Label4 = place.Label("Label4", QStringLiteral("&Username :"), 2640, 2640, 2055, 255);
    c.txtBenutzer =
        place.TextBox("txtBenutzer", QStringLiteral("root"), 255, 2640, 2880, 2295, 285);
    c.Label5 = place.Label("Label5", QStringLiteral("&Password :"), 2640, 3360, 2055, 255);
    c.txtPass = place.TextBox("txtPass", QString(), 128, 2640, 3600, 2295, 285);
    UseStarPasswordEcho(*c.txtPass);

    c.lblDelRecPerState = place.Label("lblDelRecPerState", QStringLiteral("Delete records per trip:"),
                                      2640, 4080, 2415, 255);
    c.txtDelRecPerTrip = place.TextBox("txtDelRecPerTrip", QStringLiteral("10"), kNoLengthLimit,
                                       2640, 4320, 1695, 285);
    c.lblDisplayStatusAfter = place.Label(
        "lblDisplayStatusAfter", QStringLiteral("Display Status after (sec):"), 2640, 4800, 2415, 255);
    c.txtDisplayStatusAfter = place.TextBox("txtDisplayStatusAfter", QStringLiteral("10"),
                                            kNoLengthLimit, 2640, 5040, 1695, 285);
}

void BuildLeftColumn(Placer& place, FormControls& c) {
    c.Label6 = place.Label("Label6", QStringLiteral("BackupFile Settings (CSV)"), 240, 120, 1815, 495);
    QFont heading = c.Label6->font();
    heading.setPointSizeF(9.75);
    heading.setBold(true);
    c.Label6->setFont(heading);
    c.Label6->setWordWrap(true);
    c.Label6->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    c.lblSeparateWith = place.Label("lblSeparateWith", QStringLiteral("Separator"), 240, 1200, 1815, 255);
    c.txtSeparateWith = place.TextBox("txtSeparateWith", QStringLiteral(","), kNoLengthLimit, 240,
                                      1440, 1695, 285);
    c.lblEscapeWith =
        place.Label("lblEscapeWith", QStringLiteral("Escape Sequence"), 240, 1920, 1815, 255);
    c.txtEscapeWith = place.TextBox("txtEscapeWith", QStringLiteral("\""), kNoLengthLimit, 240,
                                    2160, 1695, 285);
    c.lblFilename = place.Label("lblFilename", QStringLiteral("Filename"), 240, 2640, 1815, 255);
    c.txtFilename = place.TextBox("txtFilename", QStringLiteral("BackupFile"), kNoLengthLimit, 240,
                                  2880, 1695, 285);
    c.lblFileExtension =
        place.Label("lblFileExtension", QStringLiteral("File Extension"), 240, 3360, 1695, 255);
    c.txtFileExtension = place.TextBox("txtFileExtension", QStringLiteral(".csv"), kNoLengthLimit,
                                       240, 3600, 1695, 285);
    c.lblFilePath = place.Label("lblFilePath", QStringLiteral("File Path"), 240, 4080, 1815, 255);
    c.txtFilePath =
        place.TextBox("txtFilePath", InitialFilePath(), kNoLengthLimit, 240, 4320, 1695, 285);

    c.CheckIncludeDate = place.Make<QCheckBox>("CheckIncludeDate", 240, 4800, 2055, 255);
    c.CheckIncludeDate->setText(QStringLiteral("Include Date in Filename"));
    c.CheckOverWriteFile = place.Make<QCheckBox>("CheckOverWriteFile", 240, 5280, 2055, 255);
    c.CheckOverWriteFile->setText(QStringLiteral("Allow to overwrite File"));
}

void BuildCommandsAndStatus(Placer& place, QWidget& client, FormControls& c) {
    c.Command3 = place.Make<QPushButton>("Command3", 120, 5760, 1215, 375);
    c.Command3->setText(QStringLiteral("Backup"));
    c.Command4 = place.Make<QPushButton>("Command4", 1680, 5760, 1695, 375);
    c.Command4->setText(QStringLiteral("Backup and Delete"));
    c.Command1 = place.Make<QPushButton>("Command1", 3720, 5760, 1215, 375);
    c.Command1->setText(QStringLiteral("Delete"));
    c.Command2 = place.Make<QPushButton>("Command2", 120, 6240, 975, 375);
    c.Command2->setText(QStringLiteral("&Quit"));
    for (QPushButton* button : {c.Command1, c.Command2, c.Command3, c.Command4}) {
        button->setAutoDefault(false);  // the window has no default button
    }

    c.LabelStatus = place.Label("LabelStatus", QStringLiteral("STATUSANZEIGE"), 2520, 6240, 2415, 375);
    // What a run writes there ("Deleted  10310 records in 00:00:21", the
    // timer's date, time and count) is wider than the line: it goes on two
    // lines, in a font small enough for two lines to fit its height.
    c.LabelStatus->setWordWrap(true);
    c.LabelStatus->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont statusFont = c.LabelStatus->font();
    statusFont.setPointSizeF(kStatusFontPoints);
    c.LabelStatus->setFont(statusFont);

    // A one-pixel vertical rule; the frame is three pixels wide so that the
    // line sits on the designed x position.
    c.Line1 = place.Make<QFrame>("Line1", 2400, 0, 15, 5640);
    c.Line1->setFrameShape(QFrame::VLine);
    c.Line1->setFrameShadow(QFrame::Plain);
    c.Line1->setLineWidth(1);
    c.Line1->setGeometry(c.Line1->x() - 1, c.Line1->y(), 3, c.Line1->height());

    c.timerDeleting = new QTimer(&client);
    c.timerDeleting->setObjectName(QStringLiteral("timerDeleting"));
}

// Each label's access key moves the focus to the field under it.
void ConnectBuddies(FormControls& c) {
    c.Label3->setBuddy(c.txtTage);
    c.Label2->setBuddy(c.txtDSN);
    c.Label1->setBuddy(c.txtTabelle);
    c.Label4->setBuddy(c.txtBenutzer);
    c.Label5->setBuddy(c.txtPass);
    c.lblDelRecPerState->setBuddy(c.txtDelRecPerTrip);
    c.lblDisplayStatusAfter->setBuddy(c.txtDisplayStatusAfter);
    c.lblSeparateWith->setBuddy(c.txtSeparateWith);
    c.lblEscapeWith->setBuddy(c.txtEscapeWith);
    c.lblFilename->setBuddy(c.txtFilename);
    c.lblFileExtension->setBuddy(c.txtFileExtension);
    c.lblFilePath->setBuddy(c.txtFilePath);
}

void SetFocusOrder(FormControls& c) {
    QWidget* const order[] = {
        c.txtTage,         c.Combo1,         c.txtDSN,          c.txtTabelle,
        c.txtBenutzer,     c.txtPass,        c.txtDelRecPerTrip, c.txtDisplayStatusAfter,
        c.Command1,        c.Command2,       c.txtSeparateWith, c.Command3,
        c.txtEscapeWith,   c.txtFilename,    c.txtFileExtension, c.Command4,
        c.txtFilePath,     c.CheckIncludeDate, c.CheckOverWriteFile,
    };
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) QWidget::setTabOrder(order[i], order[i + 1]);
    c.txtTage->setFocus();
}

}  // namespace

FormControls BuildFormControls(QWidget& client) {
    Placer place(client);
    client.setFixedSize(place.ClientSize());
    // The places were designed for an 8-point font; a larger desktop default
    // would cut captions off at the right edge of their controls.
    QFont designFont = client.font();
    designFont.setPointSizeF(kDesignFontPoints);
    client.setFont(designFont);

    FormControls controls;
    BuildRightColumn(place, controls);
    BuildLeftColumn(place, controls);
    BuildCommandsAndStatus(place, client, controls);
    FitCaptionsOfEveryLanguage(client, controls);
    ConnectBuddies(controls);
    SetFocusOrder(controls);
    return controls;
}

}  // namespace sorvane

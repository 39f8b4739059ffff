// The About box: one per program, its design texts and logo, closed (and
// destroyed) by OK, Enter and Esc, and a web label that leaves it open.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>

#include "languages_help/about_box.h"
#include "languages_help/help_test_support.h"
#include "languages_help/program_images.h"

namespace sorvane {
namespace {

class AboutBoxTest : public ::testing::Test {
protected:
    void SetUp() override { test::DestroyHelpWindows(); }
    void TearDown() override { test::DestroyHelpWindows(); }

    template <typename T>
    static T* Control(QDialog& box, const char* name) {
        T* control = box.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
};

TEST_F(AboutBoxTest, OpenedTwiceIsOneBox) {
    About_Click();
    QDialog* first = ExistingAboutBox();
    About_Click();
    EXPECT_EQ(ExistingAboutBox(), first);
    EXPECT_EQ(test::CountTopLevels("frmAbout"), 1);
    EXPECT_TRUE(first->isVisible());
    EXPECT_FALSE(first->isModal());
    EXPECT_EQ(first->parentWidget(), nullptr);
}

TEST_F(AboutBoxTest, ShowsItsDesignTextsAndLogo) {
    About_Click();
    QDialog& box = *ExistingAboutBox();
    EXPECT_EQ(box.windowTitle(), "About Sorvane");
    EXPECT_EQ(Control<QLabel>(box, "lblTitle")->text(), "Korvenel Sorvane");
    EXPECT_EQ(Control<QLabel>(box, "lblVersion")->text(), "Client Version 1.4");
    EXPECT_EQ(Control<QLabel>(box, "lblMoreInformationAt")->text(), "More Information at");

    QLabel* web = Control<QLabel>(box, "lblwwwkorvenelcom");
    EXPECT_EQ(web->text(), "www.sorvane.example");
    EXPECT_EQ(web->toolTip(), "Click here to visit our Website");
    EXPECT_EQ(web->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_FALSE(box.testAttribute(Qt::WA_SetCursor));  // the rest keeps the arrow

    QLabel* logo = Control<QLabel>(box, "pbLogo");
    EXPECT_EQ(logo->pixmap().size(), QSize(200, 81));
    EXPECT_EQ(logo->size(), QSize(202, 83));  // the image plus a one-pixel border

    QPushButton* ok = Control<QPushButton>(box, "cmdOK");
    EXPECT_EQ(ok->text(), "OK");
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(box.focusWidget(), ok);
}

// OK, Enter and Esc each close the box and destroy it; the next About opens
// a fresh one with the logo.
struct ClosingCase {
    const char* name;
    int key;  // 0: a click on OK
};

void PrintTo(const ClosingCase& c, std::ostream* out) { *out << c.name; }

class AboutBoxClosing : public AboutBoxTest, public ::testing::WithParamInterface<ClosingCase> {};

TEST_P(AboutBoxClosing, ClosesAndDestroysTheBox) {
    About_Click();
    QPointer<QDialog> box = ExistingAboutBox();
    box->activateWindow();
    QApplication::setActiveWindow(box);
    QPushButton* ok = box->findChild<QPushButton*>("cmdOK");
    if (GetParam().key == 0) {
        ok->click();
    } else {
        QKeyEvent press(QEvent::KeyPress, GetParam().key, Qt::NoModifier);
        QApplication::sendEvent(ok, &press);
    }
    test::RunPendingDeletes();
    EXPECT_TRUE(box.isNull());
    EXPECT_EQ(ExistingAboutBox(), nullptr);

    About_Click();
    ASSERT_NE(ExistingAboutBox(), nullptr);
    EXPECT_TRUE(ExistingAboutBox()->isVisible());
    EXPECT_EQ(ExistingAboutBox()->findChild<QLabel*>("lblVersion")->text(), "Client Version 1.4");
    EXPECT_FALSE(ExistingAboutBox()->findChild<QLabel*>("pbLogo")->pixmap().isNull());
}

INSTANTIATE_TEST_SUITE_P(OkEnterEsc, AboutBoxClosing,
                         ::testing::Values(ClosingCase{"Click", 0}, ClosingCase{"Enter", Qt::Key_Return},
                                           ClosingCase{"KeypadEnter", Qt::Key_Enter},
                                           ClosingCase{"Esc", Qt::Key_Escape}),
                         [](const auto& info) { return std::string(info.param.name); });

void ClickOn(QWidget* widget) {
    const QPointF centre = QRectF(widget->rect()).center();
    QMouseEvent press(QEvent::MouseButtonPress, centre, widget->mapToGlobal(centre), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, widget->mapToGlobal(centre), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

TEST_F(AboutBoxTest, WebLabelOpensTheSiteAndLeavesTheBoxOpen) {
    test::ScriptedLauncher desktop(42);
    test::MessageBoxCatcher messages;
    About_Click();
    QPointer<QDialog> box = ExistingAboutBox();
    ClickOn(box->findChild<QLabel*>("lblwwwkorvenelcom"));
    test::RunPendingDeletes();

    EXPECT_EQ(desktop.addresses, QStringList{"http://www.sorvane.example"});
    EXPECT_TRUE(messages.Seen().empty());
    ASSERT_FALSE(box.isNull());
    EXPECT_TRUE(box->isVisible());
}

TEST_F(AboutBoxTest, FailedWebLabelShowsTheErrorOverTheBoxWhichStaysOpen) {
    test::ScriptedLauncher desktop(5);
    test::MessageBoxCatcher messages;
    About_Click();
    QPointer<QDialog> box = ExistingAboutBox();
    ClickOn(box->findChild<QLabel*>("lblwwwkorvenelcom"));

    ASSERT_EQ(messages.Seen().size(), 1u);
    EXPECT_EQ(messages.Seen()[0].text, "Error 5 opening www.sorvane.example");
    EXPECT_EQ(messages.Seen()[0].parent, box.data());
    test::RunPendingDeletes();
    ASSERT_FALSE(box.isNull());
    EXPECT_TRUE(box->isVisible());
}

TEST(ProgramImages, LogoIsASingleFrameGif89aWith256ColoursAndNoTransparency) {
    QFile file(QStringLiteral(":/sorvane/logo.gif"));
    LogoPixmap();  // registers the resources
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_GE(bytes.size(), 13 + 768);
    EXPECT_EQ(bytes.left(6), "GIF89a");
    EXPECT_EQ(static_cast<unsigned char>(bytes[6]) | static_cast<unsigned char>(bytes[7]) << 8, 200);
    EXPECT_EQ(static_cast<unsigned char>(bytes[8]) | static_cast<unsigned char>(bytes[9]) << 8, 81);
    const auto packed = static_cast<unsigned char>(bytes[10]);
    EXPECT_TRUE(packed & 0x80);       // a global colour table
    EXPECT_EQ(packed & 0x07, 7);      // of 2^(7+1) = 256 entries
    // No graphic control extension, so nothing can be transparent.
    EXPECT_EQ(bytes[13 + 768], ',');
    file.close();

    QImageReader reader(QStringLiteral(":/sorvane/logo.gif"));
    EXPECT_EQ(reader.format(), "gif");
    EXPECT_EQ(reader.imageCount(), 1);
    const QImage image = reader.read();
    ASSERT_FALSE(image.isNull()) << qPrintable(reader.errorString());
    EXPECT_EQ(image.size(), QSize(200, 81));
    EXPECT_FALSE(image.hasAlphaChannel());
}

}  // namespace
}  // namespace sorvane

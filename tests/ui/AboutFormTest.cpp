// The about box and the commands that lead out of the program: what is shown, and what
// would be handed to the desktop (the opener is replaced, so nothing is started).
#include "AboutForm.h"
#include "ImageList.h"
#include "Application.h"
#include "BaseVar.h"
#include "Func.h"
#include "Platform.h"
#include "TestFolder.h"
#include "UiTestSupport.h"
#include "uXMLOperate.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <gtest/gtest.h>

namespace {

class AboutFormTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        XMLOperation = new TXMLOperation(FData.Path(), TFormatSettings{});
        FSavedInfo = SoftInfo;
        // Product information as the start-up reads it: the string table and the version
        // that the build writes into the program's executable.
        FData.Write(QStringLiteral("Res.dll"), "1=Taskwick\n4=https://corvalen.example/taskwick/\n"
                                               "5=taskwick@corvalen.example\n");
        SoftInfo = LoadSoftInfo(FData.File(QStringLiteral("Res.dll")), QStringLiteral(TASKWICK_EXECUTABLE));
        SoftInfo.AppPath = ExecutableFolder();
        Platform::SetOpener([this](const Platform::OpenRequest& request) {
            FRequests.append(request);
            return true;
        });
    }

    void TearDown() override
    {
        Platform::SetOpener({});
        SoftInfo = FSavedInfo;
        delete XMLOperation;
        XMLOperation = nullptr;
    }

    // Shows the box as the about command does and runs `act` while it is open; the box is
    // closed afterwards if `act` left it open.
    void RunAboutBox(const std::function<void(TFrmAboutForm*)>& act)
    {
        bool opened = false;
        QPointer<TFrmAboutForm> seen;
        WhenModalOpens([&](QWidget* modal) {
            opened = true;
            auto* form = qobject_cast<TFrmAboutForm*>(modal);
            seen = form;
            if (!form) {
                ADD_FAILURE() << "another modal window opened: " << modal->metaObject()->className();
                modal->close();
                return;
            }
            act(form);
            if (form->isVisible())
                form->close();
        });
        ShowAboutBox();
        EXPECT_TRUE(opened) << "the about box did not open";
        EXPECT_TRUE(seen.isNull()) << "the about box is destroyed once it has closed";
    }

    TestFolder FData;
    RecSoftInfo FSavedInfo;
    QVector<Platform::OpenRequest> FRequests;
};

// Sets an environment variable for the life of the object.
class TScopedPath
{
public:
    explicit TScopedPath(const QString& value) : FOld(qgetenv("PATH")) { qputenv("PATH", value.toUtf8()); }
    ~TScopedPath() { qputenv("PATH", FOld); }

private:
    QByteArray FOld;
};

TEST_F(AboutFormTest, ShowsTheProductTextsAtTheirPlaces)
{
    ASSERT_EQ(SoftInfo.SoftVersion, QStringLiteral("1.0.0")) << "the executable's file version is 1.0.0.0";
    RunAboutBox([](TFrmAboutForm* form) {
        EXPECT_EQ(form->windowTitle(), QStringLiteral("About"));
        EXPECT_EQ(form->size(), QSize(525, 312));
        EXPECT_EQ(form->minimumSize(), form->maximumSize()) << "a dialog border: not resizable";
        struct Text
        {
            QLabel* label;
            QPoint place;
            QString text;
        };
        const Text texts[] = {
            {form->LabProName, {40, 200}, "Taskwick"},
            {form->Version, {40, 232}, "1.0.0"},
            {form->Label2, {8, 288}, "Website:"},
        };
        for (const Text& t : texts) {
            EXPECT_EQ(t.label->pos(), t.place) << t.label->objectName().toStdString();
            EXPECT_EQ(t.label->text(), t.text) << t.label->objectName().toStdString();
            EXPECT_GE(t.label->width(), t.label->sizeHint().width()) << "the whole text is shown";
        }
        // The home page link stands at its place, or a little after its caption where a wide
        // font makes the caption reach that place.
        EXPECT_EQ(form->LabHome->text(), QStringLiteral("https://corvalen.example/taskwick/"));
        EXPECT_EQ(form->LabHome->y(), 288);
        EXPECT_EQ(form->LabHome->x(), qMax(56, form->Label2->x() + form->Label2->width() + TFrmAboutForm::CaptionGap));
        EXPECT_EQ(form->Label1->text(), QStringLiteral("E-Mail:"));
        EXPECT_EQ(form->LabEmail->text(), QStringLiteral("taskwick@corvalen.example"));
        EXPECT_EQ(form->Label3->pos(), QPoint(40, 251));
        EXPECT_TRUE(form->Label3->text().contains(QStringLiteral("Corvalen"))) << form->Label3->text().toStdString();
        EXPECT_FALSE(form->Label3->text().contains(u'\n'));
        EXPECT_EQ(form->LabProName->font().pixelSize(), 24);
        EXPECT_TRUE(form->LabProName->font().bold());
        for (QLabel* link : {static_cast<QLabel*>(form->LabHome), static_cast<QLabel*>(form->LabEmail)}) {
            EXPECT_TRUE(link->font().underline());
            EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(Qt::blue));
            EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
            EXPECT_FALSE(link->accessibleName().isEmpty());
        }
    });
}

TEST_F(AboutFormTest, TheEmailAddressStaysInsideTheBox)
{
    struct Case
    {
        QString address;
        bool fitsAtItsPlace;
    };
    const Case cases[] = {
        {"a@b.example", true},
        {"taskwick@corvalen.example", false},
        {"a.much.longer.address.than.the.place.allows@corvalen.example", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address.toStdString());
        SoftInfo.EMail = c.address;
        RunAboutBox([&](TFrmAboutForm* form) {
            EXPECT_EQ(form->LabEmail->text(), c.address);
            EXPECT_EQ(form->LabEmail->width(), form->LabEmail->sizeHint().width()) << "the whole address is shown";
            EXPECT_EQ(form->LabEmail->y(), 288);
            EXPECT_EQ(form->Label1->y(), 288);
            EXPECT_EQ(form->LabEmail->x() - form->Label1->x(), 40) << "caption and link move together";
            const bool fits = 384 + form->LabEmail->width() <= 525 - TFrmAboutForm::RightMargin;
            if (fits) {
                EXPECT_EQ(form->Label1->pos(), QPoint(344, 288));
                EXPECT_EQ(form->LabEmail->pos(), QPoint(384, 288));
            } else {
                EXPECT_EQ(form->LabEmail->geometry().right() + 1, 525 - TFrmAboutForm::RightMargin);
            }
            if (c.fitsAtItsPlace) {
                EXPECT_TRUE(fits) << "a short address keeps its place";
            }
        });
    }
}

TEST_F(AboutFormTest, ThePictureCoversTheBoxWithItsLeftmostTenColumnsCutOff)
{
    RegisterPictures();
    const QImage picture =
        QImage(QStringLiteral(":/images/about.png")).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    ASSERT_EQ(picture.size(), QSize(535, 308));
    RunAboutBox([&](TFrmAboutForm* form) {
        EXPECT_EQ(form->Image1->geometry(), QRect(-10, 0, 535, 308));
        const QImage shown = form->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        ASSERT_EQ(shown.size(), QSize(525, 312));
        // Rows above the texts, where only the picture is drawn.
        int same = 0;
        int shiftedBack = 0;
        for (int y = 10; y < 190; y += 15)
            for (int x = 0; x < 525; x += 7) {
                same += shown.pixel(x, y) == picture.pixel(x + 10, y);
                shiftedBack += shown.pixel(x, y) == picture.pixel(x, y);
            }
        const int samples = 12 * 75;
        EXPECT_GT(same, samples * 95 / 100) << "the box shows the picture from its 11th column on";
        EXPECT_LT(shiftedBack, same) << "the picture is not drawn from its first column";
    });
}

TEST_F(AboutFormTest, TheEmailLinkOpensAMessageToItsOwnText)
{
    RunAboutBox([](TFrmAboutForm* form) {
        QTest::mouseClick(form->LabEmail, Qt::LeftButton);
        form->LabEmail->setText(QStringLiteral("someone.else@corvalen.example"));
        QTest::mouseClick(form->LabEmail, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
        // Pressed on the link and released beside it: no click.
        QTest::mousePress(form->LabEmail, Qt::LeftButton);
        QTest::mouseRelease(form->LabEmail, Qt::LeftButton, Qt::NoModifier, QPoint(-20, -20));
    });
    ASSERT_EQ(FRequests.size(), 2);
    EXPECT_EQ(FRequests[0].Url.toString(), QStringLiteral("mailto:taskwick@corvalen.example"));
    EXPECT_EQ(FRequests[1].Url.toString(), QStringLiteral("mailto:someone.else@corvalen.example"));
    EXPECT_TRUE(FRequests[0].Program.isEmpty());
}

TEST_F(AboutFormTest, TheHomePageLinkStartsTheSystemsWebBrowserWithItsText)
{
    TestFolder bin;
    bin.Write(QStringLiteral("x-www-browser"), "#!/bin/sh\nexit 0\n");
    QFile::setPermissions(bin.File(QStringLiteral("x-www-browser")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    {
        TScopedPath path(bin.Path());
        RunAboutBox([](TFrmAboutForm* form) {
            form->LabHome->setText(QStringLiteral("https://elsewhere.example/page"));
            QTest::mouseClick(form->LabHome, Qt::LeftButton);
        });
    }
    ASSERT_EQ(FRequests.size(), 1);
    EXPECT_EQ(FRequests[0].Program, bin.File(QStringLiteral("x-www-browser")));
    EXPECT_EQ(FRequests[0].Arguments, QStringList{QStringLiteral("https://elsewhere.example/page")});

    // Without that program the desktop's opener gets the address.
    FRequests.clear();
    TestFolder empty;
    {
        TScopedPath path(empty.Path());
        RunAboutBox([](TFrmAboutForm* form) { QTest::mouseClick(form->LabHome, Qt::LeftButton); });
    }
    ASSERT_EQ(FRequests.size(), 1);
    EXPECT_TRUE(FRequests[0].Program.isEmpty());
    EXPECT_EQ(FRequests[0].Url, QUrl(QStringLiteral("https://corvalen.example/taskwick/")));
}

TEST_F(AboutFormTest, TheLinksAnswerTheKeyboardToo)
{
    RunAboutBox([](TFrmAboutForm* form) {
        QTest::keyClick(form->LabEmail, Qt::Key_Return);
        QTest::keyClick(form->LabEmail, Qt::Key_Space);
        QTest::keyClick(form->LabEmail, Qt::Key_A);
    });
    ASSERT_EQ(FRequests.size(), 2);
    EXPECT_EQ(FRequests[1].Url.toString(), QStringLiteral("mailto:taskwick@corvalen.example"));
}

TEST_F(AboutFormTest, TheHomePageAndMailCommandsHandTheProductInformationToTheDesktop)
{
    OpenHomePage();
    OpenMail();
    SoftInfo.EMail.clear();
    OpenMail();
    ASSERT_EQ(FRequests.size(), 3);
    EXPECT_EQ(FRequests[0].Url, QUrl(QStringLiteral("https://corvalen.example/taskwick/")));
    EXPECT_EQ(FRequests[1].Url.toString(), QStringLiteral("mailto:taskwick@corvalen.example"));
    EXPECT_EQ(FRequests[2].Url.toString(), QStringLiteral("mailto:")) << "an empty address gives the bare scheme";
    for (const Platform::OpenRequest& request : FRequests)
        EXPECT_TRUE(request.Program.isEmpty());
}

TEST_F(AboutFormTest, TheHelpCommandOpensTheHelpFileBesideTheExecutable)
{
    TestFolder elsewhere;
    elsewhere.Write(QStringLiteral("Help.chm"), "not this one");
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(elsewhere.Path()));
    OpenHelp();
    QDir::setCurrent(before);
    ASSERT_EQ(FRequests.size(), 1);
    ASSERT_TRUE(FRequests[0].Url.isLocalFile()) << FRequests[0].Url.toString().toStdString();
    EXPECT_EQ(FRequests[0].Url.toLocalFile(), QCoreApplication::applicationDirPath() + QStringLiteral("/Help.chm"));
    EXPECT_NE(FRequests[0].Url.toLocalFile(), elsewhere.File(QStringLiteral("Help.chm")));
}

} // namespace

#include "AboutForm.h"

#include "ImageList.h"

#include "Application.h"
#include "BaseFunc.h"
#include "BaseVar.h"
#include "Func.h"
#include "MainForm.h"
#include "Platform.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QShowEvent>
#include <QUrl>

namespace {

const QString AboutPicture = QStringLiteral(":/images/about.png");
constexpr QSize PictureSize(535, 308);

QPixmap LoadPicture(QSize size)
{
    RegisterPictures();
    QPixmap pixmap(AboutPicture); // with its "@2x" twin where the screen needs it
    if (pixmap.isNull()) {
        pixmap = QPixmap(size);
        pixmap.fill(QColor(0xed, 0xf3, 0xfa));
    }
    return pixmap;
}

QFont SansSerifFont(int pointSize, int pixelSize, bool bold)
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    if (pixelSize > 0)
        font.setPixelSize(pixelSize);
    else
        font.setPointSize(pointSize);
    font.setBold(bold);
    return font;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, QPoint place)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->move(place);
    label->adjustSize();
    return label;
}

void SetLabelText(QLabel* label, const QString& text)
{
    label->setText(text);
    label->adjustSize();
}

} // namespace

TLinkLabel::TLinkLabel(QWidget* parent) : QLabel(parent)
{
    setFont(SansSerifFont(8, 0, false));
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, Qt::blue);
    setPalette(palette);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setTextFormat(Qt::PlainText);
}

void TLinkLabel::mousePressEvent(QMouseEvent* event)
{
    FPressed = event->button() == Qt::LeftButton;
    event->accept();
}

void TLinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = FPressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    FPressed = false;
    event->accept();
    if (click)
        emit clicked();
}

void TLinkLabel::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space) {
        event->accept();
        emit clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}

TFrmAboutForm::TFrmAboutForm(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("FrmAboutForm"));
    setWindowTitle(tr("About"));
    setFixedSize(525, 312);

    // The picture lies 10 pixels left of the client area, so its leftmost columns are cut off.
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(QRect(QPoint(-10, 0), PictureSize));
    Image1->setPixmap(LoadPicture(PictureSize));

    LabProName = MakeLabel(this, "LabProName", QString(), {40, 200});
    LabProName->setFont(SansSerifFont(0, 24, true));
    Version = MakeLabel(this, "Version", QString(), {40, 232});
    Label3 = MakeLabel(this, "Label3", tr("Copyright \u00a9 2026 Corvalen. All rights reserved."), {40, 251});
    Label2 = MakeLabel(this, "Label2", tr("Website:"), {8, 288});
    LabHome = new TLinkLabel(this);
    LabHome->setObjectName(QStringLiteral("LabHome"));
    LabHome->move(56, 288);
    LabHome->setAccessibleName(tr("Website"));
    Label1 = MakeLabel(this, "Label1", tr("E-Mail:"), {344, 288});
    LabEmail = new TLinkLabel(this);
    LabEmail->setObjectName(QStringLiteral("LabEmail"));
    LabEmail->move(384, 288);
    LabEmail->setAccessibleName(tr("E-Mail"));

    connect(LabHome, &TLinkLabel::clicked, this, [this] { RunCommand([this] { LabHomeClick(); }); });
    connect(LabEmail, &TLinkLabel::clicked, this, [this] { RunCommand([this] { LabEmailClick(); }); });
}

void TFrmAboutForm::LabHomeClick()
{
    // The link always starts the system's web browser, whatever the desktop's choice for addresses.
    Platform::StartWebBrowser(LabHome->text());
}

void TFrmAboutForm::LabEmailClick()
{
    Platform::OpenUrl(QUrl(QStringLiteral("mailto:") + LabEmail->text(), QUrl::TolerantMode));
}

void TFrmAboutForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        RunCommand([this] { FormShow(); });
}

void TFrmAboutForm::FormShow()
{
    ApplyWindowAppearance(this);
}

void TFrmAboutForm::FitLinks()
{
    // A font wider than the one the places were drawn for could run a caption into its link
    // or push the address past the right edge: the home page link then starts a little after
    // its caption, and the e-mail caption and link move left together, just enough.
    LabHome->move(qMax(56, Label2->geometry().right() + 1 + CaptionGap), 288);
    Label1->move(344, 288);
    LabEmail->move(384, 288);
    const int overflow = LabEmail->geometry().right() + 1 - (width() - RightMargin);
    if (overflow > 0) {
        Label1->move(Label1->x() - overflow, Label1->y());
        LabEmail->move(LabEmail->x() - overflow, LabEmail->y());
    }
}

void ShowAboutBox()
{
    QPointer<TFrmAboutForm> form = new TFrmAboutForm(FrmMainForm);
    SetLabelText(form->LabProName, SoftInfo.SoftName);
    SetLabelText(form->Version, SoftInfo.SoftVersion);
    SetLabelText(form->LabHome, SoftInfo.HomePage);
    SetLabelText(form->LabEmail, SoftInfo.EMail);
    form->FitLinks();
    form->exec();
    delete form;
}

void OpenHomePage()
{
    Platform::OpenUrl(QUrl::fromUserInput(SoftInfo.HomePage));
}

void OpenMail()
{
    Platform::OpenUrl(QUrl(QStringLiteral("mailto:") + SoftInfo.EMail, QUrl::TolerantMode));
}

void OpenHelp()
{
    Platform::OpenUrl(QUrl::fromLocalFile(SoftInfo.AppPath + QStringLiteral("Help.chm")));
}

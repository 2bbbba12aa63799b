#include "SettingForm.h"

#include "Application.h"
#include "BaseFunc.h"
#include "Errors.h"
#include "MainForm.h"
#include "Platform.h"
#include "uXMLOperate.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>
#include <QSlider>
#include <QtDebug>

namespace {

constexpr int PresetAlpha = 220;

QCheckBox* MakeCheckBox(QWidget* parent, const char* name, const QString& caption, QRect place)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    // A font wider than the one the places were drawn for must not cut the caption off.
    place.setWidth(qMax(place.width(), box->sizeHint().width()));
    box->setGeometry(place);
    return box;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, QPoint place)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->move(place);
    label->adjustSize();
    return label;
}

QSlider* MakeTrackBar(QWidget* parent, const char* name, const QString& accessibleName)
{
    auto* bar = new QSlider(Qt::Horizontal, parent);
    bar->setObjectName(QLatin1String(name));
    bar->setGeometry(103, 25, 195, 28);
    bar->setRange(0, 255);
    bar->setPageStep(2);
    bar->setTickPosition(QSlider::TicksBelow);
    bar->setTickInterval(255); // a tick at each end only
    bar->setValue(PresetAlpha);
    bar->setAccessibleName(accessibleName);
    return bar;
}

QGroupBox* MakeGroupBox(QWidget* parent, const char* name, const QString& caption, QRect place)
{
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(place);
    return box;
}

void ShowPosition(QLabel* label, const QSlider* bar)
{
    label->setText(QString::number(bar->value()));
    label->adjustSize();
}

// While the dialog is open, the program's stay-on-top windows (a reminder pop-up) are made
// ordinary windows so that they cannot cover it; they are put back on top afterwards.
class TTopMostsNormalized
{
public:
    TTopMostsNormalized()
    {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible() && window->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
                Platform::SetKeptAbove(window, false);
                FWindows.append(window);
            }
    }
    ~TTopMostsNormalized()
    {
        for (const QPointer<QWidget>& window : FWindows)
            if (window)
                Platform::SetKeptAbove(window, true);
    }
    TTopMostsNormalized(const TTopMostsNormalized&) = delete;
    TTopMostsNormalized& operator=(const TTopMostsNormalized&) = delete;

private:
    QList<QPointer<QWidget>> FWindows;
};

} // namespace

TFrmSettingForm::TFrmSettingForm(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("FrmSettingForm"));
    setWindowTitle(tr("Setting"));
    resize(322, 257);

    ActOK = new QAction(tr("&Ok"), this);
    ActOK->setObjectName(QStringLiteral("ActOK"));
    ActCancel = new QAction(tr("&Cancel"), this);
    ActCancel->setObjectName(QStringLiteral("ActCancel"));
    connect(ActOK, &QAction::triggered, this, [this] { RunCommand([this] { ActOKExecute(); }); });
    connect(ActCancel, &QAction::triggered, this, [this] { RunCommand([this] { ActCancelExecute(); }); });

    GroupBox1 = MakeGroupBox(this, "GroupBox1", tr("General"), {7, 4, 308, 45});
    ChkStartWithWindows = MakeCheckBox(GroupBox1, "ChkStartWithWindows", tr("Start with windows"), {17, 18, 129, 17});
    ChkminimizeOnStart = MakeCheckBox(GroupBox1, "ChkminimizeOnStart", tr("Minimize on start"), {152, 18, 129, 17});
    // Carried through unchanged: no window takes its stay-on-top state from this setting.
    ChkAlwaysOnTop = MakeCheckBox(GroupBox1, "ChkAlwaysOnTop", tr("Always on top"), {16, 46, 129, 17});
    ChkAlwaysOnTop->setVisible(false);

    GroupBox2 = MakeGroupBox(this, "GroupBox2", tr("Display"), {8, 49, 308, 96});
    ChkDoneTaskPutInBottom =
        MakeCheckBox(GroupBox2, "ChkDoneTaskPutInBottom", tr("Done Task put in bottom"), {16, 72, 139, 17});
    ChkAlphablend = MakeCheckBox(GroupBox2, "ChkAlphablend", tr("Alphablend"), {16, 25, 81, 17});
    TrackBar1 = MakeTrackBar(GroupBox2, "TrackBar1", tr("Main window opacity"));
    labBegin = MakeLabel(GroupBox2, "labBegin", QStringLiteral("0"), {112, 53});
    LabPosition = MakeLabel(GroupBox2, "LabPosition", QString::number(PresetAlpha), {194, 53});
    LabEnd = MakeLabel(GroupBox2, "LabEnd", QStringLiteral("255"), {277, 53});

    CmbSoryBy = new QComboBox(this);
    CmbSoryBy->setObjectName(QStringLiteral("CmbSoryBy"));
    CmbSoryBy->setGeometry(66, 226, 97, 21);
    CmbSoryBy->setEditable(false);
    // Each item carries the stored text of its column, so a translated caption stores the same.
    CmbSoryBy->addItem(tr("Default"), QStringLiteral("default"));
    CmbSoryBy->addItem(tr("Priority"), QStringLiteral("priority"));
    CmbSoryBy->addItem(tr("Task Name"), QStringLiteral("task name"));
    CmbSoryBy->addItem(tr("Category"), QStringLiteral("category"));
    CmbSoryBy->addItem(tr("Due Date"), QStringLiteral("due date"));
    CmbSoryBy->setCurrentIndex(0);
    Label1 = MakeLabel(this, "Label1", tr("Sort by :"), {14, 230});
    Label1->setBuddy(CmbSoryBy);

    BitBtn1 = new QPushButton(ActOK->text(), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(203, 224, 53, 25);
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, ActOK, &QAction::trigger);
    BitBtn2 = new QPushButton(ActCancel->text(), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(262, 224, 53, 25);
    connect(BitBtn2, &QPushButton::clicked, ActCancel, &QAction::trigger);

    GroupBox3 = MakeGroupBox(this, "GroupBox3", tr("Display on desktop Setting"), {8, 146, 308, 73});
    ChkMarkAlphablend = MakeCheckBox(GroupBox3, "ChkMarkAlphablend", tr("Alphablend"), {16, 25, 81, 17});
    TrackBarMark = MakeTrackBar(GroupBox3, "TrackBarMark", tr("Desktop note opacity"));
    LabMarkBegin = MakeLabel(GroupBox3, "LabMarkBegin", QStringLiteral("0"), {112, 53});
    LabMarkPosition = MakeLabel(GroupBox3, "LabMarkPosition", QString::number(PresetAlpha), {194, 53});
    LabMarkEnd = MakeLabel(GroupBox3, "LabMarkEnd", QStringLiteral("255"), {277, 53});

    QWidget* order[] = {ChkStartWithWindows, ChkminimizeOnStart, ChkAlwaysOnTop, ChkDoneTaskPutInBottom,
                        ChkAlphablend,       TrackBar1,          CmbSoryBy,      BitBtn1,
                        BitBtn2,             ChkMarkAlphablend,  TrackBarMark};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    // Setting a box from the stored record runs its handler, as a click would.
    connect(ChkAlphablend, &QCheckBox::toggled, this, &TFrmSettingForm::ChkAlphablendClick);
    connect(ChkMarkAlphablend, &QCheckBox::toggled, this, &TFrmSettingForm::ChkMarkAlphablendClick);
    connect(TrackBar1, &QSlider::valueChanged, this, &TFrmSettingForm::TrackBar1Change);
    connect(TrackBarMark, &QSlider::valueChanged, this, &TFrmSettingForm::TrackBarMarkChange);
}

void TFrmSettingForm::LoadSetting(const TSettingInfo& setting)
{
    ChkStartWithWindows->setChecked(setting.StartWithWindows);
    ChkminimizeOnStart->setChecked(setting.MinimizeOnStart);
    ChkAlwaysOnTop->setChecked(setting.AlwaysOnTop);
    ChkAlphablend->setChecked(setting.AlphaBlendState);
    if (ChkAlphablend->isChecked())
        TrackBar1->setValue(setting.AlphaBlendValue);
    ChkMarkAlphablend->setChecked(setting.MarkFormAlphaBlendState);
    if (ChkMarkAlphablend->isChecked())
        TrackBarMark->setValue(setting.MarkFormAlphaBlendValue);
    ChkDoneTaskPutInBottom->setChecked(setting.DoneTaskPutInBottom);
    const int sortIndex = CmbSoryBy->findData(setting.SortByColumn);
    if (sortIndex >= 0)
        CmbSoryBy->setCurrentIndex(sortIndex);
}

TSettingInfo TFrmSettingForm::BuildSetting() const
{
    TSettingInfo setting;
    setting.StartWithWindows = ChkStartWithWindows->isChecked();
    setting.MinimizeOnStart = ChkminimizeOnStart->isChecked();
    setting.AlwaysOnTop = ChkAlwaysOnTop->isChecked();
    setting.AlphaBlendState = ChkAlphablend->isChecked();
    if (setting.AlphaBlendState)
        setting.AlphaBlendValue = TrackBar1->value();
    setting.MarkFormAlphaBlendState = ChkMarkAlphablend->isChecked();
    if (setting.MarkFormAlphaBlendState)
        setting.MarkFormAlphaBlendValue = TrackBarMark->value();
    setting.DoneTaskPutInBottom = ChkDoneTaskPutInBottom->isChecked();
    setting.SortByColumn = CmbSoryBy->currentData().toString();
    return setting;
}

void TFrmSettingForm::ActOKExecute()
{
    const TSettingInfo setting = BuildSetting();
    XMLOperation->SaveSetting(setting);
    SetStartWithWindows(setting.StartWithWindows);
    ApplyMarkFormAlpha(setting);
    if (FrmMainForm)
        ApplyWindowAppearance(FrmMainForm);
    accept();
}

void TFrmSettingForm::ActCancelExecute()
{
    reject();
}

void TFrmSettingForm::ChkAlphablendClick()
{
    const bool on = ChkAlphablend->isChecked();
    for (QWidget* control : {static_cast<QWidget*>(TrackBar1), static_cast<QWidget*>(labBegin),
                             static_cast<QWidget*>(LabEnd), static_cast<QWidget*>(LabPosition)})
        control->setEnabled(on);
    ShowPosition(LabPosition, TrackBar1);
}

void TFrmSettingForm::ChkMarkAlphablendClick()
{
    const bool on = ChkMarkAlphablend->isChecked();
    for (QWidget* control : {static_cast<QWidget*>(TrackBarMark), static_cast<QWidget*>(LabMarkBegin),
                             static_cast<QWidget*>(LabMarkEnd), static_cast<QWidget*>(LabMarkPosition)})
        control->setEnabled(on);
    ShowPosition(LabMarkPosition, TrackBarMark);
}

void TFrmSettingForm::TrackBar1Change()
{
    ShowPosition(LabPosition, TrackBar1);
}

void TFrmSettingForm::TrackBarMarkChange()
{
    ShowPosition(LabMarkPosition, TrackBarMark);
}

void TFrmSettingForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        RunCommand([this] { FormShow(); });
}

void TFrmSettingForm::FormShow()
{
    ApplyWindowAppearance(this);
    ChkAlphablendClick();
    ChkMarkAlphablendClick();
}

void TFrmSettingForm::keyPressEvent(QKeyEvent* event)
{
    // Esc does not close this dialog: only Ok, Cancel and the title bar do.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void OpenSettings()
{
    QPointer<TFrmSettingForm> form = new TFrmSettingForm(FrmMainForm);
    TSettingInfo setting;
    XMLOperation->GetSetting(setting);
    form->LoadSetting(setting);
    {
        TTopMostsNormalized normalized;
        form->exec();
    }
    delete form;
}

void SetStartWithWindows(bool on)
{
    QString error;
    if (on) {
        if (!Platform::WriteAutostartEntry(StartWithWindowsEntryName, QCoreApplication::applicationFilePath(),
                                           &error)) {
            qWarning().noquote() << error;
            throw ETaskwickError(QCoreApplication::translate("TFrmSettingForm", "Failed to set data for '%1'")
                                     .arg(StartWithWindowsEntryName));
        }
    } else if (!Platform::RemoveAutostartEntry(StartWithWindowsEntryName, &error)) {
        // Switching off does not complain: the entry stays as it was.
        qWarning().noquote() << error;
    }
}

// The settings dialog: start with the session, minimise on start, the transparency of the
// main window and of the desktop notes, done tasks at the bottom and the sort column.
#pragma once

#include "BaseAppVar.h"

#include <QDialog>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSlider;

// The name of the autostart entry that starts the program when the user logs in.
inline const QString StartWithWindowsEntryName = QStringLiteral("CorvalenPellory");

class TFrmSettingForm : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmSettingForm(QWidget* owner = nullptr);

    // Sets the controls from a stored record, as opening the dialog does.
    void LoadSetting(const TSettingInfo& setting);
    // The record the controls describe; a transparency value whose box is unchecked is not taken.
    TSettingInfo BuildSetting() const;

    QGroupBox* GroupBox1;
    QCheckBox* ChkStartWithWindows;
    QCheckBox* ChkminimizeOnStart;
    QCheckBox* ChkAlwaysOnTop;
    QGroupBox* GroupBox2;
    QCheckBox* ChkDoneTaskPutInBottom;
    QCheckBox* ChkAlphablend;
    QSlider* TrackBar1;
    QLabel* labBegin;
    QLabel* LabPosition;
    QLabel* LabEnd;
    QLabel* Label1;
    QComboBox* CmbSoryBy;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QGroupBox* GroupBox3;
    QCheckBox* ChkMarkAlphablend;
    QSlider* TrackBarMark;
    QLabel* LabMarkBegin;
    QLabel* LabMarkPosition;
    QLabel* LabMarkEnd;
    QAction* ActOK;
    QAction* ActCancel;

public slots:
    void ActOKExecute();
    void ActCancelExecute();
    void ChkAlphablendClick();
    void ChkMarkAlphablendClick();
    void TrackBar1Change();
    void TrackBarMarkChange();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormShow();
};

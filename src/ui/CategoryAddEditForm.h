// The category editor: a category's name and one of ten icons.
#pragma once

#include <QDialog>
#include <QString>

class QAction;
class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QShowEvent;
class QToolButton;

inline constexpr int CategoryIconButtonCount = 10;

class TFrmCategoryAddEditForm : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmCategoryAddEditForm(QWidget* owner);

    // Edit mode: shows the stored category with exactly its icon button down; an icon that
    // no button shows puts the first button down.
    void LoadCategory(const QString& id);
    // Puts down the button that shows image `iconId`, or the first button for any other value.
    void SelectIcon(int iconId);
    // The image index of the button that is down.
    int SelectedIcon() const;

    QLabel* LabCategoryName = nullptr;
    QLineEdit* EdtCategoryName = nullptr;
    QLabel* LabSelectIcon = nullptr;
    QWidget* ToolBar1 = nullptr; // the row of icon buttons
    QToolButton* ToolButtons[CategoryIconButtonCount] = {}; // ToolButton1 to ToolButton10
    QButtonGroup* IconGroup = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;

    QAction* ActOK = nullptr;
    QAction* ActCancel = nullptr;

    QString Mode;           // "add" or "edit"
    QString EditCategoryId; // the category being edited; empty when adding

public slots:
    void ActOKExecute();
    void ActCancelExecute();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
};

// The category manager: the list of categories with Add, Edit, Delete and Close.
#pragma once

#include <QDialog>

class QAction;
class QPushButton;
class QShowEvent;
class QTreeWidget;

// Value indexes of the category list's columns.
enum : int { CxTreeListCelID = 0, CxTreeListCelName = 1, CxTreeListCelIconID = 2, CxTreeListCelIcon = 3 };

class TFrmCategoryForm : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmCategoryForm(QWidget* owner);

    // The identifier of the focused (selected) row; empty when no row is focused.
    QString FocusedCategoryId() const;
    // The focused category, when it may be edited or deleted; the protected one is refused
    // with its message, and no focused row gives the empty text.
    QString ChangeableCategoryId() const;

    QTreeWidget* TreeListCategory = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* BitBtn3 = nullptr;
    QPushButton* BitBtn4 = nullptr;

    QAction* ActCategoryAdd = nullptr;
    QAction* ActCategoryEdit = nullptr;
    QAction* ActCategoryDel = nullptr;
    QAction* ActCategoryCancel = nullptr;

public slots:
    void ActCategoryAddExecute();
    void ActCategoryEditExecute();
    void ActCategoryDelExecute();
    void ActCategoryCancelExecute();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void TreeListCategoryCustomDrawCell();
};

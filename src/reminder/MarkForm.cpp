#include "MarkForm.h"

TStringObjectList<TFrmMarkInfoForm>* MarkFormList = nullptr;

TFrmMarkInfoForm::TFrmMarkInfoForm(QWidget* parent) : QWidget(parent) {}

void RemoveMarkFormEntry(const QString& taskId)
{
    if (!MarkFormList)
        return;
    for (int i = 0; i < MarkFormList->Count(); ++i)
        if (MarkFormList->Objects(i)->TaskInfo.ID == taskId) {
            MarkFormList->Delete(i);
            return;
        }
}

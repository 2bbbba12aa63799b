#include "uFunction.h"

#include <QApplication>
#include <QMessageBox>

int ShowMsg(const QString& text, int kind)
{
    QMessageBox::StandardButtons buttons;
    switch (kind) {
    case MsgOk:
        buttons = QMessageBox::Ok;
        break;
    case MsgYesNo:
        buttons = QMessageBox::Yes | QMessageBox::No;
        break;
    case MsgYesNoCancel:
        buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        break;
    default:
        return 0;
    }
    QString title = ApplicationTitle();
    if (title.isEmpty())
        title = QApplication::applicationName();
    QMessageBox box(QMessageBox::Information, title, text, buttons, QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    switch (box.exec()) {
    case QMessageBox::Ok:
        return IDOK;
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    case QMessageBox::Cancel:
    default: // closed through the title bar
        return kind == MsgOk ? IDOK : kind == MsgYesNo ? IDNO : IDCANCEL;
    }
}

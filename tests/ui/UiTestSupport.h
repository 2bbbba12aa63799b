// Helpers for widget tests: answering modal dialogs the way a person would.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>

// Runs `act` on the next modal window once it is open (it is what a person would see),
// polling for it for up to `timeoutMs`; the text of a message box is kept in `seenText`.
inline void WhenModalOpens(std::function<void(QWidget*)> act, int timeoutMs = 5000)
{
    auto* timer = new QTimer();
    auto waited = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, waited, act, timeoutMs] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            act(modal);
        } else if ((*waited += 20) > timeoutMs) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(20);
}

// Clicks the button of a message box whose text is `buttonText` (for example "&Yes").
inline void ClickMessageBoxButton(QWidget* modal, QMessageBox::StandardButton which)
{
    if (auto* box = qobject_cast<QMessageBox*>(modal))
        if (QAbstractButton* button = box->button(which))
            QTest::mouseClick(button, Qt::LeftButton);
}

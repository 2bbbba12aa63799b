// The about box: the product's name, version, home page and e-mail address on its picture.
#pragma once

#include <QDialog>
#include <QLabel>

class TLinkLabel;

class TFrmAboutForm : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmAboutForm(QWidget* owner = nullptr);

    QLabel* Image1;
    QLabel* LabProName;
    QLabel* Version;
    QLabel* Label3;
    QLabel* Label2;
    TLinkLabel* LabHome;
    QLabel* Label1;
    TLinkLabel* LabEmail;

    // Places the links beside their captions; the e-mail pair moves left rather than reach
    // past the right edge.
    void FitLinks();
    static constexpr int RightMargin = 8;
    static constexpr int CaptionGap = 3;

public slots:
    void LabHomeClick();
    void LabEmailClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
};

// A label drawn as a link: blue, underlined, a hand cursor; a click, or Enter or Space
// while it has the focus, acts on its own text.
class TLinkLabel : public QLabel
{
    Q_OBJECT
public:
    explicit TLinkLabel(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool FPressed = false;
};

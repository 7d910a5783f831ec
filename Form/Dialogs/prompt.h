#pragma once

#include <QDialog>

class QTimer;

namespace Ui {
class dlgPrompt;
}

// The one prompt dialog through which every part of the program tells the user
// something. Callers set the text, then run it with exec(). A text too wide
// for its label scrolls as a marquee while the mouse is over the dialog.
class Prompt : public QDialog
{
    Q_OBJECT

public:
    explicit Prompt(QWidget *parent = nullptr);
    ~Prompt() override;

    // Shows the text (as plain text: it may hold a file name or a server's
    // words) and centres the dialog where the user is looking.
    void setPrompt(const QString &text);
    QString promptText() const { return m_text; }

private slots:
    void on_btnClose_clicked();
    void on_btnOk_clicked();
    void scrollCaption();

protected:
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    Ui::dlgPrompt *m_ui;
    QTimer *m_marqueeTimer;
    int m_marqueeIndex = 0;
    int m_marqueeBound = 0;
    QString m_text;
};

#pragma once

#include <QDialog>
#include <QStringList>

namespace Ui {
class fmrMessage;
}

// The shared two-part message dialog: a title line and a body that is broken
// into short lines so that long texts (file names, paths) fit the dialog.
// Callers set the message, then run it with exec().
class FormMessage : public QDialog
{
    Q_OBJECT

public:
    // Characters per body line: what fits the dialog's width at its font.
    static constexpr int kPieceLength = 37;

    explicit FormMessage(QWidget *parent = nullptr);
    ~FormMessage() override;

    // Line 0 is the title, line 1 the body; a missing line shows as empty.
    // Both are shown as the user's or server's text, never as markup.
    void setMessage(const QStringList &lines);

    // The body as the label shows it: one paragraph per piece of
    // kPieceLength characters (the last holds the rest), each escaped.
    static QString bodyHtml(const QString &text);
    static QStringList bodyPieces(const QString &text);

private slots:
    void on_btnClose_clicked();
    void on_btnOk_clicked();

private:
    Ui::fmrMessage *m_ui;
};

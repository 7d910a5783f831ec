#include "Form/Dialogs/formmessage.h"
#include "ui_formmessage.h"

#include "Form/Dialogs/dialogplacement.h"
#include "helper/framelesswindow.h"


FormMessage::FormMessage(QWidget *parent)
    : QDialog(parent)
    , m_ui(new Ui::fmrMessage)
{
    m_ui->setupUi(this);
    setUpFramelessDialog(this, DialogModality::Modeless);
    setWindowTitle(QCoreApplication::translate("fmrMessage", "Varo helper"));
    m_ui->lbPromptText->setWordWrap(true);

    for (QWidget *widget : {static_cast<QWidget *>(m_ui->lbPromptText), static_cast<QWidget *>(m_ui->btnOk)}) {
        QFont font = widget->font();
        font.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
        widget->setFont(font);
    }
}

FormMessage::~FormMessage()
{
    delete m_ui;
}

QStringList FormMessage::bodyPieces(const QString &text)
{
    QStringList pieces;
    int start = 0;
    while (start < text.length()) {
        int length = qMin(kPieceLength, text.length() - start);
        // Never cut a character that takes two UTF-16 units in half.
        if (start + length < text.length() && text.at(start + length - 1).isHighSurrogate())
            ++length;
        pieces << text.mid(start, length);
        start += length;
    }
    return pieces;
}

QString FormMessage::bodyHtml(const QString &text)
{
    QString body = QStringLiteral(
        "<html><head><meta name = \"qrichtext\" content = \"1\" / ><style type = \"text/css\">"
        "p, li{ white - space: pre - wrap; }</style></head><body>");
    const QStringList pieces = bodyPieces(text);
    for (const QString &piece : pieces) {
        body += QStringLiteral(
                    "<p style=\"margin-top:0px;margin-bottom:0px;margin-left:0px;margin-right:0px;"
                    "-qt-block-indent:0;text-indent:0px;line-height:120%;\">%1</p>")
                    .arg(piece.toHtmlEscaped());
    }
    return QStringLiteral(
               "<p style='line-height:120%; margin-top:0px; margin-bottom:0px; margin-left:0px; "
               "margin-right:0px; -qt-block-indent:0; text-indent:0px;'>")
        + body + QStringLiteral("</p>");
}

void FormMessage::setMessage(const QStringList &lines)
{
    m_ui->label->setText(lines.value(0));
    m_ui->lbPromptText->setText(bodyHtml(lines.value(1)));
    centreSharedDialog(this);
}

void FormMessage::on_btnClose_clicked()
{
    close();
}

void FormMessage::on_btnOk_clicked()
{
    close();
}

#include "Form/FormGuide/faqtext.h"

#include <QLabel>

namespace faqtext {

void setLine(QLabel *label, const QString &text)
{
    QFont font = label->font();
    font.setLetterSpacing(QFont::AbsoluteSpacing, 2.0);
    label->setFont(font);
    label->setText(text);
}

void setParagraph(QLabel *label, const QString &text, int lineHeightPercent)
{
    setLine(label, QStringLiteral("<p style='line-height:%1% '>").arg(lineHeightPercent) + text.toHtmlEscaped()
                       + QStringLiteral("</p>"));
    label->setTextFormat(Qt::RichText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignTop);
}

} // namespace faqtext

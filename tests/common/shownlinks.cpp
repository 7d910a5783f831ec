#include "common/shownlinks.h"

#include <QDesktopServices>
#include <QLabel>
#include <QTextBlock>
#include <QTextDocument>

ShownText shownText(const QLabel *label)
{
    QTextDocument document;
    document.setHtml(label->text());
    ShownText shown;
    shown.words = document.toPlainText();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isAnchor())
                shown.links << format.anchorHref();
        }
    }
    return shown;
}

BrowserStandIn::BrowserStandIn()
{
    QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "open");
}

BrowserStandIn::~BrowserStandIn()
{
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
}

void BrowserStandIn::open(const QUrl &url)
{
    opened << url;
}

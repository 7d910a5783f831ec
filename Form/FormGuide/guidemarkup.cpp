#include "Form/FormGuide/guidemarkup.h"

#include "helper/weblinks.h"

#include <QColor>
#include <QRegularExpression>
#include <QStringList>
#include <QUrl>
#include <QVector>

namespace guidemarkup {
namespace {

// Deeper nesting than this is no guide text; further tags are dropped.
const int kMaxOpen = 32;

struct Attribute
{
    QString name;
    QString value;
};

struct Tag
{
    QString name;   // lower case
    bool closing = false;
    QVector<Attribute> attributes;
};

QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

QString linkOpening(const QUrl &url)
{
    return QStringLiteral("<a href=\"%1\">").arg(escaped(url.toString(QUrl::FullyEncoded)));
}

// Character references become the characters they stand for; an unknown or
// broken one stays as it was written, and is escaped like any other text.
QString decoded(const QString &text)
{
    if (!text.contains(QLatin1Char('&')))
        return text;
    QString out;
    out.reserve(text.size());
    int i = 0;
    while (i < text.size()) {
        // The longest reference understood here, "&#x10FFFF;", has ten characters.
        const int offset = text.at(i) == QLatin1Char('&') ? text.midRef(i + 1, 9).indexOf(QLatin1Char(';')) : -1;
        const int semicolon = offset < 0 ? -1 : i + 1 + offset;
        if (semicolon < 0) {
            out += text.at(i++);
            continue;
        }
        const QString name = text.mid(i + 1, semicolon - i - 1);
        uint code = 0;
        bool known = true;
        if (name.startsWith(QLatin1String("#x")) || name.startsWith(QLatin1String("#X")))
            code = name.midRef(2).toUInt(&known, 16);
        else if (name.startsWith(QLatin1Char('#')))
            code = name.midRef(1).toUInt(&known, 10);
        else if (name == QLatin1String("amp"))
            code = '&';
        else if (name == QLatin1String("lt"))
            code = '<';
        else if (name == QLatin1String("gt"))
            code = '>';
        else if (name == QLatin1String("quot"))
            code = '"';
        else if (name == QLatin1String("apos"))
            code = '\'';
        else if (name == QLatin1String("nbsp"))
            code = 0xA0;
        else
            known = false;
        if (!known) {
            out += text.at(i++);
            continue;
        }
        if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            code = 0xFFFD;
        out += QString::fromUcs4(&code, 1);
        i = semicolon + 1;
    }
    return out;
}

// Tag names are ASCII: "<设置>" in a Chinese answer is words in brackets.
bool isAsciiLetter(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

bool isNameChar(QChar c)
{
    return isAsciiLetter(c) || (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('-')
           || c == QLatin1Char('_') || c == QLatin1Char(':');
}

// Reads the tag that starts at text[at] == '<'. Returns the index after its
// '>', or -1 when the tag never ends.
int readTag(const QString &text, int at, Tag *tag)
{
    int i = at + 1;
    if (i < text.size() && text.at(i) == QLatin1Char('/')) {
        tag->closing = true;
        ++i;
    }
    const int nameStart = i;
    while (i < text.size() && isNameChar(text.at(i)))
        ++i;
    tag->name = text.mid(nameStart, i - nameStart).toLower();
    while (i < text.size()) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('>'))
            return i + 1;
        if (c.isSpace() || c == QLatin1Char('/')) {
            ++i;
            continue;
        }
        const int attrStart = i;
        while (i < text.size() && !text.at(i).isSpace() && text.at(i) != QLatin1Char('>')
               && text.at(i) != QLatin1Char('=') && text.at(i) != QLatin1Char('/'))
            ++i;
        Attribute attribute;
        attribute.name = text.mid(attrStart, i - attrStart).toLower();
        while (i < text.size() && text.at(i).isSpace())
            ++i;
        if (i < text.size() && text.at(i) == QLatin1Char('=')) {
            ++i;
            while (i < text.size() && text.at(i).isSpace())
                ++i;
            if (i < text.size() && (text.at(i) == QLatin1Char('"') || text.at(i) == QLatin1Char('\''))) {
                const int end = text.indexOf(text.at(i), i + 1);
                if (end < 0)
                    return -1;
                attribute.value = text.mid(i + 1, end - i - 1);
                i = end + 1;
            } else {
                const int valueStart = i;
                while (i < text.size() && !text.at(i).isSpace() && text.at(i) != QLatin1Char('>'))
                    ++i;
                attribute.value = text.mid(valueStart, i - valueStart);
            }
        }
        if (!attribute.name.isEmpty())
            tag->attributes.append({attribute.name, decoded(attribute.value)});
    }
    return -1;
}

QString attributeValue(const Tag &tag, const char *name)
{
    for (const Attribute &attribute : tag.attributes) {
        if (attribute.name == QLatin1String(name))
            return attribute.value;
    }
    return QString();
}

// "#rgb", "#rrggbb", "rgb(r, g, b)" or a colour name, as "#rrggbb".
QString cleanColour(const QString &value)
{
    static const QRegularExpression hex(QStringLiteral("^#(?:[0-9a-fA-F]{3}|[0-9a-fA-F]{6})$"));
    static const QRegularExpression name(QStringLiteral("^[a-zA-Z]{1,24}$"));
    static const QRegularExpression rgb(
        QStringLiteral("^rgb\\(\\s*(\\d{1,3})\\s*,\\s*(\\d{1,3})\\s*,\\s*(\\d{1,3})\\s*\\)$"),
        QRegularExpression::CaseInsensitiveOption);
    if (hex.match(value).hasMatch() || (name.match(value).hasMatch() && QColor::isValidColor(value))) {
        const QColor colour(value);
        return colour.alpha() == 255 ? colour.name() : QString();
    }
    const QRegularExpressionMatch parts = rgb.match(value);
    if (!parts.hasMatch())
        return QString();
    int channels[3];
    for (int k = 0; k < 3; ++k) {
        channels[k] = parts.captured(k + 1).toInt();
        if (channels[k] > 255)
            return QString();
    }
    return QColor(channels[0], channels[1], channels[2]).name();
}

// Only the colour and the weight of a span are kept, rebuilt from values
// that can name nothing outside the text.
QString cleanSpanStyle(const QString &style)
{
    static const QRegularExpression weight(QStringLiteral("^(?:normal|bold|[1-9]00)$"));
    QStringList kept;
    for (const QString &declaration : style.split(QLatin1Char(';'))) {
        const int colon = declaration.indexOf(QLatin1Char(':'));
        if (colon < 0)
            continue;
        const QString property = declaration.left(colon).trimmed().toLower();
        const QString value = declaration.mid(colon + 1).trimmed();
        if (property == QLatin1String("color")) {
            const QString colour = cleanColour(value);
            if (!colour.isEmpty())
                kept << QStringLiteral("color:") + colour;
        } else if (property == QLatin1String("font-weight") && weight.match(value.toLower()).hasMatch()) {
            kept << QStringLiteral("font-weight:") + value.toLower();
        }
    }
    return kept.join(QLatin1Char(';'));
}

// The element a tag stands for in the output; strong and em are written
// as the bold and italic they mean.
QString elementOf(const QString &tagName)
{
    if (tagName == QLatin1String("strong"))
        return QStringLiteral("b");
    if (tagName == QLatin1String("em"))
        return QStringLiteral("i");
    return tagName;
}

// The markup of an allowed tag as it is written out; empty for any other.
QString openingMarkup(const Tag &tag, QString *element)
{
    const QString name = elementOf(tag.name);
    if (name == QLatin1String("p") || name == QLatin1String("u") || name == QLatin1String("b")
        || name == QLatin1String("i")) {
        *element = name;
    } else if (name == QLatin1String("span")) {
        *element = name;
        const QString style = cleanSpanStyle(attributeValue(tag, "style"));
        if (!style.isEmpty())
            return QStringLiteral("<span style=\"%1\">").arg(style);
    } else if (name == QLatin1String("a")) {
        // Links lead to web pages only; the label opens them through the
        // program's link check, never by itself.
        const QUrl url(attributeValue(tag, "href").trimmed(), QUrl::TolerantMode);
        if (!online::isWebUrl(url))
            return QString();
        *element = name;
        return linkOpening(url);
    } else {
        return QString();
    }
    return QLatin1Char('<') + *element + QLatin1Char('>');
}

// Elements whose content is no text for the reader.
bool dropsContent(const QString &name)
{
    static const char *const names[] = {"script", "style", "head", "title", "template", "textarea",
                                        "iframe", "object", "svg", "math", "noscript", "xml"};
    for (const char *candidate : names) {
        if (name == QLatin1String(candidate))
            return true;
    }
    return false;
}

} // namespace

QString safeRichText(const QString &serviceText)
{
    QString out;
    QVector<QString> open;
    auto close = [&](int depth) {
        while (open.size() > depth)
            out += QStringLiteral("</") + open.takeLast() + QLatin1Char('>');
    };

    int i = 0;
    const int size = serviceText.size();
    while (i < size) {
        const int lt = serviceText.indexOf(QLatin1Char('<'), i);
        const int textEnd = lt < 0 ? size : lt;
        out += escaped(decoded(serviceText.mid(i, textEnd - i)));
        if (lt < 0)
            break;
        i = lt;

        const QChar next = lt + 1 < size ? serviceText.at(lt + 1) : QChar();
        if (serviceText.midRef(lt, 4) == QLatin1String("<!--")) {
            const int end = serviceText.indexOf(QLatin1String("-->"), lt + 4);
            if (end < 0)
                break;
            i = end + 3;
            continue;
        }
        if (next == QLatin1Char('!') || next == QLatin1Char('?')) {
            const int end = serviceText.indexOf(QLatin1Char('>'), lt);
            if (end < 0)
                break;
            i = end + 1;
            continue;
        }
        const bool tagStart = isAsciiLetter(next)
            || (next == QLatin1Char('/') && lt + 2 < size && isAsciiLetter(serviceText.at(lt + 2)));
        if (!tagStart) {
            out += escaped(QStringLiteral("<"));
            i = lt + 1;
            continue;
        }
        Tag tag;
        const int after = readTag(serviceText, lt, &tag);
        if (after < 0) {
            // A tag that never ends: no '>' can come, so the rest is words.
            out += escaped(decoded(serviceText.mid(lt)));
            break;
        }
        i = after;

        if (tag.closing) {
            const int depth = open.lastIndexOf(elementOf(tag.name));
            if (depth >= 0)
                close(depth);
            continue;
        }
        if (dropsContent(tag.name)) {
            const QRegularExpression end(QStringLiteral("</%1[\\s>]").arg(tag.name),
                                         QRegularExpression::CaseInsensitiveOption);
            const QRegularExpressionMatch found = end.match(serviceText, i);
            if (!found.hasMatch())
                break;
            const int gt = serviceText.indexOf(QLatin1Char('>'), found.capturedStart());
            if (gt < 0)
                break;
            i = gt + 1;
            continue;
        }
        if (tag.name == QLatin1String("br")) {
            out += QStringLiteral("<br/>");
            continue;
        }
        QString element;
        const QString markup = openingMarkup(tag, &element);
        if (markup.isEmpty() || open.size() >= kMaxOpen)
            continue;
        // A paragraph ends the one before it, and a link is never inside
        // another.
        if (element == QLatin1String("p") || element == QLatin1String("a")) {
            const int depth = open.lastIndexOf(element);
            if (depth >= 0)
                close(depth);
        }
        out += markup;
        open.append(element);
    }
    close(0);
    return out;
}

QString webLink(const QString &url, const QString &text)
{
    const QUrl parsed(url, QUrl::TolerantMode);
    if (!online::isWebUrl(parsed))
        return QString();
    return linkOpening(parsed) + escaped(text) + QStringLiteral("</a>");
}

} // namespace guidemarkup

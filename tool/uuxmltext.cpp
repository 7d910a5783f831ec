#include "tool/uuxmltext.h"

#include <QDomDocument>
#include <QRegularExpression>
#include <QTextCodec>
#include <QTextStream>

#include <algorithm>

namespace uuxml {
namespace {

bool isTextLike(const QDomNode &node)
{
    return node.isText() || node.isCDATASection();
}

class Writer
{
public:
    Writer(QTextCodec *codec, int indent)
        : m_codec(codec)
        , m_indent(indent)
    {
    }

    void node(const QDomNode &node, int depth);
    void children(const QDomNode &parent, int depth)
    {
        for (QDomNode child = parent.firstChild(); !child.isNull(); child = child.nextSibling())
            node(child, depth);
    }
    void raw(const QString &text) { m_out += text; }
    QByteArray bytes() const { return m_codec->fromUnicode(m_out); }

private:
    enum Escape { Text, Attribute };

    QString escaped(const QString &text, Escape escape) const;
    void element(const QDomElement &element, int depth);
    void indentBefore(const QDomNode &node, int depth)
    {
        // Whitespace beside a text node would become part of that text.
        if (m_indent > 0 && !isTextLike(node.previousSibling()))
            m_out += QString(depth * m_indent, QLatin1Char(' '));
    }
    void lineAfter(const QDomNode &node)
    {
        if (m_indent != -1 && !isTextLike(node.nextSibling()))
            m_out += QLatin1Char('\n');
    }

    QTextCodec *m_codec;
    int m_indent;
    QString m_out;
};

QString Writer::escaped(const QString &text, Escape escape) const
{
    QString out;
    out.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('<')) {
            out += QLatin1String("&lt;");
        } else if (c == QLatin1Char('&')) {
            out += QLatin1String("&amp;");
        } else if (c == QLatin1Char('>') && i >= 2 && text.at(i - 1) == QLatin1Char(']')
                   && text.at(i - 2) == QLatin1Char(']')) {
            // Only "]]>" is forbidden in text; a lone ">" stays readable.
            out += QLatin1String("&gt;");
        } else if (c == QLatin1Char('"') && escape == Attribute) {
            out += QLatin1String("&quot;");
        } else if (c == QLatin1Char('\r')
                   || (escape == Attribute && (c == QLatin1Char('\n') || c == QLatin1Char('\t')))) {
            // A reader turns these into blanks (or drops a CR) unless they
            // are written as references.
            out += QLatin1String("&#x") + QString::number(c.unicode(), 16) + QLatin1Char(';');
        } else if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            const QString pair = text.mid(i, 2);
            ++i;
            if (m_codec->canEncode(pair))
                out += pair;
            else
                out += QLatin1String("&#x") + QString::number(QChar::surrogateToUcs4(pair.at(0), pair.at(1)), 16)
                    + QLatin1Char(';');
        } else if (m_codec->canEncode(c)) {
            out += c;
        } else {
            out += QLatin1String("&#x") + QString::number(c.unicode(), 16) + QLatin1Char(';');
        }
    }
    return out;
}

void Writer::element(const QDomElement &element, int depth)
{
    indentBefore(element, depth);
    const QString name = element.nodeName();
    m_out += QLatin1Char('<') + name;
    if (!element.namespaceURI().isNull()) {
        m_out += element.prefix().isEmpty() ? QStringLiteral(" xmlns") : QStringLiteral(" xmlns:") + element.prefix();
        m_out += QLatin1String("=\"") + escaped(element.namespaceURI(), Attribute) + QLatin1Char('"');
    }

    const QDomNamedNodeMap map = element.attributes();
    QList<QDomAttr> attributes;
    for (int i = 0; i < map.count(); ++i)
        attributes.append(map.item(i).toAttr());
    std::sort(attributes.begin(), attributes.end(),
              [](const QDomAttr &a, const QDomAttr &b) { return a.nodeName() < b.nodeName(); });
    for (const QDomAttr &attribute : qAsConst(attributes)) {
        m_out += QLatin1Char(' ') + attribute.nodeName() + QLatin1String("=\"")
            + escaped(attribute.value(), Attribute) + QLatin1Char('"');
        const QString prefix = attribute.prefix();
        if (!attribute.namespaceURI().isNull() && !prefix.isEmpty() && prefix != element.prefix())
            m_out += QLatin1String(" xmlns:") + prefix + QLatin1String("=\"")
                + escaped(attribute.namespaceURI(), Attribute) + QLatin1Char('"');
    }

    if (element.hasChildNodes()) {
        m_out += QLatin1Char('>');
        if (!isTextLike(element.firstChild()) && m_indent != -1)
            m_out += QLatin1Char('\n');
        children(element, depth + 1);
        if (!isTextLike(element.lastChild()) && m_indent > 0)
            m_out += QString(depth * m_indent, QLatin1Char(' '));
        m_out += QLatin1String("</") + name + QLatin1Char('>');
    } else {
        m_out += QLatin1String("/>");
    }
    lineAfter(element);
}

void Writer::node(const QDomNode &node, int depth)
{
    switch (node.nodeType()) {
    case QDomNode::ElementNode:
        element(node.toElement(), depth);
        break;
    case QDomNode::TextNode:
        m_out += escaped(node.nodeValue(), Text);
        break;
    case QDomNode::CDATASectionNode:
        // "]]>" cannot stand inside a section: end it there and begin another.
        m_out += QLatin1String("<![CDATA[")
            + node.nodeValue().replace(QLatin1String("]]>"), QLatin1String("]]]]><![CDATA[>"))
            + QLatin1String("]]>");
        break;
    case QDomNode::CommentNode: {
        indentBefore(node, depth);
        const QString text = node.nodeValue();
        // A comment may not end in "-" right before its closing "-->".
        m_out += QLatin1String("<!--") + text
            + (text.endsWith(QLatin1Char('-')) ? QLatin1String(" -->") : QLatin1String("-->"));
        lineAfter(node);
        break;
    }
    case QDomNode::ProcessingInstructionNode: {
        const QDomProcessingInstruction pi = node.toProcessingInstruction();
        m_out += QLatin1String("<?") + pi.target() + QLatin1Char(' ') + pi.data() + QLatin1String("?>\n");
        break;
    }
    case QDomNode::EntityReferenceNode:
        m_out += QLatin1Char('&') + node.nodeName() + QLatin1Char(';');
        break;
    default:
        break;
    }
}

bool isXmlDeclaration(const QDomNode &node)
{
    return node.isProcessingInstruction() && node.nodeName() == QLatin1String("xml");
}

QTextCodec *declaredCodec(const QDomDocument &document)
{
    const QDomNode first = document.firstChild();
    if (isXmlDeclaration(first)) {
        static const QRegularExpression encoding(QStringLiteral("encoding\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)')"));
        const QRegularExpressionMatch match = encoding.match(first.toProcessingInstruction().data());
        const QString name = match.captured(1).isEmpty() ? match.captured(2) : match.captured(1);
        if (QTextCodec *codec = QTextCodec::codecForName(name.toLatin1()))
            return codec;
    }
    return QTextCodec::codecForName("UTF-8");
}

QString doctypeText(const QDomDocument &document)
{
    const QDomDocumentType type = document.doctype();
    if (type.isNull() || type.name().isEmpty())
        return QString();
    QString text;
    QTextStream stream(&text);
    type.save(stream, 0);
    stream.flush();
    return text;
}

} // namespace

QByteArray documentBytes(const QDomDocument &document, int indent, Declaration declaration)
{
    QDomNode node = document.firstChild();
    if (declaration == Declaration::FromDocument) {
        Writer writer(declaredCodec(document), indent);
        if (isXmlDeclaration(node)) {
            writer.node(node, 0);
            node = node.nextSibling();
        }
        writer.raw(doctypeText(document));
        for (; !node.isNull(); node = node.nextSibling())
            writer.node(node, 0);
        return writer.bytes();
    }

    Writer writer(QTextCodec::codecForName("UTF-8"), indent);
    writer.raw(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"));
    writer.raw(doctypeText(document));
    for (; !node.isNull(); node = node.nextSibling()) {
        if (!isXmlDeclaration(node))
            writer.node(node, 0);
    }
    return writer.bytes();
}

} // namespace uuxml

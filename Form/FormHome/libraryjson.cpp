#include "Form/FormHome/libraryjson.h"

#include "helper/parallel.h"

#include <QDebug>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>

namespace {

QJsonObject parsedItem(const QString &itemText)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(itemText.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError)
        qDebug() << "library JSON: an item is no JSON object:" << error.errorString();
    return document.object();
}

// The listing in compact JSON, put together from its items' compact JSON.
QByteArray compactOf(const QVector<QByteArray> &items)
{
    const QByteArray number = QByteArray::number(items.size());
    qsizetype total = 32 + number.size();
    for (const QByteArray &item : items)
        total += item.size() + 1;
    QByteArray out;
    out.reserve(int(total));
    // The members in the order Qt writes them: sorted by name.
    out += "{\"items\":[";
    for (int i = 0; i < items.size(); ++i) {
        if (i > 0)
            out += ',';
        out += items[i];
    }
    out += "],\"number\":\"";
    out += number;
    out += "\"}";
    return out;
}

} // namespace

void LibraryJson::setItems(const QStringList &itemTexts)
{
    const int count = itemTexts.size();
    QVector<QJsonObject> objects(count);
    QVector<QByteArray> compact(count);
    parallel::forEachIndex(count, [&](int i) {
        objects[i] = parsedItem(itemTexts.at(i));
        compact[i] = QJsonDocument(objects[i]).toJson(QJsonDocument::Compact);
    });
    m_objects = std::move(objects);
    m_compact = std::move(compact);
    changed();
}

void LibraryJson::setParsed(QVector<QJsonObject> objects, QVector<QByteArray> compact)
{
    m_objects = std::move(objects);
    m_compact = std::move(compact);
    changed();
}

void LibraryJson::append(const QString &itemText)
{
    m_objects.append(parsedItem(itemText));
    m_compact.append(QJsonDocument(m_objects.last()).toJson(QJsonDocument::Compact));
    changed();
}

void LibraryJson::clear()
{
    m_objects.clear();
    m_compact.clear();
    changed();
}

void LibraryJson::changed()
{
    m_objectMade = false;
    m_listingMade = false;
    m_object = QJsonObject();
    m_listing.clear();
}

QJsonObject LibraryJson::object() const
{
    if (!m_objectMade) {
        QJsonArray items;
        for (const QJsonObject &item : m_objects)
            items.append(item);
        m_object = QJsonObject{{QStringLiteral("items"), items},
                               {QStringLiteral("number"), QString::number(m_objects.size())}};
        m_objectMade = true;
    }
    return m_object;
}

QByteArray LibraryJson::compact() const
{
    if (!m_listingMade) {
        m_listing = compactOf(m_compact);
        m_listingMade = true;
    }
    return m_listing;
}

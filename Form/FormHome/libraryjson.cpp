#include "Form/FormHome/libraryjson.h"

#include "helper/parallel.h"
#include "platform/memory.h"

#include <QDebug>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>

#include <cstring>

namespace {

QJsonObject parsedItem(const QByteArray &itemText)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(itemText, &error);
    if (error.error != QJsonParseError::NoError)
        qDebug() << "library JSON: an item is no JSON object:" << error.errorString();
    return document.object();
}

// The listing in compact JSON, put together from its items' compact JSON:
// the members in the order Qt writes them, sorted by name. A large listing
// is copied into place on a few threads.
QByteArray compactOf(const QVector<QByteArray> &items)
{
    const QByteArray head = "{\"items\":[";
    const QByteArray tail = "],\"number\":\"" + QByteArray::number(items.size()) + "\"}";
    QVector<qsizetype> at(items.size());
    qsizetype total = head.size();
    for (int i = 0; i < items.size(); ++i) {
        total += i > 0 ? 1 : 0;
        at[i] = total;
        total += items[i].size();
    }
    QByteArray out(int(total + tail.size()), Qt::Uninitialized);
    char *bytes = out.data();
    platform::makeResident(bytes, out.size());
    const qsizetype *offsets = at.constData();
    std::memcpy(bytes, head.constData(), size_t(head.size()));
    parallel::forEachIndex(items.size(), [&](int i) {
        if (i > 0)
            bytes[offsets[i] - 1] = ',';
        std::memcpy(bytes + offsets[i], items[i].constData(), size_t(items[i].size()));
    });
    std::memcpy(bytes + total, tail.constData(), size_t(tail.size()));
    return out;
}

} // namespace

void LibraryJson::setItems(const QStringList &itemTexts)
{
    const int count = itemTexts.size();
    QVector<QJsonObject> objects(count);
    QVector<QByteArray> compact(count);
    QJsonObject *object = objects.data();
    QByteArray *item = compact.data();
    parallel::forEachIndex(count, [&](int i) {
        object[i] = parsedItem(itemTexts.at(i).toUtf8());
        item[i] = QJsonDocument(object[i]).toJson(QJsonDocument::Compact);
    });
    m_objects = std::move(objects);
    m_parsed = QVector<bool>(count, true);
    m_compact = std::move(compact);
    changed();
}

void LibraryJson::setCompact(QVector<QByteArray> compact)
{
    m_compact = std::move(compact);
    m_objects = QVector<QJsonObject>(m_compact.size());
    m_parsed = QVector<bool>(m_compact.size(), false);
    changed();
}

void LibraryJson::append(const QString &itemText)
{
    m_objects.append(parsedItem(itemText.toUtf8()));
    m_parsed.append(true);
    m_compact.append(QJsonDocument(m_objects.last()).toJson(QJsonDocument::Compact));
    changed();
}

void LibraryJson::clear()
{
    m_objects.clear();
    m_parsed.clear();
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
        QJsonObject *object = m_objects.data();
        bool *parsed = m_parsed.data();
        const QByteArray *item = m_compact.constData();
        parallel::forEachIndex(m_objects.size(), [&](int i) {
            if (!parsed[i]) {
                object[i] = parsedItem(item[i]);
                parsed[i] = true;
            }
        });
        QJsonArray items;
        for (const QJsonObject &item : qAsConst(m_objects))
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

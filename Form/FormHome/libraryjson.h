#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QVector>

// The library JSON of the entries, kept beside their item texts: each item
// is kept in the compact form that the headset's "list" request sends, and
// parsed into the object that the main window holds when that is first
// asked for. A change costs the items that changed; the listing is then put
// together from the parts, which is what keeps the headset waiting no longer
// at start-up with ten thousand videos than with ten.
class LibraryJson
{
public:
    // Every item anew, on a few threads when there are many.
    void setItems(const QStringList &itemTexts);
    // Items whose compact JSON is made already (each that of its item text
    // parsed); they are parsed only when the object is asked for.
    void setCompact(QVector<QByteArray> compact);
    void append(const QString &itemText);
    void clear();

    // {"items":[...],"number":"N"}: the listing text of the same items,
    // parsed. Made once after a change and then handed out as it is, so
    // that a copy of it can be told from another library at once.
    QJsonObject object() const;
    // That object in Qt's compact JSON, byte for byte; made once after a
    // change too, of the items' own (the object itself is not needed).
    QByteArray compact() const;

private:
    void changed();

    QVector<QByteArray> m_compact;
    // Each item's object; an item not parsed yet has none.
    mutable QVector<QJsonObject> m_objects;
    mutable QVector<bool> m_parsed;
    mutable QJsonObject m_object;
    mutable QByteArray m_listing;
    mutable bool m_objectMade = false;
    mutable bool m_listingMade = false;
};

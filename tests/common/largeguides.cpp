#include "common/largeguides.h"

#include <QJsonDocument>

namespace largeguides {

QList<FakeOnlineService::GuideEntry> numbered(int count)
{
    QList<FakeOnlineService::GuideEntry> entries;
    entries.reserve(count);
    for (int i = 0; i < count; ++i)
        entries.append({QStringLiteral("Question %1").arg(i), {{QStringLiteral("Answer %1.").arg(i), QString()}}, i});
    return entries;
}

QList<FakeOnlineService::GuideEntry> empty(int count)
{
    QList<FakeOnlineService::GuideEntry> entries;
    entries.reserve(count);
    for (int i = 0; i < count; ++i)
        entries.append({QString(), {}, i});
    return entries;
}

QList<FakeOnlineService::GuideEntry> longTexts(int titleChars, int answerChars)
{
    return {{words(titleChars), {{words(answerChars), QString()}}, 0}};
}

QByteArray reply(const QList<FakeOnlineService::GuideEntry> &entries, const QJsonValue &page)
{
    QJsonObject reply = FakeOnlineService::guideReply(entries);
    if (!page.isUndefined())
        reply.insert(QStringLiteral("url"), page);
    return QJsonDocument(reply).toJson(QJsonDocument::Compact);
}

QString words(int chars)
{
    return QStringLiteral("word ").repeated(chars / 5);
}

} // namespace largeguides

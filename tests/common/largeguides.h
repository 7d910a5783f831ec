#pragma once

#include "common/fakeonlineservice.h"

#include <QByteArray>
#include <QJsonValue>
#include <QList>

// Guides far larger than any the maker writes, each well under the 4 MiB
// cap on a reply: what a broken service, or anyone on the plain-http path to
// it, can make the Guide page build.
namespace largeguides {

// "Question N" with the one answer "Answer N.", in order.
QList<FakeOnlineService::GuideEntry> numbered(int count);
// Questions with neither a title nor an answer.
QList<FakeOnlineService::GuideEntry> empty(int count);
// One question whose title has the given number of characters, with one
// answer of the given number of characters; words of five characters each.
QList<FakeOnlineService::GuideEntry> longTexts(int titleChars, int answerChars);
// The service's reply holding the entries, with the whole guide's page as
// its "url" when the value is not undefined.
QByteArray reply(const QList<FakeOnlineService::GuideEntry> &entries, const QJsonValue &page);
// Words of five characters ("word "), as many as fit in the count.
QString words(int chars);

} // namespace largeguides

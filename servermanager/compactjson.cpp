#include "servermanager/compactjson.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <thread>
#include <vector>

namespace LanHttpServer {

namespace {

// Below this many elements an array is not worth a thread.
constexpr int kElementsPerThread = 1000;

QByteArray compact(const QJsonArray &array)
{
    return QJsonDocument(array).toJson(QJsonDocument::Compact);
}

// A value as the writer puts it down inside an array or an object.
QByteArray valueJson(const QJsonValue &value)
{
    if (value.isObject())
        return QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact);
    if (value.isArray())
        return compact(value.toArray());
    const QByteArray wrapped = compact(QJsonArray{value});
    return wrapped.mid(1, wrapped.size() - 2);
}

// A member's name, quoted and escaped as the writer does it.
QByteArray keyJson(const QString &key)
{
    const QByteArray wrapped = QJsonDocument(QJsonObject{{key, QJsonValue()}}).toJson(QJsonDocument::Compact);
    // {"key":null}
    return wrapped.mid(1, wrapped.size() - 1 - int(sizeof(":null}") - 1));
}

QByteArray elementsJson(const QJsonArray &array, int from, int to)
{
    QByteArray out;
    for (int i = from; i < to; ++i) {
        if (i > from)
            out += ',';
        out += valueJson(array.at(i));
    }
    return out;
}

QByteArray arrayJson(const QJsonArray &array, int threads)
{
    const int count = array.size();
    const int parts = qBound(1, qMin(threads, count / kElementsPerThread), 64);
    if (parts == 1)
        return compact(array);
    std::vector<QByteArray> written(static_cast<size_t>(parts));
    std::vector<std::thread> writers;
    writers.reserve(size_t(parts - 1));
    auto write = [&array, &written, count, parts](int part) {
        written[size_t(part)] = elementsJson(array, int(qint64(count) * part / parts), int(qint64(count) * (part + 1) / parts));
    };
    for (int part = 1; part < parts; ++part)
        writers.emplace_back(write, part);
    write(0);
    for (std::thread &writer : writers)
        writer.join();

    qsizetype total = 2 + parts;
    for (const QByteArray &part : written)
        total += part.size();
    QByteArray out;
    out.reserve(int(total));
    out += '[';
    for (int part = 0; part < parts; ++part) {
        if (part > 0)
            out += ',';
        out += written[size_t(part)];
    }
    out += ']';
    return out;
}

} // namespace

QByteArray compactJson(const QJsonObject &object, int threads)
{
    bool large = false;
    for (auto member = object.constBegin(); member != object.constEnd(); ++member)
        large = large || (member.value().isArray() && member.value().toArray().size() >= 2 * kElementsPerThread);
    if (threads <= 1 || !large)
        return QJsonDocument(object).toJson(QJsonDocument::Compact);

    QByteArray out("{");
    for (auto member = object.constBegin(); member != object.constEnd(); ++member) {
        if (out.size() > 1)
            out += ',';
        out += keyJson(member.key());
        out += ':';
        const QJsonValue value = member.value();
        out += value.isArray() ? arrayJson(value.toArray(), threads) : valueJson(value);
    }
    out += '}';
    return out;
}

} // namespace LanHttpServer

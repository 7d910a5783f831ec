#include "helper/atomicfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace atomicfile {
namespace {

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

bool removeLink(const QString &path, QString *error)
{
    if (!QFileInfo(path).isSymLink())
        return true;
    QFile link(path);
    if (link.remove())
        return true;
    setError(error, link.errorString());
    return false;
}

} // namespace

bool write(const QString &path, const QByteArray &content, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        setError(error, file.errorString());
        return false;
    }
    if (file.write(content) != content.size()) {
        setError(error, file.errorString());
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        setError(error, file.errorString());
        return false;
    }
    return true;
}

bool sameFile(const QString &a, const QString &b)
{
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

bool copy(const QString &source, const QString &destination, QString *error)
{
    if (sameFile(source, destination))
        return true;

    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        setError(error, in.errorString());
        return false;
    }
    QSaveFile out(destination);
    if (!out.open(QIODevice::WriteOnly)) {
        setError(error, out.errorString());
        return false;
    }
    QByteArray chunk;
    while (!in.atEnd()) {
        chunk = in.read(1 << 20);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError) {
            setError(error, in.errorString());
            out.cancelWriting();
            return false;
        }
        if (out.write(chunk) != chunk.size()) {
            setError(error, out.errorString());
            out.cancelWriting();
            return false;
        }
    }
    if (!out.commit()) {
        setError(error, out.errorString());
        return false;
    }
    return true;
}

bool writeOwnFile(const QString &path, const QByteArray &content, QString *error)
{
    return removeLink(path, error) && write(path, content, error);
}

bool copyToOwnFile(const QString &source, const QString &destination, QString *error)
{
    return removeLink(destination, error) && copy(source, destination, error);
}

} // namespace atomicfile

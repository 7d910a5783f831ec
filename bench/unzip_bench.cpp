// The unzip worker on its own, for bench/unzip_bench.sh:
//   bench_unzip pack FOLDER ARCHIVE     zips the files of a folder (deflate)
//   bench_unzip extract ARCHIVE FOLDER  extracts with the worker thread
// Prints the step's own time; the script times the whole process against
// Debian's unzip.
#include "dataproc/jlcompress.h"

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>

namespace {

bool pack(const QString &folder, const QString &archive)
{
    QuaZip zip(archive);
    if (!zip.open(QuaZip::mdCreate))
        return false;
    const QDir root(QFileInfo(folder).absoluteFilePath());
    QDirIterator it(root.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile source(path);
        QuaZipFile entry(&zip);
        if (!source.open(QIODevice::ReadOnly)
            || !entry.open(QIODevice::WriteOnly, QuaZipNewInfo(root.relativeFilePath(path), path)))
            return false;
        while (!source.atEnd()) {
            const QByteArray block = source.read(1 << 20);
            if (entry.write(block) != block.size())
                return false;
        }
        entry.close();
    }
    zip.close();
    return zip.getZipError() == 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: bench_unzip pack FOLDER ARCHIVE | extract ARCHIVE FOLDER\n");
        return 2;
    }
    QElapsedTimer timer;
    timer.start();
    if (args[1] == "pack") {
        const bool ok = pack(args[2], args[3]);
        std::printf("pack %s in %.1f ms\n", ok ? "done" : "FAILED", timer.nsecsElapsed() / 1e6);
        return ok ? 0 : 1;
    }
    if (args[1] == "extract") {
        VaroUpdate::JlCompress worker;
        worker.setUnzipTask(args[2], args[3], QStringLiteral("bench"));
        worker.start();
        worker.wait();
        const int files = worker.extractedFiles().size();
        std::printf("extract %d entries in %.1f ms\n", files, timer.nsecsElapsed() / 1e6);
        return files > 0 ? 0 : 1;
    }
    return 2;
}

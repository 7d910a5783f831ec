// The program's own HTTP serving, for the benchmark script: the main window
// with a library of one item naming the file given on the command line, its
// server on the port it picks. Prints "PORT <n>" once it listens and runs
// until asked to end (SIGTERM).
//
//   HOME=... XDG_DATA_HOME=... brontel_httpbench NAME FILE
//
// The script prepares "Brontel.ini" (FirstUse=1, VaroSharedDir = the folder
// holding FILE) in the per-user data folder first.
//
//   brontel_httpbench --nginx-conf PORT FOLDER
//
// prints the "nginx.conf" the program writes for nginx on PORT serving
// FOLDER, so that nginx is measured with exactly the program's configuration.
#include "helper/session.h"
#include "platform/termination.h"
#include "src/brontel.h"

#include <QApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc == 4 && qstrcmp(argv[1], "--nginx-conf") == 0) {
        bool isPort = false;
        const int port = QByteArray(argv[2]).toInt(&isPort);
        if (!isPort || port <= 0 || port > 65535) {
            std::fprintf(stderr, "not a port: %s\n", argv[2]);
            return 2;
        }
        const QByteArray text = Session::nginxConfText(port, QString::fromLocal8Bit(argv[3]));
        std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
        return 0;
    }

    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: brontel_httpbench NAME FILE\n"
                             "       brontel_httpbench --nginx-conf PORT FOLDER\n");
        return 2;
    }
    platform::quitOnTerminationRequest();
    const QString name = QString::fromLocal8Bit(argv[1]);
    const QFileInfo file(QString::fromLocal8Bit(argv[2]));

    Brontel window;
    const QJsonObject item{{"index", "0"}, {"poster", name + ".png"}, {"video", file.fileName()},
                           {"size", QString::number(file.size() / 1024)}, {"length", "0"},
                           {"videopathreal", file.absoluteFilePath()},
                           {"posterpathreal", file.absolutePath() + "/" + name + ".png"},
                           {"videopath", "video/" + name}, {"posterpath", "post/" + name},
                           {"videoreq", file.fileName()}, {"videopathnginx", file.absoluteFilePath()},
                           {"width", "0"}, {"high", "0"}};
    window.slotSendJson(QJsonObject{{"number", "1"}, {"items", QJsonArray{item}}});
    if (!window.httpServerListening()) {
        std::fprintf(stderr, "the HTTP server does not listen\n");
        return 1;
    }
    std::printf("PORT %d\n", window.httpPort());
    std::fflush(stdout);
    return QApplication::exec();
}

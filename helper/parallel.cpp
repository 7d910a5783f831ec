#include "helper/parallel.h"

#include <QEventLoop>
#include <QThread>
#include <QtGlobal>

#include <thread>
#include <vector>

namespace parallel {

namespace {

// Below this many jobs a part is not worth a thread of its own.
constexpr int kJobsPerThread = 500;
constexpr int kMostThreads = 8;

} // namespace

void forEachIndex(int count, const std::function<void(int)> &job)
{
    const int parts = qBound(1, qMin(QThread::idealThreadCount(), count / kJobsPerThread), kMostThreads);
    auto run = [count, parts, &job](int part) {
        const int end = int(qint64(count) * (part + 1) / parts);
        for (int i = int(qint64(count) * part / parts); i < end; ++i)
            job(i);
    };
    std::vector<std::thread> threads;
    threads.reserve(size_t(parts - 1));
    for (int part = 1; part < parts; ++part)
        threads.emplace_back(run, part);
    run(0);
    for (std::thread &thread : threads)
        thread.join();
}

void whileAnswering(const std::function<void()> &job)
{
    QEventLoop loop;
    std::thread worker([&] {
        job();
        QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
}

} // namespace parallel

// Opening and saving the largest project the format holds: 255 four-channel
// tests of 4320 points (about 8.8 MB). Each step is printed next to simply
// reading or writing the same bytes, with the memory the open project takes.

#include "app/mainwindow.h"
#include "app/processmodel.h"
#include "largeproject.h"
#include "records/keeperproc.h"
#include "records/processp.h"
#include "records/projectfile.h"
#include "testrecords.h"
#include "testsettings.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <malloc.h>
#include <unistd.h>

using namespace testrecords;

namespace {
const int Rounds = 5;

double bestMs(const std::function<void()> &step) {
    double best = 1e30;
    for (int i = 0; i < Rounds; ++i) {
        QElapsedTimer t;
        t.start();
        step();
        best = std::min(best, t.nsecsElapsed() / 1e6);
    }
    return best;
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestSettings settings;
    QTemporaryDir dir;
    // bench_project [--keep PATH]: also leave the 255-test project at PATH.
    const QStringList args = QCoreApplication::arguments();
    const int keep = args.indexOf(QStringLiteral("--keep"));
    const QString path =
        keep > 0 && keep + 1 < args.size() ? args.at(keep + 1) : dir.filePath("bench.vtl");
    writeLargeProject(path);
    const qint64 size = QFileInfo(path).size();
    std::printf("project: 255 tests of kind 3, 4320 points, %lld bytes\n",
                static_cast<long long>(size));

    MainWindow w;
    w.setTitle(QStringLiteral("Setrovia+"));
    w.setFileChooser([&path](const MainWindow::FileRequest &) { return path; });
    // Measured first, before other steps leave freed memory in the heap.
    const qint64 rssBefore = statusKb("VmRSS:");
    const size_t heapBefore = mallinfo2().uordblks;
    QMetaObject::invokeMethod(&w, "openProject");
    const qint64 rssOpen = statusKb("VmRSS:");
    const size_t heapOpen = mallinfo2().uordblks;
    QByteArray bytes;
    const double rawRead = bestMs([&] {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        bytes = f.readAll();
    });
    const double parse = bestMs([&] {
        KeeperProc store;
        ProjectFile::read(path, store);
    });

    // Each later round closes the project and opens it again.
    const double open = bestMs([&] { QMetaObject::invokeMethod(&w, "openProject"); });
    const int rows = w.processModel()->rowCount();

    const QString copy = dir.filePath("copy.bin");
    const double rawWrite = bestMs([&] {
        QFile f(copy);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
    });
    const double rawWriteSync = bestMs([&] {
        QFile f(copy);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        f.flush();
        fsync(f.handle());
    });
    const QString saved = dir.filePath("saved.vtl");
    const double save =
        bestMs([&] { QMetaObject::invokeMethod(&w, "saveProject", Q_ARG(QString, saved)); });
    QFile savedFile(saved);
    const bool same = savedFile.open(QIODevice::ReadOnly) && savedFile.readAll() == bytes;

    std::printf("read the bytes            %8.2f ms\n", rawRead);
    std::printf("parse into a store        %8.2f ms  (%.1fx the raw read)\n", parse,
                parse / rawRead);
    std::printf("open in the window        %8.2f ms  (%.1fx the raw read; %d rows)\n", open,
                open / rawRead, rows);
    std::printf("write the bytes           %8.2f ms\n", rawWrite);
    std::printf("write the bytes + fsync   %8.2f ms\n", rawWriteSync);
    // The save is made durable (the temporary file is synced before it
    // replaces the project), so it compares with the synced write.
    std::printf("save from the window      %8.2f ms  (%.1fx the synced write)%s\n", save,
                save / rawWriteSync, same ? "" : "  SAVED BYTES DIFFER");
    std::printf("memory of the open project %6lld kB RSS, %lld kB heap in use (file %lld kB)\n",
                static_cast<long long>(rssOpen - rssBefore),
                static_cast<long long>((heapOpen - heapBefore) / 1024),
                static_cast<long long>(size / 1024));
    std::printf("TABLE|Open a 255-test project (%.1f MB): parse, store, list|%.1f ms (raw read "
                "%.2f ms, %.1fx)\n",
                double(size) / 1e6, open, rawRead, open / rawRead);
    std::printf("TABLE|Save it again (atomic, synced)|%.1f ms (raw write + fsync %.1f ms, %.1fx)\n",
                save, rawWriteSync, save / rawWriteSync);
    std::printf("TABLE|Memory of the open project|%lld kB RSS for a %lld kB file\n",
                static_cast<long long>(rssOpen - rssBefore), static_cast<long long>(size / 1024));
    return same ? 0 : 1;
}

#include "cli/commandline.h"

#include <QApplication>
#include <QTextStream>
#include <cstdio>
#include <memory>
#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#endif

namespace {
QtMessageHandler toolkitHandler = nullptr;

// Standard error carries the tool's own messages and progress, which scripts
// read; the toolkit's remarks (a missing runtime folder and the like) would
// only be noise there. Critical and fatal messages still pass.
void quietHandler(QtMsgType type, const QMessageLogContext &context, const QString &text) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        toolkitHandler(type, context, text);
}
} // namespace

int main(int argc, char *argv[]) {
#ifdef Q_OS_WIN
    // The bytes as written, as on Linux: no "\n" to "\r\n" in the C
    // runtime's text mode (the CSV's own "\r\n" would become "\r\r\n").
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    toolkitHandler = qInstallMessageHandler(quietHandler);
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // Only the protocol page is painted, and never shown: always off screen,
    // so that a session's platform (xcb without a display, say) cannot stop
    // it. Every other command needs no GUI at all. Windows' own platform
    // needs no display, and only it has the system's fonts there.
    std::unique_ptr<QCoreApplication> app;
    if (CommandLine::paints(arguments)) {
#ifndef Q_OS_WIN
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
        app = std::make_unique<QApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setOrganizationName(QStringLiteral("Ostrevan"));
    QCoreApplication::setApplicationName(QStringLiteral("setrovia-cli"));

    // Reports and JSON are UTF-8 whatever the locale's character set.
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setCodec("UTF-8");
    err.setCodec("UTF-8");
    CommandLine commandLine(out, err);
    const int status = commandLine.run(QCoreApplication::arguments().mid(1));
    out.flush();
    err.flush();
    return status;
}

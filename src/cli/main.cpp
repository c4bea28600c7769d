#include "cli/commandline.h"

#include <QApplication>
#include <QTextStream>
#include <cstdio>

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
    toolkitHandler = qInstallMessageHandler(quietHandler);
    // Nothing is ever shown: the table and the protocol page are made off
    // screen, with or without a display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
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

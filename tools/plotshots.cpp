// Renders the plot tabs of a realistic test to PNG files, to look at them:
//   QT_QPA_PLATFORM=offscreen build/tools/plotshots [folder] [kind]
// writes one "<n>-<tab title>.png" per tab, and "window.png": the main window
// after a click on the test.

#include "app/mainwindow.h"
#include "app/processmodel.h"
#include "charts/plottabs.h"
#include "curverecord.h"
#include "testsettings.h"

#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <cstdio>
#include <memory>

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    const quint8 kind = argc > 2 ? quint8(QByteArray(argv[2]).toInt()) : 3;
    QDir().mkpath(folder);

    std::unique_ptr<ProcessP> record(testrecords::curveRecord(kind));
    QTabWidget tabs;
    tabs.resize(1000, 620);
    PlotTabs plots(&tabs);
    plots.buildGraphs(record.get());
    tabs.show();
    for (int i = 0; i < tabs.count(); ++i) {
        tabs.setCurrentIndex(i);
        QApplication::processEvents();
        const QString name = QStringLiteral("%1/%2-%3.png")
                                 .arg(folder)
                                 .arg(i)
                                 .arg(tabs.tabText(i).replace(QLatin1Char('/'), QLatin1Char('_')));
        tabs.widget(i)->grab().save(name);
        std::printf("%s\n", qPrintable(name));
    }

    TestSettings settings; // the window's settings stay out of the user's
    MainWindow window;
    window.setTitle(QStringLiteral("Setrovia+"));
    ProcessP *shown = testrecords::curveRecord(kind);
    window.store().add(shown);
    QMetaObject::invokeMethod(&window, "addProc", Q_ARG(ProcessP *, shown));
    window.show();
    QMetaObject::invokeMethod(&window, "addGraph",
                              Q_ARG(QModelIndex, window.processModel()->index(0, 0)));
    QApplication::processEvents();
    const QString name = folder + QStringLiteral("/window.png");
    window.grab().save(name);
    std::printf("%s\n", qPrintable(name));
    return 0;
}

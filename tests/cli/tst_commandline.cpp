#include "app/mainwindow.h"
#include "app/processmodel.h"
#include "records/keeperproc.h"
#include "records/projectfile.h"
#include "results/qualitypanel.h"
#include "results/resultswindow.h"
#include "samplerecords.h"
#include "simulator/testgenerator.h"
#include "table/monitor.h"
#include "testprojects.h"
#include "testsettings.h"

#include <QAction>
#include <QStandardItemModel>
#include <QtTest>

// setrovia-cli, run as a child process, against the window and its exit statuses.

using namespace samplerecords;
using testprojects::bytesOf;

namespace {
struct Run {
    int status = -1;
    QString out, err;
    QByteArray bytes; // of the standard output, as written
};

// No display though X11 is asked for: a command that started a GUI would abort.
// Settings from `config`, by default none.
Run cli(const QStringList &args, const QString &simulator = QString(),
        const QString &config = "/nonexistent") {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY"})
        env.remove(QLatin1String(name));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("SETROVIA_SIMULATOR"), simulator); // never the developer's
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(SETROVIA_CLI), args);
    p.waitForFinished(120000);
    const QByteArray out = p.readAllStandardOutput();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(out),
            QString::fromUtf8(p.readAllStandardError()), out};
}

// A window with the project open; its file dialogs answer `answer`.
struct Window {
    explicit Window(const QString &project) : answer(project) {
        w.setFileChooser([this](const MainWindow::FileRequest &) { return answer; });
        w.openAction()->trigger();
    }
    // Column 1 of the table once the row's test is shown.
    QStringList show(int row) {
        QMetaObject::invokeMethod(&w, "addGraph",
                                  Q_ARG(QModelIndex, w.processModel()->index(row, 0)));
        QStringList texts;
        for (int r = 0; r < TableTexts::RowCount; ++r) {
            const QStandardItem *item = w.monitor()->tableModel()->item(r, 1);
            const QString box = item && item->checkState() == Qt::Checked ? "checked" : "unchecked";
            texts << (r == 6 || r == 7 ? box : item ? item->text() : QString());
        }
        return texts;
    }
    TestSettings settings;
    QString answer;
    MainWindow w;
};
} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void failures_data();
    void failures();
    void outputsAreTheWindows();
    void languages();

private:
    QTemporaryDir dir_;
    QString project_;
};

// A: 25 h, both flags; B: no flags and the 13th month; C: 2 h 30 min. And a corrupt project.
void TestCommandLine::initTestCase() {
    project_ = dir_.filePath("sample.vtl");
    HeaderFields b = longTestHeader(), c = longTestHeader();
    b.flags = 0;
    b.month = 13;
    c.duration = 9000;
    c.minute = 31;
    KeeperProc store;
    for (const HeaderFields &s : {longTestHeader(), b, c})
        store.add(make(s).release());
    QVERIFY(ProjectFile::save(project_, store, "Series 7\n\"quoted\"", {"A", "", "C"}).ok());
    testprojects::writeFile(dir_.filePath("bad.vtl"),
                            QByteArray("format 04\x01") + QByteArray(80, 0));
}

// Every way a command fails, and a read that succeeds: the exit status, one
// closing line, and the output file (after --output or --pdf) as it was.
void TestCommandLine::failures_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("simulator");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");  // the end of the standard error; usage: a part
    QTest::addColumn<QList<int>>("saved"); // the instrument's tests in the read project
    const QString p = project_, out = dir_.filePath("never.txt"), bad = dir_.filePath("bad.vtl");
    const QString missing = dir_.filePath("missing.vtl"), read = dir_.filePath("read.vtl");
    const auto add = [](const char *name, const QStringList &args, int status,
                        const QString &message, const QString &simulator = "tests=2",
                        const QList<int> &saved = {}) {
        QTest::newRow(name) << args << simulator << status << message << saved;
    };
    add("nothing", {}, 1, "Usage:");
    add("unknown command", {"print", p}, 1, "Unknown command \"print\".");
    add("no --test", {"export", p, "--output", out}, 1, "export needs --test");
    add("row past the end", {"protocol", p, "--test", "3", "--pdf", out}, 1,
        "--test 3: the project holds 3 tests, rows 0 to 2.");
    add("row not a number", {"protocol", p, "--test", "abc", "--pdf", out}, 1,
        "--test abc: \"abc\" is not a row number.");
    add("unknown language", {"report", p, "--language", "de"}, 1,
        "--language de: the languages are ru and en.");
    add("--output without --csv", {"report", p, "--output", out}, 1, "--output goes with --csv.");
    add("--days 30", {"report", p, "--stats", "--days", "30"}, 1,
        "--days 30: one of 7, 14, 28, 60, 90, 180, 360.");
    add("export, missing", {"export", missing, "--test", "0", "--output", out}, 2,
        QString("Can not open %1: No such file or directory\n").arg(missing));
    add("export, corrupt", {"export", bad, "--test", "0", "--output", out}, 2,
        QString("File %1 corrupt\n").arg(bad));
    add("read, corrupt", {"read", "--output", bad}, 2, QString("File %1 corrupt\n").arg(bad));
    for (const char *command : {"export", "report"})
        add(command,
            {command, p, command == QString("export") ? "--test=0" : "--csv", "--output", p + "/x"},
            4, QString("Can not write %1/x: Not a directory\n").arg(p));
    add("export to a folder", {"export", p, "--test", "0", "--output", dir_.path()}, 4,
        QString("Can not write %1: not a regular file\n").arg(dir_.path()));
    add("read", {"read", "--output", read}, 0,
        QString("3 new tests saved; %1 holds 3 tests.\n").arg(read), "tests=3", {0, 1, 2});
    // The instrument goes on after a lost packet.
    add("read, packet 3 of test 1 lost", {"read", "--output", read}, 3,
        "The read did not bring every test (1 not read); the tests read in full are saved.\n",
        "tests=3;fail-packet=1:3", {0, 2});
    add("read, no permission", {"read", "--output", read}, 3,
        QString("No permission to use the instrument: nothing was read, and %1 was not "
                "written.\n")
            .arg(read),
        "tests=3;access=denied");
    add("read, no instrument", {"read", "--output", read}, 3, "No instrument found.\n",
        "plugged=no");
    add("read, output below a file", {"read", "--output", p + "/p.vtl"}, 4,
        QString("Can not write %1/p.vtl: %1 is not a folder\n").arg(p), "tests=1");
}

void TestCommandLine::failures() {
    QFETCH(QStringList, args);
    QFETCH(QString, simulator);
    QFETCH(int, status);
    QFETCH(QString, message);
    QFETCH(QList<int>, saved);
    QFile::remove(dir_.filePath("read.vtl"));
    const int o = args.indexOf("--output");
    const QString output = args.value(o < 0 ? args.indexOf("--pdf") + 1 : o + 1);
    const QByteArray before = bytesOf(output);
    const Run run = cli(args, simulator);
    QCOMPARE(run.status, status);
    QVERIFY2(status == 1 ? run.err.contains(message) : run.err.endsWith(message),
             qPrintable(run.err));
    // Nothing on the standard output, nor the window's diagnostic lines.
    QVERIFY2(run.out.isEmpty() && !run.err.contains("ViewerUsb::") && !run.err.contains("Open dev"),
             qPrintable(run.err));
    if (saved.isEmpty()) // nothing written, and what stands there stays
        QCOMPARE(bytesOf(output), before);
    KeeperProc store;
    ProjectFile::read(output, store);
    QCOMPARE(store.count(), saved.size());
    for (int i = 0; i < saved.size(); ++i)
        QCOMPARE(store.at(i)->header(), TestGenerator::test(2, saved.at(i), 1).header);
    if (status == 1) { // asked for, the usage wins over any mistake
        const Run help = cli(args + QStringList{"--help"});
        QVERIFY(help.status == 0 && help.out.startsWith("Usage:\n  setrovia-cli report"));
    }
}

// report --json shows the window's table; export and report --csv write the
// window's files byte for byte, in two locales; --stats prints its statistics.
void TestCommandLine::outputsAreTheWindows() {
    const Run run = cli({"report", project_, "--json"});
    Window window(project_);
    int at = 0; // each test's table is the window's, in the window's order
    for (int row = 0; row < 3; ++row) {
        at = run.out.indexOf("\"table\": [\"" + window.show(row).join("\", \"") + "\"]", at);
        QVERIFY2(at > 0, qPrintable(run.out));
    }
    QCOMPARE(run.out.count("\"table\""), 3);
    for (const char *part : {R"("description": "Series 7\n\"quoted\"")",
                             R"({"row": 0, "name": "A", "start": "2026-06-15T10:30:00")",
                             R"("protocol": {"parameters": ["500", "25:00", "60", "M-500", "1.7", )"
                             R"("28"], "results": ["1.30", "2.60", "Yes", "1.70", "16.50")"})
        QVERIFY2(run.out.contains(part), part);

    window.w.resultsAction()->trigger();
    const QString txt = dir_.filePath("w.txt"), csv = txt + ".csv", out = txt + ".out";
    window.answer = txt;
    window.w.resultsWindow()->setFileChooser([&](const QString &) { return csv; });
    for (const QStringList &options : {QStringList(), QStringList{"--locale", "de_DE"}}) {
        window.w.setLocale(options.isEmpty() ? QLocale() : QLocale(options.last()));
        window.w.exportAction()->trigger();
        QVERIFY(window.w.resultsWindow()->exportCsv());
        cli(QStringList{"export", project_, "--test=2", "--output", out} + options);
        QCOMPARE(bytesOf(out), bytesOf(txt));
        QCOMPARE(cli(QStringList{"report", project_, "--csv"} + options).bytes, bytesOf(csv));
        cli(QStringList{"report", project_, "--csv", "--output", out} + options);
        QCOMPARE(bytesOf(out), bytesOf(csv));
    }
    QVERIFY(bytesOf(txt).contains("\t1,7\t16,5\n")); // the locale reached both
    QVERIFY(bytesOf(csv).contains(";0,048\r\n"));
    window.w.resultsWindow()->updatePlots();
    QCOMPARE(cli({"report", project_, "--stats"}).out,
             window.w.resultsWindow()->quality()->statisticsText());
    // A's and B's activity (B has no braking record); C is shorter than three hours.
    QVERIFY(cli({"report", project_, "--stats", "--json", "--days", "28", "--grade", "M-500"})
                .out.contains("\"min\": 32.04,\n        \"n\": 2,"));
    // Standard output on a full disk: a failure, not a success.
    for (const char *format : {"--csv", "--json"}) {
        QProcess full;
        full.setStandardOutputFile("/dev/full");
        full.start(QStringLiteral(SETROVIA_CLI), {"report", project_, format});
        QVERIFY(full.waitForFinished(60000) && full.exitCode() == 4);
        QVERIFY(full.readAllStandardError().startsWith("Can not write standard output: "));
    }
}

// The texts follow --language, else the language the program has stored.
void TestCommandLine::languages() {
    const QString pdf = dir_.filePath("page.pdf"), txt = dir_.filePath("series.txt");
    const struct {
        const char *stored; // the program's settings; null: none
        QStringList options;
        QString patterns;
    } rows[] = {{nullptr, {"--pdf", pdf}, "Торможение +Yes;Volume, ml"},
                {"0", {"--pdf", pdf}, "Торможение +Да;Объём, мл"},
                {"0", {"--pdf", pdf, "--language", "en"}, "Торможение +Yes;Volume, ml"},
                {nullptr, {"--output", txt, "--language", "ru"}, "^#\tВремя\tОбъём"}};
    for (const auto &r : rows) {
        QTemporaryDir config;
        QVERIFY(QDir().mkpath(config.filePath("Ostrevan")));
        if (r.stored)
            testprojects::writeFile(config.filePath("Ostrevan/Setrovia+.conf"),
                                    QByteArray("[General]\nlanguage=") + r.stored);
        const bool protocol = r.options[0] == "--pdf";
        const QStringList args{protocol ? "protocol" : "export", project_, "--test", "0"};
        QCOMPARE(cli(args + r.options, QString(), config.path()).status, 0);
        QProcess read; // the PDF's text
        read.start("pdftotext", {"-layout", pdf, "-"});
        QVERIFY(read.waitForFinished(30000));
        const QString text = protocol ? read.readAllStandardOutput() : bytesOf(txt);
        for (const QString &pattern : r.patterns.split(';'))
            QVERIFY2(QRegularExpression(pattern).match(text).hasMatch(), qPrintable(pattern));
    }
}

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"

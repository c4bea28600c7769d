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
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
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
Run cli(const QStringList &args, const QString &simulator = QString(),
        const QString &config = QString()) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!config.isNull())
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    for (const char *name : {"SETROVIA_SIMULATOR", "QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        env.remove(QLatin1String(name));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    if (!simulator.isNull())
        env.insert(QStringLiteral("SETROVIA_SIMULATOR"), simulator);
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(SETROVIA_CLI), args);
    p.waitForFinished(120000);
    const QByteArray out = p.readAllStandardOutput();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(out),
            QString::fromUtf8(p.readAllStandardError()), out};
}

QStringList strings(const QJsonValue &array) {
    QStringList list;
    for (const QJsonValue &v : array.toArray())
        list << v.toString();
    return list;
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
            if (r == 6 || r == 7)
                texts << (item->checkState() == Qt::Checked ? "checked" : "unchecked");
            else
                texts << (item ? item->text() : QString());
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
    void wrongUsage_data();
    void wrongUsage();
    void unreadableProject_data();
    void unreadableProject();
    void reportIsTheWindowsTable();
    void filesAreTheWindows();
    void languages_data();
    void languages();
    void read_data();
    void read();

private:
    QTemporaryDir dir_;
    QString project_;
};

// A: 25 h, both flags; B: no flags and the 13th month; C: 2 h 30 min.
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
}

void TestCommandLine::wrongUsage_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");
    const QString p = project_, out = dir_.filePath("never.txt");
    QTest::newRow("nothing") << QStringList() << "Usage:";
    QTest::newRow("unknown command") << QStringList{"print", p} << "Unknown command \"print\".";
    QTest::newRow("no --test") << QStringList{"export", p, "--output", out}
                               << "export needs --test";
    QTest::newRow("row past the end") << QStringList{"protocol", p, "--test", "3", "--pdf", out}
                                      << "--test 3: the project holds 3 tests, rows 0 to 2.";
    QTest::newRow("row not a number") << QStringList{"protocol", p, "--test", "abc", "--pdf", out}
                                      << "--test abc: \"abc\" is not a row number.";
    QTest::newRow("unknown language") << QStringList{"report", p, "--language", "de"}
                                      << "--language de: the languages are ru and en.";
    QTest::newRow("--output without --csv")
        << QStringList{"report", p, "--output", out} << "--output goes with --csv.";
    QTest::newRow("--days 30") << QStringList{"report", p, "--stats", "--days", "30"}
                               << "--days 30: one of 7, 14, 28, 60, 90, 180, 360.";
}

void TestCommandLine::wrongUsage() {
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    const Run run = cli(args);
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QVERIFY(run.out.isEmpty());
    QVERIFY(!QFileInfo::exists(dir_.filePath("never.txt")));
    // Asked for, the usage wins over any mistake.
    const Run help = cli(args + QStringList{"--help"});
    QCOMPARE(help.status, 0);
    QVERIFY(help.out.startsWith("Usage:\n  setrovia-cli report PROJECT.vtl [--json] [--language"));
}

void TestCommandLine::unreadableProject_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("bytes"); // of the project file; null: none
    QTest::addColumn<QString>("message");
    const QString p = dir_.filePath("bad.vtl"), out = dir_.filePath("never.txt");
    for (const QStringList &args : QList<QStringList>{{"export", p, "--test", "0", "--output", out},
                                                      {"read", "--output", p}}) {
        const QByteArray command = args.at(0).toLatin1();
        if (command != "read") // a missing project is made
            QTest::newRow((command + ", missing").constData())
                << args << QByteArray()
                << QString("Can not open %1: No such file or directory\n").arg(p);
        QTest::newRow((command + ", corrupt").constData())
            << args << QByteArray("format 04\x01") + QByteArray(80, 0)
            << QString("File %1 corrupt\n").arg(p);
    }
}

void TestCommandLine::unreadableProject() {
    QFETCH(QStringList, args);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    const QString path = dir_.filePath("bad.vtl");
    QFile f(path);
    f.remove();
    QVERIFY(bytes.isNull() || (f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size()));
    f.close();
    const Run run = cli(args, "tests=2");
    QCOMPARE(run.status, 2);
    QCOMPARE(run.err, message);
    QVERIFY(run.out.isEmpty());
    QCOMPARE(bytesOf(path), bytes); // read never replaces what it cannot parse
    QVERIFY(!QFileInfo::exists(dir_.filePath("never.txt")));
}

void TestCommandLine::reportIsTheWindowsTable() {
    const Run run = cli({"report", project_, "--json"});
    QCOMPARE(run.status, 0);
    QVERIFY(run.out.contains("\"protocol\": {\"parameters\": ")); // the keys as they are
    QJsonParseError error;
    const QJsonObject report = QJsonDocument::fromJson(run.bytes, &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(report.value("description").toString(), QString("Series 7\n\"quoted\""));
    const QJsonArray tests = report.value("tests").toArray();
    QCOMPARE(tests.size(), 3);
    Window window(project_);
    for (int row = 0; row < 3; ++row)
        QCOMPARE(strings(tests.at(row)["table"]), window.show(row));
    const QJsonObject a = tests.at(0).toObject();
    QCOMPARE(a.value("name").toString(), QString("A"));
    QCOMPARE(a.value("start").toString(), QString("2026-06-15T10:30:00"));
    const QStringList table = strings(a["table"]);
    QCOMPARE(strings(a["protocol"]["parameters"]), table.mid(0, 6));
    QCOMPARE(strings(a["protocol"]["results"]), table.mid(9));
}

// export and report --csv write the window's files byte for byte, in two locales.
void TestCommandLine::filesAreTheWindows() {
    Window window(project_);
    window.show(2);
    window.w.resultsAction()->trigger();
    const QString txt = dir_.filePath("window.txt"), csv = dir_.filePath("window.csv");
    const QString cliFile = dir_.filePath("cli.out");
    window.answer = txt;
    window.w.resultsWindow()->setFileChooser([&](const QString &) { return csv; });
    for (const QString &locale : {QString(), QString("de_DE")}) {
        window.w.setLocale(locale.isEmpty() ? QLocale() : QLocale(locale));
        window.w.exportAction()->trigger();
        QVERIFY(window.w.resultsWindow()->exportCsv());
        const QStringList options =
            locale.isEmpty() ? QStringList() : QStringList{"--locale", locale};
        QCOMPARE(
            cli(QStringList{"export", project_, "--test=2", "--output", cliFile} + options).status,
            0);
        QCOMPARE(bytesOf(cliFile), bytesOf(txt));
        const Run toOutput = cli(QStringList{"report", project_, "--csv"} + options);
        QCOMPARE(toOutput.status, 0);
        QCOMPARE(toOutput.bytes, bytesOf(csv));
        QCOMPARE(
            cli(QStringList{"report", project_, "--csv", "--output", cliFile} + options).status, 0);
        QCOMPARE(bytesOf(cliFile), bytesOf(csv));
    }
    // The quality control prints the window's statistics.
    window.w.resultsWindow()->updatePlots();
    QCOMPARE(cli({"report", project_, "--stats"}).out,
             window.w.resultsWindow()->quality()->statisticsText());
    const QJsonObject stats = QJsonDocument::fromJson(cli({"report", project_, "--stats", "--json",
                                                           "--days", "28", "--grade", "M-500"})
                                                          .bytes)
                                  .object();
    // A's 56.07 and B's 32.04 (no braking record); C is shorter than three hours.
    QCOMPARE(stats["activity"].toObject()["n"].toInt(), 2);
    QCOMPARE(stats["activity"].toObject()["min"].toDouble(), 32.04);
    QCOMPARE(stats["activity"].toObject()["max"].toDouble(), 56.07);
    QVERIFY(bytesOf(txt).contains("\t1,7\t16,5\n")); // the locale reached both
    QVERIFY(bytesOf(csv).contains(";0,048\r\n"));

    // Nothing is written where the file cannot go, and what stands there stays.
    for (const QStringList &args : {QStringList{"export", project_, "--test", "0", "--output"},
                                    QStringList{"report", project_, "--csv", "--output"}}) {
        const Run below = cli(args + QStringList{cliFile + "/x"});
        QCOMPARE(below.status, 4);
        QCOMPARE(below.err, QString("Can not write %1/x: Not a directory\n").arg(cliFile));
    }
    QCOMPARE(cli({"export", project_, "--test", "0", "--output", dir_.path()}).status, 4);
    QCOMPARE(bytesOf(cliFile), bytesOf(csv));
    // Standard output on a full disk: a failure, not a success.
    for (const char *format : {"--csv", "--json"}) {
        QProcess full;
        full.setStandardOutputFile("/dev/full");
        full.start(QStringLiteral(SETROVIA_CLI), {"report", project_, format});
        QVERIFY(full.waitForFinished(60000));
        QCOMPARE(full.exitCode(), 4);
        QVERIFY(full.readAllStandardError().startsWith("Can not write standard output: "));
    }
}

// The texts follow --language, else the language the program has stored.
void TestCommandLine::languages_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("language");  // the option; null: none
    QTest::addColumn<QByteArray>("stored"); // the program's settings; null: none
    QTest::addColumn<QStringList>("patterns");
    const QStringList englishPage = {"Торможение +Yes", "Volume, ml"};
    QTest::newRow("protocol, nothing stored")
        << "protocol" << QString() << QByteArray() << englishPage;
    QTest::newRow("protocol, Russian stored")
        << "protocol" << QString() << QByteArray("0") << QStringList{"Торможение +Да", "Объём, мл"};
    QTest::newRow("protocol --language en")
        << "protocol" << QString("en") << QByteArray("0") << englishPage;
    QTest::newRow("export --language ru")
        << "export" << QString("ru") << QByteArray() << QStringList{"^#\tВремя\tОбъём"};
}

void TestCommandLine::languages() {
    QFETCH(QString, command);
    QFETCH(QString, language);
    QFETCH(QByteArray, stored);
    QFETCH(QStringList, patterns);
    QTemporaryDir config;
    if (!stored.isNull()) {
        QVERIFY(QDir().mkpath(config.filePath("Ostrevan")));
        testprojects::writeFile(config.filePath("Ostrevan/Setrovia+.conf"),
                                "[General]\nlanguage=" + stored + "\n");
    }
    const bool protocol = command == "protocol";
    const QString file = dir_.filePath(protocol ? "page.pdf" : "series.txt");
    QStringList args{command, project_, "--test", "0", protocol ? "--pdf" : "--output", file};
    if (!language.isNull())
        args << "--language" << language;
    QCOMPARE(cli(args, QString(), config.path()).status, 0);
    QString text = QString::fromUtf8(bytesOf(file));
    if (protocol) {
        QProcess pdf;
        pdf.start("pdftotext", {"-layout", file, "-"});
        QVERIFY(pdf.waitForFinished(30000));
        text = QString::fromUtf8(pdf.readAllStandardOutput());
    }
    for (const QString &pattern : patterns)
        QVERIFY2(QRegularExpression(pattern).match(text).hasMatch(), qPrintable(pattern));
}

void TestCommandLine::read_data() {
    QTest::addColumn<QString>("simulator");
    QTest::addColumn<QString>("output");
    QTest::addColumn<int>("status");
    QTest::addColumn<QList<int>>("saved"); // the instrument's tests in the project afterwards
    QTest::addColumn<QString>("message");
    const QString out = dir_.filePath("read.vtl");
    QTest::newRow("complete") << "tests=3" << out << 0 << QList<int>{0, 1, 2}
                              << QString("3 new tests saved; %1 holds 3 tests.\n").arg(out);
    // The instrument goes on after a lost packet.
    QTest::newRow("newer: packet 3 of test 1 lost")
        << "tests=3;fail-packet=1:3" << out << 3 << QList<int>{0, 2}
        << "The read did not bring every test (1 not read); the tests read in full are saved.\n";
    QTest::newRow("no permission")
        << "tests=3;access=denied" << out << 3 << QList<int>()
        << QString("No permission to use the instrument: nothing was read, and %1 was not "
                   "written.\n")
               .arg(out);
    QTest::newRow("no instrument")
        << "plugged=no" << out << 3 << QList<int>() << "No instrument found.\n";
    QTest::newRow("output below a file")
        << "tests=1" << project_ + "/p.vtl" << 4 << QList<int>()
        << QString("Can not write %1/p.vtl: %1 is not a folder\n").arg(project_);
}

void TestCommandLine::read() {
    QFETCH(QString, simulator);
    QFETCH(QString, output);
    QFETCH(int, status);
    QFETCH(QList<int>, saved);
    QFETCH(QString, message);
    QFile::remove(output);
    const Run run = cli({"read", "--output", output}, simulator);
    QCOMPARE(run.status, status);
    QVERIFY2(run.err.endsWith(message), qPrintable(run.err)); // one closing line, a true one
    QVERIFY(run.out.isEmpty());
    QVERIFY2(!run.err.contains("ViewerUsb::") && !run.err.contains("Open dev"), // the window's
             qPrintable(run.err));
    QCOMPARE(QFileInfo::exists(output), !saved.isEmpty());
    KeeperProc store;
    ProjectFile::read(output, store);
    QCOMPARE(store.count(), saved.size());
    for (int i = 0; i < saved.size(); ++i)
        QCOMPARE(store.at(i)->header(), TestGenerator::test(2, saved.at(i), 1).header);
}

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"

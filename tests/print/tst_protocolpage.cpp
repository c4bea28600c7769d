#include "app/mainwindow.h"
#include "app/processmodel.h"
#include "evaluation/activityevaluation.h"
#include "modalanswer.h"
#include "print/printdialog.h"
#include "print/protocolpage.h"
#include "print/protocolpreview.h"
#include "records/processp.h"
#include "table/monitor.h"
#include "testrecords.h"
#include "testsettings.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTranslator>
#include <QtTest>

using namespace testrecords;

namespace {
// A kind-3 test starting 15.06.2026 10:30:00 whose volume rises steadily
// after ten minutes; temperatures near 16.5 °C.
ProcessP *makeRecord(quint32 durationSeconds, quint8 second = 0) {
    HeaderFields s;
    s.second = second;
    s.duration = durationSeconds;
    s.period = 60;
    s.mass = 400;
    s.grade = 4;
    s.flags = 3;
    s.volumeScale = 0.001f;
    s.temperatureScale = 0.1f;
    QByteArray block = samples(3);
    const int n = int(durationSeconds / 60);
    for (int i = 0; i < n && i < 4320; ++i) {
        setCount(block, 3, 0, i, quint16(i < 10 ? 0 : 4 * (i - 9)));
        setCount(block, 3, 1, i, 165);
        setCount(block, 3, 2, i, 170);
        setCount(block, 3, 3, i, quint16(2000 + i));
    }
    return new ProcessP(header(s), block, 3);
}

QString run(const QString &tool, const QStringList &args) {
    QProcess p;
    p.start(tool, args);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString pdfText(const QString &pdf) {
    return run("pdftotext", {"-layout", pdf, "-"});
}

bool printToPdf(const QString &path, const QList<const ProcessP *> &records) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setOutputFileName(path);
    return ProtocolPage::print(&printer, records, [](const QString &) {});
}

// Calls `act` with the modal window of type T once it is up, from the event
// loop that window runs.
template <class T> void whenModal(std::function<void(T *)> act) {
    auto *poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        if (auto *modal = qobject_cast<T *>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            act(modal);
        }
    });
    poll->start();
}

// Answers the selection dialog: ticks PDF or not and presses Ok.
void acceptPrintDialog(bool pdf) {
    whenModal<PrintDialog>([pdf](PrintDialog *d) {
        d->pdfBox()->setChecked(pdf);
        d->buttons()->button(QDialogButtonBox::Ok)->click();
    });
}
} // namespace

class TestProtocolPage : public QObject {
    Q_OBJECT
private slots:
    void longTestPage();
    void brakingWordOnlyThroughTheCatalogue();
    void shortTestsAndOnePagePerSelectedTest();
    void pdfGoesWhereTheUserChose();
    void textsStayInTheirCells();

private:
    QTemporaryDir dir;
};

// The page carries the texts and the values the parameters table shows; the
// plot covers the first three hours at round steps, and its numbers keep the
// point under a decimal-comma locale as the table does.
void TestProtocolPage::longTestPage() {
    QScopedPointer<ProcessP> record(makeRecord(25 * 3600));
    const QString pdf = dir.filePath("long.pdf");
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    const bool printed = printToPdf(pdf, {record.data()});
    QLocale::setDefault(QLocale::c());
    QVERIFY(printed);
    const QString text = pdfText(pdf);
    for (const char *fixed :
         {"Протокол испытания №______", "Начало 15.06.2026 10:30", "Окончание 16.06.2026 11:30"})
        QVERIFY2(text.contains(QString::fromUtf8(fixed)), fixed);
    QVERIFY2(!text.contains(QRegularExpression("\\d,\\d")), qPrintable(text));

    Monitor monitor; // both flags set: braking and both corrections shown
    monitor.showProcess(record.data());
    auto cell = [&](int row) { return monitor.tableModel()->index(row, 1).data().toString(); };
    for (int row : {0, 1, 2, 3, 4, 5, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19})
        QVERIFY2(!cell(row).isEmpty() && text.contains(cell(row)), qPrintable(cell(row)));
    QCOMPARE(cell(1), "25:00"); // a length of time, not a time of day

    QStringList labels;
    for (const QString &line : text.split('\n')) {
        if (line.contains("Начало") || line.contains("Окончание") || line.contains("Длительность"))
            continue;
        auto it = QRegularExpression("\\b(\\d\\d):(\\d\\d)\\b").globalMatch(line);
        while (it.hasNext())
            labels << it.next().captured();
    }
    QCOMPARE(labels, QStringList({"00:00", "00:30", "01:00", "01:30", "02:00", "02:30", "03:00"}));
}

void TestProtocolPage::brakingWordOnlyThroughTheCatalogue() {
    // 0.72 ml in three hours, 0.6 ml per 1000 g in the first hour, M-500: it brakes.
    QScopedPointer<ProcessP> record(makeRecord(12 * 3600));
    const QString english = dir.filePath("english.pdf");
    QVERIFY(printToPdf(english, {record.data()}));
    QVERIFY(pdfText(english).contains(QRegularExpression(QStringLiteral("Торможение\\s+Yes\\b"))));

    MainWindow::initResources();
    QTranslator russian;
    QVERIFY(russian.load(QStringLiteral(SETROVIA_CATALOGUE_QM)));
    qApp->installTranslator(&russian);
    const QString translated = dir.filePath("russian.pdf");
    QVERIFY(printToPdf(translated, {record.data()}));
    qApp->removeTranslator(&russian);
    QVERIFY(pdfText(translated).contains(QRegularExpression(QStringLiteral("Торможение\\s+Да"))));
}

// Under three hours, nine values are unknown. Each selected test, on its own
// landscape A4 page.
void TestProtocolPage::shortTestsAndOnePagePerSelectedTest() {
    QScopedPointer<ProcessP> a(makeRecord(2 * 3600, 1)), b(makeRecord(6 * 3600, 2));
    const QString pdf = dir.filePath("three.pdf");
    QVERIFY(printToPdf(pdf, {a.data(), b.data(), a.data()}));
    const QString text = pdfText(pdf);
    QCOMPARE(text.count(QRegularExpression("(^|\\s)\\?(\\s|$)")), 2 * 9);
    QVERIFY(text.contains(QRegularExpression("Длительность, чч:мм\\s+02:00")));
    const QString info = run("pdfinfo", {pdf});
    QVERIFY2(info.contains(QRegularExpression("Pages:\\s+3\\b")), qPrintable(info));
    QVERIFY2(info.contains(QRegularExpression("Page size:\\s+84[12][.\\d]* x 595[.\\d]* pts")),
             qPrintable(info)); // A4 long side across
}

// Print to PDF: the preview, then a file the user chose, proposed in the
// project's folder under the test's name; nothing is written when the choice
// is cancelled or the file cannot be made, and the folder used is remembered.
// Printing on paper without a printer says so.
void TestProtocolPage::pdfGoesWhereTheUserChose() {
    TestSettings settings;
    MainWindow w;
    ProcessP *held = makeRecord(4 * 3600);
    w.store().add(held);
    QMetaObject::invokeMethod(&w, "addProc", Q_ARG(ProcessP *, held));
    QMetaObject::invokeMethod(&w, "addGraph", Q_ARG(QModelIndex, w.processModel()->index(0, 0)));
    QString text, title;
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        acceptPrintDialog(false);
        answerNextMessageBox(QMessageBox::Ok, &text, &title);
        QMetaObject::invokeMethod(&w, "print");
        QCOMPARE(title, "Print error");
        QCOMPARE(text, "There is no available printer");
    }
    w.processModel()->item(0, 2)->setText("Партия 7/2");
    QStringList proposals;
    QStringList answers;
    w.setFileChooser([&](const MainWindow::FileRequest &request) {
        proposals << request.directory;
        return answers.isEmpty() ? QString() : answers.takeFirst();
    });
    auto printPdf = [&](const QString &answer, bool closes) {
        answers = QStringList{answer};
        acceptPrintDialog(true);
        whenModal<ProtocolPreview>([closes](ProtocolPreview *preview) {
            preview->saveButton()->click();
            if (!closes && preview->isVisible())
                preview->reject();
        });
        QMetaObject::invokeMethod(&w, "print");
    };

    printPdf(QString(), false); // the file dialog cancelled
    QCOMPARE(proposals.last(), QDir::home().filePath("Партия 7_2.pdf"));
    QVERIFY(QDir(QDir::homePath()).entryList({"*.pdf"}).isEmpty());

    QVERIFY(QFile(dir.filePath("plain-file")).open(QIODevice::WriteOnly));
    const QString impossible = dir.filePath("plain-file/protocol.pdf");
    answerNextMessageBox(QMessageBox::Ok, &text);
    printPdf(impossible, false);
    QVERIFY2(text.startsWith(QString("The protocol could not be written to %1: ").arg(impossible)),
             qPrintable(text)); // and so does a printer that cannot open its output
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(impossible);
    answerNextMessageBox(QMessageBox::Ok, &text);
    QMetaObject::invokeMethod(&w, "printReport", Q_ARG(QPrinter *, &printer));
    QCOMPARE(text, QString("The protocol could not be written to %1.").arg(impossible));

    const QString chosen = dir.filePath("out/protocol-7.pdf");
    QVERIFY(QDir().mkpath(dir.filePath("out")));
    printPdf(chosen, true);
    QVERIFY(pdfText(chosen).contains("Протокол испытания"));
    printPdf(QString(), false);
    QCOMPARE(proposals.last(), dir.filePath("out/Партия 7_2.pdf")); // the folder used last
}

// Long values ("Unknown" for a damaged grade, 111.00 °C) are drawn within
// their cells: nothing crosses the tables' right border, and the rows of
// both tables meet their left border.
void TestProtocolPage::textsStayInTheirCells() {
    HeaderFields s;
    s.duration = 4 * 3600;
    s.mass = 5000;
    s.grade = 9;
    s.volumeScale = 0.001f;
    QByteArray block = samples(1);
    for (int i = 0; i < 240; ++i) {
        setCount(block, 1, 0, i, quint16(i < 10 ? 0 : 60 + i));
        setCount(block, 1, 1, i, 1110);
    }
    const ProcessP record(header(s), block, 1);
    QCOMPARE(ActivityEvaluation::parameterTexts(record).at(3), "Unknown");

    const int perMm = 20; // 508 dpi
    QImage page(297 * perMm, 210 * perMm, QImage::Format_Grayscale8);
    page.setDotsPerMeterX(perMm * 1000);
    page.setDotsPerMeterY(perMm * 1000);
    page.fill(Qt::white);
    QPainter painter(&page);
    ProtocolPage::paintProtocolPage(painter, record, perMm, perMm, {});
    painter.end();
    auto dark = [&](double xMm, double yMm) {
        return qGray(page.pixel(int(xMm * perMm), int(yMm * perMm))) < 128;
    };
    for (double y = 40; y <= 190; y += 0.25)
        for (double x = 103.6; x < 109.5; x += 0.25)
            QVERIFY2(!dark(x, y), qPrintable(QString("ink at %1, %2 mm").arg(x).arg(y)));
    for (double y : {40.0, 47.5, 92.5, 100.0, 107.5, 190.0})
        QVERIFY2(dark(9.6, y), qPrintable(QString("row line at %1 mm").arg(y)));
}

QTEST_MAIN(TestProtocolPage)
#include "tst_protocolpage.moc"

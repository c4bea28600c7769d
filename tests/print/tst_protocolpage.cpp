#include "app/mainwindow.h"
#include "app/processmodel.h"
#include "linuxonly.h"
#include "modalanswer.h"
#include "print/printdialog.h"
#include "print/protocolpage.h"
#include "print/protocolpreview.h"
#include "table/monitor.h"
#include "testrecords.h"
#include "testsettings.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

using namespace testrecords;

namespace {
// A kind-3 test from 15.06.2026 10:30:00 (400 g, both flags set), its volume rising after ten
// minutes; grade 4 is M-500.
ProcessP *makeRecord(quint32 durationSeconds, quint8 second = 0, quint32 grade = 4,
                     quint16 temperature = 165) {
    HeaderFields s;
    s.second = second, s.duration = durationSeconds, s.grade = grade, s.volumeScale = 0.001f;
    QByteArray block = samples(3);
    for (int i = 0; i < int(durationSeconds / 60); ++i) {
        const int counts[] = {i < 10 ? 0 : 4 * (i - 9), temperature, 170, 2000 + i};
        for (int channel = 0; channel < 4; ++channel)
            setCount(block, 3, channel, i, quint16(counts[channel]));
    }
    return new ProcessP(header(s), block, 3);
}

QString run(const QString &tool, const QStringList &args) {
    QProcess p;
    p.start(tool, args);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Calls `act` with the modal window of type T once it is up.
template <class T> void whenModal(std::function<void(T *)> act) {
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        if (auto *modal = qobject_cast<T *>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            act(modal);
        }
    });
    poll->start(5);
}

} // namespace

class TestProtocolPage : public QObject {
    Q_OBJECT
private slots:
    void selectionDialog();
    void pdfPages();
    void pdfGoesWhereTheUserChose();

private:
    QTemporaryDir dir;
};

// One landscape A4 page per test, written under a comma locale: the table's values with a
// point, the first three hours plotted, nine values unknown under three hours, long values
// (a damaged grade, 111.00 °C) within their cells; the layout centred, 10 mm from the top, no
// word within 5 mm of an edge.
void TestProtocolPage::pdfPages() {
    QScopedPointer<ProcessP> day(makeRecord(25 * 3600)), twoHours(makeRecord(2 * 3600, 1)),
        damaged(makeRecord(4 * 3600, 2, 9, 1110));
    const QString pdf = dir.filePath("protocols.pdf");
    QString error;
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    const bool written =
        ProtocolPage::writePdf({day.data(), twoHours.data(), damaged.data()}, pdf, &error);
    QLocale::setDefault(QLocale::c());
    QVERIFY2(written, qPrintable(error));
    LINUX_ONLY("reads the PDF back with pdftotext");
    const QString boxes = run("pdftotext", {"-bbox", pdf, "-"});
    QCOMPARE(boxes.count("<page width=\"842.000000\" height=\"595.000000\">"), 3); // A4 across
    const QStringList pages = run("pdftotext", {"-layout", pdf, "-"}).split('\f');
    const QString &text = pages[0];
    for (const char *fixed :
         {"Протокол испытания №______", "Начало 15.06.2026 10:30", "Окончание 16.06.2026 11:30"})
        QVERIFY2(text.contains(QString::fromUtf8(fixed)), fixed);
    QVERIFY2(!text.contains(QRegularExpression("\\d,\\d")), qPrintable(text));
    QCOMPARE(pages[1].count(QRegularExpression("(^|\\s)\\?(\\s|$)")), 9);

    Monitor monitor; // both flags set: braking and both corrections shown
    monitor.showProcess(day.data());
    auto cell = [&](int row) { return monitor.tableModel()->index(row, 1).data().toString(); };
    for (int row : {0, 1, 2, 3, 4, 5, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19})
        QVERIFY2(!cell(row).isEmpty() && text.contains(cell(row)), qPrintable(cell(row)));

    const QRegularExpression axis("( *-?\\d\\d:\\d\\d){2,}$", QRegularExpression::MultilineOption);
    QCOMPARE(axis.match(text).captured().simplified(), "00:00 00:30 01:00 01:30 02:00 02:30 03:00");

    auto words = QRegularExpression("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" "
                                    "xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)<")
                     .globalMatch(boxes);
    QRectF title, all;
    while (words.hasNext()) {
        const QRegularExpressionMatch w = words.next();
        auto at = [&](int i) { return w.captured(i).toDouble() * 25.4 / 72; }; // mm
        const QRectF box(QPointF(at(1), at(2)), QPointF(at(3), at(4)));
        all |= box;
        // Below the title the table's texts end before its border at 111.5 mm, the plot's
        // start at 118.5 mm.
        QVERIFY2(box.top() < 50 || box.right() < 111.5 || box.left() > 118,
                 qPrintable(w.captured(5)));
        if (w.captured(5) == "УСКОРЕННОЕ" || w.captured(5) == "ЦЕМЕНТА")
            title |= box;
    }
    QCOMPARE(all.united(QRectF(5, 5, 287, 200)), QRectF(5, 5, 287, 200));
    QVERIFY2(qAbs(title.center().x() - 148.5) < 1 && qAbs(title.top() - 30) < 1,
             qPrintable(QString("title at %1, %2 mm").arg(title.center().x()).arg(title.top())));
}

// The PDF goes where the user chose, proposed under the test's name in the folder last used.
void TestProtocolPage::pdfGoesWhereTheUserChose() {
    LINUX_ONLY("reads the PDF back with pdftotext");
    TestSettings settings;
    MainWindow w;
    ProcessP *held = makeRecord(4 * 3600);
    w.store().add(held);
    QMetaObject::invokeMethod(&w, "addProc", Q_ARG(ProcessP *, held));
    QMetaObject::invokeMethod(&w, "addGraph", Q_ARG(QModelIndex, w.processModel()->index(0, 0)));
    w.setTitle("Сетровия+");
    QString text, title, dialogTitle, answer;
    QStringList proposals;
    w.setFileChooser([&](const MainWindow::FileRequest &request) {
        proposals << request.directory;
        return answer;
    });
    // Through the print dialog; a PDF is saved from the preview, which is closed if it stays.
    auto print = [&](bool pdf, const QString &chosen = QString(), bool closes = false) {
        answer = chosen;
        whenModal<PrintDialog>([&, pdf](PrintDialog *d) {
            dialogTitle = d->windowTitle();
            d->pdfBox()->setChecked(pdf);
            d->buttons()->button(QDialogButtonBox::Ok)->click();
        });
        if (pdf)
            whenModal<ProtocolPreview>([closes](ProtocolPreview *preview) {
                preview->saveButton()->click();
                if (!closes && preview->isVisible())
                    preview->reject();
            });
        QMetaObject::invokeMethod(&w, "print");
    };
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        answerNextMessageBox(QMessageBox::Ok, &text, &title);
        print(false);
        QCOMPARE(QStringList({dialogTitle, title, text}),
                 QStringList({"Сетровия+", "Print error", "There is no available printer"}));
    }
    w.processModel()->item(0, 2)->setText("Партия 7/2");

    print(true); // the file dialog cancelled
    QCOMPARE(proposals.last(), QDir::home().filePath("Партия 7_2.pdf"));
    QVERIFY(QDir(QDir::homePath()).entryList({"*.pdf"}).isEmpty());

    QVERIFY(QFile(dir.filePath("plain-file")).open(QIODevice::WriteOnly));
    const QString impossible = dir.filePath("plain-file/protocol.pdf");
    answerNextMessageBox(QMessageBox::Ok, &text);
    print(true, impossible);
    QVERIFY2(text.startsWith(QString("The protocol could not be written to %1: ").arg(impossible)),
             qPrintable(text)); // and so does a printer that cannot open its output
    QPrinter printer;
    printer.setOutputFileName(impossible); // a PDF, by its name
    answerNextMessageBox(QMessageBox::Ok, &text);
    QMetaObject::invokeMethod(&w, "printReport", Q_ARG(QPrinter *, &printer));
    QCOMPARE(text, QString("The protocol could not be written to %1.").arg(impossible));

    const QString chosen = dir.filePath("out/protocol-7.pdf");
    QVERIFY(QDir().mkpath(dir.filePath("out")));
    print(true, chosen, true);
    QVERIFY(run("pdftotext", {chosen, "-"}).contains("Протокол испытания"));
    print(true);
    QCOMPARE(proposals.last(), dir.filePath("out/Партия 7_2.pdf")); // the folder used last
}

// The current test ticked; "all" cycles unchecked -> every row, checked -> none, partial -> every
// row; Ok waits for a choice; dates, times and names shown whole.
void TestProtocolPage::selectionDialog() {
    QStandardItemModel list(4, 3);
    for (int r = 0; r < 4; ++r)
        list.setItem(r, 2, new QStandardItem(QStringLiteral("name %1").arg(r)));
    list.setItem(0, 0, new QStandardItem("Wed Nov 20 2024"));
    list.setItem(0, 1, new QStandardItem("11:15:30"));
    list.setItem(1, 0, new QStandardItem("Fri Sep 30 2026 and more"));
    PrintDialog none(4, &list, -1, nullptr, nullptr);
    QVERIFY(!none.buttons()->button(QDialogButtonBox::Ok)->isEnabled());

    int format = -1;
    QList<int> selection;
    PrintDialog d(4, &list, 1, &format, &selection);
    d.show();
    QTreeView *tree = d.view();
    for (int column : {1, 2})
        QVERIFY(tree->columnWidth(column) >=
                static_cast<QAbstractItemView *>(tree)->sizeHintForColumn(column));
    QVERIFY(d.width() >= tree->columnWidth(0) + tree->columnWidth(1) + tree->columnWidth(2));
    QCOMPARE(d.model()->item(2, 3)->text(), "name 2");
    QPushButton *ok = d.buttons()->button(QDialogButtonBox::Ok);
    const auto row = [&](int r) { return d.model()->item(r, 0); };
    // A row ticked ("0x") or not ("1-"), or "all" clicked; then Ok if enabled, the rows' ticks
    // and "all".
    const std::pair<QString, QString> steps[] = {
        {"", "ok -x-- ~"},   {"1-", "---- -"},     {"all", "ok xxxx x"}, {"all", "---- -"},
        {"0x", "ok x--- ~"}, {"all", "ok xxxx x"}, {"all", "---- -"},    {"3x", "ok ---x ~"},
        {"2x", "ok --xx ~"}, {"0x", "ok x-xx ~"}};
    for (const auto &[step, expected] : steps) {
        if (step == "all")
            d.selectAllBox()->click();
        else if (!step.isEmpty())
            row(step[0].digitValue())->setCheckState(step[1] == 'x' ? Qt::Checked : Qt::Unchecked);
        QString shown = ok->isEnabled() ? "ok " : "";
        for (int r = 0; r < 4; ++r)
            shown += "-~x"[row(r)->checkState()];
        QCOMPARE(shown + ' ' + "-~x"[d.selectAllBox()->checkState()], expected);
    }
    d.pdfBox()->setChecked(true);
    ok->click();
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(format, 1);
    QCOMPARE(selection, QList<int>({0, 2, 3})); // in row order, not ticking order
}

QTEST_MAIN(TestProtocolPage)
#include "tst_protocolpage.moc"

#include "app/mainwindow.h"
#include "app/processmodel.h"
#include "app/proclist.h"
#include "charts/plotimage.h"
#include "curverecord.h"
#include "modalanswer.h"
#include "results/activitypicker.h"
#include "results/activityplot.h"
#include "results/coincidenceplot.h"
#include "results/comparisonplot.h"
#include "results/qualitypanel.h"
#include "results/resultsmodel.h"
#include "results/resultssortmodel.h"
#include "results/resultswindow.h"
#include "samplerecords.h"
#include "table/monitor.h"
#include "testprojects.h"
#include "testsettings.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>
#include <qwt_legend.h>
#include <qwt_plot_curve.h>

using namespace samplerecords;

namespace {
// The long sample test started at `second`, one header field changed.
ProcessP *longTest(quint8 second, quint32 HeaderFields::*field = &HeaderFields::mass,
                   quint32 value = 500, quint8 flags = 3) {
    HeaderFields h = longTestHeader();
    h.second = second;
    h.*field = value;
    h.flags = flags;
    return make(h).release();
}

// The settings live longer than the window.
struct Rig : TestSettings, MainWindow {
    // 25 h; four channels; 2 h 30 min; mass 0; period 0; mass 200, beyond the table.
    Rig() {
        for (ProcessP *p :
             {make(longTestHeader()).release(), testrecords::curveRecord(3),
              longTest(1, &HeaderFields::duration, 9000), longTest(2, &HeaderFields::mass, 0),
              longTest(3, &HeaderFields::period, 0), longTest(4, &HeaderFields::mass, 200, 0)})
            add(p);
        processModel()->item(0, 2)->setText("Партия 1");
        resultsAction()->trigger();
        r = resultsWindow();
    }
    void add(ProcessP *p) {
        QVERIFY(store().add(p));
        QMetaObject::invokeMethod(this, "addProc", Q_ARG(ProcessP *, p));
    }
    // The texts of row r from the mass on.
    QString texts(int r) const {
        QStringList t;
        for (int c = ResultsRow::Mass; c < ResultsRow::ColumnCount; ++c)
            t << this->r->results()->row(r).text(c);
        return t.join('|');
    }
    void tick(int first, int last) {
        for (int row = first; row <= last; ++row)
            r->results()->setData(r->results()->index(row, ResultsModel::CompareColumn),
                                  Qt::Checked, Qt::CheckStateRole);
    }
    QwtPlotItemList curves() {
        r->updatePlots();
        return r->comparison()->plot()->itemList(QwtPlotItem::Rtti_PlotCurve);
    }
    ResultsWindow *r = nullptr;
};
} // namespace

class TestResultsWindow : public QObject {
    Q_OBJECT
private slots:
    void shownWindow();
    void comparesCurves();
    void qualityControl();
};

// Ticks made while the other tab is shown reach the legend; the activity
// markers' tips (an unnamed test's gives its start once); copy, CSV export
// (a failed one names the file), sorting, a double click to the main window;
// another project brings its own rows, proposal (the whole name), fitted
// columns, no status of the last one, and a plot image named after it.
void TestResultsWindow::shownWindow() {
    Rig rig;
    ResultsWindow *r = rig.r;
    r->show();
    QVERIFY(QTest::qWaitForWindowExposed(r));
    QCoreApplication::processEvents();
    r->plotTabs()->setCurrentWidget(r->activity());
    QCoreApplication::processEvents();
    rig.tick(0, 1);
    QCoreApplication::processEvents();
    const QwtPlotItemList curves = rig.curves();
    r->plotTabs()->setCurrentWidget(r->comparison());
    QwtPlot *comparison = r->comparison()->plot();
    auto *legend = qobject_cast<QwtLegend *>(comparison->legend());
    QTRY_VERIFY(legend->isVisible());
    for (QwtPlotItem *c : curves)
        QVERIFY(legend->legendWidget(comparison->itemToInfo(c))->isVisible());

    ActivityPlot *plot = r->activity();
    r->plotTabs()->setCurrentWidget(plot);
    r->updatePlots();
    QCOMPARE(plot->series(ActivityPlot::Activity)->dataSize(), size_t(1));
    QCOMPARE(plot->series(ActivityPlot::ActivityBound)->dataSize(), size_t(2));
    QCOMPARE(plot->series(ActivityPlot::ActivityBound)->sample(1).y(), 71.1);
    QCOMPARE(plot->series(ActivityPlot::WithHitBound)->dataSize(), size_t(2));
    const QPointF point = plot->series(ActivityPlot::Activity)->sample(0);
    plot->plot()->replot();
    const QString tip = plot->picker()->textAt(point);
    QVERIFY2(tip.contains("Партия 1") && tip.contains("62.3"), qPrintable(tip));
    QVERIFY(plot->picker()->textAt(point + QPointF(0, 20)).isEmpty());
    const QPointF bound = plot->series(ActivityPlot::ActivityBound)->sample(0);
    QCOMPARE(plot->picker()->textAt(bound).count('\n'), 2); // start, two activities

    r->table()->selectRow(0);
    r->table()->selectionModel()->select(r->sorted()->index(5, 0),
                                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
    r->table()->setFocus();
    QTest::keyClick(r->table(), Qt::Key_C, Qt::ControlModifier);
    const QStringList lines = QApplication::clipboard()->text().split('\n');
    QCOMPARE(lines.size(), 4); // header, two rows, the last line's end
    QCOMPARE(lines.at(2).split('\t').at(ResultsRow::Activity), ">71.1");

    QTemporaryDir dir;
    QString proposed, path = dir.filePath("all.csv");
    r->setFileChooser([&](const QString &p) { return proposed = p, path; });
    QVERIFY(r->exportCsv());
    // The rows in the model's order; what each field holds is the CSV writer's own test.
    const QList<QByteArray> csv = testprojects::bytesOf(path).split('\n');
    QCOMPARE(csv.size(), 8); // the header, six rows, the last line's end
    QCOMPARE(csv.at(6),
             "2026-06-15,10:30:04,,1 (2),M-500,200,25:00,28,6.50,>71.1,0.90,>71.1,>0.052\r");
    QDir(dir.path()).mkdir("folder");
    for (const QString &bad : {dir.filePath("folder"), path + "/inside.csv"}) {
        path = bad;
        QString text;
        answerNextMessageBox(QMessageBox::Ok, &text);
        QVERIFY(!r->exportCsv());
        QVERIFY2(text.contains(QDir::toNativeSeparators(bad)), qPrintable(text));
    }
    // Both unharmed.
    QVERIFY(QFileInfo(dir.filePath("folder")).isDir() && QFile(dir.filePath("all.csv")).size());

    QHeaderView *header = r->table()->horizontalHeader();
    const int activity = ResultsModel::FirstResultColumn + ResultsRow::Activity;
    const QPoint at(header->sectionViewportPosition(activity) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(r->sorted()->shownRows(), (QList<int>{1, 0, 5, 2, 3, 4})); // <28.9 62.3 >71.1 ? ? ?
    const QPoint top = r->table()->visualRect(r->sorted()->index(0, activity)).center();
    QTest::mouseClick(r->table()->viewport(), Qt::LeftButton, {}, top); // a double click's first
    QTest::mouseDClick(r->table()->viewport(), Qt::LeftButton, {}, top);
    QCOMPARE(rig.monitor()->currentRecord(), rig.store().at(1));
    rig.resultsAction()->trigger();
    QCOMPARE(rig.resultsWindow(), r); // the one window, brought forward

    const int date = ResultsModel::FirstResultColumn + ResultsRow::Date;
    const int fitted = r->table()->columnWidth(date);
    r->table()->setColumnWidth(date, 10);
    rig.setFileChooser([&](const MainWindow::FileRequest &) { return dir.filePath("lab.v2.vtl"); });
    QVERIFY(QMetaObject::invokeMethod(&rig, "saveAsProject"));
    QVERIFY(QMetaObject::invokeMethod(&rig, "closeProject"));
    QCOMPARE(r->status(), QString());
    QCOMPARE(r->results()->rowCount(), 0);
    rig.openAction()->trigger();
    r->updatePlots();
    QCOMPARE(r->results()->row(0).text(ResultsRow::Name), QString("Партия 1"));
    QCOMPARE(r->table()->columnWidth(date), fitted);
    path.clear();
    QVERIFY(!r->exportCsv());
    QCOMPARE(proposed, dir.filePath("lab.v2.csv"));
    PlotImage *image = PlotImage::of(r->comparison()->plot());
    image->setFileChooser([&](QWidget *, const QString &, const QString &p, const QString &,
                              QString *) { return proposed = p, QString(); });
    image->saveAction()->trigger();
    QCOMPARE(proposed, dir.filePath("lab.v2 - Curves side by side.png"));
}

// Up to twelve ticked tests; those without the quantity's curve are named
// under the plot; a deleted one leaves the comparison. Edits show at once.
void TestResultsWindow::comparesCurves() {
    Rig rig;
    rig.tick(0, 4);
    ComparisonPlot *plot = rig.r->comparison();
    QCOMPARE(rig.curves().size(), 4); // all but the test without points
    QVERIFY(plot->note().contains(rig.r->results()->row(4).label()));

    plot->setQuantity(AlignedCurve::ReducedVolume);
    QCOMPARE(rig.curves().size(), 3);
    QVERIFY(plot->note().contains(rig.r->results()->row(3).label()));
    plot->setQuantity(AlignedCurve::Resistance);
    QCOMPARE(rig.curves().size(), 1);
    // Its own pen, whatever is drawn.
    QCOMPARE(static_cast<QwtPlotCurve *>(rig.curves().at(0))->pen(), ComparisonPlot::pen(1));
    QVERIFY(plot->note().contains("Партия 1"));

    for (int i = 0; i < 8; ++i)
        rig.add(longTest(quint8(10 + i)));
    rig.tick(5, 12);
    QCOMPARE(rig.r->results()->comparedRows().size(), ResultsModel::MaxCompared);
    QVERIFY(rig.r->status().contains("12"));

    rig.processList()->selectionModel()->select(
        rig.processModel()->index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    answerNextMessageBox(QMessageBox::Yes);
    QMetaObject::invokeMethod(&rig, "deleteSelProc");
    QCOMPARE(rig.r->results()->rowCount(), 13);
    QCOMPARE(rig.r->results()->comparedRows().size(), 11);
    QVERIFY(rig.curves().isEmpty()); // the deleted test's resistance was the only one

    // An edit of the parameters table (every one reaches the window by one signal, so the mass
    // stands for them; Apply K's hits come by their own) and of a name shows at once. Row 0
    // before: 500|25:00|28|4.42|62.3|0.90|56.07|0.048
    QMetaObject::invokeMethod(&rig, "addGraph",
                              Q_ARG(QModelIndex, rig.processModel()->index(0, 0)));
    QVERIFY(QMetaObject::invokeMethod(rig.monitor(), "changedMassa", Q_ARG(int, 250)));
    QCOMPARE(rig.texts(0), "250|25:00|28|5.32|>71.1|0.90|>71.1|>0.052");
    rig.processModel()->item(0, 2)->setText("Партия 2");
    QCOMPARE(rig.r->results()->row(0).text(ResultsRow::Name), QString("Партия 2"));
}

// Strengths typed into the table (Escape keeps none), K, Apply K through the
// main window's edit path (a cancel changes nothing), and the filters.
void TestResultsWindow::qualityControl() {
    Rig rig;
    rig.add(longTest(50)); // row 6, as row 0
    ProcessP *week = longTest(51);
    week->setHardeningIndex(0);
    week->setMeasuredStrength(40.0, 2); // measured at 28 days
    rig.add(week);
    QTemporaryDir dir;
    rig.setFileChooser([&](const MainWindow::FileRequest &) { return dir.filePath("q.vtl"); });
    QVERIFY(QMetaObject::invokeMethod(&rig, "saveAsProject"));
    ResultsWindow *r = rig.r;
    QualityPanel *q = r->quality();
    r->show();
    QVERIFY(QTest::qWaitForWindowExposed(r));
    r->updatePlots();
    QCOMPARE(q->daysBox()->currentText(), "28"); // what most tests use
    QCOMPARE(q->statisticsText().section('\n', 1, 2),
             "Activity with hit coefficient, MPa: n 2, mean 56.07, sd 0.00, CV 0.00 %, min 56.07, "
             "max 56.07\n  left out as bounds of the table: 2");

    const QModelIndex cell = r->sorted()->index(0, ResultsModel::MeasuredColumn);
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
        r->table()->edit(cell);
        auto *editor = r->table()->findChild<QLineEdit *>();
        QVERIFY(editor);
        QTest::keyClicks(editor, "56.07");
        QTest::keyClick(editor, key);
        QApplication::processEvents(); // the delegate commits from the event loop
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the editor goes
        QCOMPARE(rig.saveAction()->isEnabled(), key == Qt::Key_Return);
    }
    r->results()->setData(r->results()->index(6, ResultsModel::MeasuredColumn), "63.546");
    r->results()->setData(r->results()->index(5, ResultsModel::MeasuredColumn), "70");
    r->updatePlots();
    QCOMPARE(q->statisticsText().section('\n', -2, -2),
             "Coincidence coefficient K: 0.960 (sd 0.085, n 2); left out: activity R beyond the "
             "table 1, measured at another duration of hardening 0");
    QCOMPARE(q->coincidence()->points()->dataSize(), size_t(2));
    r->setFileChooser([&](const QString &) { return dir.filePath("stats.csv"); });
    QVERIFY(r->exportStatistics());
    QCOMPARE(testprojects::bytesOf(dir.filePath("stats.csv")).split('\n').at(3),
             "\"Activity with hit coefficient, MPa\",2,56.07,0.00,0.00,56.07,56.07,2\r");

    QVERIFY(QMetaObject::invokeMethod(&rig, "saveProject"));
    QMetaObject::invokeMethod(&rig, "showTest", Q_ARG(int, 0));
    for (int row : {0, 6})
        r->table()->selectionModel()->select(
            r->sorted()->index(row, 1), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    answerNextMessageBox(QMessageBox::Cancel);
    QVERIFY(!r->applyCoefficient());
    QCOMPARE(rig.store().at(0)->hitPercent(), quint8(90));
    QVERIFY(!rig.saveAction()->isEnabled());
    QString text;
    answerNextMessageBox(QMessageBox::Yes, &text);
    q->applyButton()->click();
    QCOMPARE(text, "Set the hit coefficient of these 2 tests to 0.96 (K = 0.960)?");
    QCOMPARE(rig.store().at(5)->hitPercent(), quint8(90)); // not selected
    QCOMPARE(rig.texts(6), "500|25:00|28|4.42|62.3|0.96|59.81|0.048");
    QCOMPARE(rig.monitor()->tableModel()->item(17, 1)->text(), "0.96");
    QVERIFY(rig.saveAction()->isEnabled());

    // 200 / 62.3 and 1.02: K 2.115 lies beyond the editor's range.
    r->results()->setData(r->results()->index(0, ResultsModel::MeasuredColumn), "200");
    r->updatePlots();
    answerNextMessageBox(QMessageBox::Yes, &text); // a warning has no Yes to press
    QVERIFY(!r->applyCoefficient());
    QCOMPARE(text, "K = 2.115 lies outside the hit coefficient's range 0.20 to 2.00 and is not "
                   "applied.");
    QCOMPARE(rig.store().at(0)->hitPercent(), quint8(96));

    q->onlyFilteredBox()->setChecked(true);
    QCOMPARE(r->sorted()->rowCount(), 7);
    q->daysBox()->setCurrentIndex(0);
    QCOMPARE(r->sorted()->shownRows(), QList<int>{7});
    QCOMPARE(q->statistics().otherDuration(), 1);
    q->gradeBox()->setCurrentIndex(7); // M-700
    QCOMPARE(r->sorted()->rowCount(), 0);
}

QTEST_MAIN(TestResultsWindow)
#include "tst_resultswindow.moc"

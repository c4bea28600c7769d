#include "app/mainwindow.h"
#include "app/processmodel.h"
#include "app/proclist.h"
#include "charts/plotimage.h"
#include "curverecord.h"
#include "evaluation/resultscsv.h"
#include "modalanswer.h"
#include "results/activitypicker.h"
#include "results/activityplot.h"
#include "results/comparisonplot.h"
#include "results/resultsmodel.h"
#include "results/resultssortmodel.h"
#include "results/resultswindow.h"
#include "samplerecords.h"
#include "table/monitor.h"
#include "testsettings.h"

#include <QAction>
#include <QClipboard>
#include <QHeaderView>
#include <QTableView>
#include <QtTest>
#include <qwt_legend.h>
#include <qwt_plot_curve.h>

using namespace samplerecords;

namespace {
// The long sample test with one header field changed.
ProcessP *odd(quint8 second, quint32 HeaderFields::*field, quint32 value, quint8 flags = 3) {
    HeaderFields h = longTestHeader();
    h.second = second;
    h.*field = value;
    h.flags = flags;
    return make(h).release();
}

struct Rig {
    // 25 h; four channels; 2 h 30 min; mass 0; period 0; mass 200, beyond the table.
    Rig() {
        for (ProcessP *p : {make(longTestHeader()).release(), testrecords::curveRecord(3),
                            odd(1, &HeaderFields::duration, 9000), odd(2, &HeaderFields::mass, 0),
                            odd(3, &HeaderFields::period, 0), odd(4, &HeaderFields::mass, 200, 0)})
            add(p);
        w.processModel()->item(0, 2)->setText("Партия 1");
        w.resultsAction()->trigger();
        r = w.resultsWindow();
    }
    void add(ProcessP *p) {
        QVERIFY(w.store().add(p));
        QMetaObject::invokeMethod(&w, "addProc", Q_ARG(ProcessP *, p));
    }
    ResultsRow fresh(int row) {
        return ResultsRow(*w.store().at(row), w.processModel()->index(row, 2).data().toString());
    }
    QStringList texts(const ResultsRow &row) const {
        QStringList t;
        for (int c = 0; c < ResultsRow::ColumnCount; ++c)
            t << row.text(c);
        return t;
    }
    void tick(int row) {
        r->results()->setData(r->results()->index(row, ResultsModel::CompareColumn), Qt::Checked,
                              Qt::CheckStateRole);
    }
    QList<QwtPlotCurve *> curves() {
        r->updatePlots();
        QList<QwtPlotCurve *> list;
        for (QwtPlotItem *item : r->comparison()->plot()->itemList(QwtPlotItem::Rtti_PlotCurve))
            list << static_cast<QwtPlotCurve *>(item);
        return list;
    }
    TestSettings settings;
    MainWindow w;
    ResultsWindow *r = nullptr;
};
} // namespace

class TestResultsWindow : public QObject {
    Q_OBJECT
private slots:
    void followsEveryEdit_data();
    void followsEveryEdit();
    void followsTheStore();
    void shownWindow();
    void comparesCurves();
    void projectChangeAndHiddenTab();
};

void TestResultsWindow::followsEveryEdit_data() {
    QTest::addColumn<QByteArray>("edit"); // a slot of the table, with `value` if not negative
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("column"); // a column the edit changes
    QTest::newRow("mass") << QByteArray("changedMassa") << 250.0 << int(ResultsRow::Total);
    QTest::newRow("grade") << QByteArray("changedCement") << 6.0 << int(ResultsRow::Grade);
    QTest::newRow("supplier") << QByteArray("changedSupplier") << 0.0 << int(ResultsRow::Total);
    QTest::newRow("days") << QByteArray("changedDays") << 0.0 << int(ResultsRow::Activity);
    QTest::newRow("braking flag") << QByteArray("changedBraking") << -1.0 << int(ResultsRow::Total);
    QTest::newRow("temperature flag")
        << QByteArray("changedTemp") << -1.0 << int(ResultsRow::Total);
    QTest::newRow("hit") << QByteArray("changedCoeffV") << 1.5 << int(ResultsRow::HitCoefficient);
    QTest::newRow("name") << QByteArray() << 0.0 << int(ResultsRow::Name);
}

// Each edit of the parameters table, and of a name, shows at once.
void TestResultsWindow::followsEveryEdit() {
    QFETCH(QByteArray, edit);
    QFETCH(double, value);
    QFETCH(int, column);
    Rig rig;
    Monitor *m = rig.w.monitor();
    QMetaObject::invokeMethod(&rig.w, "addGraph",
                              Q_ARG(QModelIndex, rig.w.processModel()->index(0, 0)));
    const QString before = rig.r->results()->row(0).text(column);
    if (edit.isEmpty())
        rig.w.processModel()->item(0, 2)->setText("Партия 2");
    else if (edit == "changedCoeffV")
        m->changedCoeffV(value);
    else if (value < 0)
        QVERIFY(QMetaObject::invokeMethod(m, edit.constData()));
    else
        QVERIFY(QMetaObject::invokeMethod(m, edit.constData(), Q_ARG(int, int(value))));
    QCOMPARE(rig.texts(rig.r->results()->row(0)), rig.texts(rig.fresh(0)));
    QVERIFY(rig.r->results()->row(0).text(column) != before);
}

// The rows follow tests added, deleted, closed and opened; a deleted one leaves the comparison.
void TestResultsWindow::followsTheStore() {
    Rig rig;
    HeaderFields h = longTestHeader();
    h.second = 40;
    rig.add(make(h).release());
    QCOMPARE(rig.r->results()->rowCount(), 7);
    QCOMPARE(rig.texts(rig.r->results()->row(6)), rig.texts(rig.fresh(6)));

    rig.tick(1);
    QCOMPARE(rig.curves().size(), 1);
    rig.w.processList()->selectionModel()->select(
        rig.w.processModel()->index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    answerNextMessageBox(QMessageBox::Yes);
    QMetaObject::invokeMethod(&rig.w, "deleteSelProc");
    QCOMPARE(rig.r->results()->rowCount(), 6);
    QCOMPARE(rig.texts(rig.r->results()->row(1)), rig.texts(rig.fresh(1)));
    QVERIFY(rig.r->results()->comparedRows().isEmpty());
    QVERIFY(rig.curves().isEmpty());

    QTemporaryDir dir;
    const QString path = dir.filePath("p.vtl");
    rig.w.setFileChooser([&](const MainWindow::FileRequest &) { return path; });
    QVERIFY(QMetaObject::invokeMethod(&rig.w, "saveAsProject"));
    QVERIFY(QMetaObject::invokeMethod(&rig.w, "closeProject"));
    QCOMPARE(rig.r->results()->rowCount(), 0);
    rig.r->updatePlots();
    QCOMPARE(rig.r->activity()->series(ActivityPlot::Activity)->dataSize(), size_t(0));
    rig.w.openAction()->trigger();
    QCOMPARE(rig.r->results()->rowCount(), 6);
    QCOMPARE(rig.r->results()->row(0).text(ResultsRow::Name), QString("Партия 1"));
}

// Copy, CSV export, sorting, a double click to the main window, the activity markers.
void TestResultsWindow::shownWindow() {
    Rig rig;
    ResultsWindow *r = rig.r;
    r->show();
    QVERIFY(QTest::qWaitForWindowExposed(r));
    r->table()->selectRow(0);
    r->table()->selectionModel()->select(r->sorted()->index(5, 0),
                                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
    r->table()->setFocus();
    QTest::keyClick(r->table(), Qt::Key_C, Qt::ControlModifier);
    const QStringList lines = QApplication::clipboard()->text().split('\n');
    QCOMPARE(lines.size(), 4); // header, two rows, the last line's end
    QCOMPARE(lines.at(2).split('\t').at(ResultsRow::Activity), ">71.1");

    QTemporaryDir dir;
    QString path = dir.filePath("all.csv");
    r->setFileChooser([&](const QString &) { return path; });
    QVERIFY(r->exportCsv());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), ResultsCsv::bytes(r->shownRows(), r->numberLocale()));
    for (const QString &bad : {dir.filePath("folder"), path + "/inside.csv"}) {
        QDir(dir.path()).mkdir("folder");
        path = bad;
        QString text;
        answerNextMessageBox(QMessageBox::Ok, &text);
        QVERIFY(!r->exportCsv());
        QVERIFY2(text.contains(QDir::toNativeSeparators(bad)), qPrintable(text));
        QVERIFY(QFileInfo(dir.filePath("folder")).isDir());
        QVERIFY(file.size() > 0);
    }

    QHeaderView *header = r->table()->horizontalHeader();
    const int activity = ResultsModel::FirstResultColumn + ResultsRow::Activity;
    const auto activities = [&]() {
        QStringList texts;
        for (const ResultsRow &row : r->shownRows())
            texts << row.text(ResultsRow::Activity);
        return texts;
    };
    const QPoint at(header->sectionViewportPosition(activity) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(activities(), (QStringList{"<28.9", "62.3", ">71.1", "?", "?", "?"}));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at); // "?" last both ways
    QCOMPARE(activities(), (QStringList{">71.1", "62.3", "<28.9", "?", "?", "?"}));
    const QPoint top = r->table()->visualRect(r->sorted()->index(0, activity)).center();
    QTest::mouseClick(r->table()->viewport(), Qt::LeftButton, {}, top); // a double click's first
    QTest::mouseDClick(r->table()->viewport(), Qt::LeftButton, {}, top);
    QCOMPARE(rig.w.currentTest(), 5);
    QCOMPARE(rig.w.monitor()->currentRecord(), rig.w.store().at(5));
    rig.w.resultsAction()->trigger();
    QCOMPARE(rig.w.resultsWindow(), r); // the one window, brought forward

    r->plotTabs()->setCurrentWidget(r->activity());
    r->updatePlots();
    ActivityPlot *plot = r->activity();
    QCOMPARE(plot->series(ActivityPlot::Activity)->dataSize(), size_t(1));
    QCOMPARE(plot->series(ActivityPlot::ActivityBound)->dataSize(), size_t(2));
    QCOMPARE(plot->series(ActivityPlot::ActivityBound)->sample(1).y(), 71.1);
    QCOMPARE(plot->series(ActivityPlot::WithHitBound)->dataSize(), size_t(2));
    const QPointF point = plot->series(ActivityPlot::Activity)->sample(0);
    plot->plot()->replot();
    const QString text = plot->picker()->textAt(point);
    QVERIFY2(text.contains("Партия 1") && text.contains("62.3"), qPrintable(text));
    QVERIFY(plot->picker()->textAt(point + QPointF(0, 20)).isEmpty());
}

// Up to twelve ticked tests; those without the quantity's curve are named under the plot.
void TestResultsWindow::comparesCurves() {
    Rig rig;
    for (int r = 0; r < 5; ++r)
        rig.tick(r);
    ComparisonPlot *plot = rig.r->comparison();
    QCOMPARE(rig.curves().size(), 4); // all but the test without points
    QVERIFY(plot->note().contains(rig.r->results()->row(4).label()));

    plot->setQuantity(AlignedCurve::ReducedVolume);
    QCOMPARE(rig.curves().size(), 3);
    QVERIFY(plot->note().contains(rig.r->results()->row(3).label()));
    plot->setQuantity(AlignedCurve::Resistance);
    QCOMPARE(rig.curves().size(), 1);
    QCOMPARE(rig.curves().at(0)->pen(), ComparisonPlot::pen(1)); // its own, whatever is drawn
    QVERIFY(plot->note().contains("Партия 1"));

    for (int i = 0; i < 8; ++i) {
        HeaderFields h = longTestHeader();
        h.minute = quint8(i);
        rig.add(make(h).release());
    }
    for (int r = 5; r < 13; ++r)
        rig.tick(r);
    QCOMPARE(rig.r->results()->comparedRows().size(), ResultsModel::MaxCompared);
    QVERIFY(!rig.r->results()->compared(12));
    QVERIFY(rig.r->status().contains("12"));

    rig.r->setProposedFile("/lab/May.csv");
    QString proposed;
    PlotImage *image = PlotImage::of(plot->plot());
    image->setFileChooser(
        [&](QWidget *, const QString &, const QString &p, const QString &, QString *) {
            proposed = p;
            return QString();
        });
    image->saveAction()->trigger();
    QCOMPARE(proposed, "/lab/May - Curves side by side.png");
}

// Ticks made while the other tab is shown reach the legend; an unnamed
// test's marker tip gives its start once; another project brings its own
// proposal (the whole name), fitted columns and no status of the last one.
void TestResultsWindow::projectChangeAndHiddenTab() {
    Rig rig;
    ResultsWindow *r = rig.r;
    r->show();
    QVERIFY(QTest::qWaitForWindowExposed(r));
    QCoreApplication::processEvents();
    r->plotTabs()->setCurrentWidget(r->activity());
    QCoreApplication::processEvents();
    rig.tick(0);
    rig.tick(1);
    QCoreApplication::processEvents();
    const QList<QwtPlotCurve *> curves = rig.curves();
    r->plotTabs()->setCurrentWidget(r->comparison());
    QwtPlot *plot = r->comparison()->plot();
    auto *legend = qobject_cast<QwtLegend *>(plot->legend());
    QTRY_VERIFY(legend->isVisible());
    for (QwtPlotCurve *c : curves)
        QVERIFY(legend->legendWidget(plot->itemToInfo(c))->isVisible());

    ActivityPlot *activity = r->activity();
    activity->plot()->replot();
    const QPointF bound = activity->series(ActivityPlot::ActivityBound)->sample(0);
    QCOMPARE(activity->picker()->textAt(bound).count('\n'), 2); // start, two activities

    QTemporaryDir dir;
    QString proposed, path = dir.filePath("first.csv");
    r->setFileChooser([&](const QString &p) { return proposed = p, path; });
    QVERIFY(r->exportCsv());
    QVERIFY(!r->status().isEmpty());
    const int date = ResultsModel::FirstResultColumn + ResultsRow::Date;
    const int fitted = r->table()->columnWidth(date);
    r->table()->setColumnWidth(date, 10);
    rig.w.setFileChooser(
        [&](const MainWindow::FileRequest &) { return dir.filePath("lab.v2.vtl"); });
    QVERIFY(QMetaObject::invokeMethod(&rig.w, "saveAsProject"));
    QVERIFY(QMetaObject::invokeMethod(&rig.w, "closeProject"));
    QCOMPARE(r->status(), QString());
    rig.w.openAction()->trigger();
    r->updatePlots();
    QCOMPARE(r->table()->columnWidth(date), fitted);
    path.clear();
    QVERIFY(!r->exportCsv());
    QCOMPARE(proposed, dir.filePath("lab.v2.csv"));
}

QTEST_MAIN(TestResultsWindow)
#include "tst_resultswindow.moc"

#include "app/mainwindow.h"
#include "app/processmodel.h"
#include "samplerecords.h"
#include "table/dialogtab.h"
#include "table/monitor.h"
#include "testsettings.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTableView>
#include <QtTest>

using namespace samplerecords;

namespace {
const QString None = QStringLiteral("<none>");
using RowTexts = QMap<int, QString>;

QStringList values(const Monitor *m) {
    QStringList texts;
    for (int row = 0; row < TableTexts::RowCount; ++row) {
        const QStandardItem *item = m->tableModel()->item(row, 1);
        texts << (item ? item->text() : None);
    }
    return texts;
}

// A main window showing one sample record, as after a click on its row.
struct Shown {
    explicit Shown(const HeaderFields &s) : record(new ProcessP(header(s), longSamples(), 1)) {
        w.store().add(record);
        QMetaObject::invokeMethod(&w, "addProc", Q_ARG(ProcessP *, record));
        QMetaObject::invokeMethod(&w, "addGraph",
                                  Q_ARG(QModelIndex, w.processModel()->index(0, 0)));
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
    }
    Monitor *m() { return w.monitor(); }
    QStandardItem *item(int row) { return m()->tableModel()->item(row, 1); }
    // Opens the cell's editor with the mouse, types the text over what it
    // shows and ends with the key; *shown gets the editor's text on opening.
    void type(int row, const QString &text, Qt::Key end, QString *shown = nullptr) {
        const QModelIndex index = m()->tableModel()->index(row, 1);
        m()->scrollTo(index);
        const QRect cell = m()->visualRect(index);
        QTest::mouseClick(m()->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(m()->viewport(), Qt::LeftButton, {}, cell.center());
        QTRY_VERIFY(m()->indexWidget(index));
        auto *spin = qobject_cast<QAbstractSpinBox *>(m()->indexWidget(index));
        QVERIFY(spin);
        if (shown)
            *shown = spin->text();
        spin->selectAll();
        QTest::keyClicks(spin, text);
        QTest::keyClick(spin, end);
        QTRY_COMPARE(m()->indexWidget(index), nullptr);
    }
    TestSettings settings;
    MainWindow w;
    ProcessP *record;
};

} // namespace

class TestMonitor : public QObject {
    Q_OBJECT
private slots:
    void texts_data();
    void texts();
    void partialReevaluation_data();
    void partialReevaluation();
    void gradeEditorEmitsOnOpening();
    void flagRowsChangeOnlyByTheirBox_data();
    void flagRowsChangeOnlyByTheirBox();
    void typedNumbers_data();
    void typedNumbers();
    void referenceTablesOpenAsIndependentWindows();
};

void TestMonitor::texts_data() {
    QTest::addColumn<quint8>("flags");
    QTest::addColumn<quint32>("duration");
    QTest::addColumn<QStringList>("texts");
    const QStringList head{"500", "25:00", "60", "M-500", "1.7", "28", "", "", None};
    QTest::newRow("long test") << quint8(3) << 90000u
                               << head + QStringList{"1.30",  "2.60",  "Yes",  "1.70",
                                                     "16.50", "0.12",  "4.42", "62.3",
                                                     "0.90",  "56.07", "0.048"};
    QTest::newRow("flags clear") << quint8(0) << 90000u
                                 << head + QStringList{"1.30",  "2.60",  "-",    "-",
                                                       "16.50", "-",     "2.60", "35.6",
                                                       "0.90",  "32.04", "0.031"};
    // Under three hours nothing from braking on is known, and the hit
    // coefficient gets no cell to edit.
    QStringList shortHead = head;
    shortHead[1] = "02:30";
    QTest::newRow("short test") << quint8(3) << 9000u
                                << shortHead + QStringList{"0.75", "1.50", "?",  "?",  "?", "?",
                                                           "?",    "?",    None, None, "?"};
}

void TestMonitor::texts() {
    QFETCH(quint8, flags);
    QFETCH(quint32, duration);
    QFETCH(QStringList, texts);
    HeaderFields s = longTestHeader();
    s.flags = flags;
    s.duration = duration;
    Monitor m;
    auto r = make(s);
    m.showProcess(r.get());
    QCOMPARE(values(&m), texts);
}

void TestMonitor::partialReevaluation_data() {
    QTest::addColumn<QString>("slot");
    QTest::addColumn<double>("value");
    QTest::addColumn<quint8>("flags");
    QTest::addColumn<RowTexts>("changed");
    // 1000 / 450 g: q 2.89 >= 2.8, no braking; 2.89 + 0.12 = 3.01.
    QTest::newRow("mass") << "changedMassa" << 450.0 << quint8(3)
                          << RowTexts{{10, "2.89"}, {11, "No"},    {12, "0.00"}, {15, "3.01"},
                                      {16, "41.3"}, {18, "37.17"}, {19, "0.035"}};
    // 360 days: 79.6 - 0.08 * 9 = 78.88; 78.9 * 0.9 = 71.01.
    QTest::newRow("days") << "changedDays" << 6.0 << quint8(3)
                          << RowTexts{{16, "78.9"}, {18, "71.01"}, {19, "0.059"}};
    // M-300 cannot brake: 2.6 + 0.12 = 2.72.
    QTest::newRow("grade") << "changedCement" << 2.0 << quint8(3)
                           << RowTexts{{11, "No"},   {12, "0.00"},  {15, "2.72"},
                                       {16, "37.2"}, {18, "33.48"}, {19, "0.032"}};
    QTest::newRow("grade, no braking record") << "changedCement" << 2.0 << quint8(2) << RowTexts();
    // 1.1 + 2.6 + 0.12 = 3.82.
    QTest::newRow("supplier")
        << "changedSupplier" << 0.0 << quint8(3)
        << RowTexts{{12, "1.10"}, {15, "3.82"}, {16, "53.4"}, {18, "48.06"}, {19, "0.043"}};
    QTest::newRow("supplier, no braking record")
        << "changedSupplier" << 0.0 << quint8(2) << RowTexts();
    // 62.3 * 1.2 = 74.76 > 71.1.
    QTest::newRow("hit") << "changedCoeffV" << 1.2 << quint8(3) << RowTexts{{18, ">71.10"}};
}

void TestMonitor::partialReevaluation() {
    QFETCH(QString, slot);
    QFETCH(double, value);
    QFETCH(quint8, flags);
    QFETCH(RowTexts, changed);
    HeaderFields s = longTestHeader();
    s.flags = flags;
    Shown t(s);
    QStringList expected = values(t.m());
    for (auto it = changed.cbegin(); it != changed.cend(); ++it)
        expected[it.key()] = it.value();
    if (slot == "changedCoeffV")
        t.m()->changedCoeffV(value);
    else
        QMetaObject::invokeMethod(t.m(), slot.toLatin1(), Q_ARG(int, int(value)));
    QCOMPARE(values(t.m()), expected);
    QVERIFY(t.w.saveAction()->isEnabled());
}

// Opening the grade's list marks the project modified though nothing changed.
void TestMonitor::gradeEditorEmitsOnOpening() {
    HeaderFields s = longTestHeader();
    s.grade = 3;
    Shown t(s);
    QSignalSpy spy(t.m(), &Monitor::changedCemenetA);
    QVERIFY(!t.w.saveAction()->isEnabled());
    const QModelIndex index = t.m()->tableModel()->index(TableTexts::RowGrade, 1);
    t.m()->edit(index);
    auto *box = qobject_cast<QComboBox *>(t.m()->indexWidget(index));
    QVERIFY(box);
    QCOMPARE(box->count(), 8);
    QCOMPARE(box->itemText(7), "Unknown");
    QCOMPARE(box->currentIndex(), 3);
    QCOMPARE(spy, QList<QVariantList>{{3}});
    QVERIFY(t.w.saveAction()->isEnabled());
}

void TestMonitor::flagRowsChangeOnlyByTheirBox_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<quint8>("bit");
    QTest::newRow("braking record") << int(TableTexts::RowBrakingRecord) << quint8(1);
    QTest::newRow("inobservance t") << int(TableTexts::RowTemperatureNotObserved) << quint8(2);
}

// What a user does to the cell with mouse and keyboard: only a click on the
// box, or Space, changes the flag, and that marks the project modified.
void TestMonitor::flagRowsChangeOnlyByTheirBox() {
    QFETCH(int, row);
    QFETCH(quint8, bit);
    Shown t(longTestHeader());
    Monitor *m = t.m();
    const QModelIndex index = m->tableModel()->index(row, 1);
    const QRect cell = m->visualRect(index);
    const quint8 flags = t.record->flags();
    QTest::mouseClick(m->viewport(), Qt::LeftButton, {}, cell.center() + QPoint(40, 0));
    QTest::mouseDClick(m->viewport(), Qt::LeftButton, {}, cell.center() + QPoint(40, 0));
    QTest::keyClick(m->viewport(), Qt::Key_Return);
    m->setCurrentIndex(index);
    QTest::keyClick(m->viewport(), Qt::Key_F2);
    QTest::keyClicks(m->viewport(), "x1");
    QTest::keyClick(m->viewport(), Qt::Key_Enter);
    QCOMPARE(m->indexWidget(index), nullptr);
    QCOMPARE(t.record->flags(), flags);
    QCOMPARE(t.item(TableTexts::RowBraking)->text(), "Yes");
    QVERIFY(!t.w.saveAction()->isEnabled());
    QCOMPARE(m->visualRect(index), cell); // the labels stayed; the box is at the left
    const QPoint box(cell.left() + m->style()->pixelMetric(QStyle::PM_IndicatorWidth) / 2 + 4,
                     cell.center().y());
    QTest::mouseClick(m->viewport(), Qt::LeftButton, {}, box);
    QCOMPARE(t.record->flags() & bit, 0);
    QVERIFY(t.w.saveAction()->isEnabled());
    QVERIFY(t.w.windowTitle().contains('*'));
    m->setCurrentIndex(index);
    QTest::keyClick(m->viewport(), Qt::Key_Space);
    QCOMPARE(t.record->flags() & bit, int(bit));
}

// Escape leaves record, results and modified state as they were; Enter makes
// them follow. A mass is whole grams: a separator ends the number, never x10.
// The coefficient is written with a point, a comma typed counts as one, and
// the cell keeps that text rather than a number painted with the locale's comma.
void TestMonitor::typedNumbers_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("cell");   // after Enter
    QTest::addColumn<QString>("opened"); // what the editor showed on opening
    const int mass = TableTexts::RowMass, hit = TableTexts::RowHit;
    for (const char *locale : {"en_US", "ru_RU", "de_DE"}) {
        const auto add = [locale](int row, const char *typed, const char *cell) {
            QTest::addRow("%s %s", locale, typed)
                << locale << row << typed << cell << (row == hit ? "0.90" : "500");
        };
        add(mass, "350.5", "350");
        add(mass, "350,5", "350");
        add(mass, "1500", "1500");
        add(hit, "1.15", "1.15");
        add(hit, "1,2", "1.20");
    }
}

void TestMonitor::typedNumbers() {
    QFETCH(QString, locale);
    QFETCH(int, row);
    QFETCH(QString, typed);
    QFETCH(QString, cell);
    QFETCH(QString, opened);
    QLocale::setDefault(QLocale(locale));
    Shown t(longTestHeader());
    const QStringList before = values(t.m());
    const QByteArray header = t.record->header();
    const QString title = t.w.windowTitle();
    QString shown;
    t.type(row, typed, Qt::Key_Escape);
    QCOMPARE(values(t.m()), before);
    QCOMPARE(t.record->header(), header);
    QVERIFY(!t.w.saveAction()->isEnabled());
    QCOMPARE(t.w.windowTitle(), title);
    t.type(row, typed, Qt::Key_Return, &shown);
    QLocale::setDefault(QLocale::c());
    QCOMPARE(shown, opened);
    QCOMPARE(values(t.m()).at(row), cell);
    QVERIFY(values(t.m()).at(TableTexts::RowActivityWithHit) !=
            before[TableTexts::RowActivityWithHit]);
    QVERIFY(t.w.saveAction()->isEnabled());
    QCOMPARE(t.item(row)->data(Qt::DisplayRole).userType(), int(QMetaType::QString));
    if (row == TableTexts::RowMass)
        QCOMPARE(t.record->mass(), cell.toUInt());
    else
        QCOMPARE(int(t.record->hitPercent()), qRound(cell.toDouble() * 100));
}

void TestMonitor::referenceTablesOpenAsIndependentWindows() {
    TestSettings settings;
    MainWindow w;
    w.setTitle("Setrovia+");
    w.show();
    w.activityAction()->trigger();
    w.specificContractionAction()->trigger();
    const QList<DialogTab *> dialogs = w.findChildren<DialogTab *>();
    QCOMPARE(dialogs.size(), 2);
    const QStandardItemModel *activity = dialogs[0]->tableModel();
    QCOMPARE(activity->rowCount(), 31);
    QCOMPARE(activity->item(0, 0)->text(), "15.0");
    QCOMPARE(activity->item(30, 6)->text(), "84.1");
    QCOMPARE(dialogs[1]->tableModel()->item(0, 0)->text(), "0.014");
    QCOMPARE(dialogs[1]->tableModel()->item(30, 6)->text(), "0.060");
    for (DialogTab *d : dialogs) {
        QVERIFY(d->isVisible());
        QVERIFY(!d->isModal());
        QCOMPARE(d->windowTitle(), "Setrovia+");
    }
    QTableView *view = dialogs[0]->tableView();
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {},
                       view->visualRect(activity->index(1, 1)).center());
    QCOMPARE(activity->item(1, 1)->text(), "27.2"); // no cell can be edited
    QCOMPARE(view->editTriggers(), QAbstractItemView::NoEditTriggers);

    dialogs[0]->findChild<QPushButton *>()->click();
    QVERIFY(!dialogs[0]->isVisible());
    QVERIFY(dialogs[1]->isVisible());
    dialogs[1]->close();
    QTRY_VERIFY(w.findChildren<DialogTab *>().size() < 2);
}

QTEST_MAIN(TestMonitor)
#include "tst_monitor.moc"

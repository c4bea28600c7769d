#include "app/mainwindow.h"
#include "app/processmodel.h"
#include "samplerecords.h"
#include "table/monitor.h"
#include "testsettings.h"

#include <QAbstractItemDelegate>
#include <QAction>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QSpinBox>
#include <QStandardItemModel>
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

// Rows 9 to 19 of the sample record, both flags set.
const QStringList longResults = {"1.30", "2.60", "Yes",  "1.70",  "16.50", "0.12",
                                 "4.42", "62.3", "0.90", "56.07", "0.048"};

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
    // Opens the in-place editor of a value cell as a double click would.
    QWidget *edit(int row) {
        const QModelIndex index = m()->tableModel()->index(row, 1);
        m()->edit(index);
        return m()->indexWidget(index);
    }
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
    void commit(int row, QWidget *editor) {
        QAbstractItemDelegate *d = m()->itemDelegateForRow(row);
        emit d->commitData(editor);
        emit d->closeEditor(editor);
    }
    TestSettings settings;
    MainWindow w;
    ProcessP *record;
};

double shown(const QString &text) {
    return text == QLatin1String("-") ? 0.0 : text.toDouble();
}
} // namespace

class TestMonitor : public QObject {
    Q_OBJECT
private slots:
    void longTest();
    void clearFlagsShowDash();
    void shortTestLeavesTheHitRowsAlone();
    void partialReevaluation_data();
    void partialReevaluation();
    void gradeEditorEmitsOnOpening();
    void flagRowsChangeOnlyByTheirBox_data();
    void flagRowsChangeOnlyByTheirBox();
    void committedNumbersShowAsTheTableShowsThem();
    void escapeUndoesANumberEdit_data();
    void escapeUndoesANumberEdit();
    void typedNumbers_data();
    void typedNumbers();
};

void TestMonitor::longTest() {
    Monitor m;
    auto r = make(longTestHeader());
    m.showProcess(r.get());
    QCOMPARE(values(&m),
             QStringList({"500", "25:00", "60", "M-500", "1.7", "28", "", "", None}) + longResults);
}

void TestMonitor::clearFlagsShowDash() {
    Monitor m;
    HeaderFields s = longTestHeader();
    s.flags = 0;
    auto r = make(s);
    m.showProcess(r.get());
    QCOMPARE(values(&m).mid(9), QStringList({"1.30", "2.60", "-", "-", "16.50", "-", "2.60", "35.6",
                                             "0.90", "32.04", "0.031"}));
}

// Under three hours nothing from braking on is known; the hit coefficient
// gets no cell to edit.
void TestMonitor::shortTestLeavesTheHitRowsAlone() {
    Monitor m;
    HeaderFields s = longTestHeader();
    s.duration = 9000;
    auto r = make(s);
    m.showProcess(r.get());
    QCOMPARE(values(&m).mid(11), QStringList({"?", "?", "?", "?", "?", "?", None, None, "?"}));
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
    const QStringList got = values(t.m());
    QCOMPARE(got, expected);
    QVERIFY(t.w.saveAction()->isEnabled());
    QVERIFY(qAbs(shown(got[15]) - shown(got[10]) - shown(got[12]) - shown(got[14])) < 0.011);
}

void TestMonitor::gradeEditorEmitsOnOpening() {
    HeaderFields s = longTestHeader();
    s.grade = 3;
    Shown t(s);
    QSignalSpy spy(t.m(), &Monitor::changedCemenetA);
    QVERIFY(!t.w.saveAction()->isEnabled());
    auto *box = qobject_cast<QComboBox *>(t.edit(TableTexts::RowGrade));
    QVERIFY(box);
    QCOMPARE(box->count(), 8);
    QCOMPARE(box->itemText(7), QString("Unknown"));
    QCOMPARE(box->currentIndex(), 3);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), 3);
    QVERIFY(t.w.saveAction()->isEnabled()); // modified though nothing changed
    t.commit(TableTexts::RowGrade, box);
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
    QVERIFY(cell.isValid());
    const quint8 flags = t.record->flags();
    auto flagsNow = [&] { return quint8(t.record->flags() & bit); };

    QTest::mouseClick(m->viewport(), Qt::LeftButton, {}, cell.center() + QPoint(40, 0));
    QTest::mouseDClick(m->viewport(), Qt::LeftButton, {}, cell.center() + QPoint(40, 0));
    QTest::keyClick(m->viewport(), Qt::Key_Return);
    m->setCurrentIndex(index);
    QTest::keyClick(m->viewport(), Qt::Key_F2);
    QTest::keyClicks(m->viewport(), "x1");
    QTest::keyClick(m->viewport(), Qt::Key_Enter);
    QCOMPARE(m->indexWidget(index), nullptr);
    QCOMPARE(t.record->flags(), flags);
    QCOMPARE(t.item(TableTexts::RowBraking)->text(), QString("Yes"));
    QVERIFY(!t.w.saveAction()->isEnabled());

    // The labels stayed where they were, and the box sits at the left of the cell.
    QCOMPARE(m->visualRect(index), cell);
    const QPoint box(cell.left() + m->style()->pixelMetric(QStyle::PM_IndicatorWidth) / 2 + 4,
                     cell.center().y());
    QTest::mouseClick(m->viewport(), Qt::LeftButton, {}, box);
    QCOMPARE(flagsNow(), quint8(0));
    QVERIFY(t.w.saveAction()->isEnabled());
    QVERIFY(t.w.windowTitle().contains('*'));
    m->setCurrentIndex(m->tableModel()->index(row, 1));
    QTest::keyClick(m->viewport(), Qt::Key_Space);
    QCOMPARE(flagsNow(), bit);
}

// After an edit the cell holds the text the table shows for the stored value,
// not a number that the view would paint with the locale's separators.
void TestMonitor::committedNumbersShowAsTheTableShowsThem() {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    Shown t(longTestHeader());
    auto *mass = qobject_cast<QSpinBox *>(t.edit(TableTexts::RowMass));
    QVERIFY(mass);
    mass->setValue(1500);
    t.commit(TableTexts::RowMass, mass);
    auto *hit = qobject_cast<QDoubleSpinBox *>(t.edit(TableTexts::RowHit));
    QVERIFY(hit);
    hit->setValue(1.2);
    t.commit(TableTexts::RowHit, hit);
    QLocale::setDefault(QLocale::c());
    for (int row : {int(TableTexts::RowMass), int(TableTexts::RowHit)})
        QCOMPARE(t.item(row)->data(Qt::DisplayRole).userType(), int(QMetaType::QString));
    QCOMPARE(t.item(TableTexts::RowMass)->text(), QString("1500"));
    QCOMPARE(t.item(TableTexts::RowHit)->text(), QString("1.20"));
}

void TestMonitor::escapeUndoesANumberEdit_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("changedRow"); // a result that follows the edit
    QTest::newRow("mass") << int(TableTexts::RowMass) << "999" << int(TableTexts::RowTotal);
    QTest::newRow("hit coefficient")
        << int(TableTexts::RowHit) << "2" << int(TableTexts::RowActivityWithHit);
}

// Typed, then Escape: record, results and modified state as before the
// editor opened. Typed, then Enter: all of them follow.
void TestMonitor::escapeUndoesANumberEdit() {
    QFETCH(int, row);
    QFETCH(QString, typed);
    QFETCH(int, changedRow);
    Shown t(longTestHeader());
    Monitor *m = t.m();
    const QStringList before = values(m);
    const QByteArray header = t.record->header();
    const QString title = t.w.windowTitle();
    t.type(row, typed, Qt::Key_Escape);
    QCOMPARE(values(m), before);
    QCOMPARE(t.record->header(), header);
    QVERIFY(!t.w.saveAction()->isEnabled());
    QCOMPARE(t.w.windowTitle(), title);

    t.type(row, typed, Qt::Key_Return);
    QVERIFY(values(m).at(row) != before.at(row));
    QVERIFY(values(m).at(changedRow) != before.at(changedRow));
    QVERIFY(t.record->header() != header);
    QVERIFY(t.w.saveAction()->isEnabled());
}

void TestMonitor::typedNumbers_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("cell");   // after Enter
    QTest::addColumn<QString>("opened"); // what the editor showed on opening
    for (const char *locale : {"en_US", "ru_RU", "de_DE"}) {
        const QByteArray l(locale);
        // A mass is whole grams: the separator ends the number, never ×10.
        QTest::newRow(l + " mass 350.5") << locale << int(TableTexts::RowMass) << "350.5"
                                         << "350"
                                         << "500";
        QTest::newRow(l + " mass 350,5") << locale << int(TableTexts::RowMass) << "350,5"
                                         << "350"
                                         << "500";
        QTest::newRow(l + " mass 1500") << locale << int(TableTexts::RowMass) << "1500"
                                        << "1500"
                                        << "500";
        // The coefficient is written with a point; a comma typed counts as one.
        QTest::newRow(l + " hit 1.25") << locale << int(TableTexts::RowHit) << "1.25"
                                       << "1.25"
                                       << "0.90";
        QTest::newRow(l + " hit 1,25") << locale << int(TableTexts::RowHit) << "1,25"
                                       << "1.25"
                                       << "0.90";
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
    QString shown;
    t.type(row, typed, Qt::Key_Return, &shown);
    QLocale::setDefault(QLocale::c());
    QCOMPARE(shown, opened);
    QCOMPARE(values(t.m()).at(row), cell);
    if (row == TableTexts::RowMass)
        QCOMPARE(t.record->mass(), cell.toUInt());
    else
        QCOMPARE(t.record->hitPercent(), quint8(125));
}

QTEST_MAIN(TestMonitor)
#include "tst_monitor.moc"

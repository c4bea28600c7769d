#include "app/mainwindow.h"
#include "app/processmodel.h"
#include "app/russiancatalogues.h"
#include "modalanswer.h"
#include "samplerecords.h"
#include "table/dialogtab.h"
#include "table/monitor.h"
#include "testsettings.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QtTest>

using namespace samplerecords;

namespace {
// Column 1 of the table, and what it must show for the record as it is now.
QStringList values(const Monitor *m) {
    QStringList texts;
    for (int row = 0; row < TableTexts::RowCount; ++row)
        texts << (m->tableModel()->item(row, 1) ? m->tableModel()->item(row, 1)->text() : "-");
    return texts;
}
QStringList expected(const ProcessP &record) {
    const TableTexts table(record);
    QStringList texts;
    for (int row = 0; row < TableTexts::RowCount; ++row)
        texts << (table.filled(row) ? table.value(row) : "-");
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
    QModelIndex index(int row) { return m()->tableModel()->index(row, 1); }
    // The table, the record's header, the title and Save: what an edit may change.
    QStringList state() {
        return values(m()) << record->header().toHex() << w.windowTitle()
                           << (w.saveAction()->isEnabled() ? "save" : "saved");
    }
    // The cell's editor, opened by a double click.
    QWidget *open(int row) {
        m()->scrollTo(index(row));
        const QPoint cell = m()->visualRect(index(row)).center();
        QTest::mouseClick(m()->viewport(), Qt::LeftButton, {}, cell);
        QTest::mouseDClick(m()->viewport(), Qt::LeftButton, {}, cell);
        (void)QTest::qWaitFor([&] { return m()->indexWidget(index(row)); });
        return m()->indexWidget(index(row));
    }
    // Types over the cell's editor, ending with `end` (Key_unknown: left
    // open); *shown: its text on opening.
    void type(int row, const QString &text, Qt::Key end, QString *shown = nullptr) {
        auto *spin = qobject_cast<QAbstractSpinBox *>(open(row));
        QVERIFY(spin);
        if (shown)
            *shown = spin->text();
        spin->selectAll();
        QTest::keyClicks(spin, text);
        if (end == Qt::Key_unknown)
            return;
        QTest::keyClick(spin, end);
        QTRY_COMPARE(m()->indexWidget(index(row)), nullptr);
    }
    TestSettings settings;
    MainWindow w;
    ProcessP *record;
};

} // namespace

class TestMonitor : public QObject {
    Q_OBJECT
private slots:
    void listEditorsStoreOnlyACommittedChoice();
    void flagRowsChangeOnlyByTheirBox();
    void typedNumbers();
    void referenceTablesOpenAsIndependentWindows();
    void typedValueCountsOnClose();
};

// A list editor stores only the item chosen and committed: Escape after a
// choice, or committing a list where nothing matched the cell (the Russian
// "unknown" grade), leaves the record, the table and the modified state alone.
// A choice committed brings every other cell to what the edited record gives.
void TestMonitor::listEditorsStoreOnlyACommittedChoice() {
    using T = TableTexts;
    for (int row : {int(T::RowGrade), int(T::RowSupplier), int(T::RowDays), -int(T::RowGrade)}) {
        std::unique_ptr<RussianCatalogues> russian(row < 0 ? new RussianCatalogues : nullptr);
        HeaderFields s = longTestHeader();
        s.grade = row < 0 ? 7 : s.grade;
        row = qAbs(row);
        Shown t(s);
        const QStringList before = t.state();
        for (Qt::Key end : {Qt::Key_Escape, Qt::Key_Return}) {
            auto *box = qobject_cast<QComboBox *>(t.open(row));
            QVERIFY(box);
            if (!russian)
                QTest::keyClick(box, Qt::Key_Up);
            QTest::keyClick(box, end);
            QTRY_COMPARE(t.m()->indexWidget(t.index(row)), nullptr);
            QCOMPARE(values(t.m()), expected(*t.record));
            if (russian || end == Qt::Key_Escape)
                QCOMPARE(t.state(), before);
            else // the hardening days live outside the header
                QVERIFY(values(t.m()) != before.mid(0, T::RowCount) &&
                        t.w.saveAction()->isEnabled());
        }
    }
}

// Only a click on the box, or Space, changes a flag and marks the project modified.
void TestMonitor::flagRowsChangeOnlyByTheirBox() {
    for (int row : {TableTexts::RowBrakingRecord, TableTexts::RowTemperatureNotObserved}) {
        const int bit = row == TableTexts::RowBrakingRecord ? 1 : 2;
        Shown t(longTestHeader());
        Monitor *m = t.m();
        const QRect cell = m->visualRect(t.index(row));
        const QStringList before = t.state();
        QTest::mouseClick(m->viewport(), Qt::LeftButton, {}, cell.center() + QPoint(40, 0));
        QTest::mouseDClick(m->viewport(), Qt::LeftButton, {}, cell.center() + QPoint(40, 0));
        QTest::keyClick(m->viewport(), Qt::Key_Return);
        m->setCurrentIndex(t.index(row));
        QTest::keyClick(m->viewport(), Qt::Key_F2);
        QTest::keyClicks(m->viewport(), "x1");
        QTest::keyClick(m->viewport(), Qt::Key_Enter);
        QCOMPARE(t.state(), before);
        QCOMPARE(m->visualRect(t.index(row)), cell); // the labels stayed; the box is at the left
        const QPoint box(cell.left() + m->style()->pixelMetric(QStyle::PM_IndicatorWidth) / 2 + 4,
                         cell.center().y());
        QTest::mouseClick(m->viewport(), Qt::LeftButton, {}, box);
        QCOMPARE(t.record->flags() & bit, 0);
        QVERIFY(t.w.saveAction()->isEnabled() && t.w.windowTitle().contains('*'));
        m->setCurrentIndex(t.index(row));
        QTest::keyClick(m->viewport(), Qt::Key_Space);
        QCOMPARE(t.record->flags() & bit, bit);
    }
}

// Escape changes nothing, Enter commits and brings every other cell up to date;
// a mass is whole grams, a comma counts as a point.
void TestMonitor::typedNumbers() {
    const int mass = TableTexts::RowMass, hit = TableTexts::RowHit;
    const struct {
        int row;
        const char *typed, *cell; // the cell after Enter
        int stored;               // grams, or the hit coefficient in hundredths
    } cases[] = {{mass, "350.5", "350", 350},
                 {mass, "350,5", "350", 350},
                 {hit, "1.15", "1.15", 115},
                 {hit, "1,2", "1.20", 120}};
    for (const char *locale : {"en_US", "ru_RU"})
        for (const auto &c : cases) {
            QLocale::setDefault(QLocale(locale));
            Shown t(longTestHeader());
            const QStringList before = t.state();
            QString shown;
            t.type(c.row, c.typed, Qt::Key_Escape);
            QCOMPARE(t.state(), before);
            t.type(c.row, c.typed, Qt::Key_Return, &shown);
            QLocale::setDefault(QLocale::c());
            QCOMPARE(shown, c.row == hit ? "0.90" : "500"); // the editor on opening
            QCOMPARE(values(t.m()).at(c.row), c.cell);
            QCOMPARE(values(t.m()), expected(*t.record)); // every cell brought up to date
            QCOMPARE(c.row == mass ? int(t.record->mass()) : int(t.record->hitPercent()), c.stored);
            QVERIFY(t.w.saveAction()->isEnabled());
            QCOMPARE(t.index(c.row).data().userType(), int(QMetaType::QString));
        }
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
    for (DialogTab *d : dialogs)
        QVERIFY(d->isVisible() && !d->isModal() && d->windowTitle() == "Setrovia+");
    QVERIFY(!(dialogs[0]->tableModel()->index(1, 1).flags() & Qt::ItemIsEditable));
    dialogs[0]->findChild<QPushButton *>()->click();
    QVERIFY(!dialogs[0]->isVisible() && dialogs[1]->isVisible());
    dialogs[1]->close();
    QTRY_VERIFY(w.findChildren<DialogTab *>().size() < 2);
}

// A number typed but not confirmed is stored, and asked about, when the window closes.
void TestMonitor::typedValueCountsOnClose() {
    Shown t(longTestHeader());
    t.type(TableTexts::RowMass, "350", Qt::Key_unknown);
    QString text;
    answerNextMessageBox(QMessageBox::Cancel, &text);
    QVERIFY(!t.w.close());
    QCOMPARE(text, "The project has been modified. Do you want to save your changes?");
    QCOMPARE(t.record->mass(), 350u);
    QCOMPARE(t.m()->indexWidget(t.index(TableTexts::RowMass)), nullptr);
}

QTEST_MAIN(TestMonitor)
#include "tst_monitor.moc"

#include "print/printdialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTreeView>
#include <QtTest>

namespace {
QStandardItemModel *processList(int rows) {
    auto *m = new QStandardItemModel(rows, 3);
    m->setHorizontalHeaderLabels({"Date", "Time", "Name"});
    for (int r = 0; r < rows; ++r) {
        m->setItem(r, 0, new QStandardItem(QStringLiteral("day %1").arg(r)));
        m->setItem(r, 1, new QStandardItem(QStringLiteral("time %1").arg(r)));
        m->setItem(r, 2, new QStandardItem(QStringLiteral("name %1").arg(r)));
    }
    return m;
}

bool okEnabled(PrintDialog &d) {
    return d.buttons()->button(QDialogButtonBox::Ok)->isEnabled();
}
} // namespace

class TestPrintDialog : public QObject {
    Q_OBJECT
private slots:
    void checkStatesFollowTheRows();
    void okReportsFormatAndSelectionInOrder();
    void datesAndTimesShowWhole();
};

void TestPrintDialog::checkStatesFollowTheRows() {
    QScopedPointer<QStandardItemModel> list(processList(3));
    PrintDialog none(3, list.data(), -1, nullptr, nullptr);
    QVERIFY(!okEnabled(none)); // no current test: Ok waits for a choice
    QCOMPARE(none.selectAllBox()->checkState(), Qt::Unchecked);

    PrintDialog d(3, list.data(), 1, nullptr, nullptr);
    d.show();
    QCOMPARE(d.model()->item(1, 0)->checkState(), Qt::Checked);
    QCOMPARE(d.model()->item(0, 0)->checkState(), Qt::Unchecked);
    QCOMPARE(d.model()->item(2, 3)->text(), QStringLiteral("name 2"));
    QCOMPARE(d.selectAllBox()->checkState(), Qt::PartiallyChecked);
    QVERIFY(okEnabled(d));
    d.model()->item(1, 0)->setCheckState(Qt::Unchecked);
    QVERIFY(!okEnabled(d));
    QCOMPARE(d.selectAllBox()->checkState(), Qt::Unchecked);
    d.selectAllBox()->click(); // unchecked -> every row
    for (int r = 0; r < 3; ++r)
        QCOMPARE(d.model()->item(r, 0)->checkState(), Qt::Checked);
    QVERIFY(okEnabled(d));
    d.selectAllBox()->click(); // checked -> none
    QCOMPARE(d.model()->item(2, 0)->checkState(), Qt::Unchecked);
    QVERIFY(!okEnabled(d));
    d.model()->item(0, 0)->setCheckState(Qt::Checked);
    QCOMPARE(d.selectAllBox()->checkState(), Qt::PartiallyChecked);
    d.selectAllBox()->click(); // partial -> every row
    QCOMPARE(d.selectAllBox()->checkState(), Qt::Checked);
}

void TestPrintDialog::okReportsFormatAndSelectionInOrder() {
    QScopedPointer<QStandardItemModel> list(processList(4));
    int format = -1;
    QList<int> selection;
    PrintDialog d(4, list.data(), 2, &format, &selection);
    d.model()->item(0, 0)->setCheckState(Qt::Checked);
    d.model()->item(3, 0)->setCheckState(Qt::Checked);
    d.pdfBox()->setChecked(true);
    d.buttons()->button(QDialogButtonBox::Ok)->click();
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(format, 1);
    QCOMPARE(selection, QList<int>({0, 2, 3}));
}

void TestPrintDialog::datesAndTimesShowWhole() {
    QStandardItemModel list(2, 3);
    list.setItem(0, 0, new QStandardItem("Wed Nov 20 2024"));
    list.setItem(0, 1, new QStandardItem("11:15:30"));
    list.setItem(1, 0, new QStandardItem("Fri Sep 30 2026 and more"));
    list.setItem(1, 1, new QStandardItem("23:59:59"));
    PrintDialog d(2, &list, 0, nullptr, nullptr);
    QTreeView *tree = d.view();
    const QAbstractItemView *view = tree;
    for (int column : {1, 2})
        QVERIFY(tree->columnWidth(column) >= view->sizeHintForColumn(column));
    QVERIFY(d.width() >= tree->columnWidth(0) + tree->columnWidth(1) + tree->columnWidth(2));
}

QTEST_MAIN(TestPrintDialog)
#include "tst_printdialog.moc"

#include "print/printdialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTreeView>
#include <QtTest>

class TestPrintDialog : public QObject {
    Q_OBJECT
private slots:
    void checksFollowTheRowsAndOkReportsThem();
    void datesAndTimesShowWhole();
};

void TestPrintDialog::checksFollowTheRowsAndOkReportsThem() {
    QStandardItemModel list(4, 3);
    for (int r = 0; r < 4; ++r)
        list.setItem(r, 2, new QStandardItem(QStringLiteral("name %1").arg(r)));
    PrintDialog none(4, &list, -1, nullptr, nullptr);
    QPushButton *noneOk = none.buttons()->button(QDialogButtonBox::Ok);
    QVERIFY(!noneOk->isEnabled()); // no current test: Ok waits for a choice
    QCOMPARE(none.selectAllBox()->checkState(), Qt::Unchecked);

    int format = -1;
    QList<int> selection;
    PrintDialog d(4, &list, 1, &format, &selection);
    d.show();
    QPushButton *ok = d.buttons()->button(QDialogButtonBox::Ok);
    const auto check = [&](int row) { return d.model()->item(row, 0)->checkState(); };
    QCOMPARE(check(1), Qt::Checked);
    QCOMPARE(check(0), Qt::Unchecked);
    QCOMPARE(d.model()->item(2, 3)->text(), "name 2");
    QCOMPARE(d.selectAllBox()->checkState(), Qt::PartiallyChecked);
    QVERIFY(ok->isEnabled());
    d.model()->item(1, 0)->setCheckState(Qt::Unchecked);
    QVERIFY(!ok->isEnabled());
    QCOMPARE(d.selectAllBox()->checkState(), Qt::Unchecked);
    d.selectAllBox()->click(); // unchecked -> every row
    for (int r = 0; r < 4; ++r)
        QCOMPARE(check(r), Qt::Checked);
    QVERIFY(ok->isEnabled());
    d.selectAllBox()->click(); // checked -> none
    QCOMPARE(check(2), Qt::Unchecked);
    QVERIFY(!ok->isEnabled());
    d.model()->item(0, 0)->setCheckState(Qt::Checked);
    QCOMPARE(d.selectAllBox()->checkState(), Qt::PartiallyChecked);
    d.selectAllBox()->click(); // partial -> every row
    QCOMPARE(d.selectAllBox()->checkState(), Qt::Checked);
    d.selectAllBox()->click();
    for (int r : {3, 2, 0})
        d.model()->item(r, 0)->setCheckState(Qt::Checked);
    d.pdfBox()->setChecked(true);
    ok->click();
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(format, 1);
    QCOMPARE(selection, QList<int>({0, 2, 3})); // in row order, not ticking order
}

void TestPrintDialog::datesAndTimesShowWhole() {
    QStandardItemModel list(2, 3);
    list.setItem(0, 0, new QStandardItem("Wed Nov 20 2024"));
    list.setItem(0, 1, new QStandardItem("11:15:30"));
    list.setItem(1, 0, new QStandardItem("Fri Sep 30 2026 and more"));
    list.setItem(1, 1, new QStandardItem("23:59:59"));
    PrintDialog d(2, &list, 0, nullptr, nullptr);
    QTreeView *tree = d.view();
    for (int column : {1, 2})
        QVERIFY(tree->columnWidth(column) >=
                static_cast<QAbstractItemView *>(tree)->sizeHintForColumn(column));
    QVERIFY(d.width() >= tree->columnWidth(0) + tree->columnWidth(1) + tree->columnWidth(2));
}

QTEST_MAIN(TestPrintDialog)
#include "tst_printdialog.moc"

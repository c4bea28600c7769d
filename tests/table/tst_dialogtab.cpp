#include "app/mainwindow.h"
#include "table/dialogtab.h"
#include "testsettings.h"

#include <QAction>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QtTest>

class TestDialogTab : public QObject {
    Q_OBJECT
private slots:
    void activityTable();
    void specificContractionTable();
    void commandsOpenIndependentWindows();
};

void TestDialogTab::activityTable() {
    DialogTab d(nullptr, true);
    QStandardItemModel *m = d.tableModel();
    QCOMPARE(m->rowCount(), 31);
    QCOMPARE(m->item(0, 0)->text(), QString("15.0"));
    QCOMPARE(m->item(30, 6)->text(), QString("84.1"));

    // No cell can be edited.
    d.show();
    QCOMPARE(d.tableView()->editTriggers(), QAbstractItemView::NoEditTriggers);
    QTest::mouseDClick(d.tableView()->viewport(), Qt::LeftButton, {},
                       d.tableView()->visualRect(m->index(1, 1)).center());
    QCOMPARE(m->item(1, 1)->text(), QString("27.2"));

    d.findChild<QPushButton *>()->click();
    QVERIFY(!d.isVisible());
}

void TestDialogTab::specificContractionTable() {
    DialogTab d(nullptr, false);
    QCOMPARE(d.tableModel()->item(0, 0)->text(), QString("0.014"));
    QCOMPARE(d.tableModel()->item(30, 6)->text(), QString("0.060"));
}

void TestDialogTab::commandsOpenIndependentWindows() {
    TestSettings settings;
    MainWindow w;
    w.setTitle("Setrovia+");
    w.show();
    w.activityAction()->trigger();
    w.specificContractionAction()->trigger();
    const QList<DialogTab *> dialogs = w.findChildren<DialogTab *>();
    QCOMPARE(dialogs.size(), 2);
    QCOMPARE(dialogs[0]->tableModel()->item(0, 0)->text(), QString("15.0"));
    QCOMPARE(dialogs[1]->tableModel()->item(0, 0)->text(), QString("0.014"));
    for (DialogTab *d : dialogs) {
        QVERIFY(d->isVisible());
        QVERIFY(!d->isModal());
        QCOMPARE(d->windowTitle(), QString("Setrovia+"));
    }
    dialogs[0]->close();
    QTRY_COMPARE(w.findChildren<DialogTab *>().size(), 1);
    QVERIFY(dialogs[1]->isVisible());
}

QTEST_MAIN(TestDialogTab)
#include "tst_dialogtab.moc"

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
    void tablesOpenAsIndependentWindows();
};

void TestDialogTab::tablesOpenAsIndependentWindows() {
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

QTEST_MAIN(TestDialogTab)
#include "tst_dialogtab.moc"

#include "app/mainwindow.h"
#include "evaluation/dialogtab.h"
#include "testsettings.h"

#include <QAction>
#include <QLabel>
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

namespace {
QStringList labels(const DialogTab &d) {
    QStringList texts;
    for (const QLabel *l : d.findChildren<QLabel *>())
        texts << l->text();
    return texts;
}
} // namespace

void TestDialogTab::activityTable() {
    DialogTab d(nullptr, true);
    QStandardItemModel *m = d.tableModel();
    QCOMPARE(m->rowCount(), 31);
    QCOMPARE(m->columnCount(), 7);
    QCOMPARE(m->item(0, 0)->text(), QString("15.0"));
    QCOMPARE(m->item(30, 6)->text(), QString("84.1"));
    QCOMPARE(m->item(30, 6)->textAlignment(), Qt::AlignHCenter);
    QCOMPARE(m->horizontalHeaderItem(6)->text(), QString("360"));
    QCOMPARE(m->verticalHeaderItem(30)->text(), QString("5.0"));
    QCOMPARE(d.tableView()->columnWidth(3), 60);
    QCOMPARE(d.tableView()->rowHeight(3), 25);
    QCOMPARE(
        labels(d),
        QStringList({"Cement activity depending on the contraction in 3 hours and the duration",
                     "of hardening", "The duration of the curing in normal conditions, day"}));
    QCOMPARE(d.size(), QSize(495, 650));
    QVERIFY(!d.isModal());

    // No cell can be edited.
    d.show();
    QCOMPARE(d.tableView()->editTriggers(), QAbstractItemView::NoEditTriggers);
    QTest::mouseDClick(d.tableView()->viewport(), Qt::LeftButton, {},
                       d.tableView()->visualRect(m->index(1, 1)).center());
    QCOMPARE(m->item(1, 1)->text(), QString("27.2"));
    QVERIFY(!d.tableView()->indexWidget(m->index(1, 1)));

    d.findChild<QPushButton *>()->click();
    QVERIFY(!d.isVisible());
}

void TestDialogTab::specificContractionTable() {
    DialogTab d(nullptr, false);
    QCOMPARE(d.tableModel()->item(0, 0)->text(), QString("0.014"));
    QCOMPARE(d.tableModel()->item(30, 6)->text(), QString("0.060"));
    QCOMPARE(
        labels(d).mid(0, 2),
        QStringList(
            {"Specific current contraction (ml.g) depending on the duration the curing", " "}));
    QCOMPARE(d.findChild<QPushButton *>()->text(), QString("Close"));
    QCOMPARE(d.size(), QSize(505, 650));
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
    QVERIFY(!QApplication::activeModalWidget());
    dialogs[0]->close();
    QTRY_COMPARE(w.findChildren<DialogTab *>().size(), 1);
    QVERIFY(dialogs[1]->isVisible());
}

QTEST_MAIN(TestDialogTab)
#include "tst_dialogtab.moc"

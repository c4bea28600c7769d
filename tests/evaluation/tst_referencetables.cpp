#include "evaluation/referencetables.h"

#include <QtTest>
#include <cmath>
#include <limits>

using namespace ReferenceTables;

class TestReferenceTables : public QObject {
    Q_OBJECT
private slots:
    void tablesRiseAlongRowsAndNeverFallDownColumns();
    void activity_data();
    void activity();
    void specificContraction_data();
    void specificContraction();
    void badArgumentsStayInsideTheTables();
};

void TestReferenceTables::tablesRiseAlongRowsAndNeverFallDownColumns() {
    for (auto table : {activityTable, specificContractionTable}) {
        for (int r = 0; r < Rows; ++r)
            for (int c = 0; c < Columns; ++c) {
                QVERIFY(c == 0 || table[r][c] > table[r][c - 1]);
                QVERIFY(r == 0 || table[r][c] >= table[r - 1][c]);
            }
    }
}

void TestReferenceTables::activity_data() {
    QTest::addColumn<float>("x");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::newRow("first row") << 2.0f << 2 << "28.9";
    QTest::newRow("last row takes the last interval") << 5.0f << 2 << "71.1";
    QTest::newRow("below") << 1.99f << 2 << "<28.9";
    QTest::newRow("above") << 5.01f << 2 << ">71.1";
    // 19.0 + 0.2 * (20.4 - 19.0) = 19.28
    QTest::newRow("2.32, 7 days") << 2.32f << 0 << "19.3";
    // 47.1 + 0.6 * 1.5 = 48.0
    QTest::newRow("3.46, 28 days") << 3.46f << 2 << "48.0";
    // 83.0 + 0.9 * 1.1 = 83.99
    QTest::newRow("4.99, 360 days") << 4.99f << 6 << "84.0";
    QTest::newRow("+inf") << std::numeric_limits<float>::infinity() << 2 << ">71.1";
}

void TestReferenceTables::activity() {
    QFETCH(float, x);
    QFETCH(int, column);
    QFETCH(QString, text);
    QCOMPARE(lookupActivity(x, column), text);
}

void TestReferenceTables::specificContraction_data() {
    QTest::addColumn<float>("x");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::newRow("first row") << 2.0f << 2 << "0.025";
    QTest::newRow("last row") << 5.0f << 2 << "0.052";
    QTest::newRow("above") << 5.01f << 2 << ">0.052";
    QTest::newRow("4.94 -> row 4.9") << 4.94f << 3 << "0.055";
    QTest::newRow("4.96 -> row 5.0") << 4.96f << 3 << "0.056";
}

void TestReferenceTables::specificContraction() {
    QFETCH(float, x);
    QFETCH(int, column);
    QFETCH(QString, text);
    QCOMPARE(lookupSpecificContraction(x, column), text);
}

void TestReferenceTables::badArgumentsStayInsideTheTables() {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    QCOMPARE(lookupActivity(nan, 2), QString("?"));
    QCOMPARE(lookupSpecificContraction(nan, 2), QString("?"));
    for (int column : {-1, 7, std::numeric_limits<int>::min()}) {
        QCOMPARE(lookupActivity(3.0f, column), QString("?"));
        QCOMPARE(lookupSpecificContraction(9.0f, column), QString("?"));
        QCOMPARE(hardeningDaysText(column), QString("?"));
    }
    // Just inside the bounds the row index must stay within 0..30.
    QCOMPARE(lookupActivity(std::nextafter(5.0f, 0.0f), 2), QString("71.1"));
    QCOMPARE(lookupSpecificContraction(std::nextafter(5.0f, 0.0f), 2), QString("0.052"));
}

QTEST_APPLESS_MAIN(TestReferenceTables)
#include "tst_referencetables.moc"

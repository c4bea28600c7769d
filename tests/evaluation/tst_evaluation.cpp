#include "evaluation/activityevaluation.h"
#include "evaluation/evaluation.h"
#include "samplerecords.h"

#include <QtTest>
#include <limits>

using namespace Evaluation;
using namespace samplerecords;

namespace {
const QStringList allUnknown = QString(9, QChar('?')).split(QString(), Qt::SkipEmptyParts);
} // namespace

class TestEvaluation : public QObject {
    Q_OBJECT
private slots:
    void threeHourThreshold();
    void braking_data();
    void braking();
    void averageTemperatureWindow();
    void temperatureCorrection_data();
    void temperatureCorrection();
    void supplierAndHitFactor();
    void activityWithHit_data();
    void activityWithHit();
    void badValues();
    void durationIsALengthOfTime();
};

void TestEvaluation::threeHourThreshold() {
    HeaderFields s = longTestHeader();
    s.duration = 10799;
    auto shorter = make(s);
    QVERIFY(!lastsThreeHours(*shorter));
    QCOMPARE(ActivityEvaluation::resultTexts(*shorter).mid(2), allUnknown);
    s.duration = 10800;
    auto exact = make(s);
    QVERIFY(lastsThreeHours(*exact));
    QCOMPARE(ActivityEvaluation::resultTexts(*exact).at(2), QString("Yes"));
}

void TestEvaluation::braking_data() {
    // v[10] = 10 counts; mass 500 g, 0.01 ml: p = 0.02 * (v[70] - 10), q = 0.02 * (v[190] - 10).
    QTest::addColumn<quint32>("grade");
    QTest::addColumn<int>("v70");
    QTest::addColumn<int>("v190");
    QTest::addColumn<bool>("braking");
    QTest::newRow("p 1.5 >= q - p 1.1") << 4u << 85 << 140 << true;
    QTest::newRow("p 1.2 < q - p 1.4") << 4u << 70 << 140 << false;
    QTest::newRow("q 2.9: never") << 4u << 110 << 155 << false;
    QTest::newRow("p 0.8, q 2.5, M-500") << 4u << 50 << 135 << true;
    QTest::newRow("p 0.8, q 2.2, M-400") << 3u << 50 << 120 << true;
    QTest::newRow("M-300 cannot brake") << 2u << 50 << 120 << false;
    QTest::newRow("unknown grade") << 7u << 50 << 120 << false;
}

void TestEvaluation::braking() {
    QFETCH(quint32, grade);
    QFETCH(int, v70);
    QFETCH(int, v190);
    QFETCH(bool, braking);
    HeaderFields s = longTestHeader();
    s.grade = grade;
    QByteArray b = longSamples();
    fill(b, 1, 0, 70, 190, qint16(v70));
    fill(b, 1, 0, 190, 2500, qint16(v190));
    QCOMPARE(brakingDetected(*make(s, b)), braking);
}

void TestEvaluation::averageTemperatureWindow() {
    // s = 10, k3 = 180: T[10..189] = 10..189 (mean 99.5), 1000 elsewhere.
    HeaderFields s = longTestHeader();
    s.duration = 30000; // n = 500
    QByteArray b = longSamples(1000);
    for (int i = 10; i < 190; ++i)
        setCount(b, 1, 1, i, quint16(i));
    QVERIFY(qAbs(averageTemperature(*make(s, b)) - 9.95) < 1e-6);
    s.duration = 6000; // n = 100 cuts the window: mean of 10..99 is 54.5
    QVERIFY(qAbs(averageTemperature(*make(s, b)) - 5.45) < 1e-6);
}

void TestEvaluation::temperatureCorrection_data() {
    QTest::addColumn<int>("count"); // of 0.5 °C
    QTest::addColumn<quint8>("flags");
    QTest::addColumn<float>("correction");
    QTest::newRow("16.5") << 33 << quint8(2) << 0.12f;
    QTest::newRow("18.0") << 36 << quint8(2) << 0.0f;
    QTest::newRow("23.0") << 46 << quint8(2) << -0.08f;
    QTest::newRow("23.0, observed") << 46 << quint8(0) << 0.0f;
}

void TestEvaluation::temperatureCorrection() {
    QFETCH(int, count);
    QFETCH(quint8, flags);
    QFETCH(float, correction);
    HeaderFields s = longTestHeader();
    s.temperatureScale = 0.5f;
    s.flags = flags;
    const float got = Evaluation::temperatureCorrection(*make(s, longSamples(qint16(count))));
    QVERIFY2(qAbs(got - correction) < 1e-7f, qPrintable(QString::number(double(got))));
}

void TestEvaluation::supplierAndHitFactor() {
    HeaderFields s = longTestHeader();
    const QList<QPair<quint32, float>> suppliers = {
        {0, 1.1f}, {6, 1.7f}, {7, 1.6f}, {0xffffffffu, 1.6f}};
    for (const auto &p : suppliers) {
        s.supplier = p.first;
        QCOMPARE(supplierCorrection(*make(s)), p.second);
    }
    QCOMPARE(hitFactor(20), 0.2);
    QCOMPARE(hitFactor(200), 2.0);
    for (quint8 h : {0, 19, 100, 201})
        QCOMPARE(hitFactor(h), 1.0);
}

void TestEvaluation::activityWithHit_data() {
    QTest::addColumn<QString>("activity");
    QTest::addColumn<double>("factor");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::newRow("45.3 x 1.2") << "45.3" << 1.2 << 2 << "54.36";
    QTest::newRow("below 28.9") << "45.3" << 0.5 << 2 << "<28.90";
    QTest::newRow("the bound itself") << "35.55" << 2.0 << 2 << "71.10";
    QTest::newRow("7 days bounds") << "15.0" << 0.9 << 0 << "<15.00";
    QTest::newRow("bound text kept") << ">71.1" << 0.5 << 2 << ">71.1";
    QTest::newRow("damaged column") << "45.3" << 1.0 << 7 << "?";
}

void TestEvaluation::activityWithHit() {
    QFETCH(QString, activity);
    QFETCH(double, factor);
    QFETCH(int, column);
    QFETCH(QString, text);
    QCOMPARE(activityWithHitText(activity, factor, column), text);
}

void TestEvaluation::badValues() {
    HeaderFields s = longTestHeader();
    // Mass 0: nothing per 1000 g can be evaluated; the temperature can.
    s.mass = 0;
    auto massless = make(s);
    QVERIFY(!brakingDetected(*massless));
    QCOMPARE(ActivityEvaluation::resultTexts(*massless),
             QStringList({"1.30", "?", "?", "?", "16.50", "0.12", "?", "?", "0.90", "?", "?"}));

    // No samples: period 0, or a duration shorter than one period.
    s = longTestHeader();
    for (quint32 period : {0u, 100000u}) {
        s.period = period;
        auto empty = make(s);
        QCOMPARE(ActivityEvaluation::resultTexts(*empty), QStringList({"?", "?"}) + allUnknown);
    }

    // A period above three hours leaves the temperature window empty.
    s.period = 20000; // n = 4
    auto sparse = make(s);
    QVERIFY(std::isnan(averageTemperature(*sparse)));
    QCOMPARE(ActivityEvaluation::resultTexts(*sparse).mid(4, 3), QStringList({"?", "?", "?"}));

    // Damaged hardening index, grade and supplier.
    s = longTestHeader();
    s.grade = 0xffffffffu;
    s.supplier = 0xffffffffu;
    auto damaged = make(s);
    damaged->setHardeningIndex(9);
    QCOMPARE(ActivityEvaluation::parameterTexts(*damaged).mid(3),
             QStringList({"Unknown", "1.6", "?"}));
    QCOMPARE(ActivityEvaluation::resultTexts(*damaged).mid(6),
             QStringList({"2.72", "?", "0.90", "?", "?"}));

    // A NaN or infinite volume scale from a damaged file.
    s = longTestHeader();
    for (float scale :
         {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
        s.volumeScale = scale;
        const QStringList t = ActivityEvaluation::resultTexts(*make(s));
        QCOMPARE(t.at(1) + t.at(6) + t.at(7) + t.at(10), QString("????"));
    }
}

void TestEvaluation::durationIsALengthOfTime() {
    const QList<QPair<quint32, QString>> cases{
        {0, "00:00"},      {59, "00:00"},          {90, "00:01"},
        {9000, "02:30"},   {86400, "24:00"},       {91800, "25:30"},
        {259200, "72:00"}, {3600 * 100, "100:00"}, {0xffffffffu, "1193046:28"}};
    for (const auto &c : cases)
        QCOMPARE(ActivityEvaluation::durationText(c.first), c.second);
}

QTEST_GUILESS_MAIN(TestEvaluation)
#include "tst_evaluation.moc"

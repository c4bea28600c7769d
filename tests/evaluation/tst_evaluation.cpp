#include "evaluation/activityevaluation.h"
#include "evaluation/evaluation.h"
#include "evaluation/referencetables.h"
#include "evaluation/resultscsv.h"
#include "evaluation/resultsrow.h"
#include "evaluation/tabletexts.h"
#include "linuxonly.h"
#include "samplerecords.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QtTest>
#include <cmath>
#include <limits>

using namespace Evaluation;
using namespace ReferenceTables;
using namespace samplerecords;

namespace {
const QStringList allUnknown = QString(9, QChar('?')).split(QString(), Qt::SkipEmptyParts);

// Seven tests whose texts mix numbers, bounds and "?", one of them short.
QVector<ResultsRow> sampleRows() {
    struct {
        quint32 mass;
        quint8 day, month;
        const char *name;
        quint32 duration;
    } const samples[] = {
        {200, 5, 11, "b", 90000}, {1000, 14, 3, "", 90000}, {500, 11, 3, "d", 90000},
        {0, 12, 3, "Ж", 90000},   {400, 1, 13, "a", 90000}, {700, 2, 1, "", 9000},
        {450, 14, 3, "c", 90000},
    };
    QVector<ResultsRow> rows;
    for (const auto &s : samples) {
        HeaderFields h = longTestHeader();
        h.flags = 0;
        h.mass = s.mass;
        h.day = s.day;
        h.month = s.month;
        h.year = s.month == 11 ? 24 : 25;
        h.duration = s.duration;
        h.hour = quint8(8 + rows.size());
        rows.append(ResultsRow(*make(h), QString::fromUtf8(s.name)));
    }
    return rows;
}
} // namespace

// The evaluation of a test, and the results overview's rows and CSV.
class TestEvaluation : public QObject {
    Q_OBJECT
private slots:
    void lookup_data();
    void lookup();
    void threeHourThreshold();
    void braking();
    void averageTemperatureWindow();
    void temperatureCorrection();
    void supplierAndHitFactor();
    void activityWithHit();
    void badValues();
    void durationIsALengthOfTime();
    void rowTexts();
    void rowOrder_data();
    void rowOrder();
    void csv_data();
    void csv();
};

void TestEvaluation::lookup_data() {
    QTest::addColumn<bool>("activity"); // else the specific contraction
    QTest::addColumn<float>("x");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::newRow("first row") << true << 2.0f << 2 << "28.9";
    QTest::newRow("last row takes the last interval") << true << 5.0f << 2 << "71.1";
    QTest::newRow("just below the last") << true << std::nextafter(5.0f, 0.0f) << 2 << "71.1";
    QTest::newRow("below") << true << 1.99f << 2 << "<28.9";
    QTest::newRow("above") << true << 5.01f << 2 << ">71.1";
    // 19.0 + 0.2 * (20.4 - 19.0) = 19.28; 47.1 + 0.6 * 1.5 = 48.0; 83.0 + 0.9 * 1.1 = 83.99
    QTest::newRow("2.32, 7 days") << true << 2.32f << 0 << "19.3";
    QTest::newRow("3.46, 28 days") << true << 3.46f << 2 << "48.0";
    QTest::newRow("4.99, 360 days") << true << 4.99f << 6 << "84.0";
    QTest::newRow("contraction, 4.94 -> row 4.9") << false << 4.94f << 3 << "0.055";
    QTest::newRow("contraction, 4.96 -> row 5.0") << false << 4.96f << 3 << "0.056";
    QTest::newRow("contraction below") << false << 1.99f << 2 << "<0.025";
    // Nothing is read outside the tables.
    QTest::newRow("NaN") << true << float(qQNaN()) << 2 << "?";
    QTest::newRow("NaN, contraction") << false << float(qQNaN()) << 2 << "?";
    QTest::newRow("column 7") << true << 3.0f << 7 << "?";
    QTest::newRow("column -1, contraction") << false << 9.0f << -1 << "?";
}

void TestEvaluation::lookup() {
    QFETCH(bool, activity);
    QFETCH(float, x);
    QFETCH(int, column);
    QFETCH(QString, text);
    QCOMPARE(activity ? lookupActivity(x, column) : lookupSpecificContraction(x, column), text);
}

void TestEvaluation::threeHourThreshold() {
    HeaderFields s = longTestHeader();
    s.duration = 10799;
    QCOMPARE(ActivityEvaluation::resultTexts(*make(s)).mid(2), allUnknown);
    QVERIFY(!TableTexts(*make(s)).filled(TableTexts::RowHit));
    s.duration = 10800;
    s.flags = 1; // a braking record, the temperature observed
    QCOMPARE(ActivityEvaluation::resultTexts(*make(s)).at(2), QString("Yes"));
    const TableTexts table(*make(s));
    QVERIFY(table.filled(TableTexts::RowHit));
    QCOMPARE(table.value(TableTexts::RowTemperatureCorrection), "-");
}

void TestEvaluation::braking() {
    // v[10] = 10 counts; mass 500 g, 0.01 ml: p = 0.02 (v[70] - 10), q = 0.02 (v[190] - 10).
    const struct {
        quint32 grade;
        int v70, v190;
        bool braking;
    } cases[] = {
        {4, 85, 140, true},   // p 1.5 >= q - p 1.1
        {4, 70, 140, false},  // p 1.2 < q - p 1.4
        {4, 70, 130, true},   // p 1.2 = q - p
        {4, 110, 155, false}, // q 2.9: never
        {4, 50, 135, true},   // p 0.8, q 2.5, M-500
        {3, 50, 120, true},   // p 0.8, q 2.2, M-400
        {3, 50, 135, false},  // p 0.8, q 2.5: M-400 brakes only below 2.3
        {2, 50, 120, false},  // M-300 cannot brake
    };
    HeaderFields s = longTestHeader();
    for (const auto &c : cases) {
        s.grade = c.grade;
        QByteArray b = longSamples();
        fill(b, 1, 0, 70, 190, qint16(c.v70));
        fill(b, 1, 0, 190, 2500, qint16(c.v190));
        QVERIFY2(brakingDetected(*make(s, b)) == c.braking,
                 qPrintable(QString("grade %1, v70 %2").arg(c.grade).arg(c.v70)));
    }
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

void TestEvaluation::temperatureCorrection() {
    // Counts of 0.5 °C: 16.5, 18.0 and 23.0 degrees; the last also observed.
    const struct {
        int count;
        quint8 flags;
        float correction;
    } cases[] = {{33, 2, 0.12f}, {36, 2, 0.0f}, {46, 2, -0.08f}, {46, 0, 0.0f}};
    HeaderFields s = longTestHeader();
    s.temperatureScale = 0.5f;
    for (const auto &c : cases) {
        s.flags = c.flags;
        const float got = Evaluation::temperatureCorrection(*make(s, longSamples(qint16(c.count))));
        QVERIFY2(qAbs(got - c.correction) < 1e-7f, qPrintable(QString::number(double(got))));
    }
}

void TestEvaluation::supplierAndHitFactor() {
    HeaderFields s = longTestHeader();
    for (const auto &p : QList<QPair<quint32, float>>{{0, 1.1f}, {6, 1.7f}, {7, 1.6f}}) {
        s.supplier = p.first;
        QCOMPARE(supplierCorrection(*make(s)), p.second);
    }
    QCOMPARE(hitFactor(20) + hitFactor(200), 2.2);
    for (quint8 h : {0, 19, 201})
        QCOMPARE(hitFactor(h), 1.0);
}

void TestEvaluation::activityWithHit() {
    // Two decimals, and the bounds of the table's column.
    QCOMPARE(activityWithHitText("45.3", 1.2, 2), QString("54.36"));
    QCOMPARE(activityWithHitText("35.55", 2.0, 2), QString("71.10"));
    QCOMPARE(activityWithHitText("15.0", 0.9, 0), QString("<15.00"));
    QCOMPARE(activityWithHitText("70.0", 1.2, 2), QString(">71.10"));
    QCOMPARE(activityWithHitText(">71.1", 0.5, 2), QString(">71.1"));
    QCOMPARE(activityWithHitText("45.3", 1.0, 7), QString("?"));
}

void TestEvaluation::badValues() {
    HeaderFields s = longTestHeader();
    // Mass 0: nothing per 1000 g can be evaluated; the temperature can.
    s.mass = 0;
    QVERIFY(!brakingDetected(*make(s)));
    QCOMPARE(ActivityEvaluation::resultTexts(*make(s)),
             QStringList({"1.30", "?", "?", "?", "16.50", "0.12", "?", "?", "0.90", "?", "?"}));

    // No samples: period 0, or a duration shorter than one period.
    s = longTestHeader();
    for (quint32 period : {0u, 100000u}) {
        s.period = period;
        QCOMPARE(ActivityEvaluation::resultTexts(*make(s)), QStringList({"?", "?"}) + allUnknown);
    }

    // A period above three hours leaves the temperature window empty.
    s.period = 20000; // n = 4
    QVERIFY(std::isnan(averageTemperature(*make(s))));
    QCOMPARE(ActivityEvaluation::resultTexts(*make(s)).mid(4, 3), QStringList({"?", "?", "?"}));

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

    // A NaN or infinite volume scale from a damaged file; no braking record.
    s = longTestHeader();
    s.flags = 0;
    for (float scale :
         {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
        s.volumeScale = scale;
        const QStringList t = ActivityEvaluation::resultTexts(*make(s));
        QCOMPARE(t.at(1) + t.at(6) + t.at(7) + t.at(10), QString("????"));
    }
}

void TestEvaluation::durationIsALengthOfTime() {
    QCOMPARE(ActivityEvaluation::durationText(90), "00:01");
    QCOMPARE(ActivityEvaluation::durationText(91800), "25:30");
    QCOMPARE(ActivityEvaluation::durationText(0xffffffffu), "1193046:28");
}

// Each column shows the parameters table's text; a damaged test shows "?".
void TestEvaluation::rowTexts() {
    HeaderFields unknownGrade = longTestHeader(), damaged = longTestHeader();
    unknownGrade.grade = 7;
    damaged.month = 13;
    damaged.period = 0;
    const char *expected[] = {
        "Mon Jun 15 2026|10:30:00|n|1 (2)|M-500|500|25:00|28|4.42|62.3|0.90|56.07|0.048",
        "Mon Jun 15 2026|10:30:00|n|1 (2)|Unknown|500|25:00|28|2.72|37.2|0.90|33.48|0.032",
        "?|10:30:00|n|1 (2)|M-500|500|25:00|28|?|?|||?"};
    int i = 0;
    for (const HeaderFields &h : {longTestHeader(), unknownGrade, damaged}) {
        const ResultsRow row(*make(h), "n");
        QStringList texts;
        for (int c = 0; c < ResultsRow::ColumnCount; ++c)
            texts << row.text(c);
        QCOMPARE(texts.join('|'), QString::fromUtf8(expected[i++]));
    }
    QCOMPARE(sampleRows().at(1).label(), "Fri Mar 14 2025 09:30:00");
}

void TestEvaluation::rowOrder_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("order");
    QTest::addColumn<QStringList>("expected"); // the column's texts, top to bottom
    const int up = Qt::AscendingOrder, down = Qt::DescendingOrder;
    // Bounds by their number, "?" last whichever the direction.
    QTest::newRow("activity up") << int(ResultsRow::Activity) << up
                                 << QStringList{"<28.9", "35.6", "39.5", "44.9", ">71.1", "?", "?"};
    QTest::newRow("activity down")
        << int(ResultsRow::Activity) << down
        << QStringList{">71.1", "44.9", "39.5", "35.6", "<28.9", "?", "?"};
    QTest::newRow("mass as numbers") << int(ResultsRow::Mass) << up
                                     << QStringList{"0", "200", "400", "450", "500", "700", "1000"};
    // By date, not by the text (which would put "Fri" first).
    QTest::newRow("date up") << int(ResultsRow::Date) << up
                             << QString("Tue Nov 5 2024|Thu Jan 2 2025|Tue Mar 11 2025|Wed Mar 12 "
                                        "2025|Fri Mar 14 2025|Fri Mar 14 2025|?")
                                    .split('|');
    QTest::newRow("names down, unnamed last")
        << int(ResultsRow::Name) << down << QStringList{"Ж", "d", "c", "b", "a", "", ""};
}

void TestEvaluation::rowOrder() {
    QFETCH(int, column);
    QFETCH(int, order);
    QFETCH(QStringList, expected);
    QVector<ResultsRow> rows = sampleRows();
    std::stable_sort(rows.begin(), rows.end(), [&](const ResultsRow &a, const ResultsRow &b) {
        return ResultsRow::before(a, b, column, Qt::SortOrder(order));
    });
    QStringList texts;
    for (const ResultsRow &row : rows)
        texts << row.text(column);
    QCOMPARE(texts, expected);
}

void TestEvaluation::csv_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("total"); // of the first row
    QTest::newRow("en_US") << QString("en_US") << QString(",") << QString("6.50");
    QTest::newRow("ru_RU") << QString("ru_RU") << QString(";") << QString("6,50");
}

// Names that need quoting, read back by Python's csv module.
void TestEvaluation::csv() {
    QFETCH(QString, locale);
    QFETCH(QString, separator);
    QFETCH(QString, total);
    QVector<ResultsRow> rows = sampleRows();
    const QStringList names{"Партия \"17\"", "a,b;c", "two\nlines", " padded ", "=1+1", "-", ""};
    for (int i = 0; i < rows.size(); ++i)
        rows[i].setName(names.at(i));
    QTemporaryDir dir;
    const QString path = dir.filePath("results.csv");
    QVERIFY(ResultsCsv::write(path, rows, QLocale(locale)).ok());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    QCOMPARE(bytes.count("\r\n"), rows.size() + 1);
    QVERIFY(bytes.contains("\" padded \"")); // some spreadsheets trim unquoted fields

    LINUX_ONLY("reads the CSV back with python3");
    QProcess python;
    python.start("python3", {"-c",
                             "import csv, json, sys\n"
                             "with open(sys.argv[1], newline='', encoding='utf-8-sig') as f:\n"
                             "    print(json.dumps(list(csv.reader(f, delimiter=sys.argv[2]))))",
                             path, separator});
    QVERIFY(python.waitForFinished(60000));
    QCOMPARE(python.exitCode(), 0);
    const QJsonArray lines = QJsonDocument::fromJson(python.readAllStandardOutput()).array();
    QCOMPARE(lines.size(), rows.size() + 1);
    const QJsonArray first = lines.at(1).toArray();
    QCOMPARE(first.size(), int(ResultsRow::ColumnCount));
    QCOMPARE(first.at(ResultsRow::Total).toString(), total);
    QCOMPARE(first.at(ResultsRow::Date).toString(), QString("2024-11-05"));
    QCOMPARE(first.at(ResultsRow::Time).toString(), QString("08:30:00"));
    // Names survive as they are, but for those a spreadsheet would run.
    QStringList read;
    for (int i = 1; i < lines.size(); ++i)
        read << lines.at(i).toArray().at(ResultsRow::Name).toString();
    QCOMPARE(read,
             (QStringList{"Партия \"17\"", "a,b;c", "two\nlines", " padded ", "'=1+1", "'-", ""}));
}

QTEST_GUILESS_MAIN(TestEvaluation)
#include "tst_evaluation.moc"

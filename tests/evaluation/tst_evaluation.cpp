#include "evaluation/evaluation.h"
#include "evaluation/referencetables.h"
#include "evaluation/resultscsv.h"
#include "evaluation/tabletexts.h"
#include "linuxonly.h"
#include "samplerecords.h"
#include "testprojects.h"

#include <QJsonDocument>
#include <QProcess>
#include <QtTest>
#include <cmath>

using namespace Evaluation;
using namespace ReferenceTables;
using namespace samplerecords;

namespace {
// The eleven result texts of a test, joined by '|'.
QString results(const HeaderFields &h) {
    return ActivityEvaluation::resultTexts(*make(h)).join('|');
}

// Seven tests whose texts mix numbers, bounds and "?", one of them short.
QVector<ResultsRow> sampleRows() {
    // Mass, day, month, name, duration.
    const std::tuple<quint32, quint8, quint8, const char *, quint32> samples[] = {
        {200, 5, 11, "b", 90000}, {1000, 14, 3, "", 90000}, {500, 11, 3, "d", 90000},
        {0, 12, 3, "Ж", 90000},   {400, 1, 13, "a", 90000}, {700, 2, 1, "", 9000},
        {450, 14, 3, "c", 90000}};
    QVector<ResultsRow> rows;
    for (const auto &[mass, day, month, name, duration] : samples) {
        HeaderFields h = longTestHeader();
        h.flags = 0;
        h.mass = mass;
        h.day = day;
        h.month = month;
        h.year = month == 11 ? 24 : 25;
        h.duration = duration;
        rows.append(ResultsRow(*make(h), QString::fromUtf8(name)));
    }
    return rows;
}
} // namespace

// The evaluation of a test, and the results overview's rows and CSV.
class TestEvaluation : public QObject {
    Q_OBJECT
private slots:
    void steps();
    void oddRecords();
    void rows();
    void csv_data();
    void csv();
};

// The steps of the evaluation and their texts, worked by hand.
void TestEvaluation::steps() {
    // The reference tables: the activity interpolated, the specific contraction of the
    // nearest row, bounds beyond the rows, and nothing read outside the tables.
    // 19.0 + 0.2 * (20.4 - 19.0) = 19.28; 47.1 + 0.6 * 1.5 = 48.0; 83.0 + 0.9 * 1.1 = 83.99;
    // 75.0 + 0.4 * 2.1 = 75.84 (row 4.9), 75.0 + 0.6 * 2.1 = 76.26 (row 5.0). 5.0 and the
    // float just below it take the last interval. The texts: activity, specific contraction.
    const std::tuple<float, int, const char *> cases[] = {
        {2.0f, 2, "28.9 0.025"},    {5.0f, 2, "71.1 0.052"},    {4.9999995f, 2, "71.1 0.052"},
        {1.99f, 2, "<28.9 <0.025"}, {5.01f, 2, ">71.1 >0.052"}, {2.32f, 0, "19.3 0.017"},
        {3.46f, 2, "48.0 0.040"},   {4.99f, 6, "84.0 0.060"},   {4.94f, 3, "75.8 0.055"},
        {4.96f, 3, "76.3 0.056"}};
    for (const auto &[x, column, texts] : cases)
        QCOMPARE(lookupActivity(x, column) + ' ' + lookupSpecificContraction(x, column),
                 QString(texts));
    for (const auto &[x, column] : {std::make_pair(float(qQNaN()), 2), {3.0f, 7}, {9.0f, -1}})
        QCOMPARE(lookupActivity(x, column) + lookupSpecificContraction(x, column), QString("??"));

    // v[10] = 10 counts; mass 500 g, 0.01 ml: p = 0.02 (v[70] - 10), q = 0.02 (v[190] - 10).
    // M-500: p 1.5 >= q - p 1.1 brakes; p 1.2 < q - p 1.4 not; p 1.2 = q - p brakes; q 2.9
    // never; p 0.8, q 2.5 brakes. M-400, p 0.8: brakes at q 2.2, not at 2.5 (only below
    // 2.3). M-300 never brakes.
    const int braking[][3] = {{4, 85, 140}, {4, 70, 140}, {4, 70, 130}, {4, 110, 155},
                              {4, 50, 135}, {3, 50, 120}, {3, 50, 135}, {2, 50, 120}};
    HeaderFields s = longTestHeader();
    QString brakes;
    for (const auto &c : braking) {
        s.grade = quint32(c[0]);
        QByteArray b = longSamples();
        fill(b, 1, 0, 70, 190, qint16(c[1]));
        fill(b, 1, 0, 190, 2500, qint16(c[2]));
        brakes += brakingDetected(*make(s, b)) ? 'y' : 'n';
    }
    QCOMPARE(brakes, QString("ynynyynn"));

    // The start is 10, k3 = 180: T[10..189] = 10..189 (mean 99.5), 1000 elsewhere; 100
    // points cut the window to 10..99 (mean 54.5).
    QByteArray b = longSamples(1000);
    for (int i = 10; i < 190; ++i)
        setCount(b, 1, 1, i, quint16(i));
    QVERIFY(qAbs(averageTemperature(*make(s, b)) - 9.95) < 1e-6);
    s.duration = 6000;
    QVERIFY(qAbs(averageTemperature(*make(s, b)) - 5.45) < 1e-6);

    // Counts of 0.5 °C: 16.5, 18.0 and 23.0 degrees; the last also observed.
    s = longTestHeader();
    s.temperatureScale = 0.5f;
    QString corrections;
    for (const auto &c : {std::make_pair(33, 2), {36, 2}, {46, 2}, {46, 0}}) {
        s.flags = quint8(c.second);
        const float t = temperatureCorrection(*make(s, longSamples(qint16(c.first))));
        corrections += QString::number(double(t)) + ' ';
    }
    QCOMPARE(corrections, QString("0.12 0 -0.08 0 "));

    // The hit coefficient counts within 20..200 only.
    QCOMPARE(QList<double>({hitFactor(19), hitFactor(20), hitFactor(200), hitFactor(201)}),
             QList<double>({1.0, 0.2, 2.0, 1.0}));
    // Two decimals, and the bounds of the table's column.
    const std::tuple<const char *, double, int, const char *> withHit[] = {
        {"45.3", 1.2, 2, "54.36"},  {"35.55", 2.0, 2, "71.10"}, {"15.0", 0.9, 0, "<15.00"},
        {"70.0", 1.2, 2, ">71.10"}, {">71.1", 0.5, 2, ">71.1"}, {"45.3", 1.0, 7, "?"}};
    for (const auto &[text, factor, column, expected] : withHit)
        QCOMPARE(activityWithHitText(text, factor, column), QString(expected));
    // A duration is a length of time, not a time of day.
    QCOMPARE(ActivityEvaluation::durationText(90) + ' ' + ActivityEvaluation::durationText(91800) +
                 ' ' + ActivityEvaluation::durationText(0xffffffffu),
             QString("00:01 25:30 1193046:28"));
}

// What cannot be evaluated shows as "?", and nothing else does.
void TestEvaluation::oddRecords() {
    // Short of three hours: nothing from braking on, and the hit rows left alone. Start 10,
    // e = n - 1 = 178: v 85 - 10 = 0.75 ml.
    HeaderFields s = longTestHeader();
    s.duration = 10799;
    QCOMPARE(results(s), QString("0.75|1.50|?|?|?|?|?|?|?|?|?"));
    QVERIFY(!TableTexts(*make(s)).filled(TableTexts::RowHit));
    s.duration = 10800;
    s.flags = 1; // a braking record, the temperature observed
    const TableTexts table(*make(s));
    QVERIFY(table.filled(TableTexts::RowHit));
    QCOMPARE(table.value(TableTexts::RowBraking) +
                 table.value(TableTexts::RowTemperatureCorrection),
             QString("Yes-"));

    // Mass 0: nothing per 1000 g can be evaluated; the temperature can.
    s = longTestHeader();
    s.mass = 0;
    QCOMPARE(results(s), QString("1.30|?|?|?|16.50|0.12|?|?|0.90|?|?"));
    // No samples: period 0, or a duration shorter than one period.
    s.mass = 500;
    for (quint32 period : {0u, 100000u}) {
        s.period = period;
        QCOMPARE(results(s), QString("?|?|?|?|?|?|?|?|?|?|?"));
    }
    // A period above three hours (n = 4) leaves the temperature window empty.
    s.period = 20000;
    QCOMPARE(results(s).section('|', 4, 6), QString("?|?|?"));

    // Grade 7 and a damaged supplier and hardening index: no braking.
    s = longTestHeader();
    s.grade = 7;
    s.supplier = 0xffffffffu;
    auto damaged = make(s);
    damaged->setHardeningIndex(9);
    const ActivityEvaluation e(*damaged);
    QCOMPARE((e.parameterTexts().mid(3) + e.resultTexts().mid(6)).join('|'),
             QString("Unknown|1.6|?|2.72|?|0.90|?|?"));

    // A NaN or infinite volume scale from a damaged file; no braking record.
    s = longTestHeader();
    s.flags = 0;
    for (float scale : {float(qQNaN()), float(qInf())}) {
        s.volumeScale = scale;
        QCOMPARE(results(s).section('|', 6), QString("?|?|0.90|?|?"));
    }
}

// Each column shows the parameters table's text; a damaged test shows "?".
void TestEvaluation::rows() {
    HeaderFields damaged = longTestHeader();
    damaged.month = 13;
    damaged.period = 0;
    for (const auto &[h, expected] :
         {std::make_pair(longTestHeader(), "Mon Jun 15 2026|10:30:00|n|1 (2)|M-500|500|25:00|28|"
                                           "4.42|62.3|0.90|56.07|0.048"),
          {damaged, "?|10:30:00|n|1 (2)|M-500|500|25:00|28|?|?|||?"}}) {
        const ResultsRow row(*make(h), "n");
        QStringList texts;
        for (int c = 0; c < ResultsRow::ColumnCount; ++c)
            texts << row.text(c);
        QCOMPARE(texts.join('|'), QString(expected));
    }
    QCOMPARE(sampleRows().at(1).label(), "Fri Mar 14 2025 10:30:00");

    // Numbers by value (a bound just beyond its number), dates by date (not by the text,
    // which would put "Fri" first), "?" and unnamed tests last whichever the direction.
    // The column's texts top to bottom.
    const std::tuple<ResultsRow::Column, Qt::SortOrder, const char *> cases[] = {
        {ResultsRow::Activity, Qt::AscendingOrder, "<28.9|35.6|39.5|44.9|>71.1|?|?"},
        {ResultsRow::Activity, Qt::DescendingOrder, ">71.1|44.9|39.5|35.6|<28.9|?|?"},
        {ResultsRow::Mass, Qt::AscendingOrder, "0|200|400|450|500|700|1000"},
        {ResultsRow::Date, Qt::AscendingOrder,
         "Tue Nov 5 2024|Thu Jan 2 2025|Tue Mar 11 2025|Wed Mar 12 2025|Fri Mar 14 2025|Fri Mar 14 "
         "2025|?"},
        {ResultsRow::Name, Qt::DescendingOrder, "Ж|d|c|b|a||"}};
    for (const auto &[column, order, expected] : cases) {
        QVector<ResultsRow> rows = sampleRows();
        std::stable_sort(rows.begin(), rows.end(), [c = column, o = order](auto &a, auto &b) {
            return ResultsRow::before(a, b, c, o);
        });
        QStringList texts;
        for (const ResultsRow &row : rows)
            texts << row.text(column);
        QCOMPARE(texts.join('|'), QString::fromUtf8(expected));
    }
}

void TestEvaluation::csv_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("decimals"); // the first test's last five fields
    QTest::newRow("en_US") << "en_US" << QChar(',') << "6.50|>71.1|0.90|>71.1|>0.052";
    QTest::newRow("ru_RU") << "ru_RU" << QChar(';') << "6,50|>71,1|0,90|>71,1|>0,052";
}

// Names that need quoting, read back by Python's csv module; decimals as the locale writes them.
void TestEvaluation::csv() {
    QFETCH(QString, locale);
    QFETCH(QChar, separator);
    QFETCH(QString, decimals);
    QVector<ResultsRow> rows = sampleRows();
    const QStringList names{"Партия \"17\"", "a,b;c", "two\nlines", " padded ", "=1+1", "-", ""};
    for (int i = 0; i < rows.size(); ++i)
        rows[i].setName(names.at(i));
    QTemporaryDir dir;
    const QString path = dir.filePath("results.csv");
    QVERIFY(ResultsCsv::write(path, rows, QLocale(locale)).ok());
    const QByteArray bytes = testprojects::bytesOf(path);
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    QCOMPARE(bytes.count("\r\n"), rows.size() + 1);
    QVERIFY(bytes.contains("\" padded \"")); // some spreadsheets trim unquoted fields

    LINUX_ONLY("reads the CSV back with python3");
    // Python prints the names, then the first test's fields.
    QProcess python;
    python.start("python3", {"-c",
                             "import csv, json, sys\n"
                             "with open(sys.argv[1], newline='', encoding='utf-8-sig') as f:\n"
                             "    rows = list(csv.reader(f, delimiter=sys.argv[2]))\n"
                             "print(json.dumps([r[2] for r in rows] + ['|'.join(rows[1])]))",
                             path, QString(separator)});
    QVERIFY(python.waitForFinished(60000));
    QCOMPARE(python.exitCode(), 0);
    // Names survive as they are, but for those a spreadsheet would run.
    QCOMPARE(
        QJsonDocument::fromJson(python.readAllStandardOutput()).toVariant().toStringList(),
        QStringList({"Name", "Партия \"17\"", "a,b;c", "two\nlines", " padded ", "'=1+1", "'-", "",
                     "2024-11-05|10:30:00|Партия \"17\"|1 (2)|M-500|200|25:00|28|" + decimals}));
}

QTEST_GUILESS_MAIN(TestEvaluation)
#include "tst_evaluation.moc"

#include "evaluation/resultscsv.h"
#include "evaluation/resultsrow.h"
#include "evaluation/tabletexts.h"
#include "samplerecords.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>
#include <QProcess>
#include <QtTest>

// The results overview's rows: the parameters table's texts, the order of
// the mixed columns, and the CSV as a spreadsheet-like reader that is not
// ours (Python's csv module) reads it.

using namespace samplerecords;

namespace {
// Seven tests whose texts mix numbers, bounds and "?": masses 200 (above
// the table), 1000 (below it), 500, 0, 400 and 450, and a short test.
struct Sample {
    quint32 mass;
    quint8 day, month;
    const char *name;
    quint32 duration;
};
const Sample Samples[] = {
    {200, 5, 11, "b", 90000}, {1000, 14, 3, "", 90000}, {500, 11, 3, "d", 90000},
    {0, 12, 3, "Ж", 90000},   {400, 1, 13, "a", 90000}, {700, 2, 1, "", 9000},
    {450, 14, 3, "c", 90000},
};

QVector<ResultsRow> sampleRows() {
    QVector<ResultsRow> rows;
    for (const Sample &s : Samples) {
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

QStringList texts(const QVector<ResultsRow> &rows, int c) {
    QStringList texts;
    for (const ResultsRow &row : rows)
        texts << row.text(c);
    return texts;
}
} // namespace

class TestResultsRow : public QObject {
    Q_OBJECT
private slots:
    void tableTexts();
    void order_data();
    void order();
    void csv_data();
    void csv();
};

// Every value text is the parameters table's, "?" and the empty hit
// coefficient of a short test included.
void TestResultsRow::tableTexts() {
    const int rows[] = {TableTexts::RowGrade,
                        TableTexts::RowMass,
                        TableTexts::RowDuration,
                        TableTexts::RowDays,
                        TableTexts::RowTotal,
                        TableTexts::RowActivity,
                        TableTexts::RowHit,
                        TableTexts::RowActivityWithHit,
                        TableTexts::RowSpecificContraction};
    HeaderFields unknownGrade = longTestHeader(), damaged = longTestHeader();
    unknownGrade.grade = 9;
    damaged.month = 13;
    damaged.period = 0;
    for (const HeaderFields &h : {longTestHeader(), unknownGrade, damaged}) {
        const auto record = make(h);
        const TableTexts table(*record);
        const ResultsRow row(*record, "n");
        for (int c = ResultsRow::Grade; c < ResultsRow::ColumnCount; ++c)
            QCOMPARE(row.text(c), table.filled(rows[c - ResultsRow::Grade])
                                      ? table.value(rows[c - ResultsRow::Grade])
                                      : QString());
        QCOMPARE(row.text(ResultsRow::Kind), QString("1 (2)"));
    }
    const QVector<ResultsRow> samples = sampleRows();
    QCOMPARE(samples.at(4).text(ResultsRow::Date), QString("?"));
    QCOMPARE(samples.at(5).text(ResultsRow::HitCoefficient), QString());
    QCOMPARE(samples.at(1).label(), samples.at(1).text(ResultsRow::Date) + " 09:30:00");
}

void TestResultsRow::order_data() {
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
                             << QStringList{"Tue Nov 5 2024",
                                            "Thu Jan 2 2025",
                                            "Tue Mar 11 2025",
                                            "Wed Mar 12 2025",
                                            "Fri Mar 14 2025",
                                            "Fri Mar 14 2025",
                                            "?"};
    QTest::newRow("names down, unnamed last")
        << int(ResultsRow::Name) << down << QStringList{"Ж", "d", "c", "b", "a", "", ""};
}

void TestResultsRow::order() {
    QFETCH(int, column);
    QFETCH(int, order);
    QFETCH(QStringList, expected);
    QVector<ResultsRow> rows = sampleRows();
    std::stable_sort(rows.begin(), rows.end(), [&](const ResultsRow &a, const ResultsRow &b) {
        return ResultsRow::before(a, b, column, Qt::SortOrder(order));
    });
    QCOMPARE(texts(rows, column), expected);
}

void TestResultsRow::csv_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("total"); // of the first row
    QTest::newRow("en_US") << "en_US"
                           << ","
                           << "6.50";
    QTest::newRow("de_DE") << "de_DE"
                           << ";"
                           << "6,50";
    QTest::newRow("ru_RU") << "ru_RU"
                           << ";"
                           << "6,50";
}

// Names that need quoting, read back by Python's csv module.
void TestResultsRow::csv() {
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
    QCOMPARE(bytes.count("\r\n"), rows.size() + 1); // the name's own line break stays "\n"
    // Some spreadsheets trim unquoted fields; Python's reader would not tell.
    QVERIFY(bytes.contains("\" padded \""));

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
    QCOMPARE(lines.at(0).toArray().at(ResultsRow::Total).toString(),
             ResultsRow::title(ResultsRow::Total));
    const QJsonArray first = lines.at(1).toArray();
    QCOMPARE(first.size(), int(ResultsRow::ColumnCount));
    QCOMPARE(first.at(ResultsRow::Total).toString(), total);
    QCOMPARE(first.at(ResultsRow::Date).toString(), QString("2024-11-05"));
    QCOMPARE(first.at(ResultsRow::Time).toString(), QString("08:30:00"));
    QCOMPARE(first.at(ResultsRow::Activity).toString(), QString(">71.1").replace('.', total.at(1)));
    // Names survive as they are, but for those a spreadsheet would run.
    QStringList read;
    for (int i = 1; i < lines.size(); ++i)
        read << lines.at(i).toArray().at(ResultsRow::Name).toString();
    QCOMPARE(read,
             (QStringList{"Партия \"17\"", "a,b;c", "two\nlines", " padded ", "'=1+1", "'-", ""}));
}

QTEST_GUILESS_MAIN(TestResultsRow)
#include "tst_resultsrow.moc"

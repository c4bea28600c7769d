#include "app/mainwindow.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

namespace {
struct Message {
    QString context;
    QString source;
};

// The (context, source) pairs of a Qt Linguist file.
QList<Message> readTs(const QString &path) {
    QList<Message> out;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return out;
    QXmlStreamReader xml(&f);
    QString context;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("name"))
            context = xml.readElementText();
        else if (xml.name() == QLatin1String("source"))
            out.append({context, xml.readElementText()});
    }
    return out;
}

QStringList placeholders(const QString &text) {
    QStringList found;
    QRegularExpressionMatchIterator it =
        QRegularExpression(QStringLiteral("%\\d+")).globalMatch(text);
    while (it.hasNext())
        found << it.next().captured();
    found.sort();
    return found;
}

const QStringList catalogueContexts = {
    "MainWindow",     "Monitor",        "DialogTab",  "QObject",         "PrintDialog",
    "QMessageBox",    "ViewerUsb",      "MassEditor", "ProtocolPreview", "PlotImage",
    "RecentProjects", "RecoveryPrompt", "ResultsRow", "ResultsModel",    "ResultsWindow",
    "ComparisonPlot", "ActivityPlot"};
} // namespace

class TestCatalogue : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void tellingRows_data();
    void tellingRows();
    void englishStaysEnglish();
    void everyInterfaceTextIsTranslated();
    void placeholdersKept();
    void toolkitCatalogueCompiledIn();

private:
    QTranslator translator;
};

void TestCatalogue::initTestCase() {
    MainWindow::initResources();
    QVERIFY(translator.load(QStringLiteral(":/translater/morwen_ru.qm")));
}

void TestCatalogue::tellingRows_data() {
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("russian");
    auto row = [](const char *c, const char *s, const char *r) {
        QTest::newRow((QByteArray(c) + " " + s).constData())
            << QString::fromUtf8(c) << QString::fromUtf8(s) << QString::fromUtf8(r);
    };
    row("DialogTab", "Cement activity depending on the contraction in 3 hours and the duration",
        "Активность (МПа) 1000г цемента по ГОСТ 310.4 в зависимости от его контракции");
    row("DialogTab", "of hardening", "за 3 часа и длительности твердения");
    row("DialogTab", "Specific current contraction (ml.g) depending on the duration the curing",
        "Удельная текущая контракция цемента (мл.г) в зависимости от");
    row("DialogTab", " ", "длительности твердения");
    row("DialogTab", "The duration of the curing in normal conditions, day",
        "Длительность твердения в нормальных условиях, сутки");
    row("MainWindow", "Default", "Вид по умолчанию");
    row("MainWindow", "Russian", "Русский");
    row("MainWindow", "Setrovia+", "Сетровия+");
    row("QObject", "Setrovia+", "Сетровия+");
    row("Monitor", "Yes", "Есть");
    row("Monitor", "No", "Нет");
    row("Monitor", "Unknown", "Неизвестный");
    row("Monitor", "Activity R, MPa", "Активность К, МПа");
    row("Monitor", "Activity with Hit Coefficient, MPa", "Активность с коэф. совпадения, К, МПа");
    row("Monitor", "Inobservance t", "Несоблюдение температуры");
    row("Monitor", "Braking record", "Учёт торможения");
    row("QObject", "Yes", "Да");
    row("QObject", "Unknown", "Неизвестно");
}

void TestCatalogue::tellingRows() {
    QFETCH(QString, context);
    QFETCH(QString, source);
    QFETCH(QString, russian);
    QCOMPARE(translator.translate(context.toUtf8().constData(), source.toUtf8().constData()),
             russian);
}

void TestCatalogue::englishStaysEnglish() {
    QVERIFY(translator.translate("MainWindow", "English").isEmpty());
    // The grade editor's "Unknown" has no entry of its own.
    QVERIFY(translator.translate("CementDelegate", "Unknown").isEmpty());
}

// Every text the interface passes through the lookup in the catalogue's
// contexts has its Russian translation: extract them from the sources now.
void TestCatalogue::everyInterfaceTextIsTranslated() {
    QTemporaryDir dir;
    const QString ts = dir.filePath("extracted.ts");
    QProcess lupdate;
    lupdate.start(
        QStringLiteral(SETROVIA_LUPDATE),
        {"-silent", "-locations", "none", QStringLiteral(SETROVIA_SOURCE_DIR), "-ts", ts});
    QVERIFY(lupdate.waitForFinished(120000));
    QCOMPARE(lupdate.exitCode(), 0);
    const QList<Message> extracted = readTs(ts);
    QVERIFY(extracted.size() > 20); // lupdate did find the interface texts
    QStringList missing;
    for (const Message &m : extracted) {
        if (!catalogueContexts.contains(m.context))
            continue;
        if (m.context == "MainWindow" && m.source == "English")
            continue;
        if (translator.translate(m.context.toUtf8().constData(), m.source.toUtf8().constData())
                .isEmpty())
            missing << m.context + ": " + m.source;
    }
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join('\n')));
}

void TestCatalogue::placeholdersKept() {
    const QList<Message> all = readTs(QStringLiteral(SETROVIA_CATALOGUE_TS));
    QVERIFY(all.size() >= 96);
    for (const Message &m : all) {
        const QString russian =
            translator.translate(m.context.toUtf8().constData(), m.source.toUtf8().constData());
        if (russian.isEmpty())
            continue;
        QVERIFY2(placeholders(russian) == placeholders(m.source),
                 qPrintable(m.context + ": " + m.source));
    }
}

void TestCatalogue::toolkitCatalogueCompiledIn() {
    QTranslator qt;
    QVERIFY(qt.load(QStringLiteral(":/translater/qtbase_ru.qm")));
    QVERIFY(!qt.isEmpty());
}

QTEST_MAIN(TestCatalogue)
#include "tst_catalogue.moc"

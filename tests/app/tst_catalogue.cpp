#include "app/mainwindow.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

namespace {
struct Message {
    QString context, source;
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
        if (xml.readNext() != QXmlStreamReader::StartElement)
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
    auto it = QRegularExpression(QStringLiteral("%\\d+")).globalMatch(text);
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
    void tellingRows();
    void everyInterfaceTextIsTranslated();
    void placeholdersKept();

private:
    QString russian(const Message &m) const {
        return translator.translate(m.context.toUtf8().constData(), m.source.toUtf8().constData());
    }
    QTranslator translator;
};

void TestCatalogue::initTestCase() {
    MainWindow::initResources();
    QVERIFY(translator.load(QStringLiteral(":/translater/morwen_ru.qm")));
    QTranslator qt; // the toolkit's own texts
    QVERIFY(qt.load(QStringLiteral(":/translater/qtbase_ru.qm")) && !qt.isEmpty());
}

void TestCatalogue::tellingRows() {
    const char *rows[][3] = {
        {"DialogTab", "Cement activity depending on the contraction in 3 hours and the duration",
         "Активность (МПа) 1000г цемента по ГОСТ 310.4 в зависимости от его контракции"},
        {"DialogTab", " ", "длительности твердения"},
        {"MainWindow", "Default", "Вид по умолчанию"},
        {"MainWindow", "Setrovia+", "Сетровия+"},
        {"Monitor", "Yes", "Есть"},
        {"Monitor", "Activity with Hit Coefficient, MPa", "Активность с коэф. совпадения, К, МПа"},
        {"QObject", "Yes", "Да"},
        {"QObject", "Unknown", "Неизвестно"},
        // Left in English: the grade editor's "Unknown" has no entry of its own.
        {"MainWindow", "English", ""},
        {"CementDelegate", "Unknown", ""}};
    for (const auto &r : rows)
        QCOMPARE(russian({r[0], QString::fromUtf8(r[1])}), QString::fromUtf8(r[2]));
}

// Every text the interface passes through the lookup in the catalogue's
// contexts has its Russian translation: extracted from the sources now.
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
    for (const Message &m : extracted)
        if (catalogueContexts.contains(m.context) && russian(m).isEmpty() &&
            !(m.context == "MainWindow" && m.source == "English"))
            missing << m.context + ": " + m.source;
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join('\n')));
}

void TestCatalogue::placeholdersKept() {
    const QList<Message> all = readTs(QStringLiteral(SETROVIA_CATALOGUE_TS));
    QVERIFY(all.size() >= 96);
    for (const Message &m : all)
        QVERIFY2(russian(m).isEmpty() || placeholders(russian(m)) == placeholders(m.source),
                 qPrintable(m.context + ": " + m.source));
}

QTEST_MAIN(TestCatalogue)
#include "tst_catalogue.moc"

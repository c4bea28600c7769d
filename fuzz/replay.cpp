// Replays the committed seeds and regressions of one fuzz target through the
// target's own checks, as a normal test (no libFuzzer): a failed check or a
// crash fails it. FUZZ_INPUT_DIRS lists the folders, separated by '|'.

#include <QDir>
#include <QtTest>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

class TestCorpus : public QObject {
    Q_OBJECT
private slots:
    void replay_data();
    void replay();
};

void TestCorpus::replay_data() {
    QTest::addColumn<QString>("path");
    for (const QString &dir : QStringLiteral(FUZZ_INPUT_DIRS).split('|')) {
        const QFileInfoList files = QDir(dir).entryInfoList(QDir::Files, QDir::Name);
        for (const QFileInfo &file : files)
            QTest::newRow(qPrintable(QDir(dir).dirName() + '/' + file.fileName()))
                << file.filePath();
    }
}

void TestCorpus::replay() {
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    // The reader's diagnostic lines would fill the test log.
    std::fflush(stdout);
    const int saved = dup(1);
    const int null = ::open("/dev/null", O_WRONLY);
    dup2(null, 1);
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.constData()),
                           size_t(bytes.size()));
    std::fflush(stdout);
    dup2(saved, 1);
    ::close(saved);
    ::close(null);
}

QTEST_GUILESS_MAIN(TestCorpus)
#include "replay.moc"

#include "records/recoveryfile.h"
#include "records/recoveryfolder.h"
#include "testprojects.h"

#include <QLockFile>
#include <QProcess>
#include <QtTest>
#include <cstdlib>

using namespace testprojects;

namespace {
const QDateTime Written(QDate(2026, 12, 6), QTime(14, 3, 22), Qt::OffsetFromUTC, 3600);

// The lock file an instance leaves when it crashes: taken through QLockFile by
// a child process (this program again) that ends without releasing it.
void deadLock(const QString &path) {
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {"--lock-and-die", path + ".lock"});
    QVERIFY(child.waitForFinished(60000));
    QCOMPARE(child.exitCode(), 0);
    QVERIFY(QFile::exists(path + ".lock"));
}
} // namespace

class TestRecoveryFile : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void damagedFiles_data();
    void damagedFiles();
    void folderMadeOrRefused();
    void onlyFilesOfEndedInstancesAreOffered();
};

void TestRecoveryFile::roundTrip_data() {
    QTest::addColumn<QString>("projectPath");
    QTest::newRow("never saved") << QString();
    QTest::newRow("blanks, Cyrillic, a line break")
        << QString::fromUtf8("/home/лаборатория/партия 7\nпроба %20.vtl");
}

void TestRecoveryFile::roundTrip() {
    QFETCH(QString, projectPath);
    const QByteArray image = projectImage(3);
    const QByteArray bytes = RecoveryFile::encode(projectPath, Written, image);
    KeeperProc store;
    const RecoveryFile::Contents c = RecoveryFile::decode(bytes, store);
    QCOMPARE(int(c.status), int(RecoveryFile::Ok));
    QCOMPARE(c.projectPath, projectPath);
    QCOMPARE(c.written, Written);
    QCOMPARE(c.written.offsetFromUtc(), 3600);
    QCOMPARE(store.count(), 3);
    QCOMPARE(c.project.names, QStringList({"test 0", "test 1", "test 2"}));
}

void TestRecoveryFile::damagedFiles_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("status");
    const QByteArray good = RecoveryFile::encode("/p.vtl", Written, projectImage(2));
    const int imageAt = good.indexOf("\n\n") + 2;
    QTest::newRow("a later version") << QByteArray(good).replace("recovery 1\n", "recovery 2\n")
                                     << int(RecoveryFile::OtherFormat);
    QByteArray flipped = good;
    flipped[imageAt + 100] = char(flipped[imageAt + 100] ^ 1);
    QTest::newRow("a byte changed") << flipped << int(RecoveryFile::Damaged);
    QTest::newRow("no time") << QByteArray(good).replace("\nwritten 2026", "\nwritten x026")
                             << int(RecoveryFile::Damaged);
    // Complete and unchanged, but the records run past their end.
    QTest::newRow("project damaged")
        << RecoveryFile::encode("/p.vtl", Written, projectImage(2).left(200))
        << int(RecoveryFile::ProjectDamaged);
}

// Never opened: the store stays empty whatever is wrong.
void TestRecoveryFile::damagedFiles() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, status);
    KeeperProc store;
    QCOMPARE(int(RecoveryFile::decode(bytes, store).status), status);
    QCOMPARE(store.count(), 0);
}

void TestRecoveryFile::folderMadeOrRefused() {
    QTemporaryDir dir;
    RecoveryFolder own(dir.filePath("not/yet/there"));
    QVERIFY(own.write("/lab/p.vtl", projectImage(1)).ok());
    QVERIFY(QFileInfo::exists(own.path() + ".lock"));
    writeFile(dir.filePath("file"), "");
    const QString blocked = dir.filePath("file/sub");
    QCOMPARE(RecoveryFolder(blocked).write("", projectImage(1)).error,
             "The folder " + QDir::toNativeSeparators(blocked) + " cannot be written.");
}

// Only files of ended instances are offered, newest first.
void TestRecoveryFile::onlyFilesOfEndedInstancesAreOffered() {
    QTemporaryDir dir;
    RecoveryFolder first(dir.path()), second(dir.path()), third(dir.path());
    QVERIFY(first.path() != second.path());
    QVERIFY(first.write("/a.vtl", projectImage(1)).ok());
    QVERIFY(second.write("/b.vtl", projectImage(1)).ok());
    QVERIFY(third.orphans().empty());

    const QString older = dir.filePath("recovery-1-1-1.recovery");
    const QString newer = dir.filePath("recovery-2-2-1.recovery");
    writeFile(older, RecoveryFile::encode("/old.vtl", Written, projectImage(1)));
    writeFile(newer, RecoveryFile::encode("/new.vtl", Written, projectImage(1)));
    QFile aged(older);
    QVERIFY(aged.open(QIODevice::ReadWrite));
    QVERIFY(aged.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                             QFileDevice::FileModificationTime));
    aged.close();
    deadLock(older); // a crash; the newer one has no lock at all
    {
        std::vector<RecoveryFolder::Orphan> left = third.orphans();
        QCOMPARE(int(left.size()), 2);
        QCOMPARE(left[0].path, newer);
        QCOMPARE(left[1].path, older);
        // Held by this instance meanwhile: no other one offers them too.
        QVERIFY(RecoveryFolder(dir.path()).orphans().empty());
        RecoveryFolder::discard(left[0]);
        QVERIFY(!QFileInfo::exists(newer));
    }
    // Not chosen: offered again next time.
    std::vector<RecoveryFolder::Orphan> again = third.orphans();
    QCOMPARE(int(again.size()), 1);
    QCOMPARE(again[0].path, older);
    QVERIFY(QFileInfo::exists(first.path()) && QFileInfo::exists(second.path()));
}

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--lock-and-die") == 0) {
        QLockFile lock(QString::fromLocal8Bit(argv[2]));
        std::_Exit(lock.tryLock(0) ? 0 : 1);
    }
    TestRecoveryFile test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_recoveryfile.moc"

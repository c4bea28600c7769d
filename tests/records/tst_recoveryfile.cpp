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
// Blanks, Cyrillic, a line break and a percent sign.
const QString Project = QString::fromUtf8("/home/лаборатория/партия 7\nпроба %20.vtl");
} // namespace

class TestRecoveryFile : public QObject {
    Q_OBJECT
private slots:
    void decode_data();
    void decode();
    void folderAndOfferedFiles();
};

void TestRecoveryFile::decode_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("status");
    const QByteArray good = RecoveryFile::encode(Project, Written, projectImage(3));
    QTest::newRow("whole") << good << int(RecoveryFile::Ok);
    QTest::newRow("a later version") << QByteArray(good).replace("recovery 1\n", "recovery 2\n")
                                     << int(RecoveryFile::OtherFormat);
    QTest::newRow("a byte changed")
        << QByteArray(good).replace("test 1", "test 7") << int(RecoveryFile::Damaged);
    QTest::newRow("no time") << QByteArray(good).replace("\nwritten 2026", "\nwritten x026")
                             << int(RecoveryFile::Damaged);
    // Complete and unchanged, but the records run past their end.
    QTest::newRow("project damaged")
        << RecoveryFile::encode(Project, Written, projectImage(2).left(200))
        << int(RecoveryFile::ProjectDamaged);
}

// Anything wrong and the store stays empty: the file is never opened.
void TestRecoveryFile::decode() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, status);
    KeeperProc store;
    const RecoveryFile::Contents c = RecoveryFile::decode(bytes, store);
    QCOMPARE(int(c.status), status);
    QCOMPARE(store.count(), status == RecoveryFile::Ok ? 3 : 0);
    if (status == RecoveryFile::Ok) {
        QCOMPARE(c.projectPath, Project);
        QCOMPARE(c.written, Written);
        QCOMPARE(c.written.offsetFromUtc(), 3600);
        QCOMPARE(c.project.names, QStringList({"test 0", "test 1", "test 2"}));
    }
}

// The folder is made on the first write, or its failure named; only files of
// ended instances are offered, newest first.
void TestRecoveryFile::folderAndOfferedFiles() {
    QTemporaryDir dir;
    const QString folder = dir.filePath("not/yet/there");
    RecoveryFolder first(folder), second(folder), third(folder);
    QVERIFY(first.write("/a.vtl", projectImage(1)).ok());
    QVERIFY(second.write("/b.vtl", projectImage(1)).ok());
    QVERIFY(third.orphans().empty());
    writeFile(dir.filePath("file"), "");
    const QString blocked = dir.filePath("file/sub");
    QCOMPARE(RecoveryFolder(blocked).write("", projectImage(1)).error,
             "The folder " + QDir::toNativeSeparators(blocked) + " cannot be written.");

    const QString older = folder + "/recovery-1-1-1.recovery";
    const QString newer = folder + "/recovery-2-2-1.recovery";
    const QByteArray bytes = RecoveryFile::encode("/p.vtl", Written, projectImage(1));
    writeFile(older, bytes);
    writeFile(newer, bytes);
    QFile aged(older);
    QVERIFY(aged.open(QIODevice::ReadWrite) &&
            aged.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                             QFileDevice::FileModificationTime));
    // A crash: the lock taken through QLockFile by a child (this program
    // again) that ends without letting it go. The newer one has no lock at all.
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {"--lock-and-die", older + ".lock"});
    QVERIFY(child.waitForFinished(60000) && child.exitCode() == 0);
    std::vector<RecoveryFolder::Orphan> left = third.orphans();
    QVERIFY(left.size() == 2 && left[0].path == newer && left[1].path == older);
    // Held by this instance meanwhile: no other one offers them too.
    QVERIFY(RecoveryFolder(folder).orphans().empty());
    RecoveryFolder::discard(left[0]);
    QVERIFY(!QFileInfo::exists(newer));
    left.clear(); // lets their locks go
    // Not chosen: offered again next time.
    const std::vector<RecoveryFolder::Orphan> again = third.orphans();
    QVERIFY(again.size() == 1 && again[0].path == older);
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

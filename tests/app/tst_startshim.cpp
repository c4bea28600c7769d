#include "app/startshim.h"

#include <QtTest>

// Windows: the start-up shim's wide-to-code-page conversion.

class TestStartShim : public QObject {
    Q_OBJECT
private slots:
    void arguments_data();
    void arguments();
};

void TestStartShim::arguments_data() {
    QTest::addColumn<unsigned>("codePage");
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QByteArray>("expected");
    const QString russian =
        QStringLiteral("C:\\\u041f\u0440\u043e\u0431\u0430\\\u0442\u0435\u0441\u0442.vtl");
    QTest::newRow("Cyrillic, code page 1251")
        << 1251u << russian << QByteArray("C:\\\xcf\xf0\xee\xe1\xe0\\\xf2\xe5\xf1\xf2.vtl");
    // Outside the code page: '?', never a look-alike that names another file.
    QTest::newRow("Cyrillic, code page 1252")
        << 1252u << russian << QByteArray("C:\\?????\\????.vtl");
    QTest::newRow("no best fit") << 1251u << QStringLiteral("caf\u00e9.vtl")
                                 << QByteArray("caf?.vtl");
    QTest::newRow("Western, code page 1252")
        << 1252u << QStringLiteral("caf\u00e9.vtl") << QByteArray("caf\xe9.vtl");
    QTest::newRow("empty argument") << 1252u << QString() << QByteArray();
}

void TestStartShim::arguments() {
    QFETCH(unsigned, codePage);
    QFETCH(QString, argument);
    QFETCH(QByteArray, expected);
    const std::vector<std::string> local =
        localArguments({L"setrovia.exe", argument.toStdWString()}, codePage);
    QCOMPARE(local.size(), size_t(2));
    QCOMPARE(QByteArray::fromStdString(local[0]), QByteArray("setrovia.exe"));
    QCOMPARE(QByteArray::fromStdString(local[1]), expected);
}

QTEST_GUILESS_MAIN(TestStartShim)
#include "tst_startshim.moc"

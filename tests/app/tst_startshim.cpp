#include "app/startshim.h"

#include <QtTest>

// Windows: the start-up shim's wide-to-code-page conversion.

class TestStartShim : public QObject {
    Q_OBJECT
private slots:
    void arguments();
};

void TestStartShim::arguments() {
    const QString russian =
        QStringLiteral("C:\\\u041f\u0440\u043e\u0431\u0430\\\u0442\u0435\u0441\u0442.vtl");
    const struct {
        unsigned codePage;
        QString argument;
        QByteArray expected;
    } rows[] = {
        {1251, russian, "C:\\\xcf\xf0\xee\xe1\xe0\\\xf2\xe5\xf1\xf2.vtl"},
        // Outside the code page: '?', never a look-alike that names another file.
        {1252, russian, "C:\\?????\\????.vtl"},
        {1251, QStringLiteral("caf\u00e9.vtl"), "caf?.vtl"}, // no best fit
        {1252, QStringLiteral("caf\u00e9.vtl"), "caf\xe9.vtl"},
        {1252, QString(), QByteArray()},
    };
    for (const auto &row : rows) {
        const std::vector<std::string> local =
            localArguments({L"setrovia.exe", row.argument.toStdWString()}, row.codePage);
        QCOMPARE(local.size(), size_t(2));
        QCOMPARE(QByteArray::fromStdString(local[0] + '|' + local[1]),
                 "setrovia.exe|" + row.expected);
    }
}

QTEST_GUILESS_MAIN(TestStartShim)
#include "tst_startshim.moc"

#include "charts/cachedtextengine.h"

#include <QFontMetricsF>
#include <QImage>
#include <QtTest>

class TestCachedTextEngine : public QObject {
    Q_OBJECT
private slots:
    void measuresAsThePlainEngine();
};

void TestCachedTextEngine::measuresAsThePlainEngine() {
    const CachedTextEngine cached;
    const QwtPlainTextEngine plain;
    // A 300 dpi page: the same font compares equal to the screen's but is
    // about three times as large there.
    QImage page(10, 10, QImage::Format_RGB32);
    page.setDotsPerMeterX(11811);
    page.setDotsPerMeterY(11811);
    QFont screen(QStringLiteral("Helvetica"), 10);
    const QFont printed(screen, &page);
    QVERIFY(printed == screen);

    const QString texts[] = {QStringLiteral("05:33"), QStringLiteral("Volume, ml")};
    for (int round = 0; round < 2; ++round) { // the second round comes from the cache
        for (const QFont &font : {screen, printed}) {
            for (const QString &text : texts) {
                QCOMPARE(cached.textSize(font, Qt::AlignCenter, text),
                         plain.textSize(font, Qt::AlignCenter, text));
                double l1, r1, t1, b1, l2, r2, t2, b2;
                cached.textMargins(font, text, l1, r1, t1, b1);
                plain.textMargins(font, text, l2, r2, t2, b2);
                QCOMPARE(QList<double>({l1, r1, t1, b1}), QList<double>({l2, r2, t2, b2}));
            }
        }
    }
    QVERIFY(cached.textSize(printed, 0, texts[0]).width() >
            2 * cached.textSize(screen, 0, texts[0]).width());
}

QTEST_MAIN(TestCachedTextEngine)
#include "tst_cachedtextengine.moc"

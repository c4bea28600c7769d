#include "app/keytranslator.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QtTest>

namespace {
// Records the key presses a widget receives.
class KeyLog : public QObject {
public:
    QList<QPair<int, Qt::KeyboardModifiers>> keys;
    bool eventFilter(QObject *, QEvent *e) override {
        if (e->type() == QEvent::KeyPress) {
            auto *k = static_cast<QKeyEvent *>(e);
            keys.append({k->key(), k->modifiers()});
        }
        return false;
    }
};
} // namespace

class TestKeyTranslator : public QObject {
    Q_OBJECT
private slots:
    void translatesExactModifiersOnly_data();
    void translatesExactModifiersOnly();
    void cyrillicShortcutsEditText();
};

void TestKeyTranslator::translatesExactModifiersOnly_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("expectedKey");
    QTest::addColumn<int>("expectedModifiers");
    const int ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier, alt = Qt::AltModifier;
    QTest::newRow("ES") << 0x0421 << ctrl << int(Qt::Key_C) << ctrl;
    QTest::newRow("CHE") << 0x0427 << ctrl << int(Qt::Key_X) << ctrl;
    QTest::newRow("YA shift") << 0x042F << (ctrl | shift) << int(Qt::Key_Z) << (ctrl | shift);
    QTest::newRow("SHCHA") << 0x0429 << ctrl << int(Qt::Key_O) << ctrl;
    QTest::newRow("YERU") << 0x042B << ctrl << int(Qt::Key_S) << ctrl;
    QTest::newRow("YERU shift") << 0x042B << (ctrl | shift) << int(Qt::Key_S) << (ctrl | shift);
    QTest::newRow("ZE") << 0x0417 << ctrl << int(Qt::Key_P) << ctrl;
    QTest::newRow("TSE") << 0x0426 << ctrl << int(Qt::Key_W) << ctrl;
    QTest::newRow("TSE alt") << 0x0426 << (ctrl | alt) << 0x0426 << (ctrl | alt);
    QTest::newRow("ctrl alt") << 0x0421 << (ctrl | alt) << 0x0421 << (ctrl | alt);
    QTest::newRow("shift only") << 0x0421 << shift << 0x0421 << shift;
    QTest::newRow("ctrl shift ES") << 0x0421 << (ctrl | shift) << 0x0421 << (ctrl | shift);
    QTest::newRow("latin") << int(Qt::Key_C) << ctrl << int(Qt::Key_C) << ctrl;
    QTest::newRow("release") << 0x0421 << -1 << 0x0421 << ctrl;
}

void TestKeyTranslator::translatesExactModifiersOnly() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, expectedKey);
    QFETCH(int, expectedModifiers);
    KeyTranslator translator;
    QObject target;
    KeyLog log;
    target.installEventFilter(&log);
    // A negative modifier set stands for a key release, which always passes.
    QKeyEvent press(modifiers < 0 ? QEvent::KeyRelease : QEvent::KeyPress, key,
                    Qt::KeyboardModifiers(modifiers < 0 ? expectedModifiers : modifiers));
    const bool dropped = translator.eventFilter(&target, &press);
    if (expectedKey == key) {
        QVERIFY(!dropped);
        QVERIFY(log.keys.isEmpty());
    } else {
        QVERIFY(dropped);
        QCOMPARE(log.keys.size(), 1);
        QCOMPARE(log.keys[0].first, expectedKey);
        QCOMPARE(int(log.keys[0].second), expectedModifiers);
    }
}

void TestKeyTranslator::cyrillicShortcutsEditText() {
    KeyTranslator translator;
    qApp->installEventFilter(&translator);
    QLineEdit edit;
    edit.setText(QStringLiteral("abc"));
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    auto press = [&edit](int key) {
        QKeyEvent e(QEvent::KeyPress, key, Qt::ControlModifier, QString(QChar(key)));
        QApplication::sendEvent(&edit, &e);
    };
    press(0x0424); // select all
    QCOMPARE(edit.selectedText(), QStringLiteral("abc"));
    press(0x0427); // cut
    QCOMPARE(edit.text(), QString());
    press(0x042F); // undo
    QCOMPARE(edit.text(), QStringLiteral("abc"));
    qApp->removeEventFilter(&translator);
}

QTEST_MAIN(TestKeyTranslator)
#include "tst_keytranslator.moc"

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
    void otherEventsPassThrough();
    void cyrillicShortcutsEditText();
};

void TestKeyTranslator::translatesExactModifiersOnly_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("expectedKey");
    QTest::addColumn<int>("expectedModifiers");
    const int ctrl = Qt::ControlModifier;
    const int shift = Qt::ShiftModifier;
    const int alt = Qt::AltModifier;
    QTest::newRow("ES") << 0x0421 << ctrl << int(Qt::Key_C) << ctrl;
    QTest::newRow("CHE") << 0x0427 << ctrl << int(Qt::Key_X) << ctrl;
    QTest::newRow("EM") << 0x041C << ctrl << int(Qt::Key_V) << ctrl;
    QTest::newRow("YA shift") << 0x042F << (ctrl | shift) << int(Qt::Key_Z) << (ctrl | shift);
    QTest::newRow("YA") << 0x042F << ctrl << int(Qt::Key_Z) << ctrl;
    QTest::newRow("EF") << 0x0424 << ctrl << int(Qt::Key_A) << ctrl;
    QTest::newRow("ctrl alt") << 0x0421 << (ctrl | alt) << 0x0421 << (ctrl | alt);
    QTest::newRow("shift only") << 0x0421 << shift << 0x0421 << shift;
    QTest::newRow("ctrl shift ES") << 0x0421 << (ctrl | shift) << 0x0421 << (ctrl | shift);
    QTest::newRow("latin") << int(Qt::Key_C) << ctrl << int(Qt::Key_C) << ctrl;
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
    QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers));
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

void TestKeyTranslator::otherEventsPassThrough() {
    KeyTranslator translator;
    QObject target;
    QKeyEvent release(QEvent::KeyRelease, 0x0421, Qt::ControlModifier);
    QVERIFY(!translator.eventFilter(&target, &release));
    QEvent other(QEvent::FocusIn);
    QVERIFY(!translator.eventFilter(&target, &other));
}

void TestKeyTranslator::cyrillicShortcutsEditText() {
    KeyTranslator translator;
    qApp->installEventFilter(&translator);
    QLineEdit edit;
    edit.setText(QStringLiteral("abc"));
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    // QTest cannot type Cyrillic key codes; deliver the presses the way the
    // platform does, through the application (and so through the filter).
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

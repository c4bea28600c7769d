#include "keytranslator.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace {
struct Translation {
    Qt::KeyboardModifiers modifiers;
    int key;
    int replacement;
};

const Translation translations[] = {
    {Qt::ControlModifier, 0x0421, Qt::Key_C},
    {Qt::ControlModifier, 0x0427, Qt::Key_X},
    {Qt::ControlModifier, 0x041C, Qt::Key_V},
    {Qt::ControlModifier | Qt::ShiftModifier, 0x042F, Qt::Key_Z},
    {Qt::ControlModifier, 0x042F, Qt::Key_Z},
    {Qt::ControlModifier, 0x0424, Qt::Key_A},
    // The project commands' shortcuts: O, S, P and W report SHCHA, YERU, ZE
    // and TSE on the Russian layout.
    {Qt::ControlModifier, 0x0429, Qt::Key_O},
    {Qt::ControlModifier | Qt::ShiftModifier, 0x042B, Qt::Key_S},
    {Qt::ControlModifier, 0x042B, Qt::Key_S},
    {Qt::ControlModifier, 0x0417, Qt::Key_P},
    {Qt::ControlModifier, 0x0426, Qt::Key_W},
};
} // namespace

KeyTranslator::KeyTranslator(QObject *parent) : QObject(parent) {}

bool KeyTranslator::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    for (const Translation &t : translations) {
        if (key->modifiers() == t.modifiers && key->key() == t.key) {
            QKeyEvent replacement(QEvent::KeyPress, t.replacement, t.modifiers, QString(), false,
                                  1);
            QCoreApplication::sendEvent(watched, &replacement);
            return true;
        }
    }
    return false;
}

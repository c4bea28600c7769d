#ifndef KEYTRANSLATOR_H
#define KEYTRANSLATOR_H

#include <QObject>

// Makes Ctrl+C/X/V/Z/A, Ctrl+Shift+Z and the project shortcuts Ctrl+O/S/P/W
// and Ctrl+Shift+S work with the Russian keyboard layout, where those keys
// report Cyrillic letters.
class KeyTranslator : public QObject {
public:
    explicit KeyTranslator(QObject *parent = nullptr);
    bool eventFilter(QObject *watched, QEvent *event) override;
};

#endif // KEYTRANSLATOR_H

#ifndef KEYTRANSLATOR_H
#define KEYTRANSLATOR_H

#include <QObject>

// Makes Ctrl+C/X/V/Z/A and Ctrl+Shift+Z work with the Russian keyboard
// layout, where those keys report Cyrillic letters.
class KeyTranslator : public QObject {
public:
    explicit KeyTranslator(QObject *parent = nullptr);
    bool eventFilter(QObject *watched, QEvent *event) override;
};

#endif // KEYTRANSLATOR_H

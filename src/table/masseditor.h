#ifndef MASSEDITOR_H
#define MASSEDITOR_H

#include <QSpinBox>

// The cement mass editor: whole grams, written with no group separator. A
// decimal separator typed ("350.5", "350,5") ends the number: it and the
// digits after it are left out, with a hint, instead of being dropped so
// that the digits run together into ten times the mass.
class MassEditor : public QSpinBox {
    Q_OBJECT
public:
    explicit MassEditor(QWidget *parent = nullptr);

    // Shown when a decimal separator is typed.
    static QString wholeGramsHint();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool inFraction_ = false;
};

#endif // MASSEDITOR_H

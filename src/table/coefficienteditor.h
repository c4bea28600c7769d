#ifndef COEFFICIENTEDITOR_H
#define COEFFICIENTEDITOR_H

#include <QDoubleSpinBox>

// The hit coefficient editor: 0.20 to 2.00, two decimals, always written with
// a point as the table writes it; a comma typed counts as the point.
class CoefficientEditor : public QDoubleSpinBox {
    Q_OBJECT
public:
    explicit CoefficientEditor(QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

#endif // COEFFICIENTEDITOR_H

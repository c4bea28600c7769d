#ifndef COMPARISONPLOT_H
#define COMPARISONPLOT_H

#include "records/alignedcurve.h"
#include "results/plotpanel.h"

#include <QList>
#include <QPen>

class ProcessP;
class QComboBox;

// Curves of several tests side by side: one quantity, each test's curve from
// its start of measurement, a colour and a line style of its own, and a
// legend entry with its name. Tests without that curve are named in a note
// under the plot. Zoom and pan, and the tracker, as on the plot tabs.
class ComparisonPlot : public PlotPanel {
    Q_OBJECT
public:
    struct Test {
        const ProcessP *record; // read while the curves are built, not kept
        QString label;
    };
    static constexpr int PaletteSize = 12;

    explicit ComparisonPlot(QWidget *parent = nullptr);

    AlignedCurve::Quantity quantity() const;
    void setQuantity(AlignedCurve::Quantity quantity);
    // Replaces the curves by those of the tests, in the order given.
    void setTests(const QList<Test> &tests);

    // Curve i's pen: twelve that differ in line style and in grey level as
    // well as in hue, so that a grey printout keeps them apart.
    static QPen pen(int i);

signals:
    // The user chose another quantity; the owner hands the tests again.
    void quantityChanged();

private:
    QComboBox *quantities_;
};

#endif // COMPARISONPLOT_H

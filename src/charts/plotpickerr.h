#ifndef PLOTPICKERR_H
#define PLOTPICKERR_H

#include "charts/plotpicker.h"

// Tracker of the resistance plot: the kilo-ohm axis value shown in ohms.
class PlotPickerR : public PlotPicker {
    Q_OBJECT
public:
    using PlotPicker::PlotPicker;

protected:
    QwtText trackerTextF(const QPointF &pos) const override;
};

#endif // PLOTPICKERR_H

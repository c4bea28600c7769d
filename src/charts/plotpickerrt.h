#ifndef PLOTPICKERRT_H
#define PLOTPICKERRT_H

#include "charts/plotpicker.h"

// Tracker of the resistance/temperature plot: its left axis is the
// resistance, shown in ohms.
class PlotPickerRT : public PlotPicker {
    Q_OBJECT
public:
    using PlotPicker::PlotPicker;

protected:
    QwtText trackerTextF(const QPointF &pos) const override;
};

#endif // PLOTPICKERRT_H

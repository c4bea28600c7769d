#include "plotpickerrt.h"

QwtText PlotPickerRT::trackerTextF(const QPointF &pos) const {
    return valueAndTime(ohms(pos.y()), pos.x());
}

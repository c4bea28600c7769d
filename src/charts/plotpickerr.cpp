#include "plotpickerr.h"

QwtText PlotPickerR::trackerTextF(const QPointF &pos) const {
    return valueAndTime(ohms(pos.y()), pos.x());
}

#ifndef NUMBERSCALEDRAW_H
#define NUMBERSCALEDRAW_H

#include <qwt_scale_draw.h>

// A value axis whose labels use the point as the decimal separator, as every
// other number in the window and on the page does, whatever the locale.
class NumberScaleDraw : public QwtScaleDraw {
public:
    QwtText label(double value) const override;
};

#endif // NUMBERSCALEDRAW_H

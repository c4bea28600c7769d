#include "numberscaledraw.h"

#include <QLocale>

QwtText NumberScaleDraw::label(double value) const {
    // Qwt writes labels through the default locale; ours are always "1.5".
    return QwtText(QLocale::c().toString(value));
}

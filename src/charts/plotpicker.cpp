#include "plotpicker.h"

#include "charts/elapsedtime.h"

PlotPicker::PlotPicker(int xAxis, int yAxis, QwtPicker::RubberBand rubberBand,
                       QwtPicker::DisplayMode trackerMode, QWidget *canvas)
    : QwtPlotPicker(xAxis, yAxis, rubberBand, trackerMode, canvas) {}

QwtText PlotPicker::trackerTextF(const QPointF &pos) const {
    return valueAndTime(QString::number(pos.y(), 'f', 2), pos.x());
}

QwtText PlotPicker::valueAndTime(const QString &value, double x) const {
    // The period enters as a signed 32-bit number; real periods are far
    // below 2^31 s, where both readings agree.
    const double seconds = double(qint32(period_)) * x;
    return QwtText(value + QLatin1Char('\n') +
                   (durations_ ? elapsedDuration(seconds, true)
                               : elapsedTime(seconds, QStringLiteral("hh:mm:ss"))));
}

QString PlotPicker::ohms(double kiloOhms) {
    return QString::number(kiloOhms * 1000.0, 'f', 1) + QStringLiteral(" \u03a9");
}

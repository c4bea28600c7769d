#ifndef PLOTPICKER_H
#define PLOTPICKER_H

#include <qwt_plot_picker.h>

// Tracker of the test plots: the value under the cursor on the first line,
// the elapsed time of the point index under it ("hh:mm:ss") on the second.
class PlotPicker : public QwtPlotPicker {
    Q_OBJECT
public:
    PlotPicker(int xAxis, int yAxis, QwtPicker::RubberBand rubberBand,
               QwtPicker::DisplayMode trackerMode, QWidget *canvas);

    void setPeriod(unsigned int period) { period_ = period; }
    unsigned int period() const { return period_; }
    // Times as durations: no wrap at 24 hours, a minus sign before 0.
    void setDurations(bool on) { durations_ = on; }

protected:
    QwtText trackerTextF(const QPointF &pos) const override;

    // The two-line tracker text: `value`, then the time of point index x.
    QwtText valueAndTime(const QString &value, double x) const;
    // A kilo-ohm axis value shown in ohms.
    static QString ohms(double kiloOhms);

private:
    quint32 period_ = 0;
    bool durations_ = false;
};

#endif // PLOTPICKER_H

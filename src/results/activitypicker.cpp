#include "activitypicker.h"

#include <qwt_plot.h>
#include <qwt_scale_map.h>

ActivityPicker::ActivityPicker(QWidget *canvas)
    : QwtPlotPicker(QwtPlot::xBottom, QwtPlot::yLeft, QwtPicker::NoRubberBand, QwtPicker::AlwaysOn,
                    canvas) {
    setTrackerPen(QPen(Qt::black));
}

QString ActivityPicker::textAt(const QPointF &pos) const {
    const QwtScaleMap x = plot()->canvasMap(xAxis());
    const QwtScaleMap y = plot()->canvasMap(yAxis());
    const QPointF cursor(x.transform(pos.x()), y.transform(pos.y()));
    double best = Reach * Reach;
    QString text;
    for (const Point &p : points_) {
        const QPointF d = QPointF(x.transform(p.at.x()), y.transform(p.at.y())) - cursor;
        const double squared = d.x() * d.x() + d.y() * d.y();
        if (squared <= best) {
            best = squared;
            text = p.text;
        }
    }
    return text;
}

QwtText ActivityPicker::trackerTextF(const QPointF &pos) const {
    QwtText text(textAt(pos));
    // Readable over the markers and the grid.
    text.setBackgroundBrush(QBrush(QColor(255, 255, 225)));
    return text;
}

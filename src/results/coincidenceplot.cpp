#include "coincidenceplot.h"

#include "charts/numberscaledraw.h"
#include "evaluation/qualitystatistics.h"

#include <qwt_plot_curve.h>
#include <qwt_symbol.h>

CoincidencePlot::CoincidencePlot(QWidget *parent) : PlotPanel(QwtPlot::BottomLegend, parent) {
    plot()->setAxisTitle(QwtPlot::xBottom, tr("Activity R predicted, MPa"));
    plot()->setAxisTitle(QwtPlot::yLeft, tr("Measured strength, MPa"));
    plot()->setAxisScaleDraw(QwtPlot::xBottom, new NumberScaleDraw);
    plot()->setAxisScaleDraw(QwtPlot::yLeft, new NumberScaleDraw);
    const QColor blue(0x1f, 0x3f, 0x8f);
    points_ = new QwtPlotCurve(tr("Tests with a measured strength"));
    points_->setStyle(QwtPlotCurve::NoCurve);
    points_->setSymbol(new QwtSymbol(QwtSymbol::Ellipse, QBrush(blue), QPen(blue), QSize(8, 8)));
    points_->setLegendAttribute(QwtPlotCurve::LegendShowSymbol);
    points_->setRenderHint(QwtPlotItem::RenderAntialiased);
    points_->setZ(30);
    points_->attach(plot());
    diagonal_ = new QwtPlotCurve(QStringLiteral("y = x"));
    diagonal_->setPen(QPen(Qt::darkGray, 1, Qt::DashLine));
    diagonal_->setZ(20);
    diagonal_->attach(plot());
}

void CoincidencePlot::setStatistics(const QualityStatistics &statistics) {
    const QVector<QPointF> &points = statistics.comparison();
    points_->setSamples(points);
    double low = 0.0, high = 0.0;
    for (int i = 0; i < points.size(); ++i) {
        const double a = qMin(points[i].x(), points[i].y()), b = qMax(points[i].x(), points[i].y());
        low = i ? qMin(low, a) : a;
        high = i ? qMax(high, b) : b;
    }
    diagonal_->setSamples(points.isEmpty() ? QVector<QPointF>()
                                           : QVector<QPointF>{{low, low}, {high, high}});
    const SampleSummary &k = statistics.coefficient();
    setNote(tr("K = %1 (sd %2, n %3); left out: activity R beyond the table %4, measured at "
               "another duration of hardening %5")
                .arg(QualityStatistics::number(k.mean, 3), QualityStatistics::number(k.sd, 3))
                .arg(k.n)
                .arg(statistics.coefficientBounds())
                .arg(statistics.otherDuration()));
    rescale();
}

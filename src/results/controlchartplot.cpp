#include "controlchartplot.h"

#include "evaluation/qualitystatistics.h"
#include "results/activityplot.h"

#include <QDateTime>
#include <QtNumeric>
#include <qwt_date.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_marker.h>
#include <qwt_symbol.h>

ControlChartPlot::ControlChartPlot(QWidget *parent) : PlotPanel(QwtPlot::BottomLegend, parent) {
    ActivityPlot::setDateAxis(plot());
    const QColor blue(0x1f, 0x3f, 0x8f), red(0xc0, 0x10, 0x10), orange(0xe0, 0x7b, 0x00);
    const struct {
        QString title;
        QBrush fill;
        QColor colour;
        int size;
    } looks[SeriesCount] = {
        {tr("Activity"), QBrush(blue), blue, 7},
        {tr("Beyond the table (at its bound; left out)"), QBrush(Qt::white), blue, 7},
        {tr("Marked: beyond a control limit or in a run of nine"), QBrush(Qt::NoBrush), red, 15},
    };
    for (int s = 0; s < SeriesCount; ++s) {
        series_[s] = new QwtPlotCurve(looks[s].title);
        series_[s]->setStyle(QwtPlotCurve::NoCurve);
        series_[s]->setSymbol(new QwtSymbol(QwtSymbol::Ellipse, looks[s].fill,
                                            QPen(looks[s].colour, 2),
                                            QSize(looks[s].size, looks[s].size)));
        series_[s]->setLegendAttribute(QwtPlotCurve::LegendShowSymbol);
        series_[s]->setRenderHint(QwtPlotItem::RenderAntialiased);
        series_[s]->setZ(30 + s);
        series_[s]->attach(plot());
    }
    // The values in their order, joined, as a control chart reads.
    series_[Values]->setStyle(QwtPlotCurve::Lines);
    series_[Values]->setPen(QPen(blue, 1));

    const QPen pens[LineCount] = {QPen(Qt::darkGreen, 2), QPen(red, 2, Qt::DashLine),
                                  QPen(red, 2, Qt::DashLine), QPen(orange, 1, Qt::DotLine),
                                  QPen(orange, 1, Qt::DotLine)};
    for (int l = 0; l < LineCount; ++l) {
        lines_[l] = new QwtPlotMarker;
        lines_[l]->setLineStyle(QwtPlotMarker::HLine);
        lines_[l]->setLinePen(pens[l]);
        // The centre's label at the left, the limits' at the right: close
        // limits do not hide it.
        lines_[l]->setLabelAlignment((l == Centre ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignTop);
        lines_[l]->setZ(20);
        lines_[l]->attach(plot());
    }
}

void ControlChartPlot::setStatistics(const QualityStatistics &statistics, bool warnings) {
    QVector<QPointF> points[SeriesCount];
    const ControlChart &chart = statistics.chart();
    for (int i = 0; i < statistics.points().size(); ++i) {
        const ControlChart::Point &p = statistics.points().at(i);
        const ResultsRow &row = statistics.shown().at(p.row);
        if (!row.date().isValid())
            continue;
        const QPointF at(QwtDate::toDouble(QDateTime(
                             row.date(), row.time().isValid() ? row.time() : QTime(0, 0))),
                         p.value);
        points[p.bound ? Bounds : Values] << at;
        if (chart.marked(i))
            points[Marked] << at;
    }
    for (int s = 0; s < SeriesCount; ++s)
        series_[s]->setSamples(points[s]);

    const double values[LineCount] = {chart.centre(), chart.upperLimit(), chart.lowerLimit(),
                                      chart.upperWarning(), chart.lowerWarning()};
    const QString names[LineCount] = {tr("Centre"), tr("UCL"), tr("LCL"), tr("UWL"), tr("LWL")};
    for (int l = 0; l < LineCount; ++l) {
        const bool shown = !qIsNaN(values[l]) && (warnings || l < UpperWarning);
        lines_[l]->setVisible(shown);
        lines_[l]->setYValue(shown ? values[l] : 0.0);
        lines_[l]->setLabel(
            QwtText(QStringLiteral("%1 %2").arg(names[l], QualityStatistics::number(values[l]))));
    }
    setNote(tr("Left out of the centre line and the limits (beyond the table): %1")
                .arg(chart.leftOut()));
    rescale();
}

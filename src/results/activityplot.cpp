#include "activityplot.h"

#include "charts/numberscaledraw.h"
#include "results/activitypicker.h"

#include <QDateTime>
#include <qwt_date.h>
#include <qwt_date_scale_draw.h>
#include <qwt_date_scale_engine.h>
#include <qwt_plot_curve.h>
#include <qwt_symbol.h>

namespace {
QwtSymbol *marker(QwtSymbol::Style shape, const QColor &colour, bool open, int size) {
    // Open markers stand for bounds: white inside, so that they read as
    // open on any background and in grey.
    return new QwtSymbol(shape, open ? QBrush(Qt::white) : QBrush(colour), QPen(colour, 2),
                         QSize(size, size));
}
} // namespace

void ActivityPlot::setDateAxis(QwtPlot *plot) {
    auto *dates = new QwtDateScaleDraw(Qt::LocalTime);
    // Numeric dates: the same in both languages and in any locale.
    dates->setDateFormat(QwtDate::Hour, QStringLiteral("dd.MM.yy\nhh:mm"));
    dates->setDateFormat(QwtDate::Day, QStringLiteral("dd.MM.yy"));
    dates->setDateFormat(QwtDate::Week, QStringLiteral("dd.MM.yy"));
    dates->setDateFormat(QwtDate::Month, QStringLiteral("MM.yyyy"));
    dates->setDateFormat(QwtDate::Year, QStringLiteral("yyyy"));
    plot->setAxisScaleDraw(QwtPlot::xBottom, dates);
    plot->setAxisScaleEngine(QwtPlot::xBottom, new QwtDateScaleEngine(Qt::LocalTime));
    plot->setAxisTitle(QwtPlot::xBottom, tr("Start of the test"));
    plot->setAxisTitle(QwtPlot::yLeft, tr("Activity, MPa"));
    // The value axis writes the point, as the time plots' do.
    plot->setAxisScaleDraw(QwtPlot::yLeft, new NumberScaleDraw);
}

ActivityPlot::ActivityPlot(QWidget *parent) : PlotPanel(QwtPlot::BottomLegend, parent) {
    setDateAxis(plot());

    const QColor blue(0x1f, 0x3f, 0x8f), orange(0xe0, 0x7b, 0x00);
    // With a hit coefficient of 1.00 both activities are equal: the small
    // circle of R sits inside the larger square, both stay visible.
    const struct {
        QString title;
        QwtSymbol::Style shape;
        QColor colour;
        bool open;
        int size;
    } looks[SeriesCount] = {
        {tr("Activity R"), QwtSymbol::Ellipse, blue, false, 7},
        {tr("Activity R beyond the table (at its bound)"), QwtSymbol::Ellipse, blue, true, 7},
        {tr("Activity with hit coefficient"), QwtSymbol::Rect, orange, false, 13},
        {tr("Activity with hit coefficient beyond the table (at its bound)"), QwtSymbol::Rect,
         orange, true, 13},
    };
    for (int s = 0; s < SeriesCount; ++s) {
        series_[s] = new QwtPlotCurve(looks[s].title);
        series_[s]->setZ(s < WithHit ? 30 : 20);
        series_[s]->setStyle(QwtPlotCurve::NoCurve);
        series_[s]->setSymbol(
            marker(looks[s].shape, looks[s].colour, looks[s].open, looks[s].size));
        series_[s]->setLegendAttribute(QwtPlotCurve::LegendShowSymbol);
        series_[s]->setRenderHint(QwtPlotItem::RenderAntialiased);
        series_[s]->attach(plot());
    }
    picker_ = new ActivityPicker(plot()->canvas());
    setRows({});
}

void ActivityPlot::setRows(const QVector<ResultsRow> &rows) {
    QVector<QPointF> points[SeriesCount];
    QVector<ActivityPicker::Point> hover;
    QStringList undated;
    const int columns[2] = {ResultsRow::Activity, ResultsRow::ActivityWithHit};
    for (const ResultsRow &row : rows) {
        if (!row.date().isValid()) {
            undated << row.label();
            continue;
        }
        const QDateTime start(row.date(), row.time().isValid() ? row.time() : QTime(0, 0));
        const double x = QwtDate::toDouble(start);
        // Both values in one text: with a hit coefficient of 1.00 the two
        // markers lie on each other.
        // The name over the start; a test without a name is labelled by its start.
        QString text = row.label();
        if (!row.text(ResultsRow::Name).isEmpty())
            text += QStringLiteral("\n%1 %2").arg(row.text(ResultsRow::Date),
                                                  row.text(ResultsRow::Time));
        QVector<QPointF> at;
        for (int c = 0; c < 2; ++c) {
            const ResultsRow::Number n = ResultsRow::number(row.text(columns[c]));
            text +=
                QStringLiteral("\n%1: %2").arg(ResultsRow::title(columns[c]), row.text(columns[c]));
            if (!n.known)
                continue;
            at << QPointF(x, n.value);
            points[2 * c + (n.bound ? 1 : 0)] << at.last();
        }
        for (const QPointF &p : at)
            hover.append({p, text});
    }
    for (int s = 0; s < SeriesCount; ++s)
        series_[s]->setSamples(points[s]);
    picker_->setPoints(hover);
    setNote(undated.isEmpty()
                ? QString()
                : tr("Left out, no valid start date: %1").arg(undated.join(QStringLiteral("; "))));
    rescale();
}

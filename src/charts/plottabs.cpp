#include "plottabs.h"

#include "charts/cachedtextengine.h"
#include "charts/elapsedtime.h"
#include "charts/plotaxes.h"
#include "charts/plotpicker.h"
#include "charts/plotpickerr.h"
#include "charts/plotpickerrt.h"
#include "charts/plotterscaledraw.h"
#include "charts/qwtchartzoom.h"
#include "records/processp.h"

#include <QCoreApplication>
#include <QTabWidget>
#include <algorithm>
#include <cmath>
#include <qwt_picker_machine.h>
#include <qwt_plot.h>
#include <qwt_plot_canvas.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_grid.h>
#include <qwt_plot_marker.h>
#include <qwt_scale_map.h>

namespace {

enum PickerKind { PlainPicker, OhmPicker, OhmTemperaturePicker };

QString translated(const char *text) {
    return QCoreApplication::translate("MainWindow", text);
}

// A damaged header can carry scales that are not finite numbers, and the
// reduced volume of a test with mass 0 is not finite either: such points
// are left out of the drawing (their neighbours keep their x).
QVector<QPointF> drawable(const QVector<QPointF> &points) {
    const auto finite = [](const QPointF &p) { return std::isfinite(p.y()); };
    if (std::all_of(points.cbegin(), points.cend(), finite))
        return points;
    QVector<QPointF> kept;
    kept.reserve(points.size());
    std::copy_if(points.cbegin(), points.cend(), std::back_inserter(kept), finite);
    return kept;
}

QwtText markerLabel(const QString &text) {
    QwtText label(text);
    label.setFont(QFont(QStringLiteral("Helvetica"), 10, QFont::Bold, false));
    label.setColor(QColor(200, 150, 0));
    return label;
}

void addMarker(QwtPlot *plot, QwtPlotMarker::LineStyle style, double x, double y,
               const QString &text, Qt::Alignment alignment, const QPen &pen) {
    auto *marker = new QwtPlotMarker(QString());
    marker->setLineStyle(style);
    marker->setValue(x, y);
    if (!text.isNull()) {
        marker->setLabel(markerLabel(text));
        marker->setLabelAlignment(alignment);
    }
    marker->setLinePen(pen);
    marker->attach(plot);
}

} // namespace

struct PlotTabs::Curve {
    QVector<QPointF> points;
    QColor colour;
    int axis;
};

struct PlotTabs::Dress {
    const char *tabTitle;
    const char *plotTitle;
    const char *leftTitle;
    const char *rightTitle; // null: a single-axis plot
    QVector<Curve> curves;
    bool narrowRange;
    QColor canvas;
    PickerKind picker;
    QColor band;
};

namespace {
const QColor SingleCanvas(255, 255, 200);
const QColor DualCanvas(215, 215, 240);
} // namespace

PlotTabs::PlotTabs(QTabWidget *tabs, QObject *parent) : QObject(parent), tabs_(tabs) {
    CachedTextEngine::install();
}

PlotTabs::~PlotTabs() {
    clearGraphs();
}

void PlotTabs::clearGraphs() {
    // The pages are only taken off here and deleted below. Taking them off
    // from the last one, with the first one current, never brings another
    // page up: QTabWidget::clear() would show (and lay out) each in turn.
    if (tabs_) {
        tabs_->setCurrentIndex(0);
        for (int i = tabs_->count() - 1; i >= 0; --i)
            tabs_->removeTab(i);
    }
    for (int i = 0; i < TabCount; ++i) {
        delete zooms_[i];
        zooms_[i] = nullptr;
        delete plots_[i].data();
        plots_[i] = nullptr;
    }
}

void PlotTabs::buildGraphs(const ProcessP *record) {
    clearGraphs();
    if (!record)
        return;
    const bool fourChannels = record->kind() == 2 || record->kind() == 3;
    addVolumeGraph(record, 0);
    addVolumeGraph(record, 1);
    addTemperatureGraph(record);
    if (fourChannels) {
        addResistanceGraph(record);
        addCementTemperatureGraph(record);
    }
    addVolumeTemperatureGraph(record);
    if (fourChannels)
        addResistanceTemperatureGraph(record);
    tabs_->setCurrentIndex(0);
}

QwtPlot *PlotTabs::build(Tab tab, const ProcessP *record, const Dress &dress) {
    auto *plot = new QwtPlot;
    plots_[tab] = plot;
    // Painted straight to the window: a first paint through the canvas's
    // own pixmap costs about twice as much, and the tabs are rebuilt on
    // every click.
    if (auto *canvas = qobject_cast<QwtPlotCanvas *>(plot->canvas()))
        canvas->setPaintAttribute(QwtPlotCanvas::BackingStore, false);
    plot->setTitle(translated(dress.plotTitle));
    PlotAxes::dress(plot, record->period());
    if (dress.rightTitle)
        plot->enableAxis(QwtPlot::yRight);
    plot->setAxisTitle(QwtPlot::yLeft, translated(dress.leftTitle));
    if (dress.rightTitle)
        plot->setAxisTitle(QwtPlot::yRight, translated(dress.rightTitle));
    plot->setAxisTitle(QwtPlot::xBottom, translated(QT_TRANSLATE_NOOP("MainWindow", "Time")));

    for (const Curve &c : dress.curves) {
        auto *curve = new QwtPlotCurve(QString());
        if (dress.rightTitle)
            curve->setYAxis(c.axis);
        curve->setPen(QPen(c.colour));
        curve->attach(plot);
        curve->setSamples(drawable(c.points));
    }

    const QString tabTitle = translated(dress.tabTitle);
    tabs_->addTab(plot, tabTitle);
    zooms_[tab] = new QwtChartZoom(plot, nullptr);
    // The plots go before this object (clearGraphs), so `this` outlives them.
    PlotImage::install(plot, [this, tabTitle] {
        PlotImage::Target target = imageTarget_ ? imageTarget_() : PlotImage::Target();
        target.name =
            target.name.isEmpty() ? tabTitle : target.name + QStringLiteral(" - ") + tabTitle;
        return target;
    });

    if (dress.narrowRange) {
        // Let the axes take their automatic scales first; a nearly flat
        // curve then gets a left axis at least 2 units wide.
        plot->replot();
        const QwtScaleMap y = plot->canvasMap(QwtPlot::yLeft);
        if (y.s2() - y.s1() < 2.0)
            plot->setAxisScale(QwtPlot::yLeft, y.s1() - 1.0, y.s2() + 1.0);
    }

    plot->setCanvasBackground(QBrush(dress.canvas));

    addGrid(plot);

    PlotPicker *picker = nullptr;
    switch (dress.picker) {
    case PlainPicker:
        picker = new PlotPicker(QwtPlot::xBottom, QwtPlot::yLeft, QwtPicker::VLineRubberBand,
                                QwtPicker::AlwaysOn, plot->canvas());
        break;
    case OhmPicker:
        picker = new PlotPickerR(QwtPlot::xBottom, QwtPlot::yLeft, QwtPicker::VLineRubberBand,
                                 QwtPicker::AlwaysOn, plot->canvas());
        break;
    case OhmTemperaturePicker:
        picker = new PlotPickerRT(QwtPlot::xBottom, QwtPlot::yLeft, QwtPicker::VLineRubberBand,
                                  QwtPicker::AlwaysOn, plot->canvas());
        break;
    }
    picker->setPeriod(record->period());
    picker->setStateMachine(new QwtPickerDragPointMachine);
    picker->setRubberBandPen(QPen(dress.band));
    picker->setRubberBand(QwtPicker::CrossRubberBand);
    picker->setTrackerPen(QPen(Qt::black));
    return plot;
}

void PlotTabs::addGrid(QwtPlot *plot) {
    auto *grid = new QwtPlotGrid;
    grid->enableXMin(true);
    grid->enableYMin(true);
    grid->setMajorPen(QPen(Qt::gray, 0, Qt::DotLine));
    grid->setMinorPen(QPen(Qt::gray, 0, Qt::DotLine));
    grid->attach(plot);
}

void PlotTabs::addVolumeGraph(const ProcessP *record, int variant) {
    if (variant != 0 && variant != 1)
        return;
    const QVector<QPointF> points = record->volumeSamples(variant);
    Dress dress{variant == 0 ? QT_TRANSLATE_NOOP("MainWindow", "Volume")
                             : QT_TRANSLATE_NOOP("MainWindow", "Reduced volume"),
                variant == 0 ? QT_TRANSLATE_NOOP("MainWindow", "Volume")
                             : QT_TRANSLATE_NOOP("MainWindow", "Reduced volume"),
                QT_TRANSLATE_NOOP("MainWindow", "Volume, ml"),
                nullptr,
                {{points, Qt::blue, QwtPlot::yLeft}},
                true,
                SingleCanvas,
                PlainPicker,
                Qt::blue};
    QwtPlot *plot = build(variant == 0 ? Volume : ReducedVolume, record, dress);

    // Start of measurement, three hours later (or the last point), and the
    // curve's values there.
    const quint32 n = quint32(points.size());
    if (n == 0)
        return;
    const quint32 period = record->period();
    const quint32 s = qMin<quint32>(record->startIndex(), n - 1);
    quint32 e = s + 10800 / period;
    if (e >= n)
        e = n - 1;
    const QPen startPen(Qt::magenta, 0, Qt::DashDotLine);
    const QPen endPen(Qt::darkBlue, 0, Qt::DashDotLine);
    const auto time = [period](quint32 i) {
        return QStringLiteral("t = %1").arg(
            elapsedTime(double(i) * double(period), QStringLiteral("hh:mm:ss")));
    };
    addMarker(plot, QwtPlotMarker::VLine, s, 0, time(s), Qt::AlignRight | Qt::AlignCenter,
              startPen);
    // On a day-long test the three hours between the lines are narrower than
    // the two labels: the end label sits at the top of the canvas, clear of
    // the start label in the middle, on the side of its line with room.
    const Qt::Alignment endSide = 2 * qint64(e) < points.size() ? Qt::AlignRight : Qt::AlignLeft;
    addMarker(plot, QwtPlotMarker::VLine, e, 0, time(e), endSide | Qt::AlignTop, endPen);
    const double vs = points[int(s)].y();
    const double ve = points[int(e)].y();
    if (std::isfinite(vs))
        addMarker(plot, QwtPlotMarker::HLine, 0, vs, QStringLiteral("v = %1").arg(vs),
                  Qt::AlignTop | Qt::AlignCenter, startPen);
    if (std::isfinite(ve))
        addMarker(plot, QwtPlotMarker::HLine, 0, ve, QStringLiteral("v = %1").arg(ve),
                  Qt::AlignBottom | Qt::AlignCenter, endPen);
}

void PlotTabs::addTemperatureGraph(const ProcessP *record) {
    build(Temperature, record,
          {QT_TRANSLATE_NOOP("MainWindow", "Temperature"),
           QT_TRANSLATE_NOOP("MainWindow", "Temperature"),
           QT_TRANSLATE_NOOP("MainWindow", "Temperature, °C"),
           nullptr,
           {{record->temperatureSamples(false), Qt::red, QwtPlot::yLeft}},
           false,
           SingleCanvas,
           PlainPicker,
           Qt::red});
}

void PlotTabs::addResistanceGraph(const ProcessP *record) {
    build(Resistance, record,
          {QT_TRANSLATE_NOOP("MainWindow", "Resistance"),
           QT_TRANSLATE_NOOP("MainWindow", "Resistance"),
           QT_TRANSLATE_NOOP("MainWindow", "Resistance, kOm"),
           nullptr,
           {{record->resistanceSamples(), Qt::blue, QwtPlot::yLeft}},
           false,
           SingleCanvas,
           OhmPicker,
           Qt::blue});
}

void PlotTabs::addCementTemperatureGraph(const ProcessP *record) {
    build(CementTemperature, record,
          {QT_TRANSLATE_NOOP("MainWindow", "Temperature of cement"),
           QT_TRANSLATE_NOOP("MainWindow", "Temperature of cement"),
           QT_TRANSLATE_NOOP("MainWindow", "Temperature, °C"),
           nullptr,
           {{record->temperatureSamples(true), Qt::red, QwtPlot::yLeft}},
           false,
           SingleCanvas,
           PlainPicker,
           Qt::red});
}

void PlotTabs::addVolumeTemperatureGraph(const ProcessP *record) {
    build(VolumeTemperature, record,
          {QT_TRANSLATE_NOOP("MainWindow", "Volume/Temperature"),
           QT_TRANSLATE_NOOP("MainWindow", "Reduced volume - Temperature"),
           QT_TRANSLATE_NOOP("MainWindow", "Volume, ml"),
           QT_TRANSLATE_NOOP("MainWindow", "Temperature, °C"),
           {{record->volumeSamples(1), Qt::blue, QwtPlot::yLeft},
            {record->temperatureSamples(false), Qt::red, QwtPlot::yRight}},
           true,
           DualCanvas,
           PlainPicker,
           Qt::blue});
}

void PlotTabs::addResistanceTemperatureGraph(const ProcessP *record) {
    QwtPlot *plot = build(ResistanceTemperature, record,
                          {QT_TRANSLATE_NOOP("MainWindow", "Resistance/Temperature"),
                           QT_TRANSLATE_NOOP("MainWindow", "Resistance - Temperature of cement"),
                           QT_TRANSLATE_NOOP("MainWindow", "Resistance, kOm"),
                           QT_TRANSLATE_NOOP("MainWindow", "Temperature, °C"),
                           {{record->resistanceSamples(), Qt::blue, QwtPlot::yLeft},
                            {record->temperatureSamples(true), Qt::red, QwtPlot::yRight}},
                           false,
                           DualCanvas,
                           OhmTemperaturePicker,
                           Qt::blue});
    // Point index 10; a test without points shows no markers at all.
    if (record->pointCount() > 0)
        addMarker(plot, QwtPlotMarker::VLine, 10, 10, QString(), Qt::Alignment(),
                  QPen(Qt::green, 1, Qt::DashDotLine));
}

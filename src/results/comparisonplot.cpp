#include "comparisonplot.h"

#include "charts/plotaxes.h"
#include "charts/plotpicker.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <qwt_picker_machine.h>
#include <qwt_plot_curve.h>
#include <qwt_scale_engine.h>

namespace {
// The y axis titles are the plot tabs' own.
QString tabText(const char *text) {
    return QCoreApplication::translate("MainWindow", text);
}

const char *const AxisTitles[AlignedCurve::QuantityCount] = {
    QT_TRANSLATE_NOOP("MainWindow", "Volume, ml"),
    QT_TRANSLATE_NOOP("MainWindow", "Volume, ml"),
    QT_TRANSLATE_NOOP("MainWindow", "Temperature, °C"),
    QT_TRANSLATE_NOOP("MainWindow", "Resistance, kOm"),
};
} // namespace

ComparisonPlot::ComparisonPlot(QWidget *parent) : PlotPanel(QwtPlot::RightLegend, parent) {
    quantities_ = new QComboBox;
    quantities_->addItems({tr("Volume"), tr("Reduced volume (per 1000 g)"),
                           tr("Cement temperature"), tr("Resistance")});
    connect(quantities_, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &ComparisonPlot::quantityChanged);
    auto *label = new QLabel(tr("Quantity:"));
    label->setBuddy(quantities_);
    auto *bar = new QHBoxLayout;
    bar->addWidget(label);
    bar->addWidget(quantities_);
    bar->addStretch(1);

    panelLayout()->insertLayout(0, bar);

    // Seconds from each test's start of measurement, as durations: tests
    // run for days, and the points before the start lie at "-hh:mm".
    PlotAxes::dress(plot(), 1, true);
    plot()->axisScaleEngine(QwtPlot::xBottom)->setAttribute(QwtScaleEngine::Floating, true);
    plot()->setAxisTitle(QwtPlot::xBottom, tr("Time from the start of measurement"));
    auto *picker = new PlotPicker(QwtPlot::xBottom, QwtPlot::yLeft, QwtPicker::VLineRubberBand,
                                  QwtPicker::AlwaysOn, plot()->canvas());
    picker->setPeriod(1);
    picker->setDurations(true);
    picker->setStateMachine(new QwtPickerDragPointMachine);
    picker->setRubberBandPen(QPen(Qt::blue));
    picker->setRubberBand(QwtPicker::CrossRubberBand);
    picker->setTrackerPen(QPen(Qt::black));
    setTests({});
}

AlignedCurve::Quantity ComparisonPlot::quantity() const {
    return AlignedCurve::Quantity(quantities_->currentIndex());
}

void ComparisonPlot::setQuantity(AlignedCurve::Quantity quantity) {
    quantities_->setCurrentIndex(int(quantity));
}

QPen ComparisonPlot::pen(int i) {
    // Four hues in each of three grey levels (dark, middle, light); the line
    // style turns one step further in each level, so no two curves share
    // both style and grey level.
    static const QColor colours[PaletteSize] = {
        QColor(0x1f, 0x3f, 0x8f), QColor(0x8e, 0x23, 0x20), QColor(0x1b, 0x6b, 0x35),
        QColor(0x5e, 0x2a, 0x84), QColor(0xe0, 0x7b, 0x00), QColor(0x2e, 0x8b, 0xc0),
        QColor(0xb8, 0x43, 0x7a), QColor(0x6b, 0x8e, 0x23), QColor(0x6f, 0xa8, 0xdc),
        QColor(0xef, 0x8f, 0x6e), QColor(0x7c, 0xc4, 0x7f), QColor(0xb4, 0x8a, 0xd6)};
    static const Qt::PenStyle styles[4] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine,
                                           Qt::DashDotLine};
    const int k = ((i % PaletteSize) + PaletteSize) % PaletteSize;
    return QPen(colours[k], 2, styles[(k + k / 4) % 4]);
}

void ComparisonPlot::setTests(const QList<Test> &tests) {
    plot()->detachItems(QwtPlotItem::Rtti_PlotCurve, true);
    const AlignedCurve::Quantity q = quantity();
    QStringList noPoints, noMass, twoChannels;
    // A test keeps its pen whatever the quantity: its place among the tests.
    int place = -1;
    for (const Test &test : tests) {
        ++place;
        AlignedCurve::Exclusion why = AlignedCurve::NoPoints;
        const QVector<QPointF> points =
            test.record ? AlignedCurve::points(*test.record, q, &why) : QVector<QPointF>();
        if (why == AlignedCurve::NoMass)
            noMass << test.label;
        else if (why == AlignedCurve::TwoChannels)
            twoChannels << test.label;
        else if (why != AlignedCurve::Included)
            noPoints << test.label;
        if (why != AlignedCurve::Included)
            continue;
        auto *curve = new QwtPlotCurve(test.label);
        curve->setPen(pen(place));
        curve->setRenderHint(QwtPlotItem::RenderAntialiased);
        // The legend shows the line, style included, not only its colour.
        curve->setLegendAttribute(QwtPlotCurve::LegendShowLine);
        curve->setLegendIconSize(QSize(32, 10));
        curve->setSamples(points);
        curve->attach(plot());
    }
    plot()->setAxisTitle(QwtPlot::yLeft, tabText(AxisTitles[q]));

    QStringList lines;
    if (tests.isEmpty())
        lines << tr("Tick tests in the Compare column to see their curves here.");
    const QString names = QStringLiteral("; ");
    if (!twoChannels.isEmpty())
        lines << tr("Left out, two channels only (no cement temperature or resistance): %1")
                     .arg(twoChannels.join(names));
    if (!noPoints.isEmpty())
        lines << tr("Left out, no points: %1").arg(noPoints.join(names));
    if (!noMass.isEmpty())
        lines << tr("Left out, cement mass 0 (no reduced volume): %1").arg(noMass.join(names));
    setNote(lines.join(QLatin1Char('\n')));
    rescale();
}

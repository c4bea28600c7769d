#include "charts/cachedtextengine.h"
#include "charts/plotaxes.h"
#include "charts/plotpickerr.h"
#include "charts/plotpickerrt.h"
#include "charts/plotterscaledraw.h"
#include "charts/timescaleengine.h"
#include "testrecords.h"

#include <QtTest>
#include <qwt_plot.h>

using namespace testrecords;

namespace {
// Opens the protected tracker text of a picker class.
template <class Picker> class Tracker : public Picker {
public:
    explicit Tracker(QWidget *canvas, quint32 period)
        : Picker(QwtPlot::xBottom, QwtPlot::yLeft, QwtPicker::VLineRubberBand, QwtPicker::AlwaysOn,
                 canvas) {
        this->setPeriod(period);
    }
    QString at(double x, double y) const { return this->trackerTextF(QPointF(x, y)).text(); }
};

QStringList majorLabels(quint32 period, double from, double to) {
    const TimeScaleEngine engine(period);
    const PlotterScaleDraw draw(period);
    QStringList labels;
    for (double tick : engine.divideScale(from, to, 8, 5).ticks(QwtScaleDiv::MajorTick))
        labels << draw.label(tick).text();
    return labels;
}
} // namespace

class TestTimeScale : public QObject {
    Q_OBJECT
private slots:
    void labelsAndTrackerTexts();
    void roundSteps();
    void cachedTextMeasuresAsThePlainEngine();
};

// Axis labels wrap at a day; a record's period above 255 s counts, none stays at midnight.
// Trackers: two decimals, ohms for the axis' kilo-ohms; durations count from the start.
void TestTimeScale::labelsAndTrackerTexts() {
    QStringList labels;
    for (const auto &[period, value] :
         {std::pair<quint32, double>{60, 90}, {60, -1}, {300, 12}, {0, 500}}) {
        HeaderFields s;
        s.period = period;
        const ProcessP record(header(s), samples(1), 1);
        labels << PlotterScaleDraw(&record).label(value).text();
    }
    QCOMPARE(labels.join(' '), "01:30 23:59 01:00 00:00");
    QCOMPARE(PlotterScaleDraw(1, true).label(-600.0).text(), "-00:10");

    QwtPlot plot;
    QCOMPARE(Tracker<PlotPicker>(plot.canvas(), 0).at(1234.0, 5.0), "5.00\n00:00:00");
    QCOMPARE(Tracker<PlotPicker>(plot.canvas(), 20).at(30.6, 1.234), "1.23\n00:10:12");
    QCOMPARE(Tracker<PlotPickerR>(plot.canvas(), 60).at(90.0, 1.5), "1500.0 \u03a9\n01:30:00");
    QCOMPARE(Tracker<PlotPickerRT>(plot.canvas(), 60).at(1500.0, 0.01234), "12.3 \u03a9\n01:00:00");
    Tracker<PlotPicker> picker(plot.canvas(), 1);
    picker.setDurations(true);
    QCOMPARE(picker.at(-3661.0, 1.0), "1.00\n-01:01:01");
}

// At most nine round steps, as many on an inverted axis; every period's ticks read as whole
// steps of time, not a minute short; a floating scale (the comparison's) ends at the data.
// After a zoom the steps stay round, and the value axes keep the point under a comma locale.
void TestTimeScale::roundSteps() {
    const std::tuple<quint32, double, double, QString> cases[] = {
        {60, 0, 1440, "00:00 03:00 06:00 09:00 12:00 15:00 18:00 21:00 00:00"},
        {60, 7, 43, "00:10 00:15 00:20 00:25 00:30 00:35 00:40"},
        {1, 1800, 18000, "00:30 01:00 01:30 02:00 02:30 03:00 03:30 04:00 04:30 05:00"},
        {120, 0, 2160, "00:00 12:00 00:00 12:00 00:00 12:00 00:00"}};
    for (const auto &[period, from, to, labels] : cases) {
        QCOMPARE(majorLabels(period, from, to).join(' '), labels);
        QCOMPARE(majorLabels(period, to, from).size(), labels.count(' ') + 1);
    }

    // Seconds: a day, three hours, zoomed in.
    for (const auto &[from, to] : {std::pair<double, double>{0, 86400}, {0, 10800}, {1234, 3456}}) {
        for (quint32 period = 1; period <= 600; ++period) {
            const QList<double> ticks = TimeScaleEngine(period)
                                            .divideScale(from / period, to / period, 8, 5)
                                            .ticks(QwtScaleDiv::MajorTick);
            QVERIFY(ticks.size() >= 2);
            const int step = qRound((ticks[1] - ticks[0]) * period / 60) * 60000; // ms
            for (const QString &label : majorLabels(period, from / period, to / period))
                QVERIFY2(QTime::fromString(label, "hh:mm").msecsSinceStartOfDay() % step == 0,
                         qPrintable(QStringLiteral("period %1: %2").arg(period).arg(label)));
        }
    }

    TimeScaleEngine engine(1);
    double from = -1800, to = 72 * 3600, step = 0;
    engine.autoScale(8, from, to, step);
    QCOMPARE(from, -12 * 3600.0);
    engine.setAttribute(QwtScaleEngine::Floating, true);
    from = -1800, to = 72 * 3600 - 60;
    engine.autoScale(8, from, to, step);
    QCOMPARE(QList<double>({from, to, step}), QList<double>({-1800, 72 * 3600 - 60, 12 * 3600}));

    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    QwtPlot plot;
    PlotAxes::dress(&plot, 60);
    plot.setAxisScale(QwtPlot::xBottom, 13, 101); // what a zoom sets
    plot.replot();
    QCOMPARE(plot.axisScaleDiv(QwtPlot::xBottom).ticks(QwtScaleDiv::MajorTick),
             QList<double>({20, 30, 40, 50, 60, 70, 80, 90, 100})); // minutes
    QCOMPARE(plot.axisScaleDraw(QwtPlot::yLeft)->label(-0.5).text(), "-0.5");
    QCOMPARE(plot.axisScaleDraw(QwtPlot::yRight)->label(2.5).text(), "2.5");
    QLocale::setDefault(QLocale::c());
}

// A 300 dpi font compares equal to the screen's yet is three times as large: cached apart.
void TestTimeScale::cachedTextMeasuresAsThePlainEngine() {
    const CachedTextEngine cached;
    const QwtPlainTextEngine plain;
    QImage page(10, 10, QImage::Format_RGB32);
    page.setDotsPerMeterY(11811);
    const QFont screen(QStringLiteral("Helvetica"), 10), printed(screen, &page);
    for (int round = 0; round < 2; ++round) // the second round comes from the cache
        for (const QFont &font : {screen, printed})
            for (const QString &text : {QStringLiteral("05:33"), QStringLiteral("Volume, ml")}) {
                QCOMPARE(cached.textSize(font, Qt::AlignCenter, text),
                         plain.textSize(font, Qt::AlignCenter, text));
                double l1, r1, t1, b1, l2, r2, t2, b2;
                cached.textMargins(font, text, l1, r1, t1, b1);
                plain.textMargins(font, text, l2, r2, t2, b2);
                QCOMPARE(QList<double>({l1, r1, t1, b1}), QList<double>({l2, r2, t2, b2}));
            }
    QVERIFY(cached.textSize(printed, 0, "05:33").width() >
            2 * cached.textSize(screen, 0, "05:33").width());
}

QTEST_MAIN(TestTimeScale)
#include "tst_timescale.moc"

#include "charts/plotpicker.h"
#include "charts/plotpickerr.h"
#include "charts/plotpickerrt.h"
#include "charts/plotterscaledraw.h"
#include "testrecords.h"

#include <QtTest>
#include <qwt_plot.h>
#include <qwt_plot_canvas.h>

using namespace testrecords;

namespace {
// Opens the protected tracker text of a picker class.
template <class Picker> class Tracker : public Picker {
public:
    explicit Tracker(QWidget *canvas)
        : Picker(QwtPlot::xBottom, QwtPlot::yLeft, QwtPicker::VLineRubberBand, QwtPicker::AlwaysOn,
                 canvas) {}
    QString at(double x, double y) const { return this->trackerTextF(QPointF(x, y)).text(); }
};

QString axisLabel(quint32 period, double value) {
    HeaderFields s;
    s.period = period;
    ProcessP record(header(s), samples(1), 1);
    PlotterScaleDraw draw(&record);
    return draw.label(value).text();
}
} // namespace

class TestTimeScale : public QObject {
    Q_OBJECT
private slots:
    void axisLabels_data();
    void axisLabels();
    void trackerTexts();
    void durations();
};

void TestTimeScale::axisLabels_data() {
    QTest::addColumn<quint32>("period");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("90 points of a minute") << 60u << 90.0 << "01:30";
    QTest::newRow("25 hours wrap") << 60u << 1500.0 << "01:00";
    QTest::newRow("before the start") << 60u << -1.0 << "23:59";
    // A period above 255 s must not lose its high bits: 12 x 300 s = 1 h.
    QTest::newRow("period 300") << 300u << 12.0 << "01:00";
    QTest::newRow("period 1000") << 1000u << 90.0 << "01:00"; // 25 h
    QTest::newRow("no period") << 0u << 500.0 << "00:00";
}

void TestTimeScale::axisLabels() {
    QFETCH(quint32, period);
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(axisLabel(period, value), text);
}

void TestTimeScale::trackerTexts() {
    QwtPlot plot;
    Tracker<PlotPicker> plain(plot.canvas());
    // Never given a period: the time stays at midnight.
    QCOMPARE(plain.at(1234.0, 5.0), QStringLiteral("5.00\n00:00:00"));
    plain.setPeriod(20);
    // 30.6 x 20 = 612 s; the value with two decimals.
    QCOMPARE(plain.at(30.6, 1.234), QStringLiteral("1.23\n00:10:12"));
    QCOMPARE(plain.at(-3.0, 0.5), QStringLiteral("0.50\n23:59:00"));     // -60 s
    QCOMPARE(plain.at(4320.0, 20.0), QStringLiteral("20.00\n00:00:00")); // 86400 s

    // Kilo-ohms on the axis, ohms in the tracker, with the ohm sign.
    Tracker<PlotPickerR> ohm(plot.canvas());
    ohm.setPeriod(60);
    QCOMPARE(ohm.at(90.0, 1.5), QString::fromUtf8("1500.0 \u03a9\n01:30:00"));
    Tracker<PlotPickerRT> ohmT(plot.canvas());
    ohmT.setPeriod(60);
    QCOMPARE(ohmT.at(1500.0, 0.01234), QString::fromUtf8("12.3 \u03a9\n01:00:00"));
}

// The comparison's axis in seconds from the start of measurement: neither
// a wrap at 24 hours nor a count back from midnight.
void TestTimeScale::durations() {
    PlotterScaleDraw draw(1, true);
    QCOMPARE(draw.label(72 * 3600.0 + 5 * 60).text(), QStringLiteral("72:05"));
    QCOMPARE(draw.label(-600.0).text(), QStringLiteral("-00:10"));
    QCOMPARE(draw.label(59.9).text(), QStringLiteral("00:00"));
    QwtPlot plot;
    Tracker<PlotPicker> picker(plot.canvas());
    picker.setPeriod(1);
    picker.setDurations(true);
    QCOMPARE(picker.at(-3661.0, 1.0), QStringLiteral("1.00\n-01:01:01"));
    QCOMPARE(picker.at(25 * 3600.0, 1.0), QStringLiteral("1.00\n25:00:00"));
}

QTEST_MAIN(TestTimeScale)
#include "tst_timescale.moc"

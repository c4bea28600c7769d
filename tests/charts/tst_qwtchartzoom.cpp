#include "charts/qwtchartzoom.h"

#include <QtTest>
#include <iostream>
#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_scale_div.h>
#include <qwt_scale_map.h>
#include <sstream>

namespace {

struct Range {
    double lo, hi;
};

// A plot inside a host widget with the bottom axis fixed at 0..100, the left
// at 0..50 and an automatic right axis carrying a curve of 0..10.
class Rig {
public:
    Rig() : plot(new QwtPlot(&host)) {
        host.resize(700, 520);
        plot->setGeometry(10, 20, 640, 480);
        plot->setAxisScale(QwtPlot::xBottom, 0, 100);
        plot->setAxisScale(QwtPlot::yLeft, 0, 50);
        plot->enableAxis(QwtPlot::yRight);
        auto *curve = new QwtPlotCurve;
        curve->setYAxis(QwtPlot::yRight);
        curve->setSamples(QVector<QPointF>{{0, 0}, {100, 10}});
        curve->attach(plot);
        host.show();
        plot->replot();
        plot->updateLayout();
        zoom = new QwtChartZoom(plot);
    }
    ~Rig() { delete zoom; }

    QWidget *canvas() const { return plot->canvas(); }
    Range x() const { return range(QwtPlot::xBottom); }
    Range y() const { return range(QwtPlot::yLeft); }
    Range right() const { return range(QwtPlot::yRight); }
    Range range(int axis) const {
        const QwtScaleDiv &d = plot->axisScaleDiv(axis);
        return {d.lowerBound(), d.upperBound()};
    }

    // Mouse events go to the canvas, which lets them pass up to the plot,
    // as the mouse itself would deliver them.
    void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton
                                      : type == QEvent::MouseMove        ? buttons
                                                                         : Qt::MouseButtons(button);
        buttons = held;
        QMouseEvent e(type, at, canvas()->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(canvas(), &e);
    }
    void press(QPoint at, Qt::MouseButton b = Qt::LeftButton) {
        mouse(QEvent::MouseButtonPress, at, b);
    }
    void move(QPoint at) { mouse(QEvent::MouseMove, at, Qt::NoButton); }
    void release(QPoint at, Qt::MouseButton b = Qt::LeftButton) {
        mouse(QEvent::MouseButtonRelease, at, b);
    }
    void drag(QPoint from, QPoint to, Qt::MouseButton b = Qt::LeftButton) {
        press(from, b);
        move(to);
        release(to, b);
    }
    // A synthesized wheel event is not passed on to the parent, so it goes
    // to the plot directly, where the canvas would let a real one arrive.
    void wheel(QPoint angle) {
        const QPoint at = canvas()->pos() + QPoint(100, 100);
        QWheelEvent e(at, plot->mapToGlobal(at), QPoint(), angle, Qt::NoButton, Qt::ControlModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(plot, &e);
    }

    QWidget host;
    QwtPlot *plot;
    QwtChartZoom *zoom = nullptr;
    Qt::MouseButtons buttons;
};

// Counts the events the plot itself gets to see.
class Counter : public QObject {
public:
    bool eventFilter(QObject *, QEvent *e) override {
        seen << e->type();
        return false;
    }
    QList<QEvent::Type> seen;
};

} // namespace

#define QCOMPARE_RANGE(actual, lo_, hi_)                                                           \
    do {                                                                                           \
        const Range r_ = (actual);                                                                 \
        QCOMPARE(r_.lo, double(lo_));                                                              \
        QCOMPARE(r_.hi, double(hi_));                                                              \
    } while (0)

class TestQwtChartZoom : public QObject {
    Q_OBJECT
private slots:
    void smallRectangleChangesNothing();
    void rectangleZoomsIntoItsArea();
    void backwardsDragRestoresFirstScales();
    void pressOutsideCanvasSavesHomeOnly();
    void panFollowsTheMouseFromThePress();
    void ctrlWheelZoomsAroundTheMiddle();
    void eventsAreNeverFiltered();
    void destructorLeavesThePlotAlone();
};

void TestQwtChartZoom::smallRectangleChangesNothing() {
    Rig r;
    QCOMPARE(r.plot->focusPolicy(), Qt::StrongFocus);
    r.canvas()->setCursor(Qt::PointingHandCursor); // to see it restored
    // 7 pixels wide (and tall enough), then 7 pixels tall.
    r.press({100, 100});
    QCOMPARE(r.zoom->mode(), int(QwtChartZoom::RectZoom));
    QCOMPARE(r.canvas()->cursor().shape(), Qt::CrossCursor);
    r.move({107, 200});
    QVERIFY(r.zoom->band());
    QVERIFY(r.zoom->band()->isVisible());
    QCOMPARE(r.zoom->band()->parentWidget(), &r.host);
    r.release({107, 200});
    QVERIFY(!r.zoom->band());
    QCOMPARE(r.zoom->mode(), int(QwtChartZoom::Idle));
    QCOMPARE(r.canvas()->cursor().shape(), Qt::PointingHandCursor);
    r.drag({100, 100}, {300, 107});
    QCOMPARE_RANGE(r.x(), 0, 100);
    QCOMPARE_RANGE(r.y(), 0, 50);
    // The other button's release does not end a rectangle zoom.
    r.press({100, 100});
    r.release({300, 300}, Qt::RightButton);
    QCOMPARE(r.zoom->mode(), int(QwtChartZoom::RectZoom));
    r.release({100, 100});
    QCOMPARE(r.zoom->mode(), int(QwtChartZoom::Idle));
}

void TestQwtChartZoom::rectangleZoomsIntoItsArea() {
    Rig r;
    const QwtScaleMap xm = r.plot->canvasMap(QwtPlot::xBottom);
    const QwtScaleMap ym = r.plot->canvasMap(QwtPlot::yLeft);
    const Range right = r.right();
    r.drag({100, 50}, {108, 58}); // 8 x 8 pixels is enough
    QCOMPARE_RANGE(r.x(), xm.invTransform(100), xm.invTransform(108));
    // The lower pixel is the lower value.
    QCOMPARE_RANGE(r.y(), ym.invTransform(58), ym.invTransform(50));
    QVERIFY(r.y().lo < r.y().hi);
    QVERIFY(!r.plot->axisAutoScale(QwtPlot::xBottom));
    // The right axis keeps its automatic scale.
    QVERIFY(r.plot->axisAutoScale(QwtPlot::yRight));
    QCOMPARE_RANGE(r.right(), right.lo, right.hi);
}

void TestQwtChartZoom::backwardsDragRestoresFirstScales() {
    Rig r;
    r.drag({100, 100}, {300, 300});
    r.drag({50, 50}, {150, 150});
    r.drag({200, 200}, {220, 180}, Qt::RightButton);
    QVERIFY(r.x().hi < 50);

    // Dragged up and to the left: the band is drawn from the current
    // position, then the release restores the scales of the first press.
    const QPoint canvasAt = r.plot->pos() + r.canvas()->pos();
    r.press({300, 300});
    r.move({250, 240});
    QCOMPARE(r.zoom->band()->geometry(), QRect(canvasAt + QPoint(250, 240), QSize(50, 60)));
    // A one-pixel frame: the inside of the band is masked off.
    QVERIFY(r.zoom->band()->mask().contains(QPoint(0, 30)));
    QVERIFY(!r.zoom->band()->mask().contains(QPoint(25, 30)));
    r.release({250, 240});
    QCOMPARE_RANGE(r.x(), 0, 100);
    QCOMPARE_RANGE(r.y(), 0, 50);

    // Back only in x, or only in y, restores as well.
    r.drag({100, 100}, {300, 300});
    r.drag({300, 100}, {299, 200});
    QCOMPARE_RANGE(r.x(), 0, 100);
    r.drag({100, 100}, {300, 300});
    r.drag({100, 300}, {200, 299});
    QCOMPARE_RANGE(r.y(), 0, 50);
}

void TestQwtChartZoom::pressOutsideCanvasSavesHomeOnly() {
    Rig r;
    // On the left axis: neither a zoom nor a pan starts...
    r.press({-5, 100});
    QCOMPARE(r.zoom->mode(), int(QwtChartZoom::Idle));
    QVERIFY(!r.zoom->band());
    r.release({-5, 100});
    r.press({100, r.canvas()->height()}, Qt::RightButton);
    QCOMPARE(r.zoom->mode(), int(QwtChartZoom::Idle));
    // ...but the scales of that moment are home.
    r.plot->setAxisScale(QwtPlot::xBottom, 10, 20);
    r.plot->setAxisScale(QwtPlot::yLeft, 1, 2);
    r.plot->replot();
    r.drag({300, 300}, {200, 200});
    QCOMPARE_RANGE(r.x(), 0, 100);
    QCOMPARE_RANGE(r.y(), 0, 50);

    // clearHome makes the next interaction the home.
    r.plot->setAxisScale(QwtPlot::xBottom, 10, 20);
    r.plot->replot();
    r.zoom->clearHome();
    r.drag({300, 300}, {200, 200});
    QCOMPARE_RANGE(r.x(), 10, 20);
}

void TestQwtChartZoom::panFollowsTheMouseFromThePress() {
    Rig r;
    const QwtScaleMap xm = r.plot->canvasMap(QwtPlot::xBottom);
    const QwtScaleMap ym = r.plot->canvasMap(QwtPlot::yLeft);
    const double xpp = 100.0 / xm.pDist(); // axis units per pixel
    const double ypp = -50.0 / ym.pDist(); // the y axis runs upwards
    const Range right = r.right();
    r.canvas()->setCursor(Qt::PointingHandCursor); // to see it restored
    r.press({200, 150}, Qt::RightButton);
    QCOMPARE(r.zoom->mode(), int(QwtChartZoom::Pan));
    QCOMPARE(r.canvas()->cursor().shape(), Qt::OpenHandCursor);
    // Ten pixels to the right: the view moves left by ten pixels' worth.
    r.move({210, 150});
    QCOMPARE(r.canvas()->cursor().shape(), Qt::ClosedHandCursor);
    QCOMPARE_RANGE(r.x(), -10 * xpp, 100 - 10 * xpp);
    QCOMPARE_RANGE(r.y(), 0, 50);
    // Measured from the press: twenty pixels right and ten up.
    r.move({220, 140});
    QCOMPARE_RANGE(r.x(), -20 * xpp, 100 - 20 * xpp);
    QCOMPARE_RANGE(r.y(), 10 * ypp, 50 + 10 * ypp);
    QVERIFY(r.y().lo < 0); // dragged up, the view shows lower values
    QVERIFY(r.plot->axisAutoScale(QwtPlot::yRight));
    QCOMPARE_RANGE(r.right(), right.lo, right.hi);
    // The left button's release does not end a pan; the right one does.
    r.release({220, 140}, Qt::LeftButton);
    QCOMPARE(r.zoom->mode(), int(QwtChartZoom::Pan));
    r.release({220, 140}, Qt::RightButton);
    QCOMPARE(r.zoom->mode(), int(QwtChartZoom::Idle));
    QCOMPARE(r.canvas()->cursor().shape(), Qt::PointingHandCursor);
    // Moving without a mode changes nothing.
    r.move({0, 0});
    QCOMPARE_RANGE(r.x(), -20 * xpp, 100 - 20 * xpp);
}

void TestQwtChartZoom::ctrlWheelZoomsAroundTheMiddle() {
    Rig r;
    const Range right = r.right();
    r.wheel({0, 120}); // no Ctrl: nothing
    QCOMPARE_RANGE(r.x(), 0, 100);
    QTest::keyPress(r.plot, Qt::Key_Control);
    QCOMPARE(r.zoom->mode(), int(QwtChartZoom::WheelZoom));
    // Mouse buttons start nothing while Ctrl is held.
    r.press({100, 100});
    QVERIFY(!r.zoom->band());
    r.release({300, 300});
    QCOMPARE(r.zoom->mode(), int(QwtChartZoom::WheelZoom));

    // One notch forward divides both half ranges by 1.2: x 50 +- 50 / 1.2,
    // y 25 +- 25 / 1.2.
    r.wheel({0, 120});
    QCOMPARE_RANGE(r.x(), 50 - 125.0 / 3, 50 + 125.0 / 3);
    QCOMPARE_RANGE(r.y(), 25 - 125.0 / 6, 25 + 125.0 / 6);
    // One notch back multiplies them by 1.2 again.
    r.wheel({0, -120});
    QCOMPARE_RANGE(r.x(), 0, 100);
    QCOMPARE_RANGE(r.y(), 0, 50);
    // Two notches at once: k = 2.4. Half range 50 / 2.4 = 20.8333...
    r.wheel({0, 240});
    QCOMPARE_RANGE(r.x(), 50 - 125.0 / 6, 50 + 125.0 / 6);
    // A small forward step below 100 widens: k = 60 x 1.2 / 120 = 0.6.
    r.wheel({0, 60});
    QCOMPARE_RANGE(r.x(), 50 - 125.0 / 3.6, 50 + 125.0 / 3.6);
    r.wheel({120, 0}); // sideways: nothing
    QCOMPARE_RANGE(r.x(), 50 - 125.0 / 3.6, 50 + 125.0 / 3.6);
    QVERIFY(r.plot->axisAutoScale(QwtPlot::yRight));
    QCOMPARE_RANGE(r.right(), right.lo, right.hi);

    // Other keys leave the mode; releasing Ctrl ends it.
    QTest::keyPress(r.plot, Qt::Key_Shift);
    QCOMPARE(r.zoom->mode(), int(QwtChartZoom::WheelZoom));
    QTest::keyRelease(r.plot, Qt::Key_Control);
    QCOMPARE(r.zoom->mode(), int(QwtChartZoom::Idle));
    r.wheel({0, 120});
    QCOMPARE_RANGE(r.x(), 50 - 125.0 / 3.6, 50 + 125.0 / 3.6);

    // Ctrl during a pan is ignored.
    r.press({100, 100}, Qt::RightButton);
    QTest::keyPress(r.plot, Qt::Key_Control);
    QCOMPARE(r.zoom->mode(), int(QwtChartZoom::Pan));
    r.release({100, 100}, Qt::RightButton);
}

void TestQwtChartZoom::eventsAreNeverFiltered() {
    QWidget host;
    auto *plot = new QwtPlot(&host);
    host.resize(500, 400);
    plot->resize(500, 400);
    host.show();
    plot->updateLayout();
    // Filters run newest first: the zoom sees each event before the counter.
    Counter counter;
    plot->installEventFilter(&counter);
    QwtChartZoom zoom(plot);
    QWidget *canvas = plot->canvas();
    const QPoint at(50, 50);
    const QPoint g = canvas->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, g, Qt::LeftButton, Qt::LeftButton, {});
    QMouseEvent move(QEvent::MouseMove, at + QPoint(20, 20), g, Qt::NoButton, Qt::LeftButton, {});
    QMouseEvent release(QEvent::MouseButtonRelease, at + QPoint(20, 20), g, Qt::LeftButton,
                        Qt::NoButton, {});
    QKeyEvent ctrl(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier);
    QWheelEvent wheel(at + canvas->pos(), g, QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QKeyEvent ctrlUp(QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier);
    QApplication::sendEvent(canvas, &press);
    QApplication::sendEvent(canvas, &move);
    QApplication::sendEvent(canvas, &release);
    QApplication::sendEvent(plot, &ctrl);
    QApplication::sendEvent(plot, &wheel);
    QApplication::sendEvent(plot, &ctrlUp);
    for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseMove, QEvent::MouseButtonRelease,
                           QEvent::KeyPress, QEvent::Wheel, QEvent::KeyRelease})
        QVERIFY2(counter.seen.contains(t), qPrintable(QString::number(int(t))));
    QCOMPARE(zoom.mode(), int(QwtChartZoom::Idle));

    // Events for other objects pass untouched and change nothing.
    QWidget other;
    QVERIFY(!zoom.eventFilter(&other, &ctrl));
    QCOMPARE(zoom.mode(), int(QwtChartZoom::Idle));
}

void TestQwtChartZoom::destructorLeavesThePlotAlone() {
    Rig r;
    r.drag({100, 100}, {300, 300});
    const Range x = r.x();
    r.press({100, 100});
    r.move({200, 200}); // a band is up when the controller goes
    QPointer<QWidget> band = r.zoom->band();
    std::ostringstream out;
    std::streambuf *old = std::cout.rdbuf(out.rdbuf());
    delete r.zoom;
    r.zoom = nullptr;
    std::cout.rdbuf(old);
    QCOMPARE(QString::fromStdString(out.str()), QStringLiteral("QwtChartZoom::~QwtChartZoom()\n"));
    QVERIFY(!band);
    QCOMPARE_RANGE(r.x(), x.lo, x.hi);
    // The plot works on without its controller.
    r.release({200, 200});
    QCOMPARE_RANGE(r.x(), x.lo, x.hi);
}

QTEST_MAIN(TestQwtChartZoom)
#include "tst_qwtchartzoom.moc"

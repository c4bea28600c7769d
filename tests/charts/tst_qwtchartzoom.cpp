#include "charts/qwtchartzoom.h"

#include <QtTest>
#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_scale_div.h>
#include <qwt_scale_map.h>

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
    void key(QEvent::Type type, Qt::Key key) {
        QKeyEvent e(type, key, type == QEvent::KeyPress ? Qt::ControlModifier : Qt::NoModifier);
        QApplication::sendEvent(plot, &e);
    }
    void wheel(QPoint angle) {
        const QPointF at(200, 150);
        QWheelEvent e(at, canvas()->mapToGlobal(at.toPoint()), QPoint(), angle, Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(plot, &e);
    }
    void drag(QPoint from, QPoint to, Qt::MouseButton b = Qt::LeftButton) {
        mouse(QEvent::MouseButtonPress, from, b);
        mouse(QEvent::MouseMove, to, Qt::NoButton);
        mouse(QEvent::MouseButtonRelease, to, b);
    }

    QWidget host;
    QwtPlot *plot;
    QwtChartZoom *zoom = nullptr;
    Qt::MouseButtons buttons;
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
    void rectangleZoom();
    void backwardsDragRestoresFirstScales();
    void panFollowsTheMouseFromThePress();
    void wheelZoom_data();
    void wheelZoom();
};

void TestQwtChartZoom::rectangleZoom() {
    Rig r;
    const QwtScaleMap xm = r.plot->canvasMap(QwtPlot::xBottom);
    const QwtScaleMap ym = r.plot->canvasMap(QwtPlot::yLeft);
    const Range right = r.right();
    // 7 pixels wide or 7 pixels tall: nothing changes.
    r.drag({100, 100}, {107, 200});
    r.drag({100, 100}, {300, 107});
    QCOMPARE_RANGE(r.x(), 0, 100);
    QCOMPARE_RANGE(r.y(), 0, 50);
    r.drag({100, 50}, {108, 58}); // 8 x 8 pixels is enough
    QCOMPARE_RANGE(r.x(), xm.invTransform(100), xm.invTransform(108));
    QCOMPARE_RANGE(r.y(), ym.invTransform(58), ym.invTransform(50)); // lower pixel, lower value
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
    r.drag({300, 300}, {250, 240}); // up and to the left
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

void TestQwtChartZoom::panFollowsTheMouseFromThePress() {
    Rig r;
    const double xpp = 100.0 / r.plot->canvasMap(QwtPlot::xBottom).pDist(); // units per pixel
    const double ypp = -50.0 / r.plot->canvasMap(QwtPlot::yLeft).pDist();   // y runs upwards
    const Range right = r.right();
    r.mouse(QEvent::MouseButtonPress, {200, 150}, Qt::RightButton);
    // Ten pixels to the right: the view moves left by ten pixels' worth.
    r.mouse(QEvent::MouseMove, {210, 150}, Qt::NoButton);
    QCOMPARE_RANGE(r.x(), -10 * xpp, 100 - 10 * xpp);
    QCOMPARE_RANGE(r.y(), 0, 50);
    // Measured from the press: twenty pixels right and ten up.
    r.mouse(QEvent::MouseMove, {220, 140}, Qt::NoButton);
    QCOMPARE_RANGE(r.x(), -20 * xpp, 100 - 20 * xpp);
    QCOMPARE_RANGE(r.y(), 10 * ypp, 50 + 10 * ypp);
    QVERIFY(r.plot->axisAutoScale(QwtPlot::yRight));
    QCOMPARE_RANGE(r.right(), right.lo, right.hi);
    r.mouse(QEvent::MouseButtonRelease, {220, 140}, Qt::RightButton);
    QCOMPARE(r.zoom->mode(), int(QwtChartZoom::Idle));
}

// Steps: a vertical wheel delta each, 0 for a release and a new press of Ctrl.
void TestQwtChartZoom::wheelZoom_data() {
    QTest::addColumn<bool>("ctrl");
    QTest::addColumn<QList<int>>("steps");
    QTest::addColumn<double>("halfRange"); // of the bottom axis, from 50
    QTest::newRow("no Ctrl") << false << QList<int>{120} << 50.0;
    QTest::newRow("one notch forward") << true << QList<int>{120} << 50 / 1.2;
    QTest::newRow("one notch back") << true << QList<int>{-120} << 50 * 1.2;
    QTest::newRow("a double notch") << true << QList<int>{240} << 50 / 2.4;
    QTest::newRow("touchpad parts make a notch")
        << true << QVector<int>(10, 12).toList() << 50 / 1.2;
    QTest::newRow("parts short of a notch") << true << QVector<int>(14, 8).toList() << 50.0;
    QTest::newRow("parts back") << true << QVector<int>(15, -8).toList() << 50 * 1.2;
    QTest::newRow("two notches of parts") << true << QVector<int>(20, 12).toList() << 50 / 1.44;
    QTest::newRow("releasing Ctrl drops the parts") << true << QList<int>{60, 0, 60} << 50.0;
}

void TestQwtChartZoom::wheelZoom() {
    QFETCH(bool, ctrl);
    QFETCH(QList<int>, steps);
    QFETCH(double, halfRange);
    Rig r;
    if (ctrl)
        r.key(QEvent::KeyPress, Qt::Key_Control);
    for (int delta : steps) {
        if (delta == 0) {
            r.key(QEvent::KeyRelease, Qt::Key_Control);
            r.key(QEvent::KeyPress, Qt::Key_Control);
        } else {
            r.wheel({0, delta});
        }
    }
    r.wheel({120, 10}); // sideways: never a zoom
    QCOMPARE(r.x().hi - r.x().lo, 2 * halfRange);
    QCOMPARE((r.x().hi + r.x().lo) / 2, 50.0);
}

QTEST_MAIN(TestQwtChartZoom)
#include "tst_qwtchartzoom.moc"

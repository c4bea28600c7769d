#include "charts/qwtchartzoom.h"

#include <QtTest>
#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_scale_div.h>

namespace {
// Bottom axis 0..100, left 0..50, the right one automatic with a curve on it.
struct Rig {
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
        zoom.reset(new QwtChartZoom(plot));
    }
    // Lower and upper bounds, as far as doubles from different sums agree.
    QList<float> range(int axis) const {
        const QwtScaleDiv &d = plot->axisScaleDiv(axis);
        return {float(d.lowerBound()), float(d.upperBound())};
    }
    QList<float> xy() const { return range(QwtPlot::xBottom) + range(QwtPlot::yLeft); }
    bool rightUntouched() const {
        return plot->axisAutoScale(QwtPlot::yRight) &&
               range(QwtPlot::yRight) == QList<float>{0, 10};
    }
    void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::NoButton) {
        if (type != QEvent::MouseMove)
            buttons = type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton;
        QMouseEvent e(type, at, plot->canvas()->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(plot->canvas(), &e);
    }
    void drag(QPoint from, QPoint to, Qt::MouseButton b = Qt::LeftButton) {
        mouse(QEvent::MouseButtonPress, from, b);
        mouse(QEvent::MouseMove, to);
        mouse(QEvent::MouseButtonRelease, to, b);
    }
    void toggleCtrl() {
        QTest::keyEvent((ctrl = !ctrl) ? QTest::Press : QTest::Release, plot, Qt::Key_Control);
    }
    void wheel(QPoint angle) { // the zoom keeps the middle where it is
        QWheelEvent e(QPointF(), QPointF(), QPoint(), angle, Qt::NoButton, Qt::ControlModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(plot, &e);
    }
    QWidget host;
    QwtPlot *plot;
    QScopedPointer<QwtChartZoom> zoom;
    Qt::MouseButtons buttons;
    bool ctrl = false;
};
} // namespace

class TestQwtChartZoom : public QObject {
    Q_OBJECT
private slots:
    void rectangleZoomAndBackwardsDrag();
    void panFollowsTheMouseFromThePress();
    void wheelZoom_data();
    void wheelZoom();
};

void TestQwtChartZoom::rectangleZoomAndBackwardsDrag() {
    Rig r;
    const QwtScaleMap xm = r.plot->canvasMap(QwtPlot::xBottom);
    const QwtScaleMap ym = r.plot->canvasMap(QwtPlot::yLeft);
    const QList<float> whole{0, 100, 0, 50};
    r.drag({100, 100}, {107, 200}); // 7 pixels wide or tall: nothing changes
    r.drag({100, 100}, {300, 107});
    QCOMPARE(r.xy(), whole);
    r.drag({100, 50}, {108, 58}); // 8 x 8 is enough; the lower pixel is the lower value
    QCOMPARE(r.xy(), QList<float>() << xm.invTransform(100) << xm.invTransform(108)
                                    << ym.invTransform(58) << ym.invTransform(50));
    QVERIFY(r.rightUntouched());

    r.drag({50, 50}, {150, 150});
    r.drag({200, 200}, {220, 180}, Qt::RightButton);
    r.drag({300, 300}, {250, 240}); // up and to the left: the first scales
    QCOMPARE(r.xy(), whole);
    r.drag({100, 100}, {300, 300});
    r.drag({300, 100}, {299, 200}); // back only in x restores as well
    QCOMPARE(r.xy(), whole);
    r.drag({100, 100}, {300, 300});
    r.drag({100, 300}, {200, 299}); // and only in y
    QCOMPARE(r.xy(), whole);
}

void TestQwtChartZoom::panFollowsTheMouseFromThePress() {
    Rig r;
    const double xpp = 100.0 / r.plot->canvasMap(QwtPlot::xBottom).pDist(); // units per pixel
    const double ypp = -50.0 / r.plot->canvasMap(QwtPlot::yLeft).pDist();   // y runs upwards
    r.mouse(QEvent::MouseButtonPress, {200, 150}, Qt::RightButton);
    r.mouse(QEvent::MouseMove, {210, 150});
    QCOMPARE(r.xy(), QList<float>() << -10 * xpp << 100 - 10 * xpp << 0 << 50);
    r.mouse(QEvent::MouseMove, {220, 140}); // measured from the press, not the last move
    QCOMPARE(r.xy(), QList<float>() << -20 * xpp << 100 - 20 * xpp << 10 * ypp << 50 + 10 * ypp);
    QVERIFY(r.rightUntouched());
    r.mouse(QEvent::MouseButtonRelease, {220, 140}, Qt::RightButton);
    QCOMPARE(r.zoom->mode(), int(QwtChartZoom::Idle));
}

// Vertical wheel deltas, 0 for Ctrl pressed or released.
void TestQwtChartZoom::wheelZoom_data() {
    QTest::addColumn<QList<int>>("steps");
    QTest::addColumn<double>("halfRange"); // of the bottom axis, from 50
    QTest::newRow("no Ctrl") << QList<int>{120} << 50.0;
    QTest::newRow("one notch forward") << QList<int>{0, 120} << 50 / 1.2;
    QTest::newRow("a double notch") << QList<int>{0, 240} << 50 / 2.4;
    QTest::newRow("parts back") << QList<int>{0} + QVector<int>(15, -8).toList() << 50 * 1.2;
    QTest::newRow("notches in parts") << QList<int>{0} + QVector<int>(20, 12).toList() << 50 / 1.44;
    QTest::newRow("releasing Ctrl drops the parts") << QList<int>{0, 60, 0, 0, 60} << 50.0;
}

void TestQwtChartZoom::wheelZoom() {
    QFETCH(QList<int>, steps);
    QFETCH(double, halfRange);
    Rig r;
    for (int delta : steps)
        delta ? r.wheel({0, delta}) : r.toggleCtrl();
    r.wheel({120, 10}); // sideways: never a zoom
    QCOMPARE(r.xy().mid(0, 2), QList<float>() << 50 - halfRange << 50 + halfRange);
}

QTEST_MAIN(TestQwtChartZoom)
#include "tst_qwtchartzoom.moc"

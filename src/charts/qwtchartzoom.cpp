#include "qwtchartzoom.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRegion>
#include <QWheelEvent>
#include <QWidget>
#include <iostream>
#include <qwt_plot.h>
#include <qwt_scale_map.h>

QwtChartZoom::QwtChartZoom(QwtPlot *plot, QObject *parent) : QObject(parent), plot_(plot) {
    // Key events reach the filter only while the plot has the focus; a click
    // on the canvas gives it.
    plot_->setFocusPolicy(Qt::StrongFocus);
    plot_->installEventFilter(this);
}

QwtChartZoom::~QwtChartZoom() {
    delete band_;
    std::cout << "QwtChartZoom::~QwtChartZoom()" << std::endl;
}

bool QwtChartZoom::eventFilter(QObject *watched, QEvent *event) {
    if (watched != plot_)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        mousePress(static_cast<QMouseEvent *>(event));
        break;
    case QEvent::MouseMove:
        mouseMove(static_cast<QMouseEvent *>(event));
        break;
    case QEvent::MouseButtonRelease:
        mouseRelease(static_cast<QMouseEvent *>(event));
        break;
    case QEvent::KeyPress:
        key(static_cast<QKeyEvent *>(event), true);
        break;
    case QEvent::KeyRelease:
        key(static_cast<QKeyEvent *>(event), false);
        break;
    case QEvent::Wheel:
        wheel(static_cast<QWheelEvent *>(event));
        break;
    default:
        break;
    }
    // Never filtered: the plot and its picker see every event.
    return QObject::eventFilter(watched, event);
}

QPoint QwtChartZoom::toCanvas(const QMouseEvent *event) const {
    const QWidget *canvas = plot_->canvas();
    return event->pos() - QPoint(canvas->x(), canvas->y());
}

void QwtChartZoom::currentScales(double &x1, double &x2, double &y1, double &y2) const {
    const QwtScaleMap x = plot_->canvasMap(QwtPlot::xBottom);
    const QwtScaleMap y = plot_->canvasMap(QwtPlot::yLeft);
    x1 = x.s1();
    x2 = x.s2();
    y1 = y.s1();
    y2 = y.s2();
}

void QwtChartZoom::saveHome() {
    if (homeSaved)
        return;
    currentScales(homeXMin, homeXMax, homeYMin, homeYMax);
    homeSaved = true;
}

void QwtChartZoom::setScales(double x1, double x2, double y1, double y2) {
    plot_->setAxisScale(QwtPlot::xBottom, x1, x2);
    plot_->setAxisScale(QwtPlot::yLeft, y1, y2);
    plot_->replot();
}

void QwtChartZoom::restoreHome() {
    setScales(homeXMin, homeXMax, homeYMin, homeYMax);
}

void QwtChartZoom::mousePress(QMouseEvent *event) {
    saveHome();
    if (mode_ != Idle)
        return;
    const QPoint at = toCanvas(event);
    startX = at.x();
    startY = at.y();
    const QWidget *canvas = plot_->canvas();
    if (startX < 0 || startX > canvas->width() - 1 || startY < 0 || startY > canvas->height() - 1)
        return;
    if (event->button() == Qt::LeftButton)
        startRectZoom();
    else if (event->button() == Qt::RightButton)
        startPan();
}

void QwtChartZoom::startRectZoom() {
    mode_ = RectZoom;
    QWidget *canvas = plot_->canvas();
    savedCursor = canvas->cursor();
    canvas->setCursor(Qt::CrossCursor);
    // The band lives beside the plot so that it can be drawn over the
    // canvas; a plot without a parent carries it itself.
    QWidget *host = plot_->parentWidget();
    band_ = new QWidget(host ? host : plot_);
    band_->setStyleSheet(QStringLiteral("background-color:rgb(%1,%2,%3);")
                             .arg(bandColor.red())
                             .arg(bandColor.green())
                             .arg(bandColor.blue()));
}

void QwtChartZoom::startPan() {
    mode_ = Pan;
    QWidget *canvas = plot_->canvas();
    savedCursor = canvas->cursor();
    canvas->setCursor(Qt::OpenHandCursor);
    xPerPixel = plot_->invTransform(QwtPlot::xBottom, startX + 1) -
                plot_->invTransform(QwtPlot::xBottom, startX);
    yPerPixel = plot_->invTransform(QwtPlot::yLeft, startY + 1) -
                plot_->invTransform(QwtPlot::yLeft, startY);
    currentScales(panXMin, panXMax, panYMin, panYMax);
}

void QwtChartZoom::mouseMove(QMouseEvent *event) {
    if (mode_ == RectZoom) {
        moveBand(toCanvas(event));
    } else if (mode_ == Pan) {
        plot_->canvas()->setCursor(Qt::ClosedHandCursor);
        const QPoint at = toCanvas(event);
        // Measured from the press, not from the previous move.
        const int dx = startX - at.x();
        const int dy = startY - at.y();
        setScales(panXMin + dx * xPerPixel, panXMax + dx * xPerPixel, panYMin + dy * yPerPixel,
                  panYMax + dy * yPerPixel);
    }
}

void QwtChartZoom::moveBand(const QPoint &at) {
    if (!band_)
        return;
    const QWidget *canvas = plot_->canvas();
    const QPoint origin = plot_->parentWidget() ? plot_->pos() : QPoint();
    int w = at.x() - startX;
    int h = at.y() - startY;
    int left = origin.x() + canvas->x() + startX;
    int top = origin.y() + canvas->y() + startY;
    if (w < 0) {
        left += w;
        w = -w;
    } else if (w == 0) {
        w = 1;
    }
    if (h < 0) {
        top += h;
        h = -h;
    } else if (h == 0) {
        h = 1;
    }
    band_->setGeometry(left, top, w, h);
    // A frame one pixel wide in the band colour.
    band_->setMask(QRegion(0, 0, w, h).subtracted(QRegion(1, 1, w - 2, h - 2)));
    band_->show();
    band_->repaint();
}

void QwtChartZoom::mouseRelease(QMouseEvent *event) {
    if (mode_ == RectZoom && event->button() == Qt::LeftButton) {
        plot_->canvas()->setCursor(savedCursor);
        delete band_;
        const QPoint end = toCanvas(event);
        if (end.x() < startX || end.y() < startY) {
            restoreHome();
        } else if (end.x() - startX > 7 && end.y() - startY > 7) {
            setScales(plot_->invTransform(QwtPlot::xBottom, startX),
                      plot_->invTransform(QwtPlot::xBottom, end.x()),
                      plot_->invTransform(QwtPlot::yLeft, end.y()),
                      plot_->invTransform(QwtPlot::yLeft, startY));
        }
        mode_ = Idle;
    } else if (mode_ == Pan && event->button() == Qt::RightButton) {
        plot_->canvas()->setCursor(savedCursor);
        mode_ = Idle;
    }
}

void QwtChartZoom::key(QKeyEvent *event, bool pressed) {
    if (event->key() != Qt::Key_Control)
        return;
    if (pressed && mode_ == Idle)
        mode_ = WheelZoom;
    else if (!pressed && mode_ == WheelZoom)
        mode_ = Idle;
    if (!pressed)
        wheelRest = 0;
}

void QwtChartZoom::wheel(QWheelEvent *event) {
    const QPoint angle = event->angleDelta();
    // A wheel step counts as vertical unless it turns more sideways.
    if (mode_ != WheelZoom || qAbs(angle.x()) > qAbs(angle.y()))
        return;
    saveHome();
    const QwtScaleMap x = plot_->canvasMap(QwtPlot::xBottom);
    const QwtScaleMap y = plot_->canvasMap(QwtPlot::yLeft);
    const double cx = (x.s1() + x.s2()) * 0.5;
    const double hx = (x.s2() - x.s1()) * 0.5;
    const double cy = (y.s1() + y.s2()) * 0.5;
    const double hy = (y.s2() - y.s1()) * 0.5;
    int delta = angle.y();
    // High-resolution wheels and touchpads send parts of a notch (8 to 15
    // each); taken one by one they would give a factor below 1 and zoom the
    // wrong way. Parts add up, and each whole notch they make zooms once.
    if (qAbs(delta) < WheelNotch) {
        wheelRest += delta;
        if (qAbs(wheelRest) < WheelNotch)
            return;
        delta = wheelRest > 0 ? WheelNotch : -WheelNotch;
        wheelRest -= delta;
    }
    const double k = delta * wheelFactor / double(WheelNotch);
    double nx, ny;
    if (delta > 0) {
        nx = hx / k;
        ny = hy / k;
    } else if (delta < 0) {
        nx = hx * -k;
        ny = hy * -k;
    } else {
        return;
    }
    setScales(cx - nx, cx + nx, cy - ny, cy + ny);
}

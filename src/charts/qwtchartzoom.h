#ifndef QWTCHARTZOOM_H
#define QWTCHARTZOOM_H

#include <QColor>
#include <QCursor>
#include <QObject>
#include <QPointer>

class QMouseEvent;
class QKeyEvent;
class QWheelEvent;
class QWidget;
class QwtPlot;

// Mouse and keyboard navigation of one plot, on its bottom and left axes:
// a left drag zooms into the rectangle, a right drag pans, the wheel zooms
// around the middle while Ctrl is held, and a left drag that ends left of or
// above its start returns to the scales of the first interaction.
//
// It watches the plot through an event filter and never swallows an event,
// so the plot (and its picker) behave as without it. A right axis keeps its
// automatic scale.
class QwtChartZoom : public QObject {
    Q_OBJECT
public:
    enum Mode { Idle = 0, RectZoom = 1, Pan = 2, WheelZoom = 3 };

    explicit QwtChartZoom(QwtPlot *plot, QObject *parent = nullptr);
    ~QwtChartZoom() override;

    void setBandColor(const QColor &color) { bandColor = color; }
    void setWheelFactor(double factor) { wheelFactor = factor; }
    // The next interaction takes the scales of that moment as its home.
    void clearHome() { homeSaved = false; }

    int mode() const { return mode_; }
    QwtPlot *plot() const { return plot_; }
    // The rubber band of a rectangle zoom under way, null otherwise.
    QWidget *band() const { return band_; }

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPoint toCanvas(const QMouseEvent *event) const;
    // Bounds of the bottom and left axes as the plot shows them now.
    void currentScales(double &x1, double &x2, double &y1, double &y2) const;
    void saveHome();
    void restoreHome();
    void setScales(double x1, double x2, double y1, double y2);
    void mousePress(QMouseEvent *event);
    void mouseMove(QMouseEvent *event);
    void mouseRelease(QMouseEvent *event);
    void startRectZoom();
    void startPan();
    void moveBand(const QPoint &at);
    void key(QKeyEvent *event, bool pressed);
    void wheel(QWheelEvent *event);

    double homeXMin = 0, homeXMax = 0;
    double homeYMin = 0, homeYMax = 0;
    bool homeSaved = false;
    int mode_ = Idle;
    double panXMin = 0, panXMax = 0;
    double panYMin = 0, panYMax = 0;
    int startX = 0, startY = 0;
    double xPerPixel = 0;
    double yPerPixel = 0;
    double wheelFactor = 1.2;
    // One notch of an ordinary wheel, and what smaller steps have added up
    // to since the last notch they made (cleared when Ctrl is let go).
    static constexpr int WheelNotch = 120;
    int wheelRest = 0;
    QwtPlot *plot_;
    // Parented to a widget that may go first (the window closing mid-drag).
    QPointer<QWidget> band_;
    QColor bandColor = Qt::black;
    QCursor savedCursor;
};

#endif // QWTCHARTZOOM_H

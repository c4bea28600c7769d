#ifndef ACTIVITYPICKER_H
#define ACTIVITYPICKER_H

#include <QPointF>
#include <QString>
#include <QVector>
#include <qwt_plot_picker.h>

// The tracker of the activity plot: over a point it tells which test the
// point stands for; elsewhere it shows nothing.
class ActivityPicker : public QwtPlotPicker {
    Q_OBJECT
public:
    struct Point {
        QPointF at; // plot coordinates
        QString text;
    };
    // Within this many pixels of a point the cursor is over it.
    static constexpr double Reach = 8.0;

    explicit ActivityPicker(QWidget *canvas);

    void setPoints(const QVector<Point> &points) { points_ = points; }
    // The text of the point nearest to pos (plot coordinates) within reach,
    // empty when there is none.
    QString textAt(const QPointF &pos) const;

protected:
    QwtText trackerTextF(const QPointF &pos) const override;

private:
    QVector<Point> points_;
};

#endif // ACTIVITYPICKER_H

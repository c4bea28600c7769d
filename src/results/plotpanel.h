#ifndef PLOTPANEL_H
#define PLOTPANEL_H

#include "charts/plotimage.h"

#include <QWidget>
#include <qwt_plot.h>

class QLabel;
class QVBoxLayout;
class QwtChartZoom;

// A plot of the results window with a note under it: a white canvas (light
// curve colours stay readable), a legend, the plot tabs' grid, and their
// zoom and pan.
class PlotPanel : public QWidget {
    Q_OBJECT
public:
    QwtPlot *plot() const { return plot_; }
    QwtChartZoom *zoom() const { return zoom_; }
    QString note() const;
    // Where the plot's "Save image..." starts and the name it proposes.
    void setImageTarget(const PlotImage::Target &target) { imageTarget_ = target; }

protected:
    PlotPanel(QwtPlot::LegendPosition legend, QWidget *parent);

    void setNote(const QString &text);
    // After new data: automatic scales again, from which a zoom starts.
    void rescale();
    QVBoxLayout *panelLayout() const { return layout_; }

private:
    QwtPlot *plot_;
    QwtChartZoom *zoom_;
    QLabel *note_;
    QVBoxLayout *layout_;
    PlotImage::Target imageTarget_;
};

#endif // PLOTPANEL_H

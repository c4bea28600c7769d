#ifndef PLOTTABS_H
#define PLOTTABS_H

#include "charts/plotimage.h"

#include <QObject>
#include <QPointer>
#include <qwt_plot.h>

class ProcessP;
class QTabWidget;
class QwtChartZoom;

// The plot tabs of the current test in the window's central tab widget: one
// plot per tab, each with its own zoom controller. The tabs are built from
// the record and never updated in place; another current test means a new
// set. Nothing here keeps the record.
class PlotTabs : public QObject {
    Q_OBJECT
public:
    enum Tab {
        Volume,
        ReducedVolume,
        Temperature,
        Resistance,
        CementTemperature,
        VolumeTemperature,
        ResistanceTemperature,
        TabCount
    };

    explicit PlotTabs(QTabWidget *tabs, QObject *parent = nullptr);
    ~PlotTabs() override;

    // Removes every tab and releases every plot and zoom controller.
    void clearGraphs();
    // Builds the tabs of the record: Volume, Reduced volume, Temperature,
    // [Resistance, Temperature of cement,] Volume/Temperature,
    // [Resistance/Temperature], the bracketed ones for four-channel kinds.
    // Volume is the current tab afterwards.
    void buildGraphs(const ProcessP *record);

    // Variant 0 is the Volume tab, 1 the Reduced volume tab; others build nothing.
    void addVolumeGraph(const ProcessP *record, int variant);
    void addTemperatureGraph(const ProcessP *record);
    void addResistanceGraph(const ProcessP *record);
    void addCementTemperatureGraph(const ProcessP *record);
    void addVolumeTemperatureGraph(const ProcessP *record);
    void addResistanceTemperatureGraph(const ProcessP *record);

    // Where each plot's "Save image..." starts and the name it proposes; the
    // tab's title is added to the name.
    void setImageTarget(PlotImage::TargetSource source) { imageTarget_ = std::move(source); }
    // The grey dotted grid of the plots, minor lines included.
    static void addGrid(QwtPlot *plot);

    QTabWidget *tabWidget() const { return tabs_.data(); }
    // Null while the tab does not exist.
    QwtPlot *plot(Tab tab) const { return plots_[tab]; }
    QwtChartZoom *zoom(Tab tab) const { return zooms_[tab]; }

private:
    struct Curve;
    struct Dress;
    QwtPlot *build(Tab tab, const ProcessP *record, const Dress &dress);

    // The window may destroy its tab widget before this object.
    QPointer<QTabWidget> tabs_;
    // The tab widget owns the plots once they are added and may go first
    // when the window closes.
    QPointer<QwtPlot> plots_[TabCount];
    QwtChartZoom *zooms_[TabCount] = {};
    PlotImage::TargetSource imageTarget_;
};

#endif // PLOTTABS_H

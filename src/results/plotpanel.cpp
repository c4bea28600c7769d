#include "plotpanel.h"

#include "charts/plottabs.h"
#include "charts/qwtchartzoom.h"

#include <QLabel>
#include <QTabWidget> // for plottabs.h
#include <QVBoxLayout>
#include <qwt_legend.h>

PlotPanel::PlotPanel(QwtPlot::LegendPosition legend, QWidget *parent) : QWidget(parent) {
    plot_ = new QwtPlot;
    plot_->setCanvasBackground(QBrush(Qt::white));
    plot_->insertLegend(new QwtLegend, legend);
    PlotTabs::addGrid(plot_);
    zoom_ = new QwtChartZoom(plot_, this);
    PlotImage::install(plot_, [this] { return imageTarget_; });
    note_ = new QLabel;
    note_->setWordWrap(true);
    note_->setTextFormat(Qt::PlainText);
    layout_ = new QVBoxLayout(this);
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->addWidget(plot_, 1);
    layout_->addWidget(note_);
}

QString PlotPanel::note() const {
    return note_->text();
}

void PlotPanel::setNote(const QString &text) {
    note_->setText(text);
}

void PlotPanel::rescale() {
    plot_->setAxisAutoScale(QwtPlot::xBottom);
    plot_->setAxisAutoScale(QwtPlot::yLeft);
    zoom_->clearHome();
    // A hidden plot gets no layout request when its legend fills: laid out
    // now, the entries are there when the tab is shown.
    plot_->updateLayout();
    plot_->replot();
}

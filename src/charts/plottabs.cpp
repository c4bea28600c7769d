#include "plottabs.h"

#include <QTabWidget>

PlotTabs::PlotTabs(QTabWidget *tabs, QObject *parent) : QObject(parent), tabs_(tabs) {}

PlotTabs::~PlotTabs() = default;

void PlotTabs::clearGraphs() {
    while (tabs_->count() > 0) {
        QWidget *w = tabs_->widget(0);
        tabs_->removeTab(0);
        delete w;
    }
}

void PlotTabs::buildGraphs(const ProcessP *) {}

#ifndef PLOTTABS_H
#define PLOTTABS_H

#include <QObject>

class ProcessP;
class QTabWidget;

// The plot tabs of the current test in the window's central tab widget.
class PlotTabs : public QObject {
    Q_OBJECT
public:
    explicit PlotTabs(QTabWidget *tabs, QObject *parent = nullptr);
    ~PlotTabs() override;

    // Removes every tab and releases every plot and zoom controller.
    void clearGraphs();
    // Builds the tabs of the record, in the order the kind calls for.
    void buildGraphs(const ProcessP *record);

    QTabWidget *tabWidget() const { return tabs_; }

private:
    QTabWidget *tabs_;
};

#endif // PLOTTABS_H

#ifndef RESULTSWINDOW_H
#define RESULTSWINDOW_H

#include "evaluation/resultsrow.h"

#include <QLocale>
#include <QTimer>
#include <QVector>
#include <QWidget>
#include <functional>

class ActivityPlot;
class ComparisonPlot;
class QualityPanel;
class KeeperProc;
class QAbstractItemModel;
class QAction;
class QLabel;
class QTabWidget;
class QTableView;
class ResultsModel;
class ResultsSortModel;

// "Results of all tests": a window beside the main window with one row per
// test of the project, sortable by any column, with a copy to the clipboard
// and a CSV export of what it shows; below it the ticked tests' curves side
// by side and the activities of all tests over time. It follows the store
// through the process list's model and refresh().
class ResultsWindow : public QWidget {
    Q_OBJECT
public:
    ResultsWindow(KeeperProc *store, QAbstractItemModel *processes, QWidget *parent = nullptr);

    // The save dialog of the export: the chosen path, empty when cancelled.
    // Tests replace it to answer without a dialog.
    using FileChooser = std::function<QString(const QString &proposed)>;
    void setFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }
    // Where the export's save dialog starts, with the name it proposes.
    // Where Export CSV... proposes to write; the plots' images go beside it.
    void setProposedFile(const QString &path);
    // The project shown changed when its proposed file differs from the last
    // one given: the proposal follows it and the last project's status goes.
    void setProject(const QString &proposedFile);

    // The rows in the order shown; only the selected ones when asked.
    QVector<ResultsRow> shownRows(bool selectedOnly = false) const;

    QTableView *table() const { return table_; }
    ResultsModel *results() const { return model_; }
    ResultsSortModel *sorted() const { return sorted_; }
    QTabWidget *plotTabs() const { return tabs_; }
    ComparisonPlot *comparison() const { return comparison_; }
    ActivityPlot *activity() const { return activity_; }
    QualityPanel *quality() const { return quality_; }
    QAction *copyAction() const { return copyAct_; }
    QAction *exportAction() const { return exportAct_; }
    QString status() const;
    // The locale of the numbers in the copy and the export.
    QLocale numberLocale() const;

public slots:
    // Test r of the store was edited.
    void refresh(int r);
    void copySelection();
    // True once the file is written.
    bool exportCsv();
    // The quality control's statistics as a CSV file of their own.
    bool exportStatistics();
    // Offers to set the hit coefficient of the selected tests (none
    // selected: of those the quality control shows) to K, rounded as the
    // hit coefficient's editor stores it; true once the user agreed.
    bool applyCoefficient();
    // Draws the plots now rather than at the next turn of the event loop.
    void updatePlots();

signals:
    // The user asked to make test r (a row of the store) current.
    void testActivated(int r);
    // The user typed the measured strength of test r (NaN: cleared).
    void strengthEdited(int r, double mpa);
    // The user agreed to set the hit coefficient of these tests (rows of the store).
    void hitCoefficientChosen(const QList<int> &rows, double value);

private:
    void scheduleComparison();
    void scheduleActivity();
    void updateCount();
    // The save dialog's answer (or the chooser's), empty when cancelled.
    QString choosePath(const QString &proposed, const QString &caption);
    // Writes the file, or says why not; true once it is written.
    bool writeChosen(const QString &path, const QByteArray &bytes);
    void fitColumns();

    ResultsModel *model_;
    ResultsSortModel *sorted_;
    QTableView *table_;
    QTabWidget *tabs_;
    ComparisonPlot *comparison_;
    ActivityPlot *activity_;
    QualityPanel *quality_;
    QLabel *count_;
    QLabel *status_;
    QAction *copyAct_;
    QAction *exportAct_;
    QAction *clearAct_;
    // Many rows arrive one by one (a project opening): the plots are drawn
    // once the event loop turns.
    QTimer plotTimer_;
    bool comparisonDue_ = false;
    bool activityDue_ = false;
    bool fitDue_ = false;
    FileChooser chooser_;
    QString proposed_;
    QString project_;
};

#endif // RESULTSWINDOW_H

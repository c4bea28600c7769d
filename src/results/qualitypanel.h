#ifndef QUALITYPANEL_H
#define QUALITYPANEL_H

#include "evaluation/qualitystatistics.h"

#include <QWidget>
#include <memory>

class CoincidencePlot;
class ControlChartPlot;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

// The laboratory's quality control of the project's tests: the filters, the
// control chart of the activity, the coincidence of measured strengths with
// the predicted activity, and the statistics of what is shown, with Copy,
// Export and Apply K... buttons (their work is the owner's).
class QualityPanel : public QWidget {
    Q_OBJECT
public:
    explicit QualityPanel(QWidget *parent = nullptr);

    // Works everything out again for the project's rows.
    void setRows(const QVector<ResultsRow> &rows);
    const QualityStatistics &statistics() const { return *statistics_; }
    QualityFilter filter() const;
    ControlChart::Baseline baseline() const;
    bool onlyFiltered() const;

    // Controls the tests drive.
    QComboBox *daysBox() const { return days_; }
    QComboBox *gradeBox() const { return grade_; }
    QComboBox *supplierBox() const { return supplier_; }
    QComboBox *activityBox() const { return activity_; }
    QDateEdit *fromEdit() const { return from_; }
    QDateEdit *toEdit() const { return to_; }
    QComboBox *baselineBox() const { return baselineKind_; }
    QSpinBox *firstBox() const { return first_; }
    QCheckBox *warningsBox() const { return warnings_; }
    QCheckBox *onlyFilteredBox() const { return only_; }
    ControlChartPlot *chart() const { return chart_; }
    CoincidencePlot *coincidence() const { return coincidence_; }
    QString statisticsText() const;
    QPushButton *applyButton() const { return apply_; }

signals:
    // A filter changed: the table may show other tests.
    void filterChanged();
    void exportRequested();
    void applyRequested();

private:
    void recompute();
    QDate dateOf(const QDateEdit *edit) const;

    QVector<ResultsRow> rows_;
    std::unique_ptr<QualityStatistics> statistics_;
    // The duration of hardening most tests use, until the user picks one.
    bool daysChosen_ = false;
    QComboBox *days_;
    QComboBox *grade_;
    QComboBox *supplier_;
    QComboBox *activity_;
    QDateEdit *from_;
    QDateEdit *to_;
    QComboBox *baselineKind_;
    QSpinBox *first_;
    QDateEdit *baseFrom_;
    QDateEdit *baseTo_;
    QCheckBox *warnings_;
    QCheckBox *only_;
    ControlChartPlot *chart_;
    CoincidencePlot *coincidence_;
    QPlainTextEdit *text_;
    QPushButton *apply_;
};

#endif // QUALITYPANEL_H

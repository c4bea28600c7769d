#ifndef TABLETEXTS_H
#define TABLETEXTS_H

#include "evaluation/activityevaluation.h"

#include <QString>
#include <QStringList>

class ProcessP;

// The parameters-and-results table of one test as texts: the label and the
// value of each of its twenty rows, composed once here so that the window's
// table and the command-line tool cannot differ. Words are translated in the
// "Monitor" context, the table's own.
class TableTexts {
public:
    enum Row {
        RowMass,
        RowDuration,
        RowPeriod,
        RowGrade,
        RowSupplier,
        RowDays,
        RowBrakingRecord,
        RowTemperatureNotObserved,
        RowSeparator,
        RowContraction,
        RowContraction1k3,
        RowBraking,
        RowBrakingCorrection,
        RowAverageTemperature,
        RowTemperatureCorrection,
        RowTotal,
        RowActivity,
        RowHit,
        RowActivityWithHit,
        RowSpecificContraction,
        RowCount
    };

    explicit TableTexts(const ProcessP &record);

    // The row's label, translated; empty for the separator.
    static QString label(int row);
    // Rows the user edits in place; the two flags are check boxes.
    static bool editable(int row);
    static bool isCheckBox(int row);

    // The value text of the row: "" for the separator and the check boxes.
    QString value(int row) const { return values_.value(row); }
    // False where the table leaves the cell as it is: the separator, and the
    // hit coefficient and the activity with it for a test shorter than three
    // hours (or without samples).
    bool filled(int row) const;
    bool checked(int row) const;
    const ActivityEvaluation &evaluation() const { return evaluation_; }

private:
    ActivityEvaluation evaluation_;
    QStringList values_;
};

#endif // TABLETEXTS_H

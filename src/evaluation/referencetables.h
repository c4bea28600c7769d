#ifndef REFERENCETABLES_H
#define REFERENCETABLES_H

#include <QString>
#include <QtGlobal>

// The two reference tables of the accelerated contraction method and their
// lookups. Rows stand for the total contraction of the first three hours,
// 2.0, 2.1, ..., 5.0 ml per 1000 g of cement; columns for the hardening
// duration (hardeningDays).
namespace ReferenceTables {

constexpr int Rows = 31;
constexpr int Columns = 7;
constexpr double FirstRow = 2.0;
constexpr double LastRow = 5.0;
constexpr double RowStep = 0.1;

// Hardening durations in days, by hardening index.
extern const quint32 hardeningDays[Columns];
// Expected activity, MPa.
extern const float activityTable[Rows][Columns];
// Expected specific current contraction, ml/g.
extern const float specificContractionTable[Rows][Columns];

bool isColumn(int column);
// "7", "14", ... for an index 0..6; "?" otherwise.
QString hardeningDaysText(int column);
// Row key r as shown in the tables dialog: "2.0" .. "5.0".
QString rowText(int row);

// Activity for a total contraction x: interpolated between the two
// neighbouring rows and written with 1 decimal; "<" or ">" with the column's
// bound when x lies outside 2.0..5.0. "?" for a NaN x or a column outside 0..6.
QString lookupActivity(float x, int column);
// Specific contraction of the nearest row, 3 decimals; bounds and "?" as above.
QString lookupSpecificContraction(float x, int column);

} // namespace ReferenceTables

#endif // REFERENCETABLES_H

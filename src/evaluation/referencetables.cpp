#include "referencetables.h"

#include <cmath>

namespace ReferenceTables {

const quint32 hardeningDays[Columns] = {7, 14, 28, 60, 90, 180, 360};

// Each entry is the float nearest to the published decimal.
const float activityTable[Rows][Columns] = {
    // 7      14      28      60      90      180     360 days
    {15.0f, 24.9f, 28.9f, 35.7f, 39.0f, 45.3f, 49.4f}, // 2.0
    {16.2f, 27.2f, 30.0f, 37.6f, 41.1f, 46.6f, 51.8f}, // 2.1
    {17.5f, 28.3f, 31.1f, 38.9f, 42.1f, 47.5f, 53.4f}, // 2.2
    {19.0f, 29.4f, 32.1f, 40.1f, 43.0f, 48.4f, 54.7f}, // 2.3
    {20.4f, 30.5f, 33.2f, 41.3f, 43.8f, 49.2f, 55.2f}, // 2.4
    {22.0f, 31.6f, 34.4f, 42.5f, 45.2f, 51.5f, 56.5f}, // 2.5
    {22.7f, 32.9f, 35.6f, 43.7f, 46.4f, 52.7f, 57.9f}, // 2.6
    {25.3f, 34.2f, 36.9f, 45.1f, 47.7f, 54.1f, 59.1f}, // 2.7
    {26.9f, 35.5f, 38.3f, 46.4f, 49.1f, 55.5f, 61.3f}, // 2.8
    {28.7f, 37.0f, 39.7f, 47.9f, 50.6f, 57.0f, 62.5f}, // 2.9
    {31.5f, 38.5f, 41.2f, 49.4f, 52.5f, 58.4f, 63.7f}, // 3.0
    {33.0f, 39.9f, 42.7f, 50.9f, 54.0f, 59.5f, 64.9f}, // 3.1
    {34.5f, 41.4f, 44.2f, 52.4f, 55.4f, 60.5f, 66.1f}, // 3.2
    {35.9f, 42.9f, 45.6f, 53.8f, 56.9f, 61.7f, 67.3f}, // 3.3
    {37.3f, 44.4f, 47.1f, 55.0f, 58.4f, 63.0f, 68.5f}, // 3.4
    {38.9f, 45.9f, 48.6f, 56.2f, 60.0f, 64.0f, 69.7f}, // 3.5
    {40.3f, 47.1f, 50.1f, 57.4f, 61.2f, 65.2f, 70.8f}, // 3.6
    {41.8f, 48.9f, 51.7f, 58.6f, 62.3f, 66.4f, 71.9f}, // 3.7
    {43.1f, 50.1f, 53.1f, 59.8f, 63.3f, 67.6f, 73.0f}, // 3.8
    {44.6f, 51.6f, 54.4f, 61.0f, 64.3f, 67.8f, 74.1f}, // 3.9
    {45.9f, 53.6f, 55.9f, 62.2f, 65.3f, 69.4f, 75.1f}, // 4.0
    {47.4f, 55.5f, 57.4f, 63.6f, 66.4f, 70.2f, 76.0f}, // 4.1
    {49.1f, 57.2f, 59.0f, 64.9f, 67.6f, 71.4f, 76.9f}, // 4.2
    {51.8f, 59.0f, 60.5f, 66.4f, 68.8f, 72.3f, 77.8f}, // 4.3
    {53.2f, 60.4f, 62.0f, 67.7f, 70.0f, 73.3f, 78.7f}, // 4.4
    {54.5f, 61.6f, 63.6f, 69.0f, 71.2f, 74.4f, 79.6f}, // 4.5
    {56.0f, 62.7f, 65.2f, 70.1f, 72.6f, 75.5f, 80.1f}, // 4.6
    {57.5f, 63.9f, 66.7f, 71.3f, 74.0f, 76.5f, 81.2f}, // 4.7
    {59.1f, 65.2f, 68.2f, 73.2f, 75.4f, 77.6f, 82.0f}, // 4.8
    {60.6f, 66.6f, 69.7f, 75.0f, 76.9f, 79.1f, 83.0f}, // 4.9
    {61.8f, 67.9f, 71.1f, 77.1f, 78.6f, 80.1f, 84.1f}, // 5.0
};

const float specificContractionTable[Rows][Columns] = {
    // 7      14      28      60      90      180     360 days
    {0.014f, 0.023f, 0.025f, 0.030f, 0.033f, 0.037f, 0.042f}, // 2.0
    {0.015f, 0.024f, 0.026f, 0.031f, 0.034f, 0.038f, 0.043f}, // 2.1
    {0.016f, 0.025f, 0.027f, 0.033f, 0.035f, 0.039f, 0.044f}, // 2.2
    {0.017f, 0.026f, 0.028f, 0.034f, 0.036f, 0.040f, 0.045f}, // 2.3
    {0.018f, 0.027f, 0.029f, 0.035f, 0.037f, 0.041f, 0.046f}, // 2.4
    {0.019f, 0.028f, 0.030f, 0.036f, 0.038f, 0.042f, 0.047f}, // 2.5
    {0.020f, 0.029f, 0.031f, 0.037f, 0.039f, 0.043f, 0.048f}, // 2.6
    {0.022f, 0.030f, 0.032f, 0.038f, 0.040f, 0.044f, 0.049f}, // 2.7
    {0.024f, 0.031f, 0.033f, 0.039f, 0.041f, 0.045f, 0.050f}, // 2.8
    {0.026f, 0.032f, 0.034f, 0.040f, 0.042f, 0.046f, 0.051f}, // 2.9
    {0.028f, 0.033f, 0.035f, 0.041f, 0.044f, 0.048f, 0.052f}, // 3.0
    {0.029f, 0.034f, 0.036f, 0.042f, 0.045f, 0.049f, 0.052f}, // 3.1
    {0.030f, 0.035f, 0.037f, 0.043f, 0.046f, 0.049f, 0.053f}, // 3.2
    {0.031f, 0.036f, 0.038f, 0.044f, 0.047f, 0.050f, 0.053f}, // 3.3
    {0.032f, 0.037f, 0.039f, 0.045f, 0.048f, 0.051f, 0.054f}, // 3.4
    {0.033f, 0.038f, 0.040f, 0.046f, 0.049f, 0.052f, 0.055f}, // 3.5
    {0.034f, 0.039f, 0.041f, 0.046f, 0.049f, 0.052f, 0.055f}, // 3.6
    {0.035f, 0.040f, 0.042f, 0.047f, 0.050f, 0.053f, 0.056f}, // 3.7
    {0.036f, 0.041f, 0.043f, 0.048f, 0.051f, 0.054f, 0.056f}, // 3.8
    {0.037f, 0.042f, 0.044f, 0.049f, 0.052f, 0.055f, 0.057f}, // 3.9
    {0.038f, 0.043f, 0.045f, 0.049f, 0.052f, 0.055f, 0.057f}, // 4.0
    {0.039f, 0.044f, 0.046f, 0.050f, 0.052f, 0.055f, 0.058f}, // 4.1
    {0.040f, 0.045f, 0.047f, 0.051f, 0.053f, 0.056f, 0.058f}, // 4.2
    {0.041f, 0.046f, 0.047f, 0.051f, 0.053f, 0.056f, 0.058f}, // 4.3
    {0.042f, 0.047f, 0.048f, 0.052f, 0.054f, 0.057f, 0.059f}, // 4.4
    {0.042f, 0.047f, 0.048f, 0.052f, 0.054f, 0.057f, 0.059f}, // 4.5
    {0.043f, 0.047f, 0.049f, 0.052f, 0.054f, 0.057f, 0.059f}, // 4.6
    {0.044f, 0.048f, 0.050f, 0.053f, 0.055f, 0.057f, 0.059f}, // 4.7
    {0.045f, 0.049f, 0.051f, 0.054f, 0.055f, 0.058f, 0.060f}, // 4.8
    {0.046f, 0.050f, 0.052f, 0.055f, 0.056f, 0.058f, 0.060f}, // 4.9
    {0.046f, 0.050f, 0.052f, 0.056f, 0.057f, 0.058f, 0.060f}, // 5.0
};

namespace {
const QString Unknown = QStringLiteral("?");

QString boundText(const float (&table)[Rows][Columns], float x, int column, int decimals) {
    if (2.0 > x)
        return QLatin1Char('<') + QString::number(double(table[0][column]), 'f', decimals);
    return QLatin1Char('>') + QString::number(double(table[Rows - 1][column]), 'f', decimals);
}

bool outsideRows(float x) {
    return FirstRow > x || x > LastRow;
}
} // namespace

bool isColumn(int column) {
    return column >= 0 && column < Columns;
}

QString hardeningDaysText(int column) {
    return isColumn(column) ? QString::number(hardeningDays[column]) : Unknown;
}

QString rowText(int row) {
    return QString::number(FirstRow + RowStep * row, 'f', 1);
}

QString lookupActivity(float x, int column) {
    // A NaN compares false with both bounds and would reach the row index.
    if (!isColumn(column) || std::isnan(x))
        return Unknown;
    if (outsideRows(x))
        return boundText(activityTable, x, column, 1);
    // x = 5.0 belongs to the last interval so that row r + 1 always exists.
    const int r = qBound(0, int(std::trunc((double(x) - FirstRow) / RowStep)), Rows - 2);
    const float xLo = float(FirstRow + RowStep * r);
    const float xHi = float(double(xLo) + RowStep);
    const double y0 = activityTable[r][column];
    const double y1 = activityTable[r + 1][column];
    const double value = y1 + (double(x) - xHi) * (y1 - y0) / (double(xHi) - xLo);
    return QString::number(value, 'f', 1);
}

QString lookupSpecificContraction(float x, int column) {
    if (!isColumn(column) || std::isnan(x))
        return Unknown;
    if (outsideRows(x))
        return boundText(specificContractionTable, x, column, 3);
    const int r = qBound(0, int(std::trunc((double(x) - FirstRow) / RowStep + 0.5)), Rows - 1);
    return QString::number(double(specificContractionTable[r][column]), 'f', 3);
}

} // namespace ReferenceTables

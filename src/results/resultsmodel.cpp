#include "resultsmodel.h"

#include "evaluation/referencetables.h"
#include "records/keeperproc.h"
#include "records/processp.h"

#include <QLocale>
#include <QtNumeric>

ResultsModel::ResultsModel(KeeperProc *store, QAbstractItemModel *processes, QObject *parent)
    : QAbstractTableModel(parent), store_(store), processes_(processes) {
    connect(processes, &QAbstractItemModel::rowsInserted, this, &ResultsModel::inserted);
    connect(processes, &QAbstractItemModel::rowsRemoved, this, &ResultsModel::removed);
    connect(processes, &QAbstractItemModel::dataChanged, this, &ResultsModel::renamed);
    connect(processes, &QAbstractItemModel::modelReset, this, &ResultsModel::reset);
    connect(processes, &QAbstractItemModel::layoutChanged, this, &ResultsModel::reset);
    connect(processes, &QAbstractItemModel::rowsMoved, this, &ResultsModel::reset);
    reset();
}

int ResultsModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : rows_.size();
}

int ResultsModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : MeasuredColumn + 1;
}

QVariant ResultsModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= rows_.size())
        return QVariant();
    if (index.column() == CompareColumn)
        return role == Qt::CheckStateRole
                   ? QVariant(compared_.at(index.row()) ? Qt::Checked : Qt::Unchecked)
                   : QVariant();
    if (index.column() == MeasuredColumn) {
        const ResultsRow &row = rows_.at(index.row());
        const double mpa = row.measuredStrength();
        if (qIsNaN(mpa))
            return role == Qt::EditRole ? QVariant(QString()) : QVariant();
        const bool other = row.measuredIndex() != row.hardeningIndex();
        const QString days = ReferenceTables::hardeningDaysText(row.measuredIndex());
        if (role == Qt::DisplayRole)
            return other ? tr("%1 (%2 days)").arg(QString::number(mpa, 'f', 2), days)
                         : QString::number(mpa, 'f', 2);
        if (role == Qt::EditRole)
            return QString::number(mpa, 'f', 2);
        if (role == Qt::ToolTipRole && other)
            return tr("Measured at %1 days of hardening: left out of K until the test's "
                      "duration of hardening is %1 days again.")
                .arg(days);
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant();
    }
    const int column = resultColumn(index.column());
    if (role == Qt::DisplayRole)
        return rows_.at(index.row()).text(column);
    if (role == Qt::TextAlignmentRole && ResultsRow::numeric(column))
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return QVariant();
}

QVariant ResultsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return section == CompareColumn    ? tr("Compare")
               : section == MeasuredColumn ? tr("Measured strength, MPa")
                                           : ResultsRow::title(resultColumn(section));
    if (role == Qt::ToolTipRole && section == MeasuredColumn)
        return tr("The strength the standard test found at the test's duration of hardening; "
                  "type it in (F2 or a double click).");
    if (role == Qt::ToolTipRole && section == CompareColumn)
        return tr("Tick up to %1 tests to compare their curves below.").arg(MaxCompared);
    return QVariant();
}

Qt::ItemFlags ResultsModel::flags(const QModelIndex &index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.column() == CompareColumn)
        f |= Qt::ItemIsUserCheckable;
    if (index.column() == MeasuredColumn && store_->at(index.row()))
        f |= Qt::ItemIsEditable;
    return f;
}

bool ResultsModel::setData(const QModelIndex &index, const QVariant &value, int role) {
    if (role == Qt::EditRole && index.column() == MeasuredColumn && index.row() < rows_.size()) {
        const QString text = value.toString().trimmed();
        bool ok = text.isEmpty();
        double mpa = qQNaN();
        if (!ok) {
            // A point or the locale's comma, whichever the user types.
            mpa = QString(text).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
            ok = ok && mpa > 0.0 && mpa < 1000.0;
        }
        if (!ok)
            return false;
        const double old = rows_.at(index.row()).measuredStrength();
        // Leaving the editor unchanged is no edit.
        if ((qIsNaN(old) && qIsNaN(mpa)) || QString::number(old, 'f', 2) == text)
            return true;
        emit strengthEdited(index.row(), mpa);
        return true;
    }
    if (role != Qt::CheckStateRole || index.column() != CompareColumn ||
        index.row() >= rows_.size())
        return false;
    const bool on = value.toInt() == Qt::Checked;
    if (on == compared_.at(index.row()))
        return true;
    if (on && comparedRows().size() >= MaxCompared) {
        emit comparisonFull();
        return false;
    }
    compared_[index.row()] = on;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    emit comparisonChanged();
    return true;
}

QList<int> ResultsModel::comparedRows() const {
    QList<int> rows;
    for (int r = 0; r < compared_.size(); ++r)
        if (compared_.at(r))
            rows << r;
    return rows;
}

void ResultsModel::clearCompared() {
    if (comparedRows().isEmpty())
        return;
    compared_.fill(false);
    emit dataChanged(index(0, CompareColumn), index(rows_.size() - 1, CompareColumn),
                     {Qt::CheckStateRole});
    emit comparisonChanged();
}

ResultsRow ResultsModel::evaluate(int r) const {
    const QString name = processes_->index(r, NameColumn).data().toString();
    const ProcessP *record = store_->at(r);
    if (!record) {
        ResultsRow unknown;
        unknown.setName(name);
        return unknown;
    }
    return ResultsRow(*record, name);
}

void ResultsModel::refresh(int r) {
    if (r < 0 || r >= rows_.size())
        return;
    const ResultsRow fresh = evaluate(r);
    const ResultsRow &held = rows_.at(r);
    bool same = fresh.hardeningIndex() == held.hardeningIndex() &&
                fresh.measuredIndex() == held.measuredIndex() &&
                (fresh.measuredStrength() == held.measuredStrength() ||
                 (qIsNaN(fresh.measuredStrength()) && qIsNaN(held.measuredStrength())));
    for (int column = 0; column < ResultsRow::ColumnCount && same; ++column)
        same = fresh.text(column) == held.text(column);
    // Typing a description calls for this too: only a change shows.
    if (same)
        return;
    rows_[r] = fresh;
    emit dataChanged(index(r, FirstResultColumn), index(r, columnCount() - 1));
    if (compared_.at(r))
        emit comparisonChanged();
}

void ResultsModel::inserted(const QModelIndex &parent, int first, int last) {
    if (parent.isValid())
        return;
    beginInsertRows(QModelIndex(), first, last);
    for (int r = first; r <= last; ++r) {
        rows_.insert(r, evaluate(r));
        compared_.insert(r, false);
    }
    endInsertRows();
}

void ResultsModel::removed(const QModelIndex &parent, int first, int last) {
    if (parent.isValid() || first > last || last >= rows_.size())
        return;
    bool ticked = false;
    for (int r = first; r <= last; ++r)
        ticked = ticked || compared_.at(r);
    beginRemoveRows(QModelIndex(), first, last);
    rows_.remove(first, last - first + 1);
    compared_.remove(first, last - first + 1);
    endRemoveRows();
    if (ticked)
        emit comparisonChanged();
}

void ResultsModel::renamed(const QModelIndex &topLeft, const QModelIndex &bottomRight) {
    if (topLeft.column() > NameColumn || bottomRight.column() < NameColumn)
        return;
    for (int r = topLeft.row(); r <= bottomRight.row() && r < rows_.size(); ++r) {
        const QString name = processes_->index(r, NameColumn).data().toString();
        if (name == rows_.at(r).text(ResultsRow::Name))
            continue;
        rows_[r].setName(name);
        const QModelIndex cell = index(r, FirstResultColumn + ResultsRow::Name);
        emit dataChanged(cell, cell);
        if (compared_.at(r))
            emit comparisonChanged();
    }
}

void ResultsModel::reset() {
    const bool ticked = !comparedRows().isEmpty();
    beginResetModel();
    const int count = processes_->rowCount();
    rows_.clear();
    rows_.reserve(count);
    for (int r = 0; r < count; ++r)
        rows_.append(evaluate(r));
    compared_.fill(false, count);
    endResetModel();
    if (ticked)
        emit comparisonChanged();
}

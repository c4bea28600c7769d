#include "dialogtab.h"

#include "evaluation/referencetables.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {
const int ColumnWidth = 60;
const int RowHeight = 25;
} // namespace

DialogTab::DialogTab(QWidget *parent, bool activity)
    : QDialog(parent), view(new QTableView),
      model(new QStandardItemModel(ReferenceTables::Rows, ReferenceTables::Columns, this)) {
    using namespace ReferenceTables;
    const auto &table = activity ? activityTable : specificContractionTable;
    const int decimals = activity ? 1 : 3;

    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setAlternatingRowColors(true);
    view->setModel(model);
    for (int c = 0; c < Columns; ++c) {
        auto *header = new QStandardItem(hardeningDaysText(c));
        header->setTextAlignment(Qt::AlignHCenter);
        model->setHorizontalHeaderItem(c, header);
    }
    for (int r = 0; r < Rows; ++r) {
        model->setVerticalHeaderItem(r, new QStandardItem(rowText(r)));
        for (int c = 0; c < Columns; ++c) {
            auto *cell = new QStandardItem(QString::number(double(table[r][c]), 'f', decimals));
            cell->setTextAlignment(Qt::AlignHCenter);
            cell->setFlags(cell->flags() & ~Qt::ItemIsEditable);
            model->setItem(r, c, cell);
        }
    }
    for (int c = 0; c < Columns; ++c)
        view->setColumnWidth(c, ColumnWidth);
    for (int r = 0; r < Rows; ++r)
        view->setRowHeight(r, RowHeight);

    auto *close = new QPushButton(tr("Close"));
    connect(close, &QPushButton::clicked, this, &QDialog::close);

    // The Russian catalogue breaks the titles elsewhere, hence two lookups each.
    auto *title1 = new QLabel(
        activity ? tr("Cement activity depending on the contraction in 3 hours and the duration")
                 : tr("Specific current contraction (ml.g) depending on the duration the curing"));
    auto *title2 = new QLabel(activity ? tr("of hardening") : tr(" "));
    auto *caption = new QLabel(tr("The duration of the curing in normal conditions, day"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(title1);
    layout->addWidget(title2);
    layout->addSpacing(20);
    layout->addWidget(caption, 0, Qt::AlignRight);
    layout->addWidget(view);
    layout->addWidget(close, 0, Qt::AlignHCenter);

    setModal(false);
    resize(activity ? 495 : 505, 650);
}

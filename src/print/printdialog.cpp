#include "printdialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>

PrintDialog::PrintDialog(int count, QAbstractItemModel *sourceModel, int currentIndex,
                         int *outputFormat, QList<int> *selection, QWidget *parent)
    : QDialog(parent), tree(new QTreeView(this)), items(new QStandardItemModel(0, 4, this)),
      selectAllCheck(new QCheckBox(tr("Select all"), this)),
      pdfCheck(new QCheckBox(tr("Print to PDF file"), this)),
      buttonBox(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)),
      format(outputFormat), chosen(selection) {
    tree->setIndentation(0);
    tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree->setAlternatingRowColors(true);
    tree->setModel(items);

    items->setHorizontalHeaderItem(0, new QStandardItem(QString()));
    for (int c = 0; c < 3; ++c)
        items->setHorizontalHeaderItem(
            c + 1,
            new QStandardItem(sourceModel ? sourceModel->headerData(c, Qt::Horizontal).toString()
                                          : QString()));
    for (int r = 0; r < count; ++r) {
        auto *check = new QStandardItem;
        check->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
        check->setCheckState(r == currentIndex ? Qt::Checked : Qt::Unchecked);
        QList<QStandardItem *> row{check};
        for (int c = 0; c < 3; ++c) {
            const QString text =
                sourceModel ? sourceModel->index(r, c).data(Qt::DisplayRole).toString() : QString();
            row.append(new QStandardItem(text));
        }
        items->appendRow(row);
    }
    tree->setColumnWidth(0, 23);
    // Dates and times are shown whole: each column at least as wide as its
    // longest text (the date column never narrower than 100).
    const QAbstractItemView *view = tree;
    tree->setColumnWidth(1, qMax(100, view->sizeHintForColumn(1)));
    tree->setColumnWidth(2, qMax(tree->columnWidth(2), view->sizeHintForColumn(2)));

    if (currentIndex < 0)
        buttonBox->button(QDialogButtonBox::Ok)->setEnabled(false);
    else
        selectAllCheck->setCheckState(Qt::PartiallyChecked);

    connect(buttonBox, &QDialogButtonBox::accepted, this, &PrintDialog::print);
    connect(buttonBox, &QDialogButtonBox::rejected, this, &QDialog::close);
    connect(selectAllCheck, &QCheckBox::clicked, this, &PrintDialog::selectAll);
    connect(items, &QStandardItemModel::itemChanged, this, &PrintDialog::itemSelect);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tree);
    auto *boxes = new QHBoxLayout;
    boxes->addWidget(selectAllCheck);
    boxes->addWidget(pdfCheck);
    layout->addLayout(boxes);
    layout->addWidget(buttonBox);
    // Wide enough for the check, date and time columns and a part of the name.
    const int columns = tree->columnWidth(0) + tree->columnWidth(1) + tree->columnWidth(2) +
                        qMax(100, view->sizeHintForColumn(3));
    const QMargins margins = layout->contentsMargins();
    resize(qMax(400, columns + margins.left() + margins.right() + 2 * tree->frameWidth() +
                         tree->verticalScrollBar()->sizeHint().width()),
           300);
}

void PrintDialog::print() {
    if (format)
        *format = pdfCheck->isChecked() ? 1 : 0;
    if (chosen) {
        for (int r = 0; r < items->rowCount(); ++r)
            if (items->item(r, 0)->checkState() == Qt::Checked)
                chosen->append(r);
    }
    accept();
}

void PrintDialog::selectAll() {
    switch (selectAllCheck->checkState()) {
    case Qt::PartiallyChecked:
        selectAllCheck->setCheckState(Qt::Checked);
        setAllChecked(true);
        break;
    case Qt::Checked:
        setAllChecked(true);
        break;
    case Qt::Unchecked:
        setAllChecked(false);
        break;
    }
}

void PrintDialog::setAllChecked(bool checked) {
    for (int r = 0; r < items->rowCount(); ++r)
        items->item(r, 0)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void PrintDialog::itemSelect(QStandardItem *) {
    int checked = 0;
    const int rows = items->rowCount();
    for (int r = 0; r < rows; ++r)
        if (items->item(r, 0)->checkState() == Qt::Checked)
            ++checked;
    QPushButton *ok = buttonBox->button(QDialogButtonBox::Ok);
    if (checked == rows) {
        selectAllCheck->setCheckState(Qt::Checked);
        ok->setEnabled(rows > 0);
    } else if (checked == 0) {
        selectAllCheck->setCheckState(Qt::Unchecked);
        ok->setEnabled(false);
    } else {
        selectAllCheck->setCheckState(Qt::PartiallyChecked);
        ok->setEnabled(true);
    }
}

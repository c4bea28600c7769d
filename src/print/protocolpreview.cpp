#include "protocolpreview.h"

#include <QDialogButtonBox>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QVBoxLayout>

ProtocolPreview::ProtocolPreview(QPrinter *printer, Saver saver, QWidget *parent)
    : QDialog(parent, Qt::Window), preview_(new QPrintPreviewWidget(printer, this)),
      save_(new QPushButton(tr("Save as PDF..."), this)), saver_(std::move(saver)) {
    setWindowTitle(tr("Protocol preview"));
    preview_->fitInView();
    auto *buttons = new QDialogButtonBox(this);
    auto *zoomIn = buttons->addButton(tr("Zoom in"), QDialogButtonBox::ActionRole);
    auto *zoomOut = buttons->addButton(tr("Zoom out"), QDialogButtonBox::ActionRole);
    buttons->addButton(save_, QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Close);
    save_->setDefault(true);
    connect(zoomIn, &QPushButton::clicked, preview_, [this] { preview_->zoomIn(); });
    connect(zoomOut, &QPushButton::clicked, preview_, [this] { preview_->zoomOut(); });
    // A cancelled file dialog or a failed write keeps the preview open.
    disconnect(buttons, &QDialogButtonBox::accepted, this, nullptr);
    connect(save_, &QPushButton::clicked, this, [this] {
        if (saver_ && saver_())
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(preview_);
    layout->addWidget(buttons);
    resize(900, 700);
}

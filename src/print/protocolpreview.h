#ifndef PROTOCOLPREVIEW_H
#define PROTOCOLPREVIEW_H

#include <QDialog>
#include <functional>

class QPrintPreviewWidget;
class QPrinter;
class QPushButton;

// The preview of the protocol pages before they go to a PDF file. The
// pages are painted through the preview's paintRequested(QPrinter*) signal;
// "Save as PDF..." calls the saver, which asks for the file and writes it,
// and returns whether it did: only then does the preview close. Nothing is
// written unless the user chose a file.
class ProtocolPreview : public QDialog {
    Q_OBJECT
public:
    using Saver = std::function<bool()>;

    ProtocolPreview(QPrinter *printer, Saver saver, QWidget *parent = nullptr);

    QPrintPreviewWidget *preview() const { return preview_; }
    QPushButton *saveButton() const { return save_; }

private:
    QPrintPreviewWidget *preview_;
    QPushButton *save_;
    Saver saver_;
};

#endif // PROTOCOLPREVIEW_H

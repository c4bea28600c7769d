#ifndef PLOTIMAGE_H
#define PLOTIMAGE_H

#include <QImage>
#include <QObject>
#include <QPoint>
#include <functional>

class QAction;
class QMenu;
class QwtPlot;

// "Copy image" and "Save image..." on a plot's context menu. A right click
// opens the menu; a right drag stays the plot's pan. The image is the plot as
// shown, at its size, drawn by Qwt's plot renderer: PNG at twice the pixel
// density (sharp in a printed report), SVG or PDF. Files are written through
// a temporary file that replaces the target only once complete.
//
// One call puts it on any plot: PlotImage::install(plot, folder, name).
class PlotImage : public QObject {
    Q_OBJECT
public:
    // Where the save dialog starts and the file name it proposes (without
    // extension). Asked for each time the dialog opens.
    struct Target {
        QString folder;
        QString name;
    };
    using TargetSource = std::function<Target()>;
    // The save dialog: the chosen path, empty when cancelled; *filter is the
    // proposed filter on entry and the chosen one on return. Tests replace it.
    using Chooser =
        std::function<QString(QWidget *parent, const QString &caption, const QString &proposed,
                              const QString &filters, QString *filter)>;

    enum Format { Png, Svg, Pdf };

    // The menu lives as long as the plot.
    static PlotImage *install(QwtPlot *plot, TargetSource target);
    static PlotImage *install(QwtPlot *plot, const QString &folder, const QString &name);
    // The one installed on the plot, null when none.
    static PlotImage *of(const QwtPlot *plot);

    // The plot at twice its size in pixels, with that density recorded.
    static QImage image(QwtPlot *plot);
    // The file's bytes; empty when the plot cannot be drawn (no size).
    static QByteArray render(QwtPlot *plot, Format format);
    // Renders and writes; on failure *error says why and nothing is left at
    // path (what stood there stays as it was).
    static bool save(QwtPlot *plot, const QString &path, Format format, QString *error);
    // The format a chosen path asks for: its extension (any case) when it is
    // one of ours, else the chosen filter's, whose extension is then appended.
    static Format formatFor(QString *path, const QString &filter);
    // A name that is safe as a file name on every system.
    static QString fileName(const QString &text);

    // Made when first needed: the plot tabs are rebuilt on every click.
    QMenu *menu();
    QAction *copyAction();
    QAction *saveAction();
    void setFileChooser(Chooser chooser) { chooser_ = std::move(chooser); }

public slots:
    void copyImage();
    void saveImage();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    PlotImage(QwtPlot *plot, TargetSource target);
    QString choosePath(QString *filter);

    QwtPlot *plot_;
    TargetSource target_;
    Chooser chooser_;
    QMenu *menu_ = nullptr;
    // A right press that has not moved beyond the drag distance yet.
    bool rightClick_ = false;
    QPoint pressedAt_;
};

#endif // PLOTIMAGE_H

#include "plotimage.h"

#include "records/atomicsave.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <qwt_plot.h>
#include <qwt_plot_renderer.h>

namespace {
const qreal PngDensity = 2.0;
const char *const Extensions[] = {"png", "svg", "pdf"};

QString extension(PlotImage::Format format) {
    return QString::fromLatin1(Extensions[format]);
}

// In the Format order.
QStringList filterList() {
    return {PlotImage::tr("PNG image (*.png)"), PlotImage::tr("SVG image (*.svg)"),
            PlotImage::tr("PDF document (*.pdf)")};
}

void draw(QwtPlot *plot, QPainter *painter) {
    QwtPlotRenderer renderer;
    renderer.render(plot, painter, QRectF(QPointF(0, 0), QSizeF(plot->size())));
}
} // namespace

PlotImage::PlotImage(QwtPlot *plot, TargetSource target)
    : QObject(plot), plot_(plot), target_(std::move(target)) {
    setObjectName(QStringLiteral("plotImage"));
    plot->installEventFilter(this);
}

QMenu *PlotImage::menu() {
    if (!menu_) {
        menu_ = new QMenu(plot_);
        menu_->addAction(tr("Copy image"), this, &PlotImage::copyImage);
        menu_->addAction(tr("Save image..."), this, &PlotImage::saveImage);
    }
    return menu_;
}

PlotImage *PlotImage::install(QwtPlot *plot, TargetSource target) {
    if (PlotImage *installed = of(plot))
        return installed;
    return new PlotImage(plot, std::move(target));
}

PlotImage *PlotImage::install(QwtPlot *plot, const QString &folder, const QString &name) {
    return install(plot, [folder, name] { return Target{folder, name}; });
}

PlotImage *PlotImage::of(const QwtPlot *plot) {
    return plot ? plot->findChild<PlotImage *>(QStringLiteral("plotImage"),
                                               Qt::FindDirectChildrenOnly)
                : nullptr;
}

QAction *PlotImage::copyAction() {
    return menu()->actions().value(0);
}

QAction *PlotImage::saveAction() {
    return menu()->actions().value(1);
}

bool PlotImage::eventFilter(QObject *watched, QEvent *event) {
    if (watched != plot_)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::RightButton) {
            rightClick_ = true;
            pressedAt_ = mouse->globalPos();
        }
        break;
    }
    case QEvent::MouseMove: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (rightClick_ && (mouse->globalPos() - pressedAt_).manhattanLength() >=
                               QApplication::startDragDistance())
            rightClick_ = false; // a pan
        break;
    }
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::RightButton && rightClick_) {
            rightClick_ = false;
            menu()->popup(mouse->globalPos());
        }
        break;
    }
    case QEvent::ContextMenu: {
        // The mouse's menu waits for the release (the press may start a pan);
        // the keyboard's opens at once.
        const auto *request = static_cast<QContextMenuEvent *>(event);
        if (request->reason() != QContextMenuEvent::Mouse)
            menu()->popup(request->globalPos());
        event->accept();
        return true;
    }
    default:
        break;
    }
    return false;
}

QImage PlotImage::image(QwtPlot *plot) {
    if (plot->size().isEmpty())
        return QImage();
    QImage image(plot->size() * PngDensity, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    image.setDevicePixelRatio(PngDensity);
    // The renderer scales by the device's resolution against the plot's:
    // equal while drawing, so the image holds the plot as shown ...
    const int dotsPerMeter = qRound(plot->logicalDpiX() / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        draw(plot, &painter);
    }
    // ... and twice that afterwards, so a report shows it at the plot's size.
    image.setDotsPerMeterX(qRound(dotsPerMeter * PngDensity));
    image.setDotsPerMeterY(qRound(dotsPerMeter * PngDensity));
    return image;
}

QByteArray PlotImage::render(QwtPlot *plot, Format format) {
    QByteArray bytes;
    if (plot->size().isEmpty())
        return bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QString title = plot->title().text();
    const int dpi = plot->logicalDpiX();
    switch (format) {
    case Png: {
        const QImage picture = image(plot);
        if (picture.isNull() || !picture.save(&buffer, "PNG"))
            bytes.clear();
        break;
    }
    case Svg: {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setTitle(title);
        svg.setResolution(dpi);
        svg.setSize(plot->size());
        svg.setViewBox(QRect(QPoint(0, 0), plot->size()));
        QPainter painter(&svg);
        draw(plot, &painter);
        break;
    }
    case Pdf: {
        QPdfWriter pdf(&buffer);
        pdf.setTitle(title);
        pdf.setCreator(QCoreApplication::applicationName());
        pdf.setResolution(dpi);
        // One page of the plot's size, in points.
        pdf.setPageSize(QPageSize(QSizeF(plot->size()) * 72.0 / dpi, QPageSize::Point));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&pdf);
        draw(plot, &painter);
        break;
    }
    }
    return bytes;
}

bool PlotImage::save(QwtPlot *plot, const QString &path, Format format, QString *error) {
    const QByteArray bytes = render(plot, format);
    if (bytes.isEmpty()) {
        *error = tr("The plot could not be drawn.");
        return false;
    }
    const AtomicSave saved = AtomicSave::write(path, bytes);
    if (!saved.ok())
        *error = saved.error;
    return saved.ok();
}

PlotImage::Format PlotImage::formatFor(QString *path, const QString &filter) {
    const QString suffix = QFileInfo(*path).suffix().toLower();
    for (Format format : {Png, Svg, Pdf})
        if (suffix == extension(format))
            return format;
    const int chosen = filterList().indexOf(filter);
    const Format format = chosen < 0 ? Png : Format(chosen);
    *path += QLatin1Char('.') + extension(format);
    return format;
}

QString PlotImage::fileName(const QString &text) {
    QString name;
    for (const QChar c : text)
        name += c.category() == QChar::Other_Control || QStringLiteral("/\\:*?\"<>|").contains(c)
                    ? QChar('-')
                    : c;
    // Leading dots hide a file; trailing dots and blanks vanish on Windows.
    while (name.startsWith(QLatin1Char('.')) || name.startsWith(QLatin1Char(' ')))
        name.remove(0, 1);
    while (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')))
        name.chop(1);
    return name;
}

void PlotImage::copyImage() {
    const QImage picture = image(plot_);
    if (!picture.isNull())
        QApplication::clipboard()->setImage(picture);
}

QString PlotImage::choosePath(QString *filter) {
    const Target target = target_ ? target_() : Target();
    const QString name = fileName(target.name);
    const QString proposed =
        QDir(target.folder.isEmpty() ? QDir::homePath() : target.folder)
            .filePath((name.isEmpty() ? QStringLiteral("plot") : name) + QStringLiteral(".png"));
    const QString caption = tr("Save image");
    const QString filters = filterList().join(QStringLiteral(";;"));
    if (chooser_)
        return chooser_(plot_->window(), caption, proposed, filters, filter);
    return QFileDialog::getSaveFileName(plot_->window(), caption, proposed, filters, filter,
                                        QFileDialog::DontUseNativeDialog);
}

void PlotImage::saveImage() {
    QString filter = filterList().first();
    const QString chosen = choosePath(&filter);
    if (chosen.isEmpty())
        return;
    QString path = chosen;
    const Format format = formatFor(&path, filter);
    QWidget *window = plot_->window();
    // The dialog confirmed only the name it was given.
    if (path != chosen && QFileInfo::exists(path) &&
        QMessageBox::question(window, tr("Save image"),
                              QCoreApplication::translate(
                                  "MainWindow", "%1 already exists. Do you want to replace it?")
                                  .arg(path),
                              QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    QString error;
    if (!save(plot_, path, format, &error))
        QMessageBox::critical(window, tr("Save image"),
                              tr("The image could not be written to %1: %2").arg(path, error));
}

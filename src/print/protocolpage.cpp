#include "protocolpage.h"

#include "charts/plotaxes.h"
#include "evaluation/activityevaluation.h"
#include "records/atomicsave.h"
#include "records/processp.h"

#include <QCoreApplication>
#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QVector>
#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_grid.h>
#include <qwt_plot_renderer.h>
#include <qwt_scale_div.h>

namespace {
// Millimetres to device pixels, truncated.
int px(float scale, double mm) {
    return int(scale * float(mm));
}

QRect mmRect(float sx, float sy, double left, double top, double width, double height) {
    return QRect(px(sx, left), px(sy, top), px(sx, width), px(sy, height));
}

QString mw(const char *text) {
    return QCoreApplication::translate("MainWindow", text);
}

const char *const parameterLabels[] = {"Параметры испытаний",
                                       "Масса цемента в стакане Со, г",
                                       "Длительность, чч:мм",
                                       "Период, с ",
                                       "Ожидаемая марка",
                                       "ddV, мл (поставщик)",
                                       "Длительность твердения, сут"};

const char *const resultLabels[] = {"Результаты испытаний",
                                    "Контракция ΔV(Cₒ3), мл",
                                    "Контракция ΔV1k3, мл",
                                    "Торможение",
                                    "Поправка на торможение, мл",
                                    "Средняя температура Тср, °C",
                                    "Поправка на температуру, мл",
                                    "Итоговая контракция, мл/г",
                                    "Активность R, МПа",
                                    "Коэффициент совпадения",
                                    "Активность с коэф. совпадения, МПа",
                                    "Удельная контракция, мл"};

// Draws the text with its baseline at the point, in a smaller font when it
// is wider than its cell: a long label or value never runs over the border.
void drawFitted(QPainter &painter, const QPoint &at, const QString &text, int width) {
    const QFont font = painter.font();
    const int needed = painter.fontMetrics().horizontalAdvance(text);
    if (needed > width) {
        QFont smaller = font;
        smaller.setPointSizeF(font.pointSizeF() * width / needed);
        painter.setFont(smaller);
    }
    painter.drawText(at, text);
    painter.setFont(font);
}

QString rectText(const QString &format, const QRect &r) {
    return format.arg(r.left()).arg(r.right()).arg(r.top()).arg(r.bottom());
}
} // namespace

bool ProtocolPage::print(QPrinter *printer, const QList<const ProcessP *> &records,
                         const Log &log) {
    QPainter painter;
    if (!printer || !painter.begin(printer))
        return false;
    if (log)
        log(QStringLiteral("resol 3 = %1").arg(printer->resolution()));
    const QPageLayout layout = printer->pageLayout();
    const QRect pixels = layout.paintRectPixels(printer->resolution());
    const QRectF mm = layout.paintRect(QPageLayout::Millimeter);
    if (log)
        log(QStringLiteral("reqt = %1, %2, %3, %4")
                .arg(mm.left())
                .arg(mm.top())
                .arg(mm.width())
                .arg(mm.height()));
    const float sx = float(pixels.width()) / float(mm.width());
    const float sy = float(pixels.height()) / float(mm.height());
    bool first = true;
    for (const ProcessP *record : records) {
        if (!record)
            continue;
        if (!first)
            printer->newPage();
        first = false;
        paintProtocolPage(painter, *record, sx, sy, log);
    }
    return painter.end();
}

void ProtocolPage::setPdfMargins(QPrinter &printer) {
    const double side = (297.0 - 280.0) / 2;
    printer.setPageMargins(QMarginsF(side, 10.0, side, 10.0), QPageLayout::Millimeter);
}

bool ProtocolPage::writePdf(const QList<const ProcessP *> &records, const QString &path,
                            QString *error, const Log &log) {
    // The printer writes its file as it goes and reports no write error.
    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        *error = QCoreApplication::translate("MainWindow", "no temporary folder (%1)")
                     .arg(scratch.errorString());
        return false;
    }
    const QString draft = scratch.filePath(QStringLiteral("protocol.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setPageSize(QPageSize(QPageSize::A4));
    setPdfMargins(printer);
    printer.setOutputFileName(draft);
    QFile file(draft);
    const QByteArray pdf = print(&printer, records, log) && file.open(QIODevice::ReadOnly)
                               ? file.readAll()
                               : QByteArray();
    if (!pdf.startsWith("%PDF-") || !pdf.trimmed().endsWith("%%EOF")) {
        *error = QCoreApplication::translate("MainWindow", "the page could not be made");
        return false;
    }
    const AtomicSave saved = AtomicSave::write(path, pdf);
    *error = saved.error;
    return saved.ok();
}

void ProtocolPage::paintProtocolPage(QPainter &painter, const ProcessP &record, float sx, float sy,
                                     const Log &log) {
    if (log) {
        log(rectText(QStringLiteral("painter.viewport(): left = %1\nrigth = %2\ntop = %3\nbottom = "
                                    "%4\n"),
                     painter.viewport()));
        log(rectText(QStringLiteral("painter.window(): left = %1\nrigth = %2\ntop = %3\nbottom = "
                                    "%4\n"),
                     painter.window()));
    }
    painter.save();
    const QDateTime start = record.startDateTime();
    const QDateTime end = start.addSecs(qint64(record.duration()));
    const QString dateFormat = QStringLiteral("dd.MM.yyyy HH:mm");

    QFont font = painter.font();
    font.setPointSize(12);
    painter.setFont(font);
    painter.drawText(mmRect(sx, sy, 200, 0, 80, 15), Qt::AlignRight,
                     QStringLiteral("Протокол испытания №______\nНачало %1\nОкончание %2")
                         .arg(start.isValid() ? start.toString(dateFormat) : QStringLiteral("?"),
                              end.isValid() ? end.toString(dateFormat) : QStringLiteral("?")));
    painter.drawText(QPoint(px(sx, 170), px(sy, 185)),
                     QStringLiteral("Испытание провёл______________________________"));

    QFont title = font;
    title.setPointSize(18);
    title.setWeight(QFont::Bold);
    painter.setFont(title);
    painter.drawText(mmRect(sx, sy, 0, 20, 280, 15), Qt::AlignHCenter,
                     QStringLiteral("УСКОРЕННОЕ ОПРЕДЕЛЕНИЕ И ПРОГНОЗИРОВАНИЕ АКТИВНОСТИ "
                                    "ЦЕМЕНТА\nПО ЕГО КОНТРАКЦИИ МИ 2486-98, МИ 2487-98"));

    // Both tables start at their left border (x = 9 mm), rows and bands alike.
    const QColor band(240, 240, 240);
    painter.fillRect(mmRect(sx, sy, 9, 40, 94, 7.5), band);
    painter.fillRect(mmRect(sx, sy, 9, 100, 94, 7.5), band);

    QVector<QLine> lines;
    for (int i = 0; i <= 7; ++i) {
        const int y = px(sy, 40 + 7.5 * i);
        lines << QLine(px(sx, 9), y, px(sx, 103), y);
    }
    for (int i = 8; i <= 20; ++i) {
        const int y = px(sy, 40 + 7.5 * i);
        lines << QLine(px(sx, 9), y, px(sx, 103), y);
    }
    for (double x : {9.0, 103.0}) {
        lines << QLine(px(sx, x), px(sy, 40), px(sx, x), px(sy, 92.5));
        lines << QLine(px(sx, x), px(sy, 100), px(sx, x), px(sy, 190));
    }
    lines << QLine(px(sx, 85), px(sy, 47.5), px(sx, 85), px(sy, 92.5));
    lines << QLine(px(sx, 85), px(sy, 107.5), px(sx, 85), px(sy, 190));
    QPen grid = painter.pen();
    grid.setWidth(10);
    painter.setPen(grid);
    painter.drawLines(lines);

    QFont normal = font;
    normal.setWeight(QFont::Normal);
    painter.setFont(normal);
    // Labels end 1 mm before the column separator, values 1 mm before the
    // right border; the heading rows span the whole table.
    const int labelWidth = px(sx, 85 - 11 - 1);
    const int headingWidth = px(sx, 103 - 11 - 1);
    const int valueWidth = px(sx, 103 - 88 - 1);
    for (int i = 0; i < 7; ++i)
        drawFitted(painter, QPoint(px(sx, 11), px(sy, 45 + 7.5 * i)),
                   QString::fromUtf8(parameterLabels[i]), i == 0 ? headingWidth : labelWidth);
    for (int i = 0; i < 12; ++i)
        drawFitted(painter, QPoint(px(sx, 11), px(sy, 105 + 7.5 * i)),
                   QString::fromUtf8(resultLabels[i]), i == 0 ? headingWidth : labelWidth);

    const ActivityEvaluation evaluation(record);
    const QStringList parameters = evaluation.parameterTexts();
    const QStringList results = evaluation.resultTexts();
    for (int i = 0; i < parameters.size(); ++i)
        drawFitted(painter, QPoint(px(sx, 88), px(sy, 52.5 + 7.5 * i)), parameters.at(i),
                   valueWidth);
    for (int i = 0; i < results.size(); ++i)
        drawFitted(painter, QPoint(px(sx, 88), px(sy, 112.5 + 7.5 * i)), results.at(i), valueWidth);
    painter.restore();

    paintVolumePlot(painter, record, sx, sy);
}

void ProtocolPage::paintVolumePlot(QPainter &painter, const ProcessP &record, float sx, float sy) {
    QwtPlot plot;
    plot.setTitle(mw("Volume"));
    plot.setAxisTitle(QwtPlot::yLeft, mw("Volume, ml"));
    plot.setAxisTitle(QwtPlot::xBottom, mw("Time"));
    PlotAxes::dress(&plot, record.period());

    // Only the first three hours make the method's window: the curve stops
    // there, so that both axes scale to what the page shows.
    QVector<QPointF> points = record.volumeSamples(1);
    if (record.period() > 0) {
        const int shown = int(qMin<quint32>(10800 / record.period() + 1, quint32(points.size())));
        points.resize(shown);
    }
    auto *curve = new QwtPlotCurve(QString());
    curve->setPen(QPen(Qt::blue));
    curve->setSamples(points);
    curve->attach(&plot);

    auto *grid = new QwtPlotGrid;
    grid->enableXMin(true);
    grid->enableYMin(true);
    const QPen dotted(QBrush(Qt::gray), 1.0, Qt::DotLine, Qt::SquareCap, Qt::BevelJoin);
    grid->setMajorPen(dotted);
    grid->setMinorPen(dotted);
    grid->attach(&plot);

    plot.replot();
    const QwtScaleDiv &left = plot.axisScaleDiv(QwtPlot::yLeft);
    if (left.upperBound() - left.lowerBound() < 2.0)
        plot.setAxisScale(QwtPlot::yLeft, left.lowerBound() - 1, left.upperBound() + 1);
    if (record.period() > 0) {
        const double threeHours = double(10800 / record.period());
        if (plot.axisScaleDiv(QwtPlot::xBottom).upperBound() > threeHours)
            plot.setAxisScale(QwtPlot::xBottom, 0, threeHours);
    }
    plot.replot();

    QwtPlotRenderer renderer;
    renderer.setDiscardFlags(QwtPlotRenderer::DiscardBackground | QwtPlotRenderer::DiscardTitle |
                             QwtPlotRenderer::DiscardLegend |
                             QwtPlotRenderer::DiscardCanvasBackground |
                             QwtPlotRenderer::DiscardCanvasFrame);
    renderer.render(&plot, &painter, QRectF(mmRect(sx, sy, 110, 40, 170, 125)));
}

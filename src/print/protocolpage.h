#ifndef PROTOCOLPAGE_H
#define PROTOCOLPAGE_H

#include <QList>
#include <QString>
#include <functional>

class ProcessP;
class QPainter;
class QPrinter;

// The one-page test protocol (landscape A4, in Russian): header, title,
// parameters and results tables, the reduced-volume curve of the first three
// hours and the signature line. Page coordinates are millimetres from the
// top-left corner of the printable area; sx and sy are device pixels per
// millimetre.
class ProtocolPage {
public:
    using Log = std::function<void(const QString &)>;

    // Paints one protocol page per record, in order, with a new page between
    // them. Returns false, painting nothing, when the painter cannot be opened
    // on the printer (for instance a PDF file that cannot be created).
    static bool print(QPrinter *printer, const QList<const ProcessP *> &records,
                      const Log &log = Log());

    // Writes the pages of the records as a landscape A4 PDF file at path. The
    // file appears whole or not at all: the pages are made in a scratch
    // folder, checked, and only then put in place; what stood at path stays
    // when anything fails. False, with the reason in *error, on failure.
    static bool writePdf(const QList<const ProcessP *> &records, const QString &path,
                         QString *error, const Log &log = Log());

    // A PDF has no printable area of its own: these margins place the page's
    // 280 mm centred on landscape A4 and 10 mm below the paper's top edge, as
    // a printer would, so that no word comes closer than 5 mm to an edge when
    // the file is printed. A physical printer keeps its own printable area.
    static void setPdfMargins(QPrinter &printer);

    static void paintProtocolPage(QPainter &painter, const ProcessP &record, float sx, float sy,
                                  const Log &log = Log());
    static void paintVolumePlot(QPainter &painter, const ProcessP &record, float sx, float sy);
};

#endif // PROTOCOLPAGE_H

#ifndef CACHEDTEXTENGINE_H
#define CACHEDTEXTENGINE_H

#include <QFont>
#include <QHash>
#include <QPair>
#include <qwt_text_engine.h>

// The plain text engine of Qwt with its measurements remembered. Every plot
// of the tabs is new after each click, and laying out its axes measures the
// same tick labels and titles again; shaping them each time is most of the
// cost of building a plot. Installed once for the whole program; only the
// GUI thread measures texts.
class CachedTextEngine : public QwtPlainTextEngine {
public:
    // Replaces the plain text engine of Qwt (once; later calls do nothing).
    static void install();

    QSizeF textSize(const QFont &font, int flags, const QString &text) const override;
    void textMargins(const QFont &font, const QString &text, double &left, double &right,
                     double &top, double &bottom) const override;

private:
    // QFont compares equal across resolutions (screen and printer), so the
    // key carries the font's line height in pixels as well.
    struct FontKey {
        QFont font;
        double height;
        bool operator==(const FontKey &o) const { return height == o.height && font == o.font; }
    };
    friend uint qHash(const FontKey &key, uint seed) { return qHash(key.font, seed); }
    static FontKey fontKey(const QFont &font);

    struct Margins {
        double left, right, top, bottom;
    };
    using SizeKey = QPair<QPair<FontKey, int>, QString>;

    mutable QHash<SizeKey, QSizeF> sizes_;
    mutable QHash<FontKey, Margins> margins_;
};

#endif // CACHEDTEXTENGINE_H

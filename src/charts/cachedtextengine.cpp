#include "cachedtextengine.h"

#include <QFontMetricsF>
#include <qwt_text.h>

namespace {
// Tick labels follow the data, so the set of texts grows with every test
// shown; past this many the cache starts afresh.
const int CacheLimit = 4096;
} // namespace

void CachedTextEngine::install() {
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QwtText::setTextEngine(QwtText::PlainText, new CachedTextEngine);
}

CachedTextEngine::FontKey CachedTextEngine::fontKey(const QFont &font) {
    return {font, QFontMetricsF(font).height()};
}

QSizeF CachedTextEngine::textSize(const QFont &font, int flags, const QString &text) const {
    const SizeKey key(qMakePair(fontKey(font), flags), text);
    const auto it = sizes_.constFind(key);
    if (it != sizes_.constEnd())
        return *it;
    if (sizes_.size() >= CacheLimit)
        sizes_.clear();
    const QSizeF size = QwtPlainTextEngine::textSize(font, flags, text);
    sizes_.insert(key, size);
    return size;
}

void CachedTextEngine::textMargins(const QFont &font, const QString &text, double &left,
                                   double &right, double &top, double &bottom) const {
    // The plain text margins depend on the font alone.
    const FontKey key = fontKey(font);
    auto it = margins_.constFind(key);
    if (it == margins_.constEnd()) {
        if (margins_.size() >= CacheLimit)
            margins_.clear();
        Margins m;
        QwtPlainTextEngine::textMargins(font, text, m.left, m.right, m.top, m.bottom);
        it = margins_.insert(key, m);
    }
    left = it->left;
    right = it->right;
    top = it->top;
    bottom = it->bottom;
}

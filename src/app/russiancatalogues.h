#ifndef RUSSIANCATALOGUES_H
#define RUSSIANCATALOGUES_H

#include <QTranslator>

// The Russian catalogues compiled into the program, ours and the toolkit's,
// installed into the running application for as long as this object lives;
// and the language the program has stored for its interface. QtCore only, so
// that the command-line tool can speak the window's language.
class RussianCatalogues {
public:
    RussianCatalogues();
    ~RussianCatalogues();
    RussianCatalogues(const RussianCatalogues &) = delete;
    RussianCatalogues &operator=(const RussianCatalogues &) = delete;

    // False when a catalogue could not be loaded (its texts stay English).
    bool loaded() const { return loaded_; }

    // The language the window starts in, as its settings store it: Russian
    // only for 0; English when nothing is stored.
    static bool russianStored();
    // Whether the Russian catalogues are installed now: the interface is Russian.
    static bool active();

private:
    QTranslator toolkit_;
    QTranslator program_;
    bool loaded_ = false;
};

#endif // RUSSIANCATALOGUES_H

#ifndef DEFAULTLAYOUT_H
#define DEFAULTLAYOUT_H

#include <QByteArray>

// The built-in window layout (the toolkit's own main-window state record,
// state version 0), produced once by tools/layoutgen.
QByteArray defaultLayoutState();

#endif // DEFAULTLAYOUT_H

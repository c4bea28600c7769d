#include "russiancatalogues.h"

#include "app/mainwindow.h"

#include <QCoreApplication>
#include <QSettings>

namespace {
int installed = 0;
}

RussianCatalogues::RussianCatalogues() {
    MainWindow::initResources();
    loaded_ = toolkit_.load(QStringLiteral(":/translater/qtbase_ru.qm")) &&
              program_.load(QStringLiteral(":/translater/morwen_ru.qm"));
    QCoreApplication::installTranslator(&toolkit_);
    QCoreApplication::installTranslator(&program_);
    ++installed;
}

RussianCatalogues::~RussianCatalogues() {
    --installed;
    QCoreApplication::removeTranslator(&program_);
    QCoreApplication::removeTranslator(&toolkit_);
}

bool RussianCatalogues::russianStored() {
    // The window's own settings, whatever the running program is called.
    const QSettings settings(QStringLiteral("Ostrevan"), QStringLiteral("Setrovia+"));
    bool ok = false;
    const int language = settings.value(QStringLiteral("language"), 1).toInt(&ok);
    return ok && language == 0;
}

bool RussianCatalogues::active() {
    return installed > 0;
}

#include "recentprojects.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>
#include <algorithm>

const QString RecentProjects::SettingsKey = QStringLiteral("recentProjects");

namespace {
QSettings settings() {
    return QSettings(QCoreApplication::organizationName(), QCoreApplication::applicationName());
}

// An absolute path without control characters, in one spelling.
QString plainPath(const QString &path) {
    if (path.isEmpty() || !QDir::isAbsolutePath(path) ||
        std::any_of(path.cbegin(), path.cend(),
                    [](QChar c) { return c.category() == QChar::Other_Control; }))
        return QString();
    return QDir::cleanPath(path);
}
} // namespace

RecentProjects::RecentProjects(QMenu *fileMenu, QAction *before, QObject *parent)
    : QObject(parent) {
    menu_ = new QMenu(tr("Recent projects"), fileMenu);
    menu_->setToolTipsVisible(true);
    fileMenu->insertMenu(before, menu_);
    // Another instance may have changed the list since.
    connect(fileMenu, &QMenu::aboutToShow, this, &RecentProjects::rebuild);
    rebuild();
}

QStringList RecentProjects::paths() {
    const QVariant value = settings().value(SettingsKey);
    QStringList stored;
    // The settings file keeps a list of one as a plain text.
    if (value.userType() == QMetaType::QStringList)
        stored = value.toStringList();
    else if (value.userType() == QMetaType::QString)
        stored << value.toString();
    QStringList list;
    for (const QString &entry : qAsConst(stored)) {
        const QString path = plainPath(entry);
        if (!path.isEmpty() && !list.contains(path))
            list << path;
        if (list.size() == Limit)
            break;
    }
    return list;
}

void RecentProjects::store(const QStringList &paths) {
    QSettings s = settings();
    s.setValue(SettingsKey, paths);
}

void RecentProjects::add(const QString &path) {
    const QString entry = plainPath(QFileInfo(path).absoluteFilePath());
    if (entry.isEmpty())
        return;
    QStringList list = paths();
    list.removeAll(entry);
    list.prepend(entry);
    store(list.mid(0, Limit));
    rebuild();
}

void RecentProjects::remove(const QString &path) {
    QStringList list = paths();
    list.removeAll(plainPath(path));
    store(list);
    rebuild();
}

void RecentProjects::clear() {
    store(QStringList());
    rebuild();
}

void RecentProjects::rebuild() {
    // Later: the entry that was chosen may be the one still emitting.
    for (QAction *old : menu_->actions()) {
        menu_->removeAction(old);
        old->deleteLater();
    }
    const QStringList list = paths();
    for (const QString &path : list) {
        // A single & would be taken for a mnemonic.
        QString name = QFileInfo(path).fileName();
        name.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction *entry = menu_->addAction(name);
        entry->setToolTip(QDir::toNativeSeparators(path));
        entry->setStatusTip(QDir::toNativeSeparators(path));
        connect(entry, &QAction::triggered, this, [this, path] { emit chosen(path); });
    }
    menu_->addSeparator();
    menu_->addAction(tr("Clear list"), this, &RecentProjects::clear);
    menu_->setEnabled(!list.isEmpty());
}

#ifndef RECENTPROJECTS_H
#define RECENTPROJECTS_H

#include <QObject>
#include <QStringList>

class QAction;
class QMenu;

// File > Recent projects: the projects last opened or saved, newest first.
// The list lives in the settings and is read again whenever the File menu
// opens, so instances running side by side and the next start share it.
class RecentProjects : public QObject {
    Q_OBJECT
public:
    static constexpr int Limit = 8;
    static const QString SettingsKey;

    // Puts the submenu into fileMenu ahead of `before`.
    RecentProjects(QMenu *fileMenu, QAction *before, QObject *parent = nullptr);

    // The stored list: absolute paths, newest first, at most Limit. A value
    // that is not a list of texts reads as none; entries that are no
    // absolute path are left out.
    static QStringList paths();

    // Puts the path first (once); the oldest beyond Limit go.
    void add(const QString &path);
    void remove(const QString &path);
    void clear();

    QMenu *menu() const { return menu_; }

signals:
    // An entry was chosen; the window opens it (or says it is gone).
    void chosen(const QString &path);

private:
    static void store(const QStringList &paths);
    void rebuild();

    QMenu *menu_;
};

#endif // RECENTPROJECTS_H

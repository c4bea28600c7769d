#ifndef PROJECTDROP_H
#define PROJECTDROP_H

#include <QObject>

class QMimeData;
class QWidget;

// Files dropped anywhere on a window: one project file (".vtl") is to be
// opened, or added to the open project when Ctrl is held; several files or
// other files are refused. Drags without local files (text, links) go on to
// the widgets as before, so the editors still take dropped text.
class ProjectDrop : public QObject {
    Q_OBJECT
public:
    enum Request {
        NotFiles, // no local file: not ours
        Open,
        Add,
        Refused // several files, or not a project file
    };

    explicit ProjectDrop(QWidget *window);
    ~ProjectDrop() override;

    // What a drop of these data asks for; *path gets the project file.
    static Request request(const QMimeData *data, Qt::KeyboardModifiers modifiers, QString *path);

signals:
    // Emitted from within the drop: act on it once the drop has ended.
    void dropped(ProjectDrop::Request request, const QString &path);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *window_;
};

#endif // PROJECTDROP_H

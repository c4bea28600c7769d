#include "projectdrop.h"

#include <QApplication>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QWidget>
#include <algorithm>

ProjectDrop::ProjectDrop(QWidget *window) : QObject(window), window_(window) {
    window->setAcceptDrops(true);
    // A drag goes to the widget under the mouse that takes drops (an editor)
    // or else up to the window: watching the application sees both.
    qApp->installEventFilter(this);
}

ProjectDrop::~ProjectDrop() {
    qApp->removeEventFilter(this);
}

ProjectDrop::Request ProjectDrop::request(const QMimeData *data, Qt::KeyboardModifiers modifiers,
                                          QString *path) {
    const QList<QUrl> urls = data ? data->urls() : QList<QUrl>();
    if (std::none_of(urls.cbegin(), urls.cend(), [](const QUrl &u) { return u.isLocalFile(); }))
        return NotFiles;
    const QString file = urls.first().toLocalFile();
    if (urls.size() != 1 || !file.endsWith(QStringLiteral(".vtl"), Qt::CaseInsensitive))
        return Refused;
    *path = QFileInfo(file).absoluteFilePath();
    return modifiers & Qt::ControlModifier ? Add : Open;
}

bool ProjectDrop::eventFilter(QObject *watched, QEvent *event) {
    const QEvent::Type type = event->type();
    if ((type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) ||
        !watched->isWidgetType() || static_cast<QWidget *>(watched)->window() != window_)
        return false;
    auto *drop = static_cast<QDropEvent *>(event);
    QString path;
    const Request what = request(drop->mimeData(), drop->keyboardModifiers(), &path);
    // Never a move: the program the file came from would delete it.
    const Qt::DropActions possible = drop->possibleActions();
    if (what == NotFiles || !(possible & (Qt::CopyAction | Qt::LinkAction)))
        return false;
    // Taken even when refused, so that the refusal can say why.
    drop->setDropAction(possible & Qt::CopyAction ? Qt::CopyAction : Qt::LinkAction);
    drop->accept();
    if (type == QEvent::Drop)
        emit dropped(what, path);
    return true;
}

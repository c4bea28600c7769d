#ifndef RECOVERYKEEPER_H
#define RECOVERYKEEPER_H

#include "records/recoveryfolder.h"

#include <QObject>
#include <QTimer>
#include <functional>

// Keeps this instance's recovery file while the open project has unsaved
// changes: changed() starts one timer unless it runs already, so typing
// without a pause still writes within the delay; writeNow() writes at once
// (after a read from the instrument); discard() removes the file (saved,
// closed without saving). The file goes with the object (a clean exit).
class RecoveryKeeper : public QObject {
    Q_OBJECT
public:
    static constexpr int DefaultDelayMs = 30000;

    // The project as it is now: its file's path and its file image; false
    // (with the reason) when no image can be made.
    using Snapshot = std::function<bool(QString *projectPath, QByteArray *image, QString *error)>;

    explicit RecoveryKeeper(Snapshot snapshot, QObject *parent = nullptr,
                            const QString &folder = RecoveryFolder::defaultFolder());

    void setDelay(int ms) { timer_.setInterval(ms); }
    const QTimer &timer() const { return timer_; }
    RecoveryFolder &folder() { return folder_; }
    // False from a failed write until a write succeeds or discard().
    bool isProtecting() const { return error_.isNull(); }
    QString error() const { return error_; }

public slots:
    void changed();
    bool writeNow();
    void discard();

signals:
    // A write failed: for the message log.
    void failed(const QString &text);
    // The work went from protected to not (error: why) or back (error null).
    void protectionChanged(const QString &error);

private:
    Snapshot snapshot_;
    QTimer timer_;
    RecoveryFolder folder_;
    QString error_;

    void setError(const QString &error);
};

#endif // RECOVERYKEEPER_H

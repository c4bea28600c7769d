#include "recoverykeeper.h"

#include <QCoreApplication>
#include <QDir>

RecoveryKeeper::RecoveryKeeper(Snapshot snapshot, QObject *parent, const QString &folder)
    : QObject(parent), snapshot_(std::move(snapshot)), folder_(folder) {
    timer_.setSingleShot(true);
    // Its time left is exact (a coarse timer may round it).
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(DefaultDelayMs);
    connect(&timer_, &QTimer::timeout, this, &RecoveryKeeper::writeNow);
}

void RecoveryKeeper::changed() {
    if (!timer_.isActive())
        timer_.start();
}

bool RecoveryKeeper::writeNow() {
    timer_.stop();
    QString projectPath, error;
    QByteArray image;
    if (snapshot_(&projectPath, &image, &error)) {
        const AtomicSave saved = folder_.write(projectPath, image);
        if (saved.ok()) {
            setError(QString());
            return true;
        }
        error = saved.error;
    }
    const QString text =
        QCoreApplication::translate("MainWindow", "The recovery file %1 could not be written: %2")
            .arg(QDir::toNativeSeparators(folder_.path()), error);
    emit failed(text);
    setError(text);
    return false;
}

void RecoveryKeeper::discard() {
    timer_.stop();
    folder_.remove();
    setError(QString());
}

void RecoveryKeeper::setError(const QString &error) {
    if (error.isNull() == error_.isNull() && error == error_)
        return;
    error_ = error;
    emit protectionChanged(error_);
}

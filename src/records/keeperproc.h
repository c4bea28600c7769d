#ifndef KEEPERPROC_H
#define KEEPERPROC_H

#include <QList>
#include <QObject>
#include <mutex>

class ProcessP;

// The ordered list of the open project's test records; row i of the process
// list is record i here. The store owns every record it accepted.
//
// The instrument reader thread calls contains() and add() while the GUI thread
// uses the store, so every operation takes the store's lock: the two threads
// never work on the list at the same time. Records themselves are touched
// only by the GUI thread once they are in the store.
class KeeperProc : public QObject {
    Q_OBJECT
public:
    explicit KeeperProc(QObject *parent = nullptr);
    ~KeeperProc() override;

    int count() const;
    ProcessP *at(int i) const;
    // Row of the record, -1 when the store does not hold it (pointer compare only).
    int indexOf(const ProcessP *record) const;
    bool contains(const char *header) const;
    bool contains(const QByteArray &header) const;
    // Appends the record unless the same test is already held; a refused
    // record stays with the caller.
    bool add(ProcessP *record);
    // Takes the i-th record out without destroying it; the caller owns it now.
    // Returns null (and changes nothing) for an index out of range.
    ProcessP *remove(int i);
    // Destroys every record.
    void clear();

signals:
    void sendMessage(const QString &text);

private:
    bool containsLocked(const char *header) const;

    // A standard mutex, so that ThreadSanitizer sees the locking.
    mutable std::mutex mutex_;
    QList<ProcessP *> records_;
};

#endif // KEEPERPROC_H

#ifndef KEEPERPROC_H
#define KEEPERPROC_H

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QVector>
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
    // Moves every record of `from` that this store does not hold yet to the
    // end of this one, in order; the others stay in `from`. Returns how many
    // moved. Both locks are held, so no reader slips a test in between.
    int takeAll(KeeperProc &from);

    // The project file starts with this format string (no terminator).
    static constexpr char FileFormat[] = "format 04";
    static constexpr int FileFormatSize = 9;
    // The count is one byte and a note length 16 bits: the file cannot hold more.
    static constexpr int MaxRecords = 255;
    static constexpr int MaxNoteBytes = 65535;

    // What keeps the store from being written as a project file.
    struct LimitBreach {
        enum Kind { None, TooManyRecords, NoteTooLong } kind = None;
        int row = -1;    // the record whose note is too long
        qint64 size = 0; // the record count, or the note's byte length
    };

    // The project file image from the format string through the last record.
    // Returns an empty array, and says why in *breach, when the store holds
    // more records or a longer note than the format can carry: a count byte or
    // a length that disagrees with the bytes after it would corrupt the file.
    QByteArray toBytes(LimitBreach *breach = nullptr);
    // Parses the records that follow the format string (data starts with the
    // count byte) and adds the new ones to the store. Returns the record bytes
    // consumed after the count byte, or -1 when the data is corrupt; then the
    // store is left exactly as it was. *appended gets one flag per record of
    // the data: true when it was added, false when the store already held the
    // same test. All records are added under one lock, so a reader thread
    // offering tests meanwhile cannot slip in between them.
    int fromBytes(const QByteArray &data, QVector<bool> *appended = nullptr);

signals:
    void sendMessage(const QString &text);

private:
    bool containsLocked(const char *header) const;

    // A standard mutex, so that ThreadSanitizer sees the locking.
    mutable std::mutex mutex_;
    QList<ProcessP *> records_;
};

#endif // KEEPERPROC_H

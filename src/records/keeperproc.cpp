#include "keeperproc.h"

#include "processp.h"

KeeperProc::KeeperProc(QObject *parent) : QObject(parent) {}

KeeperProc::~KeeperProc() {
    clear();
}

int KeeperProc::count() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return records_.size();
}

ProcessP *KeeperProc::at(int i) const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (i < 0 || i >= records_.size())
        return nullptr;
    return records_.at(i);
}

int KeeperProc::indexOf(const ProcessP *record) const {
    std::lock_guard<std::mutex> lock(mutex_);
    for (int i = 0; i < records_.size(); ++i)
        if (records_.at(i) == record)
            return i;
    return -1;
}

bool KeeperProc::contains(const char *header) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return containsLocked(header);
}

bool KeeperProc::contains(const QByteArray &header) const {
    if (header.size() < ProcessP::HeaderSize)
        return false;
    return contains(header.constData());
}

bool KeeperProc::add(ProcessP *record) {
    if (!record)
        return false;
    std::lock_guard<std::mutex> lock(mutex_);
    if (containsLocked(record->rawHeader()))
        return false;
    records_.append(record);
    return true;
}

ProcessP *KeeperProc::remove(int i) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (i < 0 || i >= records_.size())
        return nullptr;
    return records_.takeAt(i);
}

void KeeperProc::clear() {
    QList<ProcessP *> old;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        old.swap(records_);
    }
    qDeleteAll(old);
}

bool KeeperProc::containsLocked(const char *header) const {
    for (const ProcessP *p : records_)
        if (ProcessP::sameTest(p->rawHeader(), header))
            return true;
    return false;
}

#ifndef VIEWERUSB_H
#define VIEWERUSB_H

#include <QAtomicInt>
#include <QThread>

class KeeperProc;
class ProcessP;

// The instrument reader. It lives in its own thread (it moves itself there),
// so its slots run one at a time in that thread; results leave it only as
// queued signals.
class ViewerUsb : public QThread {
    Q_OBJECT
public:
    ViewerUsb();
    ~ViewerUsb() override;

    void setKeeper(KeeperProc *keeper);
    // Asks a read under way to stop at the next transfer (window closing).
    void requestStop();
    // Stops the thread's event loop and waits for it; safe to call twice.
    void shutdown();

public slots:
    void readDevices();
    void checkPresentDev();

signals:
    void activateUsbButton(bool present);
    void readEnd();
    void sendMes(const QString &text);
    void addedNewProc(ProcessP *proc);

protected:
    void run() override;

private:
    KeeperProc *keeper_ = nullptr;
    bool present_ = false;
    quint8 kind_ = 2;
    QAtomicInt stopRequested_;
};

#endif // VIEWERUSB_H

#include "viewerusb.h"

#include "records/keeperproc.h"
#include "records/processp.h"

#include <cstdio>

ViewerUsb::ViewerUsb() : QThread(nullptr) {
    qRegisterMetaType<ProcessP *>("ProcessP*");
    moveToThread(this);
}

ViewerUsb::~ViewerUsb() {
    shutdown();
    std::printf("ViewerUsb::~ViewerUsb()\n");
    std::fflush(stdout);
}

void ViewerUsb::setKeeper(KeeperProc *keeper) {
    keeper_ = keeper;
}

void ViewerUsb::requestStop() {
    stopRequested_.storeRelaxed(1);
}

void ViewerUsb::shutdown() {
    requestStop();
    quit();
    if (QThread::currentThread() != this)
        wait();
}

void ViewerUsb::run() {
    emit activateUsbButton(false);
    exec();
}

void ViewerUsb::readDevices() {
    emit readEnd();
}

void ViewerUsb::checkPresentDev() {}

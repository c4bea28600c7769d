#ifndef FAKELIBUSB_H
#define FAKELIBUSB_H

#include "simulator/simulatortransport.h"

// libusb 0.1 over a simulated bus, for the real LibUsbTransport; set it first.
extern SimulatorTransport *fakeUsbBus;

#endif // FAKELIBUSB_H

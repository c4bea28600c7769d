#ifndef FAKELIBUSB_H
#define FAKELIBUSB_H

#include "simulator/simulatortransport.h"

// The libusb 0.1 functions, defined over a simulated bus so that a program
// linked with them in place of the library runs the real LibUsbTransport
// against simulated instruments. Set the bus before the first call.
extern SimulatorTransport *fakeUsbBus;

#endif // FAKELIBUSB_H

#include "usbtransport.h"

UsbTransport::~UsbTransport() = default;

#pragma once
// Opens a serial device by the system's own name for it: a device path such as /dev/ttyUSB0
// or /dev/pts/7 on POSIX systems, \\.\COM3 on Windows. Callers above the platform layer use
// this and never name a backend.
#include "platform/SerialStream.h"

#include <memory>
#include <string>

// nullptr when the device does not exist, cannot be opened, is held by another program or is
// not a serial device; reason (when given) then says why: the system's words, "in use by
// another program" or "not a serial device".
std::unique_ptr<ISerialStream> OpenSerialDevice(const std::string& path, std::string* reason = nullptr);

#include "platform/SerialDevice.h"

#include "platform/TtyStream.h"

std::unique_ptr<ISerialStream> OpenSerialDevice(const std::string& path, std::string* reason)
{
    return CTtyStream::Open(path, reason);
}

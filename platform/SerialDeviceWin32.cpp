#include "platform/SerialDevice.h"

#include "platform/ComStream.h"

std::unique_ptr<ISerialStream> OpenSerialDevice(const std::string& path, std::string* reason)
{
    return CComStream::Open(path, reason);
}

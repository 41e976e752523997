#include "link/PortOpener.h"

#include "platform/SerialDevice.h"
#include "platform/SettingsStore.h"

#include <cctype>

bool ParseComPortName(const std::string& name, int& number)
{
    if (name.size() < 4)
        return false;
    for (int i = 0; i < 3; ++i)
        if (std::toupper(static_cast<unsigned char>(name[i])) != "COM"[i])
            return false;
    size_t pos = 3;
    if (name[pos] == ' ')
        ++pos;
    if (pos >= name.size() || name.size() - pos > 4)
        return false;
    int value = 0;
    for (; pos < name.size(); ++pos) {
        if (!std::isdigit(static_cast<unsigned char>(name[pos])))
            return false;
        value = value * 10 + (name[pos] - '0');
    }
    if (value < 1)
        return false;
    number = value;
    return true;
}

std::string ResolvePortName(const std::string& name, const SettingLookup& lookup)
{
    int number = 0;
    if (!ParseComPortName(name, number))
        return name;
    if (lookup) {
        auto value = lookup("COM" + std::to_string(number));
#ifdef _WIN32
        // Windows has the ports by these very names, so an entry is only needed to send one
        // elsewhere (another port, a simulator). A POSIX device path cannot name anything
        // here: a settings file brought over from Linux keeps working with the real ports.
        if (value && !value->empty() && value->front() != '/')
            return *value;
#else
        if (value && !value->empty())
            return *value;
#endif
    }
#ifdef _WIN32
    // The device namespace's name reaches every port, COM10 and above included.
    return "\\\\.\\COM" + std::to_string(number);
#else
    return "/dev/ttyS" + std::to_string(number - 1);
#endif
}

std::unique_ptr<ISerialStream> CTtyPortOpener::OpenStream(const std::string& name)
{
    return OpenSerialDevice(ResolvePortName(name, m_lookup), &m_strError);
}

SettingLookup SettingsFileLookup()
{
    // Read when a port is opened, not when the program starts, so that a port mapping
    // edited by hand takes effect at the next connect.
    return [](const std::string& key) -> std::optional<std::string> {
        CSettingsStore store;
        if (!store.Load())
            return std::nullopt;
        return store.Get(key);
    };
}

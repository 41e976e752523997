#pragma once
// Turns a port name into an open byte stream. "COM n" (or "COMn") is looked up in the
// settings file under the key "COMn"; its value, or else "/dev/ttyS<n-1>", is the name that
// is opened. On Windows the port itself, "\\.\COMn", is opened unless an entry names
// something else that is not a POSIX device path. A name the opener does not recognise as a
// simulator is opened as a device.
//
//   # tidewell settings file
//   COM1=/dev/ttyUSB0
//   COM2=/dev/pts/7        (a velunit-sim started by hand)
//   COM3=sim:velunit       (a simulator inside this program, where the program offers one)
#include "platform/SerialStream.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class ISerialTap;

using SettingLookup = std::function<std::optional<std::string>(const std::string& key)>;

// The settings file the program is configured with (found through TIDEWELL_CONFIG).
SettingLookup SettingsFileLookup();

// "COM 3", "com3" -> 3; false for anything else.
bool ParseComPortName(const std::string& name, int& number);

// The name to open for a port name, as described above.
std::string ResolvePortName(const std::string& name, const SettingLookup& lookup);

class IPortOpener
{
  public:
    virtual ~IPortOpener() = default;
    // nullptr when the port cannot be opened (missing, in use, not a serial device).
    virtual std::unique_ptr<ISerialStream> OpenStream(const std::string& name) = 0;
    // Why the last OpenStream gave nullptr, in the system's words; empty when unknown.
    virtual std::string LastOpenError() const { return {}; }
    // Taps that every port opened through this opener carries (a trace of the line, say),
    // so that ports created deep inside a controller are watched too. None by default.
    virtual std::vector<ISerialTap*> Taps() { return {}; }
};

// The everyday opener: resolves through the settings file and opens a serial device. Programs that
// host simulators wrap it and catch their own names first.
class CTtyPortOpener : public IPortOpener
{
  public:
    explicit CTtyPortOpener(SettingLookup lookup = SettingsFileLookup()) : m_lookup(std::move(lookup)) {}
    std::unique_ptr<ISerialStream> OpenStream(const std::string& name) override;
    std::string LastOpenError() const override { return m_strError; }

  private:
    SettingLookup m_lookup;
    std::string m_strError;
};

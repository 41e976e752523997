#pragma once
// A simulated Velunit on an in-process line, pumped on a virtual clock, with a serial port
// open on the program's end: the whole link runs in no real time.
#include "link/Clock.h"
#include "link/SerialPort.h"
#include "link/SimLine.h"
#include "sim/VelunitLineDriver.h"

#include <memory>

struct VelunitRig {
    // Without attachPort the program's end stays free for a controller to take.
    explicit VelunitRig(SVelunitConfig config = {}, bool attachPort = true)
    {
        driver = std::make_unique<CVelunitLineDriver>(line, clock, std::move(config));
        if (attachPort)
            port.Attach(line.TakeHostEnd(), 9600);
    }
    CVelunitSimulator& Sim() { return driver->Simulator(); }

    CVirtualClock clock{CDateTime::FromParts(2026, 12, 8, 10, 0, 0)};
    CSimLine line;
    std::unique_ptr<CVelunitLineDriver> driver;
    CSerialPort port{&clock};
};

#pragma once
// An observer of one serial line: every byte the program sends or receives on a CSerialPort,
// and the line events that are not bytes (break, baud change, purge, close). The session log
// and the line trace are built on it; neither can miss what another part of the program
// wrote to the port directly.
//
// The port calls its taps on the thread that is using it, in the order things happened on
// the line. Received bytes come in chunks: what arrived since the last write, silence or
// line event, so a tap is not called once per byte of a download.
#include "data/DateTime.h"

#include <cstddef>
#include <cstdint>

class CSerialPort;

enum class ETapDirection {
    in, // from the instrument
    out // to the instrument
};

enum class ETapEvent {
    lineBreak, // value: its length in ms
    baud,      // value: the new rate
    purge,     // both queues discarded
    close
};

class ISerialTap
{
  public:
    virtual ~ISerialTap() = default;
    virtual void OnBytes(ETapDirection direction, const uint8_t* data, size_t size,
                         const CDateTime& time) = 0;
    virtual void OnEvent(ETapEvent /*event*/, int /*value*/, const CDateTime& /*time*/) {}
    // The port lets go of the tap (RemoveTap, or the port is destroyed): it will not call
    // the tap again.
    virtual void OnDetached(const CSerialPort& /*port*/) {}
};

#pragma once
// An in-process serial line with two ends: the application's end (an ISerialStream that a
// CSerialPort can own) and the instrument's end, where a simulator reads bytes together
// with the line events a real cable carries but a byte stream does not: break on/off and
// baud changes. Bytes sent while the two ends run at different baud rates arrive mangled,
// as they would on a real cable.
//
// Two ways to drive it:
// - threaded: the simulator reads its end on its own thread; reads wait in real time;
// - pumped: the application's end calls a pump whenever it finds nothing to read, and the
//   pump lets the simulator work (and moves a virtual clock), so tests run without threads
//   and without real waiting.
#include "platform/SerialStream.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

struct SLineItem {
    enum Kind { byte, breakOn, breakOff, baud, purge };
    Kind m_kind = byte;
    int m_nValue = 0; // the byte, or the baud rate
};

class CSimLine
{
  public:
    CSimLine();
    ~CSimLine();
    CSimLine(const CSimLine&) = delete;
    CSimLine& operator=(const CSimLine&) = delete;

    // The application's end, to hand to a CSerialPort. The line must outlive it.
    std::unique_ptr<ISerialStream> TakeHostEnd();

    // Pumped mode: called with the longest time the reader will wait, whenever the host end
    // finds nothing to read (and with 0 when it asks what is available). A pump that makes
    // nothing arrive must account for the wait itself (advance its virtual clock).
    void SetPump(std::function<void(int maxWaitMs)> pump) { m_pump = std::move(pump); }

    // Sees every byte as it is put on the line by either end (before any mangling), for
    // tests that check what crossed. Called with the line's lock held: it must not call back.
    using Monitor = std::function<void(bool toDevice, const unsigned char* data, size_t size)>;
    void SetMonitor(Monitor monitor) { m_monitor = std::move(monitor); }

    // The instrument's end.
    bool DeviceRead(SLineItem& item, int timeoutMs); // waits in real time (threaded mode)
    bool DevicePoll(SLineItem& item);                // never waits
    void DeviceWrite(const unsigned char* data, size_t size);
    void DeviceSetBaud(int baud);
    int HostBaud() const;
    int DeviceBaud() const;

    // Line closed: every wait returns at once.
    void Shutdown();

  private:
    class CHostEnd;
    friend class CHostEnd;

    unsigned char Carry(unsigned char byte) const; // mangled when the baud rates differ

    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    std::deque<SLineItem> m_toDevice;
    std::deque<unsigned char> m_toHost;
    int m_nHostBaud = 9600;
    int m_nDeviceBaud = 9600;
    bool m_bShutdown = false;
    std::function<void(int)> m_pump;
    Monitor m_monitor;
};

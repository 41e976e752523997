#pragma once
// A stand-in for the Flow Computer on the other end of a serial line. It answers the two wake
// bytes with a chosen reply, takes the 251-byte settings message when its reply asks for
// one, compares it byte for byte with an expected message when given one, and confirms.
//
//   < 9F 9F          > reply (6, 7, 9, 0x80 ... or nothing)
//   < 251 bytes      > [stray bytes] 04        (or 03, or nothing)
//
// Fed one byte at a time; what it answers is returned, so it runs the same on an in-process
// line (pumped or threaded) and on a pseudo-terminal.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class CSimLine;
class CVirtualClock;

struct FlowComputerSimOptions {
    enum EConfirm { confirm4, confirm3, strayThen4, noConfirm };

    int reply = 7; // the byte answered to the wake bytes; -1 answers nothing
    EConfirm confirm = confirm4;
    std::vector<uint8_t> strayBytes = {1, 2};
    // When not empty, the message must equal these bytes; a unit that got anything else
    // answers 3 whatever confirm says.
    std::vector<uint8_t> expected;
};

class CFlowComputerSim
{
  public:
    static constexpr size_t MESSAGE_SIZE = 251;

    explicit CFlowComputerSim(FlowComputerSimOptions options = {}) : m_options(std::move(options)) {}
    virtual ~CFlowComputerSim() = default;

    // One byte from the program; returns the bytes the unit sends at once in answer.
    std::string OnByte(uint8_t byte);

    // What the unit sends only after the program has given up waiting for more of the
    // reply: a unit that answers the wake bytes with a value other than 6 or 7 confirms
    // later, since the program reads the reply until a silence of five seconds.
    std::string TakeDeferred() { return std::exchange(m_deferred, {}); }
    bool HasDeferred() const { return !m_deferred.empty(); }

    // Pumped use on an in-process line (whose unit end the caller has set to 19200 baud): handles whatever
    // reached the unit's end. When nothing was answered the wait is accounted on the clock, as the silence it
    // is.
    void Pump(CSimLine& line, CVirtualClock* clock, int maxWaitMs);

    bool WokenUp() const { return m_state != waitWake; }
    bool MessageComplete() const { return m_message.size() == MESSAGE_SIZE; }
    const std::vector<uint8_t>& Message() const { return m_message; }
    // Offsets where the message differed from the expected one (empty when it matched or
    // nothing was expected).
    const std::vector<size_t>& Mismatches() const { return m_mismatches; }
    // Bytes that arrived after the unit had finished its part.
    size_t ExtraBytes() const { return m_nExtra; }

  private:
    enum EState { waitWake, readMessage, done };
    std::string Confirmation();

    FlowComputerSimOptions m_options;
    EState m_state = waitWake;
    int m_nWakeSeen = 0;
    std::vector<uint8_t> m_message;
    std::vector<size_t> m_mismatches;
    size_t m_nExtra = 0;
    std::string m_deferred;
    bool m_bSilenceSeen = false;
};

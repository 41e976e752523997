#pragma once
// The sending side of a batch file transfer, as the simulated Velunit runs it on "MY": one
// file in 1024-byte blocks after a 128-byte block 0, CRC mode, then the empty block 0 that
// closes the batch.
//
//   < C          > SOH 00 FF "name\0size" crc
//   < ACK C      > STX 01 FE <1024 bytes> crc ...      (NAK: the same block again)
//   < ACK        > EOT
//   < ACK C      > SOH 00 FF <zeros> crc
//   < ACK        finished                 (CAN CAN: abandoned; a run of up to eight is taken)
//
// Faults for tests, each naming data blocks by their place in the file (1 = first):
// corrupted once (bad CRC), dropped (never sent: a gap in the numbering), repeated (sent twice
// in a row) or delayed (sent after a pause on the clock).
#include "link/Clock.h"
#include "sim/VelunitConfig.h"

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

struct YmodemSenderFaults {
    std::set<int> corrupt;
    std::set<int> drop;
    std::set<int> repeat;
    std::map<int, int> delayMs;
    // A total announced in block 0 other than the file's size (-1: the true size).
    long long announcedSize = -1;
};

class CYmodemSender : public IVelunitTransfer
{
  public:
    using SendFunction = std::function<void(const std::string&)>;

    CYmodemSender(std::string fileName, std::vector<unsigned char> data, SendFunction send,
                  YmodemSenderFaults faults = {}, IClock* clock = nullptr);

    void OnByte(unsigned char byte) override;
    // The program cancels with a run of this many CAN bytes.
    static constexpr int CANCEL_RUN = 8;

    bool Finished() const override
    {
        return m_state == done || (m_state == cancelled && m_nCans >= CANCEL_RUN);
    }

    bool Completed() const { return m_state == done; }
    bool Cancelled() const { return m_state == cancelled; }
    int BlockCount() const { return m_nBlocks; }
    int NakCount() const { return m_nNaks; }

    // A factory for the simulated Velunit's "MY": each transfer gets these faults.
    static VelunitTransferFactory Factory(YmodemSenderFaults faults = {}, IClock* clock = nullptr);

  private:
    enum EState {
        waitStart,
        waitHeaderAck,
        waitDataStart,
        waitDataAck,
        waitEotAck,
        waitEndStart,
        waitEndAck,
        done,
        cancelled
    };

    void SendBlock(int index, bool first);
    void SendRaw(const std::string& bytes) { m_send(bytes); }
    std::string BlockFrame(int index) const;
    std::string HeaderFrame() const;

    std::string m_strName;
    std::vector<unsigned char> m_data;
    SendFunction m_send;
    YmodemSenderFaults m_faults;
    IClock* m_pClock;
    EState m_state = waitStart;
    int m_nBlocks = 0;
    int m_nCurrent = 0;   // the block waiting for its ACK
    int m_nExtraAcks = 0; // ACKs still due for a block that was sent twice
    int m_nCans = 0;
    int m_nNaks = 0;
    std::set<int> m_corrupted; // corrupted already: the retry goes out sound
};

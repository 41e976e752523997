#pragma once
// The sending side of a batch file transfer, as the simulated Velunit runs it on "MY": one
// file (or several, for tests) in 1024-byte blocks after a 128-byte block 0, CRC mode, then
// the empty block 0 that closes the batch.
//
//   < C          > SOH 00 FF "name\0size" crc
//   < ACK C      > STX 01 FE <1024 bytes> crc ...      (NAK: the same block again)
//   < ACK        > EOT                                 (NAK: EOT again)
//   < ACK C      > SOH 00 FF <zeros> crc               (or block 0 of the next file)
//   < ACK        finished                 (CAN CAN: abandoned; a run of up to eight is taken)
//
// Faults for tests, each naming data blocks of the first file by their place in it (1 =
// first) and touching only the first transmission of a block: corrupted (bad CRC), dropped
// (never sent: a gap in the numbering), repeated (sent twice in a row), delayed (sent after a
// pause on the clock), line damage (bytes in front of a block or inside it, a byte lost), and
// a stall: the sender stops part-way through a block and hears nothing until it resumes.
#include "link/Clock.h"
#include "sim/VelunitConfig.h"

#include <cstdint>
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
    // Block 0 with the name alone.
    bool noSize = false;
    // Bytes in front of block k (0: block 0 of the file), e.g. noise or a stray 0x04.
    std::map<int, std::string> before;
    // Bytes put into block k at an offset into its frame.
    std::map<int, std::pair<size_t, std::string>> inside;
    // The byte at this offset into block k's frame lost.
    std::map<int, size_t> dropByte;
    // The closing block of the batch damaged once.
    bool garbleClosing = false;
    // Stops after this many bytes of block stallBlock for stallMs on the clock; what the
    // receiver sends meanwhile waits until then. Needs Service() called as the clock moves.
    int stallBlock = 0;
    size_t stallOffset = 0;
    int stallMs = 0;
};

struct YmodemSenderFile {
    std::string name;
    std::vector<unsigned char> data;
};

class CYmodemSender : public IVelunitTransfer
{
  public:
    using SendFunction = std::function<void(const std::string&)>;

    CYmodemSender(std::string fileName, std::vector<unsigned char> data, SendFunction send,
                  YmodemSenderFaults faults = {}, IClock* clock = nullptr);
    // A batch of several files.
    CYmodemSender(std::vector<YmodemSenderFile> files, SendFunction send, YmodemSenderFaults faults = {},
                  IClock* clock = nullptr);

    void OnByte(unsigned char byte) override;
    // Resumes a stalled sender once the clock has reached ResumeMs.
    void Service();
    // When a stall ends; -1 when the sender is not stalled.
    int64_t ResumeMs() const { return m_bStalled ? m_nResumeMs : -1; }
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
    void SendDamaged(int index, std::string frame);
    void StartFile();
    void HandleByte(unsigned char byte);
    std::string BlockFrame(int index) const;
    std::string HeaderFrame() const;
    bool Faulty() const { return m_nFile == 0; }

    std::vector<YmodemSenderFile> m_files;
    size_t m_nFile = 0;
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
    std::set<int> m_damaged;   // likewise for the line damage
    bool m_bClosingGarbled = false;
    bool m_bStalled = false;
    bool m_bStallDone = false;
    int64_t m_nResumeMs = 0;
    std::string m_strHeld;  // the rest of the block the stall cut
    std::string m_strHeard; // what the receiver sent during the stall
};

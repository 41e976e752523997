#pragma once
// What a simulated Velunit is made of: its identity, its recorder, how fast its deployed
// clock runs, and the faults a test can ask it to show.
#include "data/DateTime.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// One ensemble as the deployed unit should record and send it.
struct SVelunitEnsembleParams {
    int m_nFormat = 14;     // 14 (PD14) or 0 (PD0), from the "PD" setting
    int m_nNumber = 1;      // counts from 1 since deployment
    CDateTime m_dtTime;     // the instrument's clock at the ensemble
    int m_nBins = 25;       // "WN"
    int m_nBinSizeCm = 100; // "WS"
    int m_nBlankCm = 50;    // "WF"
};
using VelunitEnsembleSource = std::function<std::vector<unsigned char>(const SVelunitEnsembleParams&)>;

// A file transfer in progress ("MY"): fed the bytes the host sends, it sends through the
// function it was made with. Finished when the batch is over, successfully or not.
class IVelunitTransfer
{
  public:
    virtual ~IVelunitTransfer() = default;
    virtual void OnByte(unsigned char byte) = 0;
    virtual bool Finished() const = 0;
};
using VelunitTransferFactory = std::function<std::unique_ptr<IVelunitTransfer>(
    const std::string& fileName, const std::vector<unsigned char>& data,
    std::function<void(const std::string&)> send)>;

struct SVelunitConfig {
    std::string m_strSiteName = "VELUNIT";
    long m_nFrequencyHz = 1228800; // reported by PS0; 1200 kHz
    std::string m_strFirmware = "51.40";
    std::string m_strSerial = "4711";
    // Deployed sample intervals run this many times faster than real time (tests, demos);
    // the recorded time stamps still step by the full interval.
    int m_nTimeCompression = 1;
    // The recorder card; kept in this file across runs. Empty: in memory only.
    std::string m_strRecorderPath;
    // Delay between a wake-up (break) and the banner.
    int m_nWakeDelayMs = 50;

    // Faults. A command "matches" when its line equals the text or starts with it.
    std::string m_strSilentFrom; // no answer to this command, nor to anything after, until a break
    std::string m_strErrOn;      // answered with ERR
    std::string m_strTimeReply;  // answer line of "ts?" instead of the clock ("TS 26/13/01,10:00:00")
    double m_dNoiseRate = 0.0;   // share of sent bytes replaced by random ones
    unsigned m_nNoiseSeed = 1;

    // Hooks: how ensembles are made, and the batch sender of "MY" (the usual ones when empty).
    VelunitEnsembleSource m_ensembleSource;
    VelunitTransferFactory m_transferFactory;
};

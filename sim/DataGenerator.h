#pragma once
// Synthetic recorded data files: a tidal hydrograph (stage and velocity varying over hours
// and days), beam or X/Y velocities over a row of bins, and the imperfections of real
// files: stray bytes between ensembles, transfer padding at the end, restarts of the
// numbering, bad checksums and bad velocities. Deterministic for a given seed.
#include <cstdint>
#include <string>
#include <vector>

struct SDataGenOptions {
    enum Format { PD0, PD14 };
    Format m_format = PD0;
    int m_nCount = 100;        // ensembles to write (valid and damaged)
    size_t m_nTargetBytes = 0; // when above 0, write ensembles until the file is this large
    int m_nCells = 30;
    bool m_bXY = true; // PD0 only: X/Y components, else beam velocities
    int m_nYear = 2005, m_nMonth = 12, m_nDay = 3, m_nHour = 0, m_nMinute = 0, m_nSecond = 0;
    int m_nIntervalSeconds = 600;
    uint32_t m_nFirstNumber = 1;
    int m_nRestartAt = -1;            // index of the ensemble from which numbering starts again at 1
    int m_nBadChecksumEvery = 0;      // every n-th ensemble damaged (PD0: checksum; PD14: number 0, no date)
    double m_dBadVelocityRatio = 0.0; // share of velocity values written as -32768
    int m_nNoiseMax = 0;              // up to this many stray bytes before each ensemble
    int m_nPadTo = 0;                 // pad the end with 0x1A up to a multiple of this
    bool m_bWithRange = true;         // PD0: write the range section
    uint64_t m_nSeed = 1;

    // The hydrograph, so that each demo channel gets water and flow that fit its section:
    // range (tenths of a millimetre) = mean + tide x sin(tidal phase) + swell x sin(spring-neap
    // phase); velocity along the instrument's axis (millimetres per second) = mean + tide x
    // cos(tidal phase). The defaults are about 1.5 m of water with a 0.8 m tide and a tidal
    // stream with a little river flow on top; a negative velocity mean and tide model a unit
    // that looks upstream.
    double m_dRangeMean = 15000.0, m_dRangeTide = 8000.0, m_dRangeSwell = 2000.0;
    double m_dVelocityMean = 120.0, m_dVelocityTide = 600.0;
};

struct SDataGenResult {
    std::vector<uint8_t> m_bytes;
    int m_nEnsembles = 0;                         // written, damaged included
    int m_nValid = 0;                             // that a reader accepts
    int m_nRestarts = 0;                          // numbering restarts among the valid ensembles
    double m_dFirstTime = 0.0, m_dLastTime = 0.0; // stamps of the first and last valid ensembles
};

class CDataGenerator
{
  public:
    explicit CDataGenerator(const SDataGenOptions& options) : m_opt(options) {}

    SDataGenResult Generate() const;
    // Writes the generated file; false when it cannot be written.
    bool WriteFile(const std::string& path, SDataGenResult* result = nullptr) const;

    // The hydrograph at a time (days since the start): range in tenths of a millimetre and
    // the velocity along the channel in millimetres per second.
    int32_t RangeAt(double days) const;
    double VelocityAt(double days) const;

  private:
    SDataGenOptions m_opt;
};

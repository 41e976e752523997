#include "sim/DataGenerator.h"

#include "data/DateTime.h"
#include "platform/Utf8Path.h"
#include "sim/EnsembleEncoder.h"

#include <cmath>
#include <cstdio>

namespace
{

constexpr double PI = 3.14159265358979323846;
constexpr double TIDE_DAYS = 12.42 / 24.0;       // semi-diurnal tide
constexpr double BEAM_COS = 0.93969262078590838; // cos 20 degrees

// A small deterministic generator (xorshift64*), the same on every platform.
class Random
{
  public:
    explicit Random(uint64_t seed) : m_state(seed ? seed : 0x9E3779B97F4A7C15ull) {}
    uint64_t Next()
    {
        m_state ^= m_state >> 12;
        m_state ^= m_state << 25;
        m_state ^= m_state >> 27;
        return m_state * 0x2545F4914F6CDD1Dull;
    }
    double Uniform() { return static_cast<double>(Next() >> 11) / 9007199254740992.0; }
    int Between(int lo, int hi) { return lo + static_cast<int>(Next() % static_cast<uint64_t>(hi - lo + 1)); }

  private:
    uint64_t m_state;
};

int16_t Clamp16(double v)
{
    if (v > 32767)
        return 32767;
    if (v < -32767)
        return -32767;
    return static_cast<int16_t>(std::lround(v));
}

} // namespace

int32_t CDataGenerator::RangeAt(double days) const
{
    // A semi-diurnal tide and a slow spring-neap swell.
    const double range = m_opt.m_dRangeMean + m_opt.m_dRangeTide * std::sin(2 * PI * days / TIDE_DAYS) +
                         m_opt.m_dRangeSwell * std::sin(2 * PI * days / 14.0);
    return static_cast<int32_t>(std::lround(range));
}

double CDataGenerator::VelocityAt(double days) const
{
    // Flood and ebb lead the stage by a quarter period.
    return m_opt.m_dVelocityTide * std::cos(2 * PI * days / TIDE_DAYS) + m_opt.m_dVelocityMean;
}

SDataGenResult CDataGenerator::Generate() const
{
    SDataGenResult result;
    Random random(m_opt.m_nSeed);
    const CDateTime start = CDateTime::FromParts(m_opt.m_nYear, m_opt.m_nMonth, m_opt.m_nDay, m_opt.m_nHour,
                                                 m_opt.m_nMinute, m_opt.m_nSecond);
    const int cells = m_opt.m_nCells < 0 ? 0 : (m_opt.m_nCells > 255 ? 255 : m_opt.m_nCells);
    uint32_t number = m_opt.m_nFirstNumber;
    bool anyValid = false;

    for (int k = 0;; ++k) {
        if (m_opt.m_nTargetBytes > 0 ? result.m_bytes.size() >= m_opt.m_nTargetBytes : k >= m_opt.m_nCount)
            break;
        if (k == m_opt.m_nRestartAt)
            number = 1;
        const double days = static_cast<double>(k) * m_opt.m_nIntervalSeconds / 86400.0;
        int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
        CDateTime(start.m_dt + days).GetParts(year, month, day, hour, minute, second);
        const bool damaged = m_opt.m_nBadChecksumEvery > 0 && (k + 1) % m_opt.m_nBadChecksumEvery == 0;

        const double v = VelocityAt(days);
        auto velocity = [&](int cell, double scale) -> int16_t {
            if (m_opt.m_dBadVelocityRatio > 0 && random.Uniform() < m_opt.m_dBadVelocityRatio)
                return -32768;
            // Slower near the instrument's bank, faster mid-channel, with some turbulence.
            const double profile = 0.8 + 0.4 * std::sin(PI * (cell + 0.5) / (cells ? cells : 1));
            return Clamp16(v * profile * scale + (random.Uniform() - 0.5) * 40.0);
        };

        std::vector<uint8_t> ensemble;
        if (m_opt.m_format == SDataGenOptions::PD0) {
            SPd0Values e;
            e.m_nNumber = number & 0xFFFFFF;
            e.m_nYear = year, e.m_nMonth = month, e.m_nDay = day;
            e.m_nHour = hour, e.m_nMinute = minute, e.m_nSecond = second;
            e.m_nPitch = static_cast<int16_t>(random.Between(-150, 150));
            e.m_nRoll = static_cast<int16_t>(random.Between(-150, 150));
            e.m_bXY = m_opt.m_bXY;
            e.m_bHasRange = m_opt.m_bWithRange;
            e.m_nRange = RangeAt(days) + random.Between(-20, 20);
            e.m_nPressureRange = RangeAt(days) + random.Between(-60, 60);
            e.m_bExtraSection = (k % 7) == 3;
            e.m_bBadChecksum = damaged;
            for (int c = 0; c < cells; ++c) {
                if (m_opt.m_bXY) {
                    e.m_velocity1.push_back(velocity(c, 1.0));
                    e.m_velocity2.push_back(Clamp16((random.Uniform() - 0.5) * 60.0));
                } else {
                    // Both beams see the flow 20 degrees off their axis.
                    e.m_velocity1.push_back(velocity(c, 1.0 / BEAM_COS));
                    e.m_velocity2.push_back(velocity(c, 1.0 / BEAM_COS));
                }
                e.m_correlation1.push_back(static_cast<uint8_t>(random.Between(90, 128)));
                e.m_correlation2.push_back(static_cast<uint8_t>(random.Between(90, 128)));
                e.m_amplitude1.push_back(static_cast<uint8_t>(180 - 3 * c + random.Between(0, 5)));
                e.m_amplitude2.push_back(static_cast<uint8_t>(178 - 3 * c + random.Between(0, 5)));
            }
            ensemble = EncodePd0Ensemble(e);
        } else {
            SPd14Values e;
            e.m_nNumber = damaged ? 0 : static_cast<uint16_t>(number);
            e.m_nYear = damaged ? 0 : year; // no date and number 0: the reader drops it
            e.m_nMonth = month, e.m_nDay = day, e.m_nHour = hour, e.m_nMinute = minute, e.m_nSecond = second;
            e.m_nPitch = static_cast<int16_t>(random.Between(-150, 150));
            e.m_nRoll = static_cast<int16_t>(random.Between(-150, 150));
            e.m_nRange = RangeAt(days) + random.Between(-20, 20);
            for (int c = 0; c < cells; ++c) {
                e.m_velocityX.push_back(velocity(c, 1.0));
                e.m_velocityY.push_back(Clamp16((random.Uniform() - 0.5) * 60.0));
                e.m_amplitude1.push_back(static_cast<uint8_t>(180 - 3 * c + random.Between(0, 5)));
                e.m_amplitude2.push_back(static_cast<uint8_t>(178 - 3 * c + random.Between(0, 5)));
            }
            ensemble = EncodePd14Ensemble(e);
        }

        // Stray bytes never hold a header byte, so that they cannot swallow the next ensemble.
        const int noise = m_opt.m_nNoiseMax > 0 ? random.Between(0, m_opt.m_nNoiseMax) : 0;
        for (int i = 0; i < noise; ++i) {
            uint8_t b = static_cast<uint8_t>(random.Next() & 0xFF);
            if (b == 0x7F || b == 0x8F)
                b = 0x20;
            result.m_bytes.push_back(b);
        }
        result.m_bytes.insert(result.m_bytes.end(), ensemble.begin(), ensemble.end());
        ++result.m_nEnsembles;
        if (!damaged) {
            const double stamp = CDateTime::FromParts(year, month, day, hour, minute, second).m_dt;
            if (!anyValid)
                result.m_dFirstTime = stamp;
            result.m_dLastTime = stamp;
            if (anyValid && k == m_opt.m_nRestartAt)
                ++result.m_nRestarts;
            anyValid = true;
            ++result.m_nValid;
        }
        ++number;
    }
    if (m_opt.m_nPadTo > 0) {
        while (result.m_bytes.size() % static_cast<size_t>(m_opt.m_nPadTo) != 0)
            result.m_bytes.push_back(0x1A);
    }
    return result;
}

bool CDataGenerator::WriteFile(const std::string& path, SDataGenResult* out) const
{
    SDataGenResult result = Generate();
    std::FILE* f = OpenFileUtf8(path, "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(result.m_bytes.data(), 1, result.m_bytes.size(), f) == result.m_bytes.size();
    ok = std::fclose(f) == 0 && ok;
    if (out)
        *out = std::move(result);
    return ok;
}

#include "sim/EnsembleEncoder.h"

#include "data/ByteOrder.h"

#include <algorithm>

namespace
{

constexpr int FIXED_LEADER_SIZE = 59;
constexpr int VARIABLE_LEADER_SIZE = 65;
constexpr int RANGE_SECTION_SIZE = 40;
constexpr int EXTRA_SECTION_SIZE = 12;

uint8_t At(const std::vector<uint8_t>& v, size_t i)
{
    return i < v.size() ? v[i] : 0;
}

int16_t At(const std::vector<int16_t>& v, size_t i)
{
    return i < v.size() ? v[i] : static_cast<int16_t>(-32768);
}

} // namespace

void SetPd0Checksum(std::vector<uint8_t>& e)
{
    if (e.size() < 6)
        return;
    uint32_t sum = 0;
    for (size_t i = 0; i + 2 < e.size(); ++i)
        sum += e[i];
    WriteLeU16(e.data() + e.size() - 2, static_cast<uint16_t>(sum & 0xFFFF));
}

std::vector<uint8_t> EncodePd0Ensemble(const SPd0Values& v)
{
    const size_t cells = std::min<size_t>(v.m_velocity1.size(), 255);
    struct Section {
        uint16_t id;
        size_t size;
    };
    std::vector<Section> sections = {{0x0000, FIXED_LEADER_SIZE},
                                     {0x0080, VARIABLE_LEADER_SIZE},
                                     {0x0100, 2 + 8 * cells},
                                     {0x0200, 2 + 4 * cells},
                                     {0x0300, 2 + 4 * cells}};
    if (v.m_bExtraSection)
        sections.push_back({0x0400, EXTRA_SECTION_SIZE});
    if (v.m_bHasRange)
        sections.push_back({0x4000, RANGE_SECTION_SIZE});

    size_t offset = 6 + 2 * sections.size();
    std::vector<size_t> offsets;
    for (const auto& s : sections) {
        offsets.push_back(offset);
        offset += s.size;
    }
    const size_t counted = offset; // L: the checksum follows
    std::vector<uint8_t> e(counted + 2, 0);
    e[0] = e[1] = 0x7F;
    WriteLeU16(e.data() + 2, static_cast<uint16_t>(counted));
    e[5] = static_cast<uint8_t>(sections.size());
    for (size_t i = 0; i < sections.size(); ++i) {
        WriteLeU16(e.data() + 6 + 2 * i, static_cast<uint16_t>(offsets[i]));
        WriteLeU16(e.data() + offsets[i], sections[i].id);
    }

    uint8_t* fl = e.data() + offsets[0];
    fl[8] = 4; // beams
    fl[9] = static_cast<uint8_t>(cells);
    fl[25] = v.m_bXY ? 0x17 : 0x00;

    uint8_t* vl = e.data() + offsets[1];
    WriteLeU16(vl + 2, static_cast<uint16_t>(v.m_nNumber & 0xFFFF));
    vl[4] = static_cast<uint8_t>(v.m_nYear % 100);
    vl[5] = static_cast<uint8_t>(v.m_nMonth);
    vl[6] = static_cast<uint8_t>(v.m_nDay);
    vl[7] = static_cast<uint8_t>(v.m_nHour);
    vl[8] = static_cast<uint8_t>(v.m_nMinute);
    vl[9] = static_cast<uint8_t>(v.m_nSecond);
    vl[11] = static_cast<uint8_t>((v.m_nNumber >> 16) & 0xFF);
    WriteLeS16(vl + 20, v.m_nPitch);
    WriteLeS16(vl + 22, v.m_nRoll);

    uint8_t* vel = e.data() + offsets[2] + 2;
    uint8_t* cor = e.data() + offsets[3] + 2;
    uint8_t* amp = e.data() + offsets[4] + 2;
    for (size_t c = 0; c < cells; ++c) {
        WriteLeS16(vel + 8 * c, At(v.m_velocity1, c));
        WriteLeS16(vel + 8 * c + 2, At(v.m_velocity2, c));
        cor[4 * c] = At(v.m_correlation1, c);
        cor[4 * c + 1] = At(v.m_correlation2, c);
        amp[4 * c] = At(v.m_amplitude1, c);
        amp[4 * c + 1] = At(v.m_amplitude2, c);
    }
    if (v.m_bHasRange) {
        uint8_t* rs = e.data() + offsets.back();
        WriteLeS32(rs + 2, v.m_nRange);
        WriteLeS32(rs + 29, v.m_nPressureRange);
    }
    SetPd0Checksum(e);
    if (v.m_bBadChecksum)
        e[e.size() - 2] ^= 0x5A;
    return e;
}

std::vector<uint8_t> EncodePd14Ensemble(const SPd14Values& v)
{
    const size_t bins = std::min<size_t>(v.m_velocityX.size(), 255);
    const size_t total = 23 + 6 * bins;
    std::vector<uint8_t> e(total, 0);
    e[0] = e[1] = 0x8F;
    WriteLeU16(e.data() + 2, static_cast<uint16_t>(total));
    WriteLeU16(e.data() + 4, v.m_nNumber);
    WriteLeS16(e.data() + 6, static_cast<int16_t>(v.m_nYear));
    e[8] = static_cast<uint8_t>(v.m_nMonth);
    e[9] = static_cast<uint8_t>(v.m_nDay);
    e[10] = static_cast<uint8_t>(v.m_nHour);
    e[11] = static_cast<uint8_t>(v.m_nMinute);
    e[12] = static_cast<uint8_t>(v.m_nSecond);
    WriteLeS16(e.data() + 14, v.m_nPitch);
    WriteLeS16(e.data() + 16, v.m_nRoll);
    WriteLeS32(e.data() + 18, v.m_nRange);
    e[22] = static_cast<uint8_t>(bins);
    for (size_t b = 0; b < bins; ++b) {
        WriteLeS16(e.data() + 23 + 4 * b, At(v.m_velocityX, b));
        WriteLeS16(e.data() + 25 + 4 * b, At(v.m_velocityY, b));
        e[23 + 4 * bins + 2 * b] = At(v.m_amplitude1, b);
        e[24 + 4 * bins + 2 * b] = At(v.m_amplitude2, b);
    }
    return e;
}

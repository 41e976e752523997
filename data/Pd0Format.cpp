#include "data/Pd0Format.h"

#include "data/ByteOrder.h"
#include "data/TimeStamp.h"

#include <cmath>

namespace
{

// Beam velocities lie 20 degrees off the axis of the channel.
const double BEAM_FACTOR = std::cos(0.34906585);

// Bytes each section must hold for the fields read from it at fixed places.
constexpr size_t MIN_FIXED_LEADER = 26;    // coordinate byte at 25
constexpr size_t MIN_VARIABLE_LEADER = 24; // roll at 22
constexpr size_t MIN_RANGE = 6;            // range at 2
constexpr size_t MIN_CELL_SECTION = 2;     // the ID; cells are checked one by one

// The counted bytes: everything before the checksum.
size_t Limit(const SEnsembleRecord& rec)
{
    return rec.m_nSize >= 2 ? rec.m_nSize - 2u : 0u;
}

bool Fits(const SEnsembleRecord& rec, size_t offset, size_t width)
{
    return offset + width <= Limit(rec);
}

} // namespace

void CPd0Format::Decode(SEnsembleRecord& rec)
{
    const uint8_t* p = rec.m_pBytes;
    rec.m_nType = ENSEMBLE_PD0;
    for (auto& s : rec.m_nSection)
        s = 0;
    rec.m_nCells = 0;
    rec.m_bXY = 0;
    if (!Fits(rec, 5, 1))
        return;
    const size_t sections = p[5];
    for (size_t i = 0; i < sections; ++i) {
        const size_t at = 6 + 2 * i;
        if (!Fits(rec, at, 2))
            break;
        const size_t offset = ReadLeU16(p + at);
        if (offset == 0 || !Fits(rec, offset, 2))
            continue;
        int which = -1;
        size_t need = MIN_CELL_SECTION;
        switch (ReadLeU16(p + offset)) {
        case ID_FIXED_LEADER:
            which = PD0_FIXED_LEADER;
            need = MIN_FIXED_LEADER;
            break;
        case ID_VARIABLE_LEADER:
            which = PD0_VARIABLE_LEADER;
            need = MIN_VARIABLE_LEADER;
            break;
        case ID_VELOCITY:
            which = PD0_VELOCITY;
            break;
        case ID_CORRELATION:
            which = PD0_CORRELATION;
            break;
        case ID_AMPLITUDE:
            which = PD0_AMPLITUDE;
            break;
        case ID_RANGE:
            which = PD0_RANGE;
            need = MIN_RANGE;
            break;
        default:
            continue;
        }
        // A later section of the same ID replaces an earlier one; one cut short by the end
        // of the ensemble counts as absent.
        if (Fits(rec, offset, need))
            rec.m_nSection[which] = static_cast<uint16_t>(offset);
    }
    if (const size_t fl = rec.m_nSection[PD0_FIXED_LEADER]) {
        rec.m_nCells = p[fl + 9];
        rec.m_bXY = (p[fl + 25] & 0x02) ? 1 : 0;
    }
}

bool CPd0Format::IsValid(const SEnsembleRecord& rec)
{
    const uint8_t* bytes = rec.m_pBytes;
    const size_t size = rec.m_nSize;
    if (size < 6)
        return false;
    uint32_t sum = 0;
    for (size_t i = 0; i + 2 < size; ++i)
        sum += bytes[i];
    return static_cast<uint16_t>(sum & 0xFFFF) == ReadLeU16(bytes + size - 2);
}

double CPd0Format::GetNumber(const SEnsembleRecord& rec)
{
    const size_t vl = rec.m_nSection[PD0_VARIABLE_LEADER];
    if (!vl)
        return NODATA;
    return ReadLeU16(rec.m_pBytes + vl + 2) + 65536.0 * rec.m_pBytes[vl + 11];
}

double CPd0Format::GetTime(const SEnsembleRecord& rec)
{
    const size_t vl = rec.m_nSection[PD0_VARIABLE_LEADER];
    if (!vl)
        return NODATA;
    const uint8_t* t = rec.m_pBytes + vl + 4;
    return MakeTimeStamp(FullYear(t[0]), t[1], t[2], t[3], t[4], t[5]);
}

double CPd0Format::GetRange(const SEnsembleRecord& rec)
{
    const size_t rs = rec.m_nSection[PD0_RANGE];
    return rs ? static_cast<double>(ReadLeS32(rec.m_pBytes + rs + 2)) : NODATA;
}

int CPd0Format::GetVelocity(const SEnsembleRecord& rec, int bin, int value)
{
    const size_t vs = rec.m_nSection[PD0_VELOCITY];
    if (!vs || bin < 0 || bin >= rec.m_nCells || value < 1 || value > 2)
        return -32768;
    const size_t at = vs + 2 + 8 * static_cast<size_t>(bin) + 2 * static_cast<size_t>(value - 1);
    return Fits(rec, at, 2) ? ReadLeS16(rec.m_pBytes + at) : -32768;
}

double CPd0Format::IndexVelocity(const SEnsembleRecord& rec, int first, int last, int sign)
{
    double sum1 = 0, sum2 = 0;
    int n1 = 0, n2 = 0;
    for (int bin = first; bin <= last; ++bin) {
        const int v1 = GetVelocity(rec, bin - 1, 1);
        const int v2 = GetVelocity(rec, bin - 1, 2);
        if (v1 != -32768) {
            sum1 += v1 * sign;
            ++n1;
        }
        if (v2 != -32768) {
            sum2 += v2 * sign;
            ++n2;
        }
    }
    if (rec.m_bXY)
        return n1 > 0 ? sum1 / n1 : NODATA; // X is along the channel; Y plays no part
    if (n1 > 0 && n2 > 0)
        return (sum1 / n1 + sum2 / n2) * 0.5 * BEAM_FACTOR;
    if (n1 > 0)
        return sum1 / n1 * BEAM_FACTOR;
    if (n2 > 0)
        return sum2 / n2 * BEAM_FACTOR;
    return NODATA;
}

double CPd0Format::GetValue(const SEnsembleRecord& rec, DataType dataType, int beam, int bin)
{
    const uint8_t* p = rec.m_pBytes;
    const size_t vl = rec.m_nSection[PD0_VARIABLE_LEADER];
    switch (dataType) {
    case DATATYPE_NUMBER:
        return GetNumber(rec);
    case DATATYPE_DATETIME:
        return GetTime(rec);
    case DATATYPE_RANGE:
        return GetRange(rec);
    case DATATYPE_PITCH:
        return vl ? static_cast<double>(ReadLeS16(p + vl + 20)) : NODATA;
    case DATATYPE_ROLL:
        return vl ? static_cast<double>(ReadLeS16(p + vl + 22)) : NODATA;
    case DATATYPE_PRESSURE_RANGE: {
        const size_t rs = rec.m_nSection[PD0_RANGE];
        return rs && Fits(rec, rs + 29, 4) ? static_cast<double>(ReadLeS32(p + rs + 29)) : NODATA;
    }
    case DATATYPE_VELOCITY_BINS:
        return rec.m_nCells;
    case DATATYPE_X_VELOCITY:
    case DATATYPE_Y_VELOCITY:
    case DATATYPE_BEAM_VELOCITY: {
        if (beam < 0 || beam >= 2 || !rec.m_bXY)
            return NODATA;
        const int value = dataType == DATATYPE_X_VELOCITY   ? 1
                          : dataType == DATATYPE_Y_VELOCITY ? 2
                                                            : beam + 1;
        const int v = GetVelocity(rec, bin, value);
        return v == -32768 ? NODATA : static_cast<double>(v * rec.GetSign());
    }
    case DATATYPE_AMPLITUDE:
    case DATATYPE_CORRELATION: {
        const size_t s = rec.m_nSection[dataType == DATATYPE_AMPLITUDE ? PD0_AMPLITUDE : PD0_CORRELATION];
        if (!s || beam < 0 || beam >= 2 || bin < 0 || bin >= rec.m_nCells)
            return NODATA;
        const size_t at = s + 2 + 4 * static_cast<size_t>(bin) + static_cast<size_t>(beam);
        return Fits(rec, at, 1) ? static_cast<double>(p[at]) : NODATA;
    }
    default:
        return NODATA;
    }
}

#include "data/Pd14Format.h"

#include "data/ByteOrder.h"
#include "data/TimeStamp.h"

namespace
{

bool Fits(const SEnsembleRecord& rec, size_t offset, size_t width)
{
    return offset + width <= rec.m_nSize;
}

} // namespace

void CPd14Format::Decode(SEnsembleRecord& rec)
{
    rec.m_nType = ENSEMBLE_PD14;
    rec.m_nCells = Fits(rec, 22, 1) ? rec.m_pBytes[22] : 0;
    rec.m_bXY = 1;
    for (auto& s : rec.m_nSection)
        s = 0;
}

double CPd14Format::GetNumber(const SEnsembleRecord& rec)
{
    return Fits(rec, 4, 2) ? static_cast<double>(ReadLeU16(rec.m_pBytes + 4)) : NODATA;
}

double CPd14Format::GetTime(const SEnsembleRecord& rec)
{
    if (!Fits(rec, 6, 7))
        return NODATA;
    const uint8_t* p = rec.m_pBytes;
    return MakeTimeStamp(ReadLeS16(p + 6), p[8], p[9], p[10], p[11], p[12]);
}

bool CPd14Format::IsValid(const SEnsembleRecord& rec)
{
    // The stamp's year: a time that failed its check has none.
    if (!IsNoData(GetTime(rec)) && ReadLeS16(rec.m_pBytes + 6) > 1950)
        return true;
    const double number = GetNumber(rec);
    return !IsNoData(number) && number > 0;
}

double CPd14Format::GetRange(const SEnsembleRecord& rec)
{
    return Fits(rec, 18, 4) ? static_cast<double>(ReadLeS32(rec.m_pBytes + 18)) : NODATA;
}

int CPd14Format::GetVelocity(const SEnsembleRecord& rec, int bin, int value)
{
    if (bin < 0 || bin >= rec.m_nCells || value < 1 || value > 2)
        return -32768;
    const size_t at = HEADER_SIZE + 4 * static_cast<size_t>(bin) + 2 * static_cast<size_t>(value - 1);
    return Fits(rec, at, 2) ? ReadLeS16(rec.m_pBytes + at) : -32768;
}

double CPd14Format::IndexVelocity(const SEnsembleRecord& rec, int first, int last, int sign)
{
    double sum = 0;
    int n = 0;
    for (int bin = first; bin <= last; ++bin) {
        const int v = GetVelocity(rec, bin - 1, 1);
        if (v != -32768) {
            sum += v * sign;
            ++n;
        }
    }
    return n > 0 ? sum / n : NODATA;
}

double CPd14Format::GetValue(const SEnsembleRecord& rec, DataType dataType, int beam, int bin)
{
    const uint8_t* p = rec.m_pBytes;
    switch (dataType) {
    case DATATYPE_NUMBER:
        return GetNumber(rec);
    case DATATYPE_DATETIME:
        return GetTime(rec);
    case DATATYPE_RANGE:
        return GetRange(rec);
    case DATATYPE_PITCH:
        return Fits(rec, 14, 2) ? ReadLeS16(p + 14) / 100.0 : NODATA;
    case DATATYPE_ROLL:
        return Fits(rec, 16, 2) ? ReadLeS16(p + 16) / 100.0 : NODATA;
    case DATATYPE_VELOCITY_BINS:
        return rec.m_nCells;
    case DATATYPE_X_VELOCITY:
    case DATATYPE_Y_VELOCITY: {
        if (beam < 0 || beam >= 2)
            return NODATA;
        const int v = GetVelocity(rec, bin, dataType == DATATYPE_X_VELOCITY ? 1 : 2);
        if (v == -32768)
            return NODATA;
        // The sign applies to X only: Y is shown as the instrument gave it.
        return dataType == DATATYPE_X_VELOCITY ? static_cast<double>(v * rec.GetSign())
                                               : static_cast<double>(v);
    }
    case DATATYPE_AMPLITUDE: {
        if (beam < 0 || beam >= 2 || bin < 0 || bin >= rec.m_nCells)
            return NODATA;
        const size_t at = HEADER_SIZE + 4 * static_cast<size_t>(rec.m_nCells) + 2 * static_cast<size_t>(bin) +
                          static_cast<size_t>(beam);
        return Fits(rec, at, 1) ? static_cast<double>(p[at]) : NODATA;
    }
    default:
        return NODATA;
    }
}

#include "data/EnsembleFormat.h"

#include "data/EnsembleReader.h"
#include "data/Pd0Format.h"
#include "data/Pd14Format.h"

#include <array>

namespace
{

constexpr SEnsembleFormat kPd14 = {
    .m_nFirstByte = CEnsembleReader::ID_PD14,
    .m_nType = ENSEMBLE_PD14,
    .m_pszName = "PD14",
    .Decode = &CPd14Format::Decode,
    .IsValid = &CPd14Format::IsValid,
    .GetNumber = &CPd14Format::GetNumber,
    .GetTime = &CPd14Format::GetTime,
    .GetRange = &CPd14Format::GetRange,
    .GetValue = &CPd14Format::GetValue,
    .IndexVelocity = &CPd14Format::IndexVelocity,
};

constexpr SEnsembleFormat kPd0 = {
    .m_nFirstByte = CEnsembleReader::ID_PD0,
    .m_nType = ENSEMBLE_PD0,
    .m_pszName = "PD0",
    .Decode = &CPd0Format::Decode,
    .IsValid = &CPd0Format::IsValid,
    .GetNumber = &CPd0Format::GetNumber,
    .GetTime = &CPd0Format::GetTime,
    .GetRange = &CPd0Format::GetRange,
    .GetValue = &CPd0Format::GetValue,
    .IndexVelocity = &CPd0Format::IndexVelocity,
};

// Every format this program reads; a new one needs its description and an entry here.
constexpr const SEnsembleFormat* kFormats[] = {&kPd0, &kPd14};

// The same by type code, which fits the record's four bits.
constexpr auto kByType = [] {
    std::array<const SEnsembleFormat*, 16> byType{};
    for (const SEnsembleFormat* format : kFormats)
        byType[format->m_nType] = format;
    return byType;
}();

} // namespace

const SEnsembleFormat* FindEnsembleFormat(uint8_t firstByte)
{
    for (const SEnsembleFormat* format : kFormats) {
        if (format->m_nFirstByte == firstByte)
            return format;
    }
    return nullptr;
}

const SEnsembleFormat* EnsembleFormatOf(unsigned type)
{
    return type < 16 ? kByType[type] : nullptr;
}

const SEnsembleFormat* DecodeRecord(SEnsembleRecord& rec, const uint8_t* bytes, size_t size)
{
    rec = SEnsembleRecord{};
    rec.m_pBytes = bytes;
    rec.m_nSize = static_cast<uint16_t>(size);
    const SEnsembleFormat* format = size >= 2 ? FindEnsembleFormat(bytes[0]) : nullptr;
    if (format)
        format->Decode(rec);
    return format;
}

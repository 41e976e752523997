#include "data/EnsembleFormat.h"

#include "data/EnsembleReader.h"
#include "data/Pd0Format.h"
#include "data/Pd14Format.h"

namespace
{

constexpr SEnsembleFormat kPd14 = {
    CEnsembleReader::ID_PD14,   ENSEMBLE_PD14,          "PD14",
    &CPd14Format::Decode,       &CPd14Format::IsValid,  &CPd14Format::GetNumber,
    &CPd14Format::GetTime,      &CPd14Format::GetRange, &CPd14Format::GetValue,
    &CPd14Format::IndexVelocity};

constexpr SEnsembleFormat kPd0 = {CEnsembleReader::ID_PD0,   ENSEMBLE_PD0,          "PD0",
                                  &CPd0Format::Decode,       &CPd0Format::IsValid,  &CPd0Format::GetNumber,
                                  &CPd0Format::GetTime,      &CPd0Format::GetRange, &CPd0Format::GetValue,
                                  &CPd0Format::IndexVelocity};

// By type code, which fits the record's four bits.
constexpr const SEnsembleFormat* kByType[16] = {nullptr, nullptr, &kPd14, &kPd0};

} // namespace

const SEnsembleFormat* FindEnsembleFormat(uint8_t firstByte)
{
    if (firstByte == kPd0.m_nFirstByte)
        return &kPd0;
    if (firstByte == kPd14.m_nFirstByte)
        return &kPd14;
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

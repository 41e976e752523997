#include "data/Pd0Ensemble.h"

#include "data/EnsembleReader.h"
#include "data/FlowChain.h"
#include "data/Pd0Format.h"

CPd0Ensemble::CPd0Ensemble(const CFlowSettings& settings, const CEnsembleReader& reader)
    : CPd0Ensemble(settings, reader.GetBytes(), static_cast<size_t>(reader.GetSize()))
{
}

CPd0Ensemble::CPd0Ensemble(const CFlowSettings& settings, const uint8_t* bytes, size_t size)
{
    SetBytes(bytes, size);
    CPd0Format::Decode(m_rec);
    ComputeDerived(settings);
}

double CPd0Ensemble::GetValue(int dataType, int beam, int bin) const
{
    return CPd0Format::GetValue(m_rec, dataType, beam, bin);
}

bool CPd0Ensemble::IsValid() const
{
    return CPd0Format::IsValid(m_bytes.data(), m_bytes.size());
}

void CPd0Ensemble::ComputeDerived(const CFlowSettings& settings)
{
    ::ComputeDerived(m_rec, settings);
}

int CPd0Ensemble::GetSectionOffset(int section) const
{
    if (section < 0 || section >= PD0_SECTION_COUNT || m_rec.m_nSection[section] == 0)
        return -1;
    return m_rec.m_nSection[section];
}

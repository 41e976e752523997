#include "data/Pd14Ensemble.h"

#include "data/EnsembleReader.h"
#include "data/FlowChain.h"
#include "data/Pd14Format.h"

CPd14Ensemble::CPd14Ensemble(const CFlowSettings& settings, const CEnsembleReader& reader)
    : CPd14Ensemble(settings, reader.GetBytes(), static_cast<size_t>(reader.GetSize()))
{
}

CPd14Ensemble::CPd14Ensemble(const CFlowSettings& settings, const uint8_t* bytes, size_t size)
{
    SetBytes(bytes, size);
    CPd14Format::Decode(m_rec);
    ComputeDerived(settings);
}

double CPd14Ensemble::GetValue(int dataType, int beam, int bin) const
{
    return CPd14Format::GetValue(m_rec, dataType, beam, bin);
}

bool CPd14Ensemble::IsValid() const
{
    return CPd14Format::IsValid(m_rec);
}

void CPd14Ensemble::ComputeDerived(const CFlowSettings& settings)
{
    ::ComputeDerived(m_rec, settings);
}

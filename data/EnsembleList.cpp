#include "data/EnsembleList.h"

#include "data/BufferedReader.h"
#include "data/EnsembleFormat.h"
#include "data/EnsembleReader.h"
#include "data/FlowChain.h"

#include <cstring>

namespace
{

constexpr size_t ADD_BLOCK_SIZE = 1 << 16;

} // namespace

int CEnsembleList::Load(const std::string& path, const CFlowSettingsTable& settings, std::string* error)
{
    if (!m_records.empty())
        AddSeparator();
    ByteBuffer bytes;
    size_t size = 0;
    if (!CBufferedReader::ReadWholeFile(path, bytes, size, error))
        return 0;
    return LoadBuffer(std::move(bytes), size, settings);
}

int CEnsembleList::LoadBuffer(ByteBuffer bytes, size_t size, const CFlowSettingsTable& settings)
{
    const uint8_t* data = bytes.get();
    // One quick pass that only frames, so that the records are allocated once and exactly.
    {
        CEnsembleReader counter;
        size_t framed = 0;
        for (size_t at = 0; at < size;) {
            at += counter.Feed(data + at, size - at, nullptr, false);
            if (!counter.HasEnsemble())
                break;
            ++framed;
            counter.Reset();
        }
        m_records.reserve(m_records.size() + framed + framed / 64 + 1);
    }
    const bool timed = settings.HasTimedSettings();
    CEnsembleReader reader;
    size_t pos = 0;
    int count = 0;
    bool havePrevious = false;
    double previousNumber = NODATA;
    while (pos < size) {
        size_t start = CEnsembleReader::npos;
        pos += reader.Feed(data + pos, size - pos, &start, false);
        if (!reader.HasEnsemble())
            break;
        // The whole file is one buffer, so the framed bytes lie in it where the header began.
        const size_t total = static_cast<size_t>(reader.GetSize());
        const uint8_t* ensemble = data + pos - total;
        reader.Reset();

        SEnsembleRecord rec;
        const SEnsembleFormat* format = DecodeRecord(rec, ensemble, total);
        if (!format || !format->IsValid(rec))
            continue;
        const double number = format->GetNumber(rec);
        if (havePrevious && !IsNoData(previousNumber) && number < previousNumber)
            AddSeparator();
        const CFlowSettings* use = &settings.GetOwnSettings();
        if (timed)
            use = &settings.GetSettingsAt(format->GetTime(rec));
        ComputeDerived(rec, format, *use);
        m_records.push_back(rec);
        ++count;
        havePrevious = true;
        previousNumber = number;
    }
    if (count > 0) {
        m_nBlockBytes += size;
        m_blocks.push_back(std::move(bytes));
    }
    // Growth by doubling can leave up to half the records unused; give it back.
    if (m_records.capacity() > m_records.size() + m_records.size() / 16)
        m_records.shrink_to_fit();
    return count;
}

double CEnsembleList::GetValue(size_t i, DataType dataType, int beam, int bin) const
{
    return i < m_records.size() ? RecordValue(m_records[i], dataType, beam, bin) : NODATA;
}

uint8_t* CEnsembleList::Allocate(size_t size)
{
    if (size > m_nFree) {
        const size_t block = size > ADD_BLOCK_SIZE ? size : ADD_BLOCK_SIZE;
        m_blocks.push_back(AllocateBytes(block));
        if (!m_blocks.back())
            throw std::bad_alloc();
        m_nBlockBytes += block;
        m_pFree = m_blocks.back().get();
        m_nFree = block;
    }
    uint8_t* p = m_pFree;
    m_pFree += size;
    m_nFree -= size;
    return p;
}

void CEnsembleList::Add(const CEnsemble& ensemble)
{
    if (ensemble.GetSize() == 0) {
        AddSeparator();
        return;
    }
    SEnsembleRecord rec = ensemble.GetRecord();
    uint8_t* copy = Allocate(ensemble.GetSize());
    std::memcpy(copy, ensemble.GetBytes(), ensemble.GetSize());
    rec.m_pBytes = copy;
    m_records.push_back(rec);
}

void CEnsembleList::AddSeparator()
{
    m_records.push_back(SEnsembleRecord{});
}

void CEnsembleList::Clear()
{
    m_records.clear();
    m_records.shrink_to_fit();
    m_blocks.clear();
    m_nBlockBytes = 0;
    m_pFree = nullptr;
    m_nFree = 0;
}

size_t CEnsembleList::GetMemoryUsage() const
{
    return m_nBlockBytes + m_records.capacity() * sizeof(SEnsembleRecord) +
           m_blocks.capacity() * sizeof(m_blocks[0]);
}

std::unique_ptr<CEnsemble> BuildEnsemble(const CFlowSettings& own, const uint8_t* bytes, size_t size)
{
    const SEnsembleFormat* format = size >= 2 ? FindEnsembleFormat(bytes[0]) : nullptr;
    return format ? std::make_unique<CEnsemble>(*format, own, bytes, size) : nullptr;
}

std::unique_ptr<CEnsemble> BuildEnsembleAt(const CFlowSettingsTable& settings, const uint8_t* bytes,
                                           size_t size)
{
    auto ensemble = BuildEnsemble(settings.GetOwnSettings(), bytes, size);
    if (ensemble && settings.HasTimedSettings()) {
        const CFlowSettings& use = settings.GetSettingsAt(ensemble->GetTime());
        if (&use != &settings.GetOwnSettings())
            ensemble->Recompute(use);
    }
    return ensemble;
}

#pragma once
// A loaded data file, or a live stream, as an ordered list of ensembles and separators.
//
// Storage is laid out for files of a million ensembles: a loaded file's bytes are kept in
// one block as read, and each entry is a small fixed record that points into it and holds
// the derived values; everything else is decoded from the bytes when asked for. Ensembles
// added one by one (live data) are copied into blocks owned by the list.
#include "data/ByteBuffer.h"
#include "data/Ensemble.h"
#include "data/EnsembleRef.h"
#include "data/FlowSettingsTable.h"

#include <memory>
#include <string>
#include <vector>

class CEnsembleList
{
  public:
    CEnsembleList() = default;
    CEnsembleList(const CEnsembleList&) = delete;
    CEnsembleList& operator=(const CEnsembleList&) = delete;
    CEnsembleList(CEnsembleList&&) = default;
    CEnsembleList& operator=(CEnsembleList&&) = default;

    // Loads a data file: a separator first when the list already holds entries; then every
    // valid ensemble, computed with the settings in force at its time, with a separator
    // wherever the instrument's numbering restarts. Returns the number of valid ensembles
    // added (separators not counted); 0 when the file cannot be read or holds none.
    // error (when given) says why a file could not be read, and stays empty for a file that
    // was read, whether or not it held ensembles.
    int Load(const std::string& path, const CFlowSettingsTable& settings, std::string* error = nullptr);
    // The same for bytes already in memory; the list keeps them.
    int LoadBuffer(ByteBuffer bytes, size_t size, const CFlowSettingsTable& settings);

    size_t GetCount() const { return m_records.size(); }
    CEnsembleRef GetAt(size_t i) const { return CEnsembleRef(m_records[i]); }
    double GetValue(size_t i, DataType dataType, int beam = 0, int bin = 0) const;

    // Appends a copy of an ensemble (a CEnsemble without bytes appends a separator).
    void Add(const CEnsemble& ensemble);
    void AddSeparator();
    void Clear();

    // Bytes held by the list: the kept file bytes, the added blocks and the records.
    size_t GetMemoryUsage() const;

  private:
    uint8_t* Allocate(size_t size);

    std::vector<SEnsembleRecord, LargeAllocator<SEnsembleRecord>> m_records;
    std::vector<ByteBuffer> m_blocks;
    size_t m_nBlockBytes = 0;
    uint8_t* m_pFree = nullptr;
    size_t m_nFree = 0;
};

// Builds a framed ensemble in the format its first byte names, computed with the own
// settings; nullptr for anything else.
std::unique_ptr<CEnsemble> BuildEnsemble(const CFlowSettings& own, const uint8_t* bytes, size_t size);

// What the live view does with each framed ensemble: build it, and when its time stamp is
// valid compute it again with the settings in force at that time. nullptr when the bytes
// are not an ensemble; the caller checks IsValid.
std::unique_ptr<CEnsemble> BuildEnsembleAt(const CFlowSettingsTable& settings, const uint8_t* bytes,
                                           size_t size);

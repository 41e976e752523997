#pragma once
// Field tables to and from the station file: each kind of field in its stored form.
#include "station/CalcSet.h"
#include "station/CommandList.h"
#include "station/DataSummary.h"
#include "station/FieldTable.h"
#include "station/GeometryRecord.h"
#include "station/GraphPrefs.h"
#include "station/StationArchive.h"

inline void ArchiveValue(CStationArchive& ar, int32_t& v)
{
    ar.Int32(v);
}
inline void ArchiveValue(CStationArchive& ar, uint16_t& v)
{
    ar.UInt16(v);
}
inline void ArchiveValue(CStationArchive& ar, uint8_t& v)
{
    ar.UInt8(v);
}
inline void ArchiveValue(CStationArchive& ar, double& v)
{
    ar.Double(v);
}
inline void ArchiveValue(CStationArchive& ar, std::string& v)
{
    ar.Text(v);
}
inline void ArchiveValue(CStationArchive& ar, CDateTime& v)
{
    ar.Date(v);
}
inline void ArchiveValue(CStationArchive& ar, ModelCoefs& v)
{
    for (double& coef : v)
        ar.Double(coef);
}
inline void ArchiveValue(CStationArchive& ar, CChannelGeometry& v)
{
    SerializeGeometry(ar, v);
}
inline void ArchiveValue(CStationArchive& ar, CCommandList& v)
{
    v.Serialize(ar);
}
inline void ArchiveValue(CStationArchive& ar, CGraphPrefs& v)
{
    v.Serialize(ar);
}
inline void ArchiveValue(CStationArchive& ar, CDataSummary& v)
{
    SerializeDataSummary(ar, v);
}
inline void ArchiveValue(CStationArchive& ar, CCalcSet& v)
{
    v.Serialize(ar);
}

// A list: its plain count, then each element. A list read in full replaces the old one,
// so that a damaged file leaves nothing half read behind.
template <typename T> void ArchiveValue(CStationArchive& ar, std::vector<std::unique_ptr<T>>& list)
{
    size_t count = list.size();
    ar.PlainCount(count, MinStoredSize(static_cast<const T*>(nullptr)));
    if (ar.IsStoring()) {
        for (auto& element : list)
            ArchiveValue(ar, *element);
        return;
    }
    std::vector<std::unique_ptr<T>> read;
    for (size_t i = 0; i < count; ++i) {
        auto element = std::make_unique<T>();
        ArchiveValue(ar, *element);
        read.push_back(std::move(element));
    }
    list = std::move(read);
}

// Each field of the record, in the table's order, to or from the archive.
template <typename Record>
void SerializeFields(CStationArchive& ar, Record& rec, std::span<const SField<Record>> fields)
{
    for (const SField<Record>& field : fields)
        std::visit([&](auto at) { ArchiveValue(ar, at(rec)); }, field.m_at);
}

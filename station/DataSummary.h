#pragma once
// The data summary as the station file stores it: the summary's fields in their stored order.
#include "data/FileSummary.h"
#include "station/FieldTable.h"

#include <cstddef>
#include <span>

class CStationArchive;

std::span<const SField<CDataSummary>> DataSummaryFields();
void SerializeDataSummary(CStationArchive& ar, CDataSummary& summary);

// The smallest stored size of a summary (an empty file name and the fixed fields), to
// refuse counts a file cannot back.
constexpr size_t MinStoredSize(const CDataSummary*)
{
    return 1 + 80;
}

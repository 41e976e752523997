#pragma once
// The stored form of a channel geometry, shared by the station and every calculation set:
// 424 bytes, all twenty point slots written whether used or not. The geometry's modified
// flag is not stored.
class CChannelGeometry;
class CStationArchive;

void SerializeGeometry(CStationArchive& ar, CChannelGeometry& geometry);

inline constexpr unsigned GEOMETRY_RECORD_SIZE = 424;

// The station file: a flat run of the record's fields, led by the format version. No
// signature, tags or checksum; every field follows in a fixed order. Version 2 is written;
// versions 0 and 1, which lack the later fields, are still read.
//
// The order is written out here rather than taken from the field table: the file's order
// is not the one the tool's JSON dump has always shown (and scripts read), later versions
// add fields in the middle of the record's life, and version 1 stored the mounting with
// left and right exchanged. Each field's stored form is the table's (ArchiveValue).
#include "platform/RegularFile.h"
#include "platform/Utf8Path.h"
#include "station/FieldArchive.h"
#include "station/FileReplace.h"
#include "station/Station.h"

#include <filesystem>

namespace
{

bool SameFile(const std::string& a, const std::string& b)
{
    if (a == b)
        return true;
    std::error_code error;
    return std::filesystem::equivalent(PathFromUtf8(a), PathFromUtf8(b), error);
}

} // namespace

void CStation::Serialize(CStationArchive& ar)
{
    if (ar.IsStoring())
        m_nVersion = FILE_VERSION;
    ar.Int32(m_nVersion);
    if (m_nVersion < 0 || m_nVersion > FILE_VERSION)
        return; // unknown layout: nothing more can be read; the fields keep their values
    SerializeBody(ar, m_nVersion);
}

void CStation::SerializeBody(CStationArchive& ar, int32_t version)
{
    ar.Text(m_strSiteName);
    ar.Text(m_strLocation);
    ar.Text(m_strGroup);
    ar.Int32(m_nFlowUnits);
    ar.Int32(m_flow.m_nVelocityUnits);
    ar.Int32(m_flow.m_nStageUnits);
    ar.Int32(m_nVolumeUnits);
    ar.Int32(m_nTemperatureUnits);
    ar.Int32(m_nAreaUnits);
    ar.Int32(m_bAutoVelRange);
    ar.Int32(m_flow.m_nVelRangeStart);
    ar.Int32(m_flow.m_nVelRangeStop);
    ar.Int32(m_flow.m_nVelocityModel);
    ArchiveValue(ar, m_flow.m_dModelCoef);
    ar.Double(m_flow.m_dCritVelocity);
    ar.Double(m_dFlow4mA);
    ar.Double(m_dFlow20mA);
    ar.Double(m_dStage4mA);
    ar.Double(m_dStage20mA);
    ar.Double(m_dVelocity4mA);
    ar.Double(m_dVelocity20mA);
    ar.Double(m_dTotalizerPulse);
    ArchiveValue(ar, m_flow.m_geometry);
    ar.Double(m_flow.m_dForcedStage);
    ar.Double(m_dReserved1);
    ar.Double(m_dReserved2);
    ar.Int32(m_flow.m_nMounting);
    ar.Date(m_dtCreated);
    ar.Date(m_dtReserved);
    ar.Int32(m_nComPort);
    ar.UInt8(m_bReserved);

    ArchiveValue(ar, m_arrDataSummaries);

    ar.Int32(m_nFrequency);
    ar.Int32(m_nOptimize);
    ar.Int32(m_bAutoCalc);
    ArchiveValue(ar, *m_pCommands);
    ArchiveValue(ar, *m_pGraphPrefs);
    if (version < 1)
        return;

    ar.Double(m_dTCF);
    ar.Double(m_dBadDataOutput);
    ar.Double(m_dNoDataOutput);
    ar.UInt16(m_nTimeout);
    ar.Double(m_dPulseTime);
    ar.UInt16(m_nBadReadings);
    ar.Double(m_dBigStep);
    ar.Double(m_dZeroScreen);
    if (version < 2) {
        // Version 1 had left and right the other way round.
        if (m_flow.m_nMounting == MOUNTING_LEFT)
            m_flow.m_nMounting = MOUNTING_RIGHT;
        else if (m_flow.m_nMounting == MOUNTING_RIGHT)
            m_flow.m_nMounting = MOUNTING_LEFT;
        return;
    }

    ar.Int32(m_nTimeZoneOffset);
    ArchiveValue(ar, m_arrCalcSets);
}

std::vector<uint8_t> CStation::ToBytes()
{
    CStationArchive ar;
    Serialize(ar);
    return ar.Bytes();
}

std::string StationLoadReport::Problem() const
{
    if (!error.empty())
        return error;
    if (!LoadedCleanly() && !messages.empty())
        return messages.front();
    return {};
}

bool CStation::Load(const std::string& path, const StationLoadOptions& options, StationLoadReport* report)
{
    StationLoadReport local;
    StationLoadReport& out = report ? *report : local;

    // Far beyond any real station; refuse rather than read a wrong file into memory.
    constexpr uint64_t kLargest = uint64_t{256} << 20;
    std::vector<uint8_t> bytes;
    std::string reason;
    if (!ReadRegularFile(path, bytes, reason, kLargest)) {
        out.error = reason; // the system's reason, or why the path is not a file
        out.cannotOpen = true;
        out.status = StationLoadStatus::CannotOpen;
        return false;
    }

    // Read into a copy, so that a damaged file leaves this record as it was.
    CStation loaded(*this);
    size_t left = 0;
    try {
        CStationArchive ar(bytes);
        loaded.Serialize(ar);
        left = ar.Remaining();
    } catch (const CArchiveError& e) {
        out.error = e.what();
        out.status = StationLoadStatus::Damaged;
        return false;
    }

    loaded.m_strUnreadFile.clear();
    if (loaded.m_nVersion < 0 || loaded.m_nVersion > FILE_VERSION) {
        out.messages.push_back("Error, station file has invalid version number.");
        out.status = StationLoadStatus::UnknownVersion;
        loaded.m_strUnreadFile = path;
    } else if (left > 0) {
        // Every field was read; what follows would be lost at the next save without a word.
        out.ignoredBytes = left;
        out.messages.push_back("Warning, " + std::to_string(left) + (left == 1 ? " byte" : " bytes") +
                               " after the last field of the station file " + (left == 1 ? "was" : "were") +
                               " ignored.");
    }

    if (loaded.m_nVersion == 1) {
        // Put the converted mounting on disk at once. The summaries are rebuilt from the
        // data files, since they may have been made with the old reading.
        if (options.writeBackOldVersion)
            out.wroteBack = loaded.Save(path);
        loaded.ClearSummaries();
    }

    loaded.m_strFilePath = path;
    loaded.SetModified(false);
    *this = std::move(loaded);
    return true;
}

bool CStation::Save(const std::string& path, const StationSaveOptions& options)
{
    // The record holds only defaults for a file it could not read; writing them over that
    // file would destroy whatever it holds.
    if (!m_strUnreadFile.empty() && SameFile(path, m_strUnreadFile))
        return false;
    const std::vector<uint8_t> bytes = ToBytes();
    if (!ReplaceFileContents(path, bytes, options.tempPath))
        return false;
    m_strUnreadFile.clear();
    m_strFilePath = path;
    SetModified(false);
    return true;
}

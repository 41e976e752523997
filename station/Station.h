#pragma once
// The station record: everything the program knows about one measurement site. The
// configuration pages, instrument operations, Flow Computer programming and data views all
// read and change it; it is stored in one station file in the station's own folder.
//
// Values are in internal units (lengths in tenths of a millimetre, velocities in mm/s,
// flows in cm3/s, areas in cm2, volumes in m3). Every setter marks the record modified so
// that it is written back before it is replaced or the program ends.
#include "data/ChannelGeometry.h"
#include "data/DateTime.h"
#include "data/FlowSettings.h"
#include "data/NoData.h"
#include "data/Units.h"
#include "station/CalcSet.h"
#include "station/CommandList.h"
#include "station/DataSummary.h"
#include "station/FieldTable.h"
#include "station/GraphPrefs.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CStationArchive;

// What a load found besides the fields: problems the operator should be told about, and
// why a failed load failed.
// How far a load got. Only a clean load (warnings allowed) holds what the file holds; a
// station that did not load cleanly must not drive an instrument or be written anywhere.
enum class StationLoadStatus {
    Clean,          // every field read (messages may still warn, e.g. ignored trailing bytes)
    UnknownVersion, // loaded as defaults: the fields were not read
    Damaged,        // cut short or malformed: Load returned false
    CannotOpen,     // not a regular file, missing, unreadable: Load returned false
};

struct StationLoadReport {
    std::vector<std::string> messages; // e.g. an unknown version; the load still succeeded
    std::string error;                 // why Load returned false, without the path
    bool cannotOpen = false;           // the file could not be opened or read at all
    bool wroteBack = false;            // an old-version file was rewritten in the current form
    StationLoadStatus status = StationLoadStatus::Clean;
    size_t ignoredBytes = 0; // bytes after the last field, not read

    bool LoadedCleanly() const { return status == StationLoadStatus::Clean; }
    // The message to show for a load that was not clean: the failure, or the first notice.
    std::string Problem() const;
};

struct StationLoadOptions {
    // An old-version file is converted in memory and, unless this is false, written back in
    // the current version. Tools that were only asked to read switch it off.
    bool writeBackOldVersion = true;
};

struct StationSaveOptions {
    // Where the new contents are written before they replace the file; empty for a fresh
    // name beside the file. Tests point it at a place where writing fails.
    std::string tempPath;
};

class CStation
{
  public:
    static constexpr int32_t FILE_VERSION = 2;

    CStation();                                  // every default, created now
    explicit CStation(const CDateTime& created); // every default, with this creation time
    CStation(const CStation& other);             // deep copy; the copy is marked modified
    CStation& operator=(const CStation&) = delete;
    CStation(CStation&&) noexcept = default;
    CStation& operator=(CStation&&) noexcept = default;
    virtual ~CStation();

    // Reads when the archive is loading, writes when it is storing (current version only).
    virtual void Serialize(CStationArchive& ar);
    // Every stored field under its member name, in the order the tool's JSON dump shows
    // them (which is not the file's order).
    static std::span<const SField<CStation>> Fields();

    // Load replaces the fields this file holds; an older version leaves the rest at what
    // they were (the defaults, for a freshly built record). On failure the record is
    // unchanged and false is returned.
    bool Load(const std::string& path, const StationLoadOptions& options = {},
              StationLoadReport* report = nullptr);
    // Writes the whole file anew beside the old one and then replaces it, so that a failed
    // save leaves the old file as it was. A file of an unknown version is never written
    // over by the defaults it was read as: saving to it fails, saving elsewhere works.
    bool Save(const std::string& path, const StationSaveOptions& options = {});
    bool Save() { return Save(m_strFilePath); }
    // False while this record stands for a file it could not read (an unknown version read
    // as defaults): such a record must not program an instrument. A damaged file never loads,
    // so this is the one unclean state a loaded record can be in. True again once saved
    // elsewhere.
    bool LoadedCleanly() const { return m_strUnreadFile.empty(); }
    // The bytes Save writes (current version).
    std::vector<uint8_t> ToBytes();

    bool IsModified() const;
    void SetModified(bool modified);

    // Collects one line per failed rule in errors; true when the record is valid.
    bool Validate(std::string& errors) const;
    // The name rules alone, for callers that take a site name and group from elsewhere.
    static bool ValidateNames(const std::string& siteName, const std::string& group, std::string& errors);

    // The station's folder: the site directory, the group when set, the site name.
    std::string GetStationDirectory(const std::string& siteDir) const;

    // Area unit that goes with a flow unit: square feet for the US flow units, else square metres.
    static int32_t AreaUnitsForFlow(int32_t flowUnits);

    // --- Data summary cache (one per recorded data file, matched by exact name) ---
    const CDataSummary* FindSummary(const std::string& name) const;
    bool HasSummary(const std::string& name) const { return FindSummary(name) != nullptr; }
    // Reads that data file of the station directory and appends its summary.
    bool UpdateSummary(const std::string& name);
    void AddSummary(const CDataSummary& summary); // appends and marks modified
    void RemoveMissingSummaries(const std::vector<std::string>& names);
    void ClearSummaries();
    int GetSummaryCount() const { return static_cast<int>(m_arrDataSummaries.size()); }
    const CDataSummary& GetSummary(int i) const { return *m_arrDataSummaries.at(static_cast<size_t>(i)); }

    // --- Calculation sets, kept in ascending start order ---
    int GetCalcSetCount() const { return static_cast<int>(m_arrCalcSets.size()); }
    CCalcSet& GetCalcSet(int i) { return *m_arrCalcSets.at(static_cast<size_t>(i)); }
    const CCalcSet& GetCalcSet(int i) const { return *m_arrCalcSets.at(static_cast<size_t>(i)); }
    void AddCalcSet(std::unique_ptr<CCalcSet> set);
    // A set of the station's present settings starting at the given time (now by default).
    std::unique_ptr<CCalcSet> MakeCalcSet(const CDateTime& start) const;
    void AddCalcSetFromStation();
    void AddCalcSetFromStation(const CDateTime& start);
    void SortCalcSets();
    // The latest set that started strictly before the time, or null. The same lookup as
    // the data layer's in the table of FlowSettingsTableOf.
    const CCalcSet* FindCalcSet(const CDateTime& time) const;
    const CCalcSet* FindCalcSet(double days) const { return FindCalcSet(CDateTime(days)); }
    void RemoveCalcSet(int i);
    void ClearCalcSets();

    // --- Accessors ---
    // clang-format off
    const std::string& GetFilePath() const { return m_strFilePath; }
    void SetFilePath(const std::string& path) { m_strFilePath = path; }
    int32_t GetVersion() const { return m_nVersion; }
    const std::string& GetSiteName() const { return m_strSiteName; }
    void SetSiteName(const std::string& v) { m_strSiteName = v; Touch(); }
    const std::string& GetLocation() const { return m_strLocation; }
    void SetLocation(const std::string& v) { m_strLocation = v; Touch(); }
    const std::string& GetGroup() const { return m_strGroup; }
    void SetGroup(const std::string& v) { m_strGroup = v; Touch(); }
    // The site name with every character that is not a letter or digit replaced by "_".
    std::string GetInstrumentId() const;

    UnitCode GetFlowUnits() const { return static_cast<UnitCode>(m_nFlowUnits); }
    void SetFlowUnits(int32_t v) { m_nFlowUnits = v; Touch(); }
    UnitCode GetVelocityUnits() const { return static_cast<UnitCode>(m_flow.m_nVelocityUnits); }
    void SetVelocityUnits(int32_t v) { m_flow.m_nVelocityUnits = v; Touch(); }
    UnitCode GetStageUnits() const { return static_cast<UnitCode>(m_flow.m_nStageUnits); }
    void SetStageUnits(int32_t v) { m_flow.m_nStageUnits = v; Touch(); }
    UnitCode GetVolumeUnits() const { return static_cast<UnitCode>(m_nVolumeUnits); }
    void SetVolumeUnits(int32_t v) { m_nVolumeUnits = v; Touch(); }
    UnitCode GetTemperatureUnits() const { return static_cast<UnitCode>(m_nTemperatureUnits); }
    void SetTemperatureUnits(int32_t v) { m_nTemperatureUnits = v; Touch(); }
    UnitCode GetAreaUnits() const { return static_cast<UnitCode>(m_nAreaUnits); }
    void SetAreaUnits(int32_t v) { m_nAreaUnits = v; Touch(); }

    double GetFlow4mA() const { return m_dFlow4mA; }
    void SetFlow4mA(double v) { m_dFlow4mA = v; Touch(); }
    double GetFlow20mA() const { return m_dFlow20mA; }
    void SetFlow20mA(double v) { m_dFlow20mA = v; Touch(); }
    double GetStage4mA() const { return m_dStage4mA; }
    void SetStage4mA(double v) { m_dStage4mA = v; Touch(); }
    double GetStage20mA() const { return m_dStage20mA; }
    void SetStage20mA(double v) { m_dStage20mA = v; Touch(); }
    double GetVelocity4mA() const { return m_dVelocity4mA; }
    void SetVelocity4mA(double v) { m_dVelocity4mA = v; Touch(); }
    double GetVelocity20mA() const { return m_dVelocity20mA; }
    void SetVelocity20mA(double v) { m_dVelocity20mA = v; Touch(); }
    double GetTotalizerPulse() const { return m_dTotalizerPulse; }
    void SetTotalizerPulse(double v) { m_dTotalizerPulse = v; Touch(); }

    int32_t GetAutoVelRange() const { return m_bAutoVelRange; }
    void SetAutoVelRange(int32_t v) { m_bAutoVelRange = v; Touch(); }
    int32_t GetVelRangeStart() const { return m_flow.m_nVelRangeStart; }
    void SetVelRangeStart(int32_t v) { m_flow.m_nVelRangeStart = v; Touch(); }
    int32_t GetVelRangeStop() const { return m_flow.m_nVelRangeStop; }
    void SetVelRangeStop(int32_t v) { m_flow.m_nVelRangeStop = v; Touch(); }
    VelocityModel GetVelocityModel() const { return static_cast<VelocityModel>(m_flow.m_nVelocityModel); }
    void SetVelocityModel(VelocityModel v) { m_flow.m_nVelocityModel = v; Touch(); }
    double GetModelCoef(int i) const { return i >= 0 && i < 4 ? m_flow.m_dModelCoef[i] : 0.0; }
    void SetModelCoef(double v, int i);
    double GetCritVelocity() const { return m_flow.m_dCritVelocity; }
    void SetCritVelocity(double v) { m_flow.m_dCritVelocity = v; Touch(); }

    // The geometry keeps its own modified flag, which IsModified takes into account.
    CChannelGeometry& GetGeometry() { return m_flow.m_geometry; }
    const CChannelGeometry& GetGeometry() const { return m_flow.m_geometry; }
    void SetGeometry(const CChannelGeometry& geometry) { m_flow.m_geometry = geometry; Touch(); }

    double GetForcedDepth() const { return m_flow.m_dForcedStage; }
    void SetForcedDepth(double v) { m_flow.m_dForcedStage = v; Touch(); }
    double GetReserved1() const { return m_dReserved1; }
    void SetReserved1(double v) { m_dReserved1 = v; Touch(); }
    double GetReserved2() const { return m_dReserved2; }
    void SetReserved2(double v) { m_dReserved2 = v; Touch(); }
    Mounting GetMounting() const { return static_cast<Mounting>(m_flow.m_nMounting); }
    void SetMounting(Mounting v) { m_flow.m_nMounting = v; Touch(); }
    // Mounting, geometry, model, velocity range, forced depth, stage and velocity units: the
    // settings the flow of the station's own data is computed with.
    const CFlowSettings& GetFlowSettings() const { return m_flow; }
    const CDateTime& GetCreated() const { return m_dtCreated; }
    void SetCreated(const CDateTime& v) { m_dtCreated = v; Touch(); }
    const CDateTime& GetReservedDate() const { return m_dtReserved; }
    void SetReservedDate(const CDateTime& v) { m_dtReserved = v; Touch(); }
    int32_t GetComPort() const { return m_nComPort; }
    void SetComPort(int32_t v) { m_nComPort = v; Touch(); }
    uint8_t GetReservedFlag() const { return m_bReserved; }
    void SetReservedFlag(uint8_t v) { m_bReserved = v; Touch(); }

    int32_t GetFrequency() const { return m_nFrequency; }
    void SetFrequency(int32_t v) { m_nFrequency = v; Touch(); }
    int32_t GetOptimize() const { return m_nOptimize; }
    void SetOptimize(int32_t v) { m_nOptimize = v; Touch(); }
    // Edits to the list through this reference are the caller's to mark (SetModified).
    CCommandList& GetCommands() { return *m_pCommands; }
    const CCommandList& GetCommands() const { return *m_pCommands; }
    void SetCommands(const CCommandList& commands) { *m_pCommands = commands; Touch(); }
    int32_t GetAutoCalc() const { return m_bAutoCalc; }
    void SetAutoCalc(int32_t v) { m_bAutoCalc = v; Touch(); }
    CGraphPrefs& GetGraphPrefs() { return *m_pGraphPrefs; }
    const CGraphPrefs& GetGraphPrefs() const { return *m_pGraphPrefs; }
    void SetGraphPrefs(const CGraphPrefs& prefs) { *m_pGraphPrefs = prefs; Touch(); }

    double GetTCF() const { return m_dTCF; }
    void SetTCF(double v) { m_dTCF = v; Touch(); }
    double GetBadDataOutput() const { return m_dBadDataOutput; }
    void SetBadDataOutput(double v) { m_dBadDataOutput = v; Touch(); }
    double GetNoDataOutput() const { return m_dNoDataOutput; }
    void SetNoDataOutput(double v) { m_dNoDataOutput = v; Touch(); }
    uint16_t GetTimeout() const { return m_nTimeout; }
    void SetTimeout(uint16_t v) { m_nTimeout = v; Touch(); }
    double GetPulseTime() const { return m_dPulseTime; }
    void SetPulseTime(double v) { m_dPulseTime = v; Touch(); }
    uint16_t GetBadReadings() const { return m_nBadReadings; }
    void SetBadReadings(uint16_t v) { m_nBadReadings = v; Touch(); }
    double GetBigStep() const { return m_dBigStep; }
    void SetBigStep(double v) { m_dBigStep = v; Touch(); }
    double GetZeroScreen() const { return m_dZeroScreen; }
    void SetZeroScreen(double v) { m_dZeroScreen = v; Touch(); }
    int32_t GetTimeZoneOffset() const { return m_nTimeZoneOffset; }
    void SetTimeZoneOffset(int32_t v) { m_nTimeZoneOffset = v; Touch(); }

    // clang-format on

  private:
    void Touch() { m_bModified = 1; }
    void SerializeBody(CStationArchive& ar, int32_t version);

    std::string m_strFilePath;   // not stored
    std::string m_strUnreadFile; // not stored: a file of unknown version this record stands for
    int32_t m_bModified = 0;     // not stored
    int32_t m_nVersion = FILE_VERSION;
    std::string m_strSiteName;
    std::string m_strLocation;
    std::string m_strGroup;
    int32_t m_nFlowUnits = 111;        // million gallons per day
    int32_t m_nVolumeUnits = 125;      // million gallons
    int32_t m_nTemperatureUnits = 130; // degrees Fahrenheit
    int32_t m_nAreaUnits = 117;        // square feet
    double m_dFlow4mA = 0.0;
    double m_dFlow20mA = 4381263.646; // 100 million gallons per day
    double m_dStage4mA = 0.0;
    double m_dStage20mA = 304799.99025; // 100 ft
    double m_dVelocity4mA = 0.0;
    double m_dVelocity20mA = 3047.999902;  // 10 ft/s
    double m_dTotalizerPulse = 37854.1179; // 10 million gallons
    int32_t m_bAutoVelRange = 1;
    // Velocity range, model, coefficients, critical velocity, geometry, forced depth,
    // mounting (right bank by default) and the stage (feet) and velocity (feet per second)
    // display units.
    CFlowSettings m_flow;
    double m_dReserved1 = 0.0;
    double m_dReserved2 = 0.0;
    CDateTime m_dtCreated;
    CDateTime m_dtReserved;
    int32_t m_nComPort = 1;
    uint8_t m_bReserved = 1;
    std::vector<std::unique_ptr<CDataSummary>> m_arrDataSummaries;
    int32_t m_nFrequency = 1;                  // 300 kHz
    int32_t m_nOptimize = 3;                   // balance
    std::unique_ptr<CCommandList> m_pCommands; // never null
    int32_t m_bAutoCalc = 1;
    std::unique_ptr<CGraphPrefs> m_pGraphPrefs;
    double m_dTCF = 1.0;
    double m_dBadDataOutput = 3.95;
    double m_dNoDataOutput = 3.65;
    uint16_t m_nTimeout = 1200;
    double m_dPulseTime = 0.05;
    uint16_t m_nBadReadings = 5;
    double m_dBigStep = 0.1;
    double m_dZeroScreen = 0.0;
    int32_t m_nTimeZoneOffset = 0;
    std::vector<std::unique_ptr<CCalcSet>> m_arrCalcSets;
};

#include "station/Station.h"

#include "data/FlowSettingsTable.h"
#include "platform/Utf8Path.h"
#include "station/Cp1252.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

namespace
{

constexpr const char* kSiteNameInvalid = "Site name is not valid.\r\n";
constexpr const char* kBadCharacters = "The site name cannot include the following characters: ?<>*/\\\r\n";
constexpr const char* kDotName = "The site name cannot be . or ..\r\n";
constexpr const char* kGroupBadCharacters = "The group cannot include the following characters: ?<>*/\\\r\n";
constexpr const char* kGroupDotName = "The group cannot be . or .., nor have a part . or ..\r\n";

bool HasForbiddenCharacter(const std::string& text)
{
    return text.find_first_of(std::string("?<>*/\\\0", 7)) != std::string::npos;
}

// "." and ".." are folder names of their own: a station named so would sit on the site
// directory itself or above it, where deleting it would remove other stations.
bool IsDotName(const std::string& text)
{
    return text == "." || text == "..";
}

bool GroupHasDotComponent(const std::string& group)
{
    size_t start = 0;
    while (start <= group.size()) {
        const size_t end = group.find_first_of("/\\", start);
        const std::string part =
            group.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (IsDotName(part))
            return true;
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return false;
}

// A command parameter read as a number the way typed numbers are: the leading number of
// the text, 0 when there is none, truncated toward zero and kept within the int range.
int LeadingInt(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    if (i < text.size() && text[i] == '+')
        ++i;
    double value = 0.0;
    const auto result = std::from_chars(text.data() + i, text.data() + text.size(), value);
    if (result.ec != std::errc() || !std::isfinite(value))
        return 0;
    constexpr double lo = std::numeric_limits<int>::min();
    constexpr double hi = std::numeric_limits<int>::max();
    return static_cast<int>(std::clamp(std::trunc(value), lo, hi));
}

} // namespace

CStation::CStation() : CStation(CDateTime::Now())
{
}

CStation::CStation(const CDateTime& created)
    : m_dtCreated(created), m_pCommands(std::make_unique<CCommandList>()),
      m_pGraphPrefs(std::make_unique<CGraphPrefs>())
{
}

CStation::CStation(const CStation& other) : CStation(other.m_dtCreated)
{
    CopyFields(*this, other, Fields());
    m_strFilePath = other.m_strFilePath;
    m_strUnreadFile = other.m_strUnreadFile;
    m_bModified = 1;
}

std::span<const SField<CStation>> CStation::Fields()
{
    using S = CStation;
    // clang-format off
    static const SField<CStation> fields[] = {
        {"m_nVersion", +[](S& s) -> int32_t& { return s.m_nVersion; }},
        {"m_strSiteName", +[](S& s) -> std::string& { return s.m_strSiteName; }},
        {"m_strLocation", +[](S& s) -> std::string& { return s.m_strLocation; }},
        {"m_strGroup", +[](S& s) -> std::string& { return s.m_strGroup; }},
        {"m_nFlowUnits", +[](S& s) -> int32_t& { return s.m_nFlowUnits; }},
        {"m_nVelocityUnits", +[](S& s) -> int32_t& { return s.m_flow.m_nVelocityUnits; }},
        {"m_nStageUnits", +[](S& s) -> int32_t& { return s.m_flow.m_nStageUnits; }},
        {"m_nVolumeUnits", +[](S& s) -> int32_t& { return s.m_nVolumeUnits; }},
        {"m_nTemperatureUnits", +[](S& s) -> int32_t& { return s.m_nTemperatureUnits; }},
        {"m_nAreaUnits", +[](S& s) -> int32_t& { return s.m_nAreaUnits; }},
        {"m_dFlow4mA", +[](S& s) -> double& { return s.m_dFlow4mA; }},
        {"m_dFlow20mA", +[](S& s) -> double& { return s.m_dFlow20mA; }},
        {"m_dStage4mA", +[](S& s) -> double& { return s.m_dStage4mA; }},
        {"m_dStage20mA", +[](S& s) -> double& { return s.m_dStage20mA; }},
        {"m_dVelocity4mA", +[](S& s) -> double& { return s.m_dVelocity4mA; }},
        {"m_dVelocity20mA", +[](S& s) -> double& { return s.m_dVelocity20mA; }},
        {"m_dTotalizerPulse", +[](S& s) -> double& { return s.m_dTotalizerPulse; }},
        {"m_bAutoVelRange", +[](S& s) -> int32_t& { return s.m_bAutoVelRange; }},
        {"m_nVelRangeStart", +[](S& s) -> int32_t& { return s.m_flow.m_nVelRangeStart; }},
        {"m_nVelRangeStop", +[](S& s) -> int32_t& { return s.m_flow.m_nVelRangeStop; }},
        {"m_nVelocityModel", +[](S& s) -> int32_t& { return s.m_flow.m_nVelocityModel; }},
        {"m_dModelCoef", +[](S& s) -> ModelCoefs& { return s.m_flow.m_dModelCoef; }},
        {"m_dCritVelocity", +[](S& s) -> double& { return s.m_flow.m_dCritVelocity; }},
        {"m_pGeometry", +[](S& s) -> CChannelGeometry& { return s.m_flow.m_geometry; }},
        {"m_dForcedDepth", +[](S& s) -> double& { return s.m_flow.m_dForcedStage; }},
        {"m_dReserved1", +[](S& s) -> double& { return s.m_dReserved1; }},
        {"m_dReserved2", +[](S& s) -> double& { return s.m_dReserved2; }},
        {"m_nMounting", +[](S& s) -> int32_t& { return s.m_flow.m_nMounting; }},
        {"m_dtCreated", +[](S& s) -> CDateTime& { return s.m_dtCreated; }},
        {"m_dtReserved", +[](S& s) -> CDateTime& { return s.m_dtReserved; }},
        {"m_nComPort", +[](S& s) -> int32_t& { return s.m_nComPort; }},
        {"m_bReserved", +[](S& s) -> uint8_t& { return s.m_bReserved; }},
        {"m_arrDataSummaries", +[](S& s) -> std::vector<std::unique_ptr<CDataSummary>>& { return s.m_arrDataSummaries; }},
        {"m_nFrequency", +[](S& s) -> int32_t& { return s.m_nFrequency; }},
        {"m_nOptimize", +[](S& s) -> int32_t& { return s.m_nOptimize; }},
        {"m_pCommands", +[](S& s) -> CCommandList& { return *s.m_pCommands; }},
        {"m_bAutoCalc", +[](S& s) -> int32_t& { return s.m_bAutoCalc; }},
        {"m_pGraphPrefs", +[](S& s) -> CGraphPrefs& { return *s.m_pGraphPrefs; }},
        {"m_dTCF", +[](S& s) -> double& { return s.m_dTCF; }},
        {"m_dBadDataOutput", +[](S& s) -> double& { return s.m_dBadDataOutput; }},
        {"m_dNoDataOutput", +[](S& s) -> double& { return s.m_dNoDataOutput; }},
        {"m_nTimeout", +[](S& s) -> uint16_t& { return s.m_nTimeout; }},
        {"m_dPulseTime", +[](S& s) -> double& { return s.m_dPulseTime; }},
        {"m_nBadReadings", +[](S& s) -> uint16_t& { return s.m_nBadReadings; }},
        {"m_dBigStep", +[](S& s) -> double& { return s.m_dBigStep; }},
        {"m_dZeroScreen", +[](S& s) -> double& { return s.m_dZeroScreen; }},
        {"m_nTimeZoneOffset", +[](S& s) -> int32_t& { return s.m_nTimeZoneOffset; }},
        {"m_arrCalcSets", +[](S& s) -> std::vector<std::unique_ptr<CCalcSet>>& { return s.m_arrCalcSets; }},
    };
    // clang-format on
    return fields;
}

CStation::~CStation() = default;

bool CStation::IsModified() const
{
    return m_bModified != 0 || m_flow.m_geometry.IsModified();
}

void CStation::SetModified(bool modified)
{
    m_bModified = modified ? 1 : 0;
    if (!modified)
        m_flow.m_geometry.SetModified(false);
}

bool CStation::ValidateNames(const std::string& siteName, const std::string& group, std::string& errors)
{
    bool valid = true;
    if (siteName.empty()) {
        errors += kSiteNameInvalid;
        valid = false;
    }
    if (HasForbiddenCharacter(siteName)) {
        errors += kBadCharacters;
        valid = false;
    } else if (IsDotName(siteName)) {
        errors += kDotName;
        valid = false;
    }
    if (HasForbiddenCharacter(group)) {
        errors += kGroupBadCharacters;
        valid = false;
    } else if (GroupHasDotComponent(group)) {
        errors += kGroupDotName;
        valid = false;
    }
    return valid;
}

bool CStation::Validate(std::string& errors) const
{
    return ValidateNames(m_strSiteName, m_strGroup, errors);
}

std::string CStation::GetStationDirectory(const std::string& siteDir) const
{
    std::string dir = siteDir;
    if (!m_strGroup.empty())
        dir += PATH_SEPARATOR + m_strGroup;
    return dir + PATH_SEPARATOR + m_strSiteName;
}

int32_t CStation::AreaUnitsForFlow(int32_t flowUnits)
{
    return flowUnits == 111 || flowUnits == 112 || flowUnits == 115 ? 117 : 118;
}

std::string CStation::GetInstrumentId() const
{
    // One character of the instrument's name per character of the site name, as the
    // single-byte name always had; anything but ASCII letters and digits becomes "_".
    std::string id = Utf8ToCp1252(m_strSiteName);
    for (char& c : id) {
        const bool letterOrDigit = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        if (!letterOrDigit)
            c = '_';
    }
    return id;
}

void CStation::SetModelCoef(double v, int i)
{
    if (i < 0 || i >= 4)
        return;
    m_flow.m_dModelCoef[i] = v;
    Touch();
}

// --- Data summaries ---

const CDataSummary* CStation::FindSummary(const std::string& name) const
{
    for (const auto& summary : m_arrDataSummaries) {
        if (summary->m_strFileName == name)
            return summary.get();
    }
    return nullptr;
}

void CStation::AddSummary(const CDataSummary& summary)
{
    m_arrDataSummaries.push_back(std::make_unique<CDataSummary>(summary));
    Touch();
}

void CStation::RemoveMissingSummaries(const std::vector<std::string>& names)
{
    const auto before = m_arrDataSummaries.size();
    std::erase_if(m_arrDataSummaries, [&](const std::unique_ptr<CDataSummary>& summary) {
        return std::find(names.begin(), names.end(), summary->m_strFileName) == names.end();
    });
    if (m_arrDataSummaries.size() != before)
        Touch();
}

void CStation::ClearSummaries()
{
    m_arrDataSummaries.clear();
    Touch();
}

// --- Calculation sets ---

void CStation::AddCalcSet(std::unique_ptr<CCalcSet> set)
{
    if (!set)
        return;
    m_arrCalcSets.push_back(std::move(set));
    SortCalcSets();
    // A new set must reach the file, or data recorded under it would later be computed
    // with other settings.
    Touch();
}

std::unique_ptr<CCalcSet> CStation::MakeCalcSet(const CDateTime& start) const
{
    auto set = std::make_unique<CCalcSet>();
    set->m_dtStart = start;
    set->m_settings = m_flow;

    // The blank and bin size the instrument was given, in centimetres in the command list.
    std::string value;
    if (m_pCommands->Find("WF", value))
        set->m_dBlank = 100.0 * LeadingInt(value);
    else if (m_nFrequency == 3)
        set->m_dBlank = 5000.0;
    else if (m_nFrequency == 1)
        set->m_dBlank = 20000.0;
    else
        set->m_dBlank = 10000.0;
    if (m_pCommands->Find("WS", value))
        set->m_dBinSize = 100.0 * LeadingInt(value);
    else
        set->m_dBinSize = 10000.0;
    return set;
}

void CStation::AddCalcSetFromStation()
{
    AddCalcSetFromStation(CDateTime::Now());
}

void CStation::AddCalcSetFromStation(const CDateTime& start)
{
    AddCalcSet(MakeCalcSet(start));
}

void CStation::SortCalcSets()
{
    // A start that is not a number (a damaged file) sorts first, so that the order stays
    // a strict one whatever the file held.
    const auto key = [](const std::unique_ptr<CCalcSet>& set) {
        const double t = set->m_dtStart.m_dt;
        return std::isnan(t) ? -std::numeric_limits<double>::infinity() : t;
    };
    std::stable_sort(m_arrCalcSets.begin(), m_arrCalcSets.end(),
                     [&](const std::unique_ptr<CCalcSet>& a, const std::unique_ptr<CCalcSet>& b) {
                         return key(a) < key(b);
                     });
}

const CCalcSet* CStation::FindCalcSet(const CDateTime& time) const
{
    const auto it =
        FindStartedBefore(m_arrCalcSets.begin(), m_arrCalcSets.end(), time.m_dt,
                          [](const std::unique_ptr<CCalcSet>& set) { return set->m_dtStart.m_dt; });
    return it != m_arrCalcSets.end() ? it->get() : nullptr;
}

void CStation::RemoveCalcSet(int i)
{
    if (i < 0 || static_cast<size_t>(i) >= m_arrCalcSets.size())
        return;
    m_arrCalcSets.erase(m_arrCalcSets.begin() + i);
    // The removal has to reach the file as well, or the set comes back on the next open.
    Touch();
}

void CStation::ClearCalcSets()
{
    m_arrCalcSets.clear();
    Touch();
}

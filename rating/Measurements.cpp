#include "rating/Measurements.h"

#include "data/DateTime.h"
#include "data/FormatValue.h"
#include "data/Units.h"
#include "platform/RegularFile.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <sstream>

namespace
{

std::string Trim(const std::string& text)
{
    size_t b = 0, e = text.size();
    while (b < e && std::isspace(static_cast<unsigned char>(text[b])))
        ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(text[e - 1])))
        --e;
    return text.substr(b, e - b);
}

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// A whole field as a finite decimal number; false for anything else ("", "1.5x", "nan").
bool ParseNumber(const std::string& text, double& value)
{
    const std::string t = Trim(text);
    if (t.empty())
        return false;
    const char* first = t.data();
    if (*first == '+')
        ++first;
    const auto [ptr, ec] = std::from_chars(first, t.data() + t.size(), value);
    return ec == std::errc() && ptr == t.data() + t.size() && std::isfinite(value);
}

// Splits one CSV line; a field in double quotes may hold commas and doubled quotes.
std::vector<std::string> SplitCsv(const std::string& line)
{
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                fields.back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                fields.back() += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

// Enough digits that a value read back converts to the same internal figure within any
// rounding a hydrographer would notice.
std::string Number(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.10g", value);
    return text;
}

const char* const kColumns[] = {"id", "start", "end", "discharge", "stage", "exclude", "comment"};
enum Column { ID, START, END, DISCHARGE, STAGE, EXCLUDE, COMMENT, COLUMN_COUNT };

} // namespace

bool ParseMeasurementTime(const std::string& text, double& days)
{
    const std::string t = Trim(text);
    int y, mo, d, h, mi, s;
    char tail;
    if (t.size() != 19 ||
        std::sscanf(t.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &y, &mo, &d, &h, &mi, &s, &tail) != 6)
        return false;
    if (t[4] != '-' || t[7] != '-' || t[10] != ' ' || t[13] != ':' || t[16] != ':')
        return false;
    const CDateTime dt = CDateTime::FromParts(y, mo, d, h, mi, s);
    if (!dt.IsValid())
        return false;
    days = dt.m_dt;
    return true;
}

std::string FormatMeasurementTime(double days)
{
    return CDateTime(days).Format("%Y-%m-%d %H:%M:%S");
}

std::string ParseMeasurementRow(const std::string& id, const std::string& start, const std::string& end,
                                const std::string& discharge, const std::string& stage,
                                const std::string& exclude, const SMeasurementUnits& units, SMeasurement& row)
{
    row.m_strId = Trim(id);
    if (row.m_strId.empty())
        return "the id is missing";
    if (Trim(start).empty())
        return "the start is missing";
    if (!ParseMeasurementTime(start, row.m_dStart))
        return "the start \"" + Trim(start) + "\" is not a time of the form YYYY-MM-DD HH:MM:SS";
    if (Trim(end).empty())
        return "the end is missing";
    if (!ParseMeasurementTime(end, row.m_dEnd))
        return "the end \"" + Trim(end) + "\" is not a time of the form YYYY-MM-DD HH:MM:SS";
    if (row.m_dEnd < row.m_dStart)
        return "the end is before the start";
    double q = 0.0;
    if (Trim(discharge).empty())
        return "the discharge is missing";
    if (!ParseNumber(discharge, q))
        return "the discharge \"" + Trim(discharge) + "\" is not a number";
    row.m_dDischarge = ToInternalUnits(q, units.m_nFlowUnits);
    row.m_dStage = NODATA;
    if (!Trim(stage).empty()) {
        double h = 0.0;
        if (!ParseNumber(stage, h))
            return "the stage \"" + Trim(stage) + "\" is not a number";
        row.m_dStage = ToInternalUnits(h, units.m_nStageUnits);
    }
    const std::string ex = Trim(exclude);
    if (ex.empty() || ex == "0")
        row.m_bExclude = false;
    else if (ex == "1")
        row.m_bExclude = true;
    else
        return "exclude \"" + ex + "\" is neither 0 nor 1";
    return {};
}

std::vector<SMeasurementTexts> ReadMeasurementTexts(std::istream& in, std::vector<std::string>& problems)
{
    std::vector<SMeasurementTexts> rows;
    std::string line;
    int lineNo = 0;
    int where[COLUMN_COUNT];
    std::fill(std::begin(where), std::end(where), -1);
    bool haveHeader = false;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (lineNo == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0)
            line.erase(0, 3);
        if (Trim(line).empty())
            continue;
        const std::vector<std::string> fields = SplitCsv(line);
        if (!haveHeader) {
            haveHeader = true;
            const size_t before = problems.size();
            for (size_t i = 0; i < fields.size(); ++i) {
                const std::string name = Lower(Trim(fields[i]));
                const auto known = std::find(std::begin(kColumns), std::end(kColumns), name);
                if (known == std::end(kColumns)) {
                    problems.push_back("line " + std::to_string(lineNo) + ": unknown column \"" +
                                       Trim(fields[i]) + "\"");
                    continue;
                }
                where[known - std::begin(kColumns)] = static_cast<int>(i);
            }
            for (int c = ID; c <= DISCHARGE; ++c)
                if (where[c] < 0)
                    problems.push_back("line " + std::to_string(lineNo) + ": the header has no column \"" +
                                       kColumns[c] + "\"");
            if (problems.size() != before)
                return {};
            continue;
        }
        auto field = [&](int c) {
            return where[c] >= 0 && where[c] < static_cast<int>(fields.size()) ? fields[where[c]]
                                                                               : std::string();
        };
        SMeasurementTexts row;
        row.m_nLine = lineNo;
        for (int c = ID; c <= DISCHARGE && row.m_strProblem.empty(); ++c)
            if (where[c] >= static_cast<int>(fields.size()))
                row.m_strProblem = std::string("the column \"") + kColumns[c] + "\" is missing";
        row.m_strId = field(ID);
        row.m_strStart = field(START);
        row.m_strEnd = field(END);
        row.m_strDischarge = field(DISCHARGE);
        row.m_strStage = field(STAGE);
        row.m_strExclude = field(EXCLUDE);
        row.m_strComment = Trim(field(COMMENT));
        rows.push_back(row);
    }
    if (!haveHeader)
        problems.push_back("the file is empty: it needs a header row naming id, start, end and discharge");
    return rows;
}

std::string ParseMeasurementTexts(const SMeasurementTexts& t, const SMeasurementUnits& units,
                                  SMeasurement& row)
{
    if (!t.m_strProblem.empty())
        return t.m_strProblem;
    row.m_nLine = t.m_nLine;
    row.m_strComment = t.m_strComment;
    return ParseMeasurementRow(t.m_strId, t.m_strStart, t.m_strEnd, t.m_strDischarge, t.m_strStage,
                               t.m_strExclude, units, row);
}

SMeasurementFile ReadMeasurements(std::istream& in, const SMeasurementUnits& units)
{
    SMeasurementFile file;
    for (const SMeasurementTexts& texts : ReadMeasurementTexts(in, file.m_problems)) {
        SMeasurement row;
        const std::string problem = ParseMeasurementTexts(texts, units, row);
        if (problem.empty())
            file.m_rows.push_back(row);
        else
            file.m_problems.push_back("line " + std::to_string(texts.m_nLine) + ": " + problem);
    }
    return file;
}

SMeasurementFile ReadMeasurementsFile(const std::string& path, const SMeasurementUnits& units)
{
    std::vector<uint8_t> bytes;
    std::string reason;
    if (!ReadRegularFile(path, bytes, reason)) {
        SMeasurementFile file;
        file.m_problems.push_back("cannot read " + path + ": " + reason);
        return file;
    }
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    return ReadMeasurements(in, units);
}

std::string WriteMeasurements(const std::vector<SMeasurement>& rows, const SMeasurementUnits& units)
{
    std::string text = "id,start,end,discharge,stage,exclude,comment\n";
    for (const SMeasurement& m : rows) {
        text += CsvField(m.m_strId) + "," + FormatMeasurementTime(m.m_dStart) + "," +
                FormatMeasurementTime(m.m_dEnd) + "," +
                Number(ToDisplayUnits(m.m_dDischarge, units.m_nFlowUnits)) + ",";
        if (!IsNoData(m.m_dStage))
            text += Number(ToDisplayUnits(m.m_dStage, units.m_nStageUnits));
        text += std::string(",") + (m.m_bExclude ? "1" : "0") + "," + CsvField(m.m_strComment) + "\n";
    }
    return text;
}

int FlowUnitFromName(const std::string& name)
{
    const std::string t = Trim(name);
    for (int code = UNIT_CUMECS; code <= UNIT_MEGALITERS_PER_DAY; ++code) {
        if (t == std::to_string(code) || t == UnitAbbreviation(code) || Lower(t) == Lower(UnitName(code)))
            return code;
    }
    return 0;
}

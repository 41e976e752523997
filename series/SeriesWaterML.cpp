#include "series/SeriesWaterML.h"

#include "data/Units.h"
#include "series/SeriesTime.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>

namespace
{

const char* const NS_WML2 = "http://www.opengis.net/waterml/2.0";
const char* const NS_GML = "http://www.opengis.net/gml/3.2";
const char* const NS_OM = "http://www.opengis.net/om/2.0";
const char* const NS_XLINK = "http://www.w3.org/1999/xlink";
const char* const NS_XSI = "http://www.w3.org/2001/XMLSchema-instance";
const char* const NS_SWE = "http://www.opengis.net/swe/2.0";
const char* const QUALITY_BASE = "http://www.opengis.net/def/waterml/2.0/quality/";
const char* const NIL_MISSING = "http://www.opengis.net/def/nil/OGC/0/missing";
const char* const INTERPOLATION_CONTINUOUS =
    "http://www.opengis.net/def/waterml/2.0/interpolationType/Continuous";
const char* const INDENT = "  ";
constexpr size_t POINTS_PER_BLOCK = 4096;

class COutputWriter : public pugi::xml_writer
{
  public:
    explicit COutputWriter(CSeriesOutput& out) : m_out(out) {}
    void write(const void* data, size_t size) override { m_out.Write(static_cast<const char*>(data), size); }

  private:
    CSeriesOutput& m_out;
};

std::string Title(SeriesQuantity q)
{
    switch (q) {
    case QUANTITY_STAGE:
        return "Stage";
    case QUANTITY_VELOCITY:
        return "Mean velocity";
    case QUANTITY_FLOW:
        return "Flow";
    default:
        return {};
    }
}

// A name as the last part of a URN: letters, digits and "-._~" stay, the rest is
// percent-encoded.
std::string UrnPart(const std::string& text)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string encoded;
    for (unsigned char c : text) {
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
            encoded += static_cast<char>(c);
        } else {
            encoded += '%';
            encoded += hex[c >> 4];
            encoded += hex[c & 15];
        }
    }
    return encoded;
}

pugi::xml_node Reference(pugi::xml_node parent, const char* name, const std::string& href,
                         const std::string& title)
{
    pugi::xml_node node = parent.append_child(name);
    node.append_attribute("xlink:href") = href.c_str();
    node.append_attribute("xlink:title") = title.c_str();
    return node;
}

void TimePeriod(pugi::xml_node parent, const std::string& id, const std::string& begin,
                const std::string& end)
{
    pugi::xml_node period = parent.append_child("gml:TimePeriod");
    period.append_attribute("gml:id") = id.c_str();
    period.append_child("gml:beginPosition").text() = begin.c_str();
    period.append_child("gml:endPosition").text() = end.c_str();
}

std::string UtcTime(int64_t unixSeconds)
{
    // 1970-01-01 is day 25569 of the recorded time stamps' count.
    return FormatIsoTime(unixSeconds + int64_t{25569} * 86400, 0).substr(0, 19) + "Z";
}

std::string MarkerOf(SeriesQuantity q)
{
    return std::string("points:") + QuantityName(q);
}

// The document without its points: a comment marks where each series' points go.
std::string Frame(const CStationSeries& series, const SSeriesExport& options)
{
    const auto& rows = series.m_arrRows;
    const std::string begin = rows.empty() ? UtcTime(options.m_nGeneratedAt)
                                           : FormatIsoTime(rows.front().m_nSeconds, options.m_nUtcOffset);
    const std::string end = rows.empty() ? UtcTime(options.m_nGeneratedAt)
                                         : FormatIsoTime(rows.back().m_nSeconds, options.m_nUtcOffset);
    const std::string generated = UtcTime(options.m_nGeneratedAt);

    pugi::xml_document doc;
    pugi::xml_node decl = doc.append_child(pugi::node_declaration);
    decl.append_attribute("version") = "1.0";
    decl.append_attribute("encoding") = "UTF-8";

    pugi::xml_node collection = doc.append_child("wml2:Collection");
    collection.append_attribute("xmlns:wml2") = NS_WML2;
    collection.append_attribute("xmlns:gml") = NS_GML;
    collection.append_attribute("xmlns:om") = NS_OM;
    collection.append_attribute("xmlns:swe") = NS_SWE;
    collection.append_attribute("xmlns:xlink") = NS_XLINK;
    collection.append_attribute("xmlns:xsi") = NS_XSI;
    collection.append_attribute("xsi:schemaLocation") =
        "http://www.opengis.net/waterml/2.0 http://schemas.opengis.net/waterml/2.0/waterml2.xsd";
    collection.append_attribute("gml:id") = "collection";
    collection.append_child("gml:description").text() =
        ("Computed series of the station " + options.m_strStation + ", instrument clock UTC" +
         FormatUtcOffset(options.m_nUtcOffset))
            .c_str();
    collection.append_child("gml:name").text() = options.m_strStation.c_str();

    pugi::xml_node document = collection.append_child("wml2:metadata").append_child("wml2:DocumentMetadata");
    document.append_attribute("gml:id") = "document-metadata";
    document.append_child("wml2:generationDate").text() = generated.c_str();
    document.append_child("wml2:generationSystem").text() = options.m_strProgram.c_str();
    TimePeriod(collection.append_child("wml2:temporalExtent"), "extent", begin, end);

    const std::string station = "urn:tidewell:station:" + UrnPart(options.m_strStation);
    for (int qi = 0; qi < QUANTITY_COUNT; ++qi) {
        if (!options.m_bQuantity[qi])
            continue;
        const auto q = static_cast<SeriesQuantity>(qi);
        const std::string name = QuantityName(q);
        pugi::xml_node observation =
            collection.append_child("wml2:observationMember").append_child("om:OM_Observation");
        observation.append_attribute("gml:id") = ("observation-" + name).c_str();
        TimePeriod(observation.append_child("om:phenomenonTime"), "phenomenon-time-" + name, begin, end);
        pugi::xml_node instant = observation.append_child("om:resultTime").append_child("gml:TimeInstant");
        instant.append_attribute("gml:id") = ("result-time-" + name).c_str();
        instant.append_child("gml:timePosition").text() = generated.c_str();
        Reference(observation, "om:procedure", "urn:tidewell:procedure:index-velocity",
                  "Index velocity and stage-area rating");
        Reference(observation, "om:observedProperty", "urn:tidewell:quantity:" + name, Title(q));
        Reference(observation, "om:featureOfInterest", station, options.m_strStation);

        pugi::xml_node timeseries =
            observation.append_child("om:result").append_child("wml2:MeasurementTimeseries");
        timeseries.append_attribute("gml:id") = ("timeseries-" + name).c_str();
        pugi::xml_node metadata =
            timeseries.append_child("wml2:metadata").append_child("wml2:MeasurementTimeseriesMetadata");
        metadata.append_child("wml2:temporalExtent").append_attribute("xlink:href") =
            ("#phenomenon-time-" + name).c_str();
        pugi::xml_node defaults = timeseries.append_child("wml2:defaultPointMetadata")
                                      .append_child("wml2:DefaultTVPMeasurementMetadata");
        Reference(defaults, "wml2:quality", std::string(QUALITY_BASE) + "good", "good");
        pugi::xml_node uom = defaults.append_child("wml2:uom");
        uom.append_attribute("code") = UcumCode(options.m_nUnits[q]).c_str();
        uom.append_attribute("xlink:title") = UnitAbbreviation(options.m_nUnits[q]).c_str();
        Reference(defaults, "wml2:interpolationType", INTERPOLATION_CONTINUOUS, "Instantaneous");
        timeseries.append_child(pugi::node_comment).set_value(MarkerOf(q).c_str());
    }

    std::string text;
    struct CStringWriter : pugi::xml_writer {
        std::string& m_text;
        explicit CStringWriter(std::string& t) : m_text(t) {}
        void write(const void* data, size_t size) override
        {
            m_text.append(static_cast<const char*>(data), size);
        }
    } writer(text);
    doc.save(writer, INDENT, pugi::format_indent, pugi::encoding_utf8);
    return text;
}

void PointQuality(pugi::xml_node tvp, SeriesQuality quality)
{
    pugi::xml_node metadata = tvp.append_child("wml2:metadata").append_child("wml2:TVPMeasurementMetadata");
    const char* name = QualityName(quality);
    pugi::xml_node q = metadata.append_child("wml2:quality");
    q.append_attribute("xlink:href") = (std::string(QUALITY_BASE) + name).c_str();
    q.append_attribute("xlink:title") = name;
    if (quality == QUALITY_MISSING) {
        pugi::xml_node nil = metadata.append_child("wml2:nilReason");
        nil.append_attribute("xlink:href") = NIL_MISSING;
        nil.append_attribute("xlink:title") = "missing";
    }
}

// One point to a line, at the depth of the series' other children: a year of one-minute
// values stays a third smaller than with every element on a line of its own.
void WritePoints(const CStationSeries& series, const SSeriesExport& options, SeriesQuantity q, unsigned depth,
                 CSeriesOutput& out)
{
    COutputWriter writer(out);
    std::string indent;
    for (unsigned i = 0; i < depth; ++i)
        indent += INDENT;
    const std::string offset = FormatUtcOffset(options.m_nUtcOffset);
    const int unit = options.m_nUnits[q];
    const auto& rows = series.m_arrRows;
    pugi::xml_document block;
    char time[33];
    char value[33];
    for (size_t first = 0; first < rows.size(); first += POINTS_PER_BLOCK) {
        block.reset();
        const size_t last = std::min(rows.size(), first + POINTS_PER_BLOCK);
        for (size_t i = first; i < last; ++i) {
            const SSeriesRow& row = rows[i];
            pugi::xml_node tvp = block.append_child("wml2:point").append_child("wml2:MeasurementTVP");
            time[FormatIsoTime(row.m_nSeconds, offset.data(), offset.size(), time)] = '\0';
            tvp.append_child("wml2:time").text().set(time);
            pugi::xml_node v = tvp.append_child("wml2:value");
            const auto quality = static_cast<SeriesQuality>(row.m_nQuality[q]);
            if (quality == QUALITY_MISSING) {
                v.append_attribute("xsi:nil") = "true";
            } else {
                const auto result = std::to_chars(value, value + 32, ToDisplayUnits(row.m_dValue[q], unit));
                *result.ptr = '\0';
                v.text().set(value);
            }
            if (quality != QUALITY_GOOD)
                PointQuality(tvp, quality);
        }
        for (pugi::xml_node point : block.children()) {
            out.Write(indent);
            point.print(writer, "", pugi::format_raw, pugi::encoding_utf8);
            out.Put('\n');
        }
    }
}

} // namespace

std::string UcumCode(int unitCode)
{
    switch (unitCode) {
    case UNIT_FEET:
        return "[ft_i]";
    case UNIT_INCHES:
        return "[in_i]";
    case UNIT_CENTIMETERS:
        return "cm";
    case UNIT_MILLIMETERS:
        return "mm";
    case UNIT_METERS:
        return "m";
    case UNIT_METERS_PER_SECOND:
        return "m/s";
    case UNIT_FEET_PER_SECOND:
        return "[ft_i]/s";
    case UNIT_MILLIMETERS_PER_SECOND:
        return "mm/s";
    case UNIT_CENTIMETERS_PER_SECOND:
        return "cm/s";
    case UNIT_CUMECS:
    case UNIT_CUBIC_METERS_PER_SECOND:
        return "m3/s";
    case UNIT_MGD:
        return "10*6.[gal_us]/d";
    case UNIT_GALLONS_PER_MINUTE:
        return "[gal_us]/min";
    case UNIT_LITERS_PER_SECOND:
        return "L/s";
    case UNIT_CUBIC_FEET_PER_SECOND:
        return "[cft_i]/s";
    case UNIT_MEGALITERS_PER_DAY:
        return "ML/d";
    case UNIT_LITERS:
        return "L";
    case UNIT_CUBIC_METERS:
        return "m3";
    case UNIT_MEGALITERS:
        return "ML";
    case UNIT_GALLONS:
        return "[gal_us]";
    case UNIT_KGALLONS:
        return "10*3.[gal_us]";
    case UNIT_MILLION_GALLONS:
        return "10*6.[gal_us]";
    case UNIT_CUBIC_FEET:
        return "[cft_i]";
    case UNIT_ACRE_FEET:
        return "[acr_us].[ft_i]";
    default:
        return UnitAbbreviation(unitCode);
    }
}

void WriteSeriesWaterML(const CStationSeries& series, const SSeriesExport& options, CSeriesOutput& out)
{
    const std::string frame = Frame(series, options);
    size_t at = 0;
    for (int qi = 0; qi < QUANTITY_COUNT; ++qi) {
        if (!options.m_bQuantity[qi])
            continue;
        const auto q = static_cast<SeriesQuantity>(qi);
        const std::string marker = "<!--" + MarkerOf(q) + "-->";
        const size_t found = frame.find(marker, at);
        if (found == std::string::npos)
            continue;
        const size_t lineStart = frame.rfind('\n', found) + 1;
        const auto depth = static_cast<unsigned>((found - lineStart) / std::strlen(INDENT));
        out.Write(frame.data() + at, lineStart - at);
        WritePoints(series, options, q, depth, out);
        const size_t lineEnd = frame.find('\n', found);
        at = lineEnd == std::string::npos ? frame.size() : lineEnd + 1;
    }
    out.Write(frame.data() + at, frame.size() - at);
}

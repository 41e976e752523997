// Arbitrary bytes through everything that reads recorded data: the framer byte by byte and
// in bulk, both decoders on every framed ensemble whatever its first byte, every value by
// data type for beams 0-3 and bins 0-255, the flow chain with settings taken from the
// input, and a whole-file load.
#include "data/ByteOrder.h"
#include "data/EnsembleList.h"
#include "data/EnsembleReader.h"
#include "data/FileSummary.h"
#include "data/FlowChain.h"
#include "data/FlowSettingsTable.h"
#include "data/Pd0Ensemble.h"
#include "data/Pd14Ensemble.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace
{

constexpr size_t SETTINGS_BYTES = 64;

// A cursor over the leading bytes that make up a station's settings.
struct Taker {
    const uint8_t* p;
    size_t n;
    uint8_t Byte() { return n ? (--n, *p++) : 0; }
    double Double()
    {
        if (n < 8)
            return 0.0;
        double d;
        std::memcpy(&d, p, 8);
        p += 8;
        n -= 8;
        return d;
    }
    int16_t Short()
    {
        const int lo = Byte();
        return static_cast<int16_t>(lo | (Byte() << 8));
    }
};

CFlowSettings SettingsFrom(const uint8_t* data, size_t size)
{
    Taker t{data, size < SETTINGS_BYTES ? size : SETTINGS_BYTES};
    CFlowSettings s;
    s.m_nMounting = t.Byte() % 6;
    s.m_nVelocityModel = t.Byte() % 5;
    s.m_nVelRangeStart = t.Short();
    s.m_nVelRangeStop = t.Short();
    s.m_nStageUnits = 100 + t.Byte() % 33;
    s.m_nVelocityUnits = 100 + t.Byte() % 33;
    for (double& c : s.m_dModelCoef)
        c = t.Short() / 64.0;
    s.m_dCritVelocity = t.Short();
    s.m_dForcedStage = (t.Byte() & 1) ? t.Short() * 10.0 : NODATA;
    CChannelGeometry& g = s.m_geometry;
    g.SetType(20 + t.Byte() % 6);
    g.SetZAdcp(t.Short() * 4.0);
    g.SetZBottom(t.Short() * 4.0);
    g.SetDiameter(t.Short() * 8.0);
    g.SetRectangular(t.Short() * 8.0, t.Short() * 8.0);
    g.SetTrapezoidal(t.Short() * 8.0, t.Short() * 8.0, t.Byte() / 16.0);
    g.SetPolynomial(t.Short() / 8.0, t.Short() / 64.0, t.Short() / 512.0);
    const int points = t.Byte() % (CChannelGeometry::MAX_POINTS + 2);
    for (int i = 0; i < points; ++i)
        g.AddPoint(t.Short() * 8.0, t.Short() * 8.0);
    return s;
}

volatile double g_sink;

// Every data type; those of a beam and bin for beams 0-3 and bins 0-255 (the others do not
// look at beam or bin).
void Exercise(const CEnsemble& e, bool allBins)
{
    double sum = e.IsValid() ? 1.0 : 0.0;
    for (int type = -1; type <= 13; ++type)
        sum += e.GetValue(static_cast<DataType>(type), 0, 0);
    for (int type = 99; type <= 108 && allBins; ++type)
        for (int beam = 0; beam < 4; ++beam)
            for (int bin = 0; bin < 256; ++bin)
                sum += e.GetValue(static_cast<DataType>(type), beam, bin);
    sum += e.GetValue(DATATYPE_X_VELOCITY, -1, -1) + e.GetValue(DATATYPE_AMPLITUDE, 0, 100000) +
           e.GetValue(static_cast<DataType>(0x7FFFFFFF), 0, 0);
    g_sink = sum;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const CFlowSettings settings = SettingsFrom(data, size);
    CFlowSettings other = settings;
    other.m_nMounting = settings.m_nMounting == MOUNTING_LEFT ? MOUNTING_RIGHT : MOUNTING_LEFT;
    other.m_nVelocityModel = (settings.m_nVelocityModel + 1) % 4;

    // Byte by byte, as a serial line delivers it.
    CEnsembleReader reader;
    for (size_t i = 0; i < size; ++i) {
        reader.AddByte(data[i]);
        if (!reader.HasEnsemble())
            continue;
        const uint8_t* bytes = reader.GetBytes();
        const size_t n = static_cast<size_t>(reader.GetSize());
        CPd0Ensemble pd0(settings, bytes, n);
        CPd14Ensemble pd14(settings, bytes, n);
        Exercise(pd0, true);
        Exercise(pd14, true);
        // Another mounting and model: the derived values and the signed velocities change.
        pd0.Recompute(other);
        pd14.Recompute(other);
        Exercise(pd0, false);
        Exercise(pd14, false);
        g_sink = pd0.GetValue(DATATYPE_X_VELOCITY, 0, 0) + pd14.GetValue(DATATYPE_X_VELOCITY, 0, 0);
        reader.Reset();
    }

    // A whole file, with a calculation set in force from the middle of 2005.
    CFlowSettingsTable table(settings);
    table.AddSet(38534.0, other);
    CEnsembleList list;
    ByteBuffer copy = AllocateBytes(size);
    if (size)
        std::memcpy(copy.get(), data, size);
    list.LoadBuffer(std::move(copy), size, table);
    const CDataSummary summary = SummarizeList(list);
    double sum = summary.m_dFlowMax;
    for (size_t i = 0; i < list.GetCount(); ++i)
        for (int type : {1, 2, 3, 4, 5, 6, 7, 8, 100, 101, 105, 107})
            sum += list.GetValue(i, static_cast<DataType>(type), 1, 3);
    g_sink = sum;
    return 0;
}

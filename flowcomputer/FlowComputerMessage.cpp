#include "flowcomputer/FlowComputerMessage.h"

#include "station/Station.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace
{

class CMessageWriter
{
  public:
    explicit CMessageWriter(std::vector<uint8_t>& bytes) : m_bytes(bytes) {}

    void Byte(int64_t v) { m_bytes.push_back(static_cast<uint8_t>(v & 0xFF)); }
    void Le16(int64_t v)
    {
        Byte(v);
        Byte(v >> 8);
    }
    void Le32(int64_t v)
    {
        Le16(v);
        Le16(v >> 16);
    }
    void Int16(double v) { Le16(CFlowComputerMessage::Truncate(v, INT16_MIN, INT16_MAX)); }
    void Int32(double v) { Le32(CFlowComputerMessage::Truncate(v, INT32_MIN, INT32_MAX)); }
    void Float(double v)
    {
        const float f = static_cast<float>(v);
        uint32_t bits = 0;
        std::memcpy(&bits, &f, sizeof bits);
        Le32(bits);
    }

  private:
    std::vector<uint8_t>& m_bytes;
};

} // namespace

int64_t CFlowComputerMessage::Truncate(double value, int64_t lowest, int64_t highest)
{
    if (std::isnan(value))
        return 0;
    const double t = std::trunc(value);
    if (t <= static_cast<double>(lowest))
        return lowest;
    if (t >= static_cast<double>(highest))
        return highest;
    return static_cast<int64_t>(t);
}

bool CFlowComputerMessage::ChannelParameters(const CStation& station, uint8_t& code,
                                             float (&parameters)[PARAMETER_COUNT])
{
    for (float& p : parameters)
        p = 0.0f;
    const CChannelGeometry& g = station.GetGeometry();
    switch (g.GetType()) {
    case CHANNEL_MULTIPOINT: {
        int points = g.GetNumPoints();
        points = points < 0                              ? 0
                 : points > CChannelGeometry::MAX_POINTS ? CChannelGeometry::MAX_POINTS
                                                         : points;
        code = static_cast<uint8_t>(points);
        for (int i = 0; i < points; ++i) {
            parameters[2 * i] = static_cast<float>(g.m_dPointY[i]);
            parameters[2 * i + 1] = static_cast<float>(g.m_dPointZ[i]);
        }
        return true;
    }
    case CHANNEL_RECTANGULAR:
        code = 21;
        parameters[0] = static_cast<float>(g.m_dZBottom);
        parameters[1] = static_cast<float>(g.m_dRectWidth);
        parameters[2] = static_cast<float>(g.m_dRectHeight);
        return true;
    case CHANNEL_TRAPEZOIDAL:
        code = 22;
        parameters[0] = static_cast<float>(g.m_dZBottom);
        parameters[1] = static_cast<float>(g.m_dTrapWidth);
        parameters[2] = static_cast<float>(g.m_dTrapHeight);
        parameters[3] = static_cast<float>(g.m_dTrapSlope);
        return true;
    case CHANNEL_POLYNOMIAL:
        code = 23;
        for (int i = 0; i < 3; ++i)
            parameters[i] = static_cast<float>(g.m_dPoly[i]);
        return true;
    case CHANNEL_CIRCULAR:
        code = 24;
        parameters[0] = static_cast<float>(g.m_dDiameter);
        return true;
    default:
        return false;
    }
}

bool CFlowComputerMessage::Build(const CStation& s, std::vector<uint8_t>& bytes, std::string* error)
{
    bytes.clear();
    uint8_t code = 0;
    float parameters[PARAMETER_COUNT];
    if (!ChannelParameters(s, code, parameters)) {
        if (error)
            *error = "the channel type " + std::to_string(s.GetGeometry().GetType()) + " is not a known one";
        return false;
    }
    bytes.reserve(MESSAGE_SIZE);
    CMessageWriter w(bytes);

    w.Le16(253);
    // System block.
    w.Byte(s.GetFlowUnits());
    w.Byte(s.GetVelocityUnits());
    w.Byte(s.GetStageUnits());
    w.Byte(s.GetVolumeUnits());
    w.Float(s.GetFlow4mA());
    w.Float(s.GetFlow20mA());
    w.Int16(s.GetVelocity4mA());
    w.Int16(s.GetVelocity20mA());
    w.Int32(s.GetStage4mA());
    w.Int32(s.GetStage20mA());
    w.Byte(s.GetBadReadings());
    w.Float(s.GetBadDataOutput());
    w.Le16(static_cast<int16_t>(s.GetTimeout()));
    w.Float(s.GetNoDataOutput());
    w.Float(s.GetTotalizerPulse()); // 0 already means "no pulses"
    w.Float(s.GetPulseTime());
    w.Le16(0);
    // Velocity model block. A forced depth of 0 or below means none.
    w.Int32(s.GetForcedDepth() > 0.0 ? s.GetForcedDepth() : NODATA);
    w.Byte(s.GetVelRangeStart());
    w.Byte(s.GetVelRangeStop());
    w.Byte(s.GetVelocityModel());
    for (int i = 0; i < 4; ++i)
        w.Float(s.GetModelCoef(i));
    w.Int16(s.GetCritVelocity());
    w.Le16(s.GetMounting() == 1 ? -1 : 1);
    w.Float(s.GetTCF());
    w.Float(s.GetBigStep());
    w.Float(s.GetZeroScreen());
    // Channel block.
    w.Byte(code);
    w.Int32(s.GetGeometry().GetZAdcp());
    for (float p : parameters)
        w.Float(p);
    return bytes.size() == MESSAGE_SIZE;
}

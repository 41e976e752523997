// The settings message, checked field by field at the offsets the unit reads.
#include "flowcomputer/FlowComputerMessage.h"
#include "station/Station.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{

std::vector<uint8_t> Build(const CStation& station)
{
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(CFlowComputerMessage::Build(station, bytes));
    EXPECT_EQ(bytes.size(), CFlowComputerMessage::MESSAGE_SIZE);
    return bytes;
}

std::vector<uint8_t> Slice(const std::vector<uint8_t>& m, size_t offset, size_t count)
{
    return std::vector<uint8_t>(m.begin() + static_cast<long>(offset),
                                m.begin() + static_cast<long>(offset + count));
}

int32_t Le32(const std::vector<uint8_t>& m, size_t at)
{
    return static_cast<int32_t>(m.at(at) | m.at(at + 1) << 8 | m.at(at + 2) << 16 |
                                static_cast<uint32_t>(m.at(at + 3)) << 24);
}

int16_t Le16(const std::vector<uint8_t>& m, size_t at)
{
    return static_cast<int16_t>(m.at(at) | m.at(at + 1) << 8);
}

float Float(const std::vector<uint8_t>& m, size_t at)
{
    const uint32_t bits = static_cast<uint32_t>(Le32(m, at));
    float f = 0;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

float Parameter(const std::vector<uint8_t>& m, int i)
{
    return Float(m, CFlowComputerMessage::PARAMETER_OFFSET + 4 * static_cast<size_t>(i));
}

using Bytes = std::vector<uint8_t>;

TEST(FlowComputerMessage, NewStationStartsAsTheWorkedExample)
{
    CStation station;
    const auto m = Build(station);
    EXPECT_EQ(Slice(m, 0, 2), (Bytes{0xFD, 0x00}));
    EXPECT_EQ(Slice(m, 2, 4), (Bytes{0x6F, 0x6B, 0x65, 0x7D}));
    EXPECT_EQ(Slice(m, 6, 4), (Bytes{0x00, 0x00, 0x00, 0x00}));
    EXPECT_EQ(Slice(m, 10, 4), (Bytes{0x9F, 0xB4, 0x85, 0x4A}));
    // The rest of the defaults where a slip of one byte would show.
    EXPECT_EQ(Le16(m, 16), 3047);   // 10 ft/s, truncated
    EXPECT_EQ(Le32(m, 22), 304799); // 100 ft, truncated
    EXPECT_EQ(m[26], 5);            // bad readings
    EXPECT_FLOAT_EQ(Float(m, 27), 3.95f);
    EXPECT_EQ(Le16(m, 31), 1200);
    EXPECT_FLOAT_EQ(Float(m, 33), 3.65f);
    EXPECT_FLOAT_EQ(Float(m, 37), 37854.1179f);
    EXPECT_FLOAT_EQ(Float(m, 41), 0.05f);
    EXPECT_EQ(Slice(m, 45, 2), (Bytes{0, 0}));
    EXPECT_EQ(Slice(m, 51, 3), (Bytes{1, 20, 1}));
    EXPECT_FLOAT_EQ(Float(m, 58), 1.0f); // second model coefficient
    EXPECT_FLOAT_EQ(Float(m, 74), 1.0f); // TCF
    EXPECT_FLOAT_EQ(Float(m, 78), 0.1f); // big step
    EXPECT_EQ(m[86], 21);                // rectangular
}

TEST(FlowComputerMessage, IntegersAreTruncatedTowardZeroAndHeldToTheirWidth)
{
    CStation station;
    station.SetVelocity4mA(-12.9);
    station.SetVelocity20mA(40000.0); // does not fit 16 bits
    station.SetStage4mA(-1.5);
    station.SetStage20mA(123456.99);
    station.SetCritVelocity(250.7);
    station.GetGeometry().SetZAdcp(-3048.6);
    station.SetBadReadings(10);
    station.SetTimeout(3600);
    station.SetTotalizerPulse(0.0);
    const auto m = Build(station);
    EXPECT_EQ(Le16(m, 14), -12);
    EXPECT_EQ(Le16(m, 16), 32767);
    EXPECT_EQ(Le32(m, 18), -1);
    EXPECT_EQ(Le32(m, 22), 123456);
    EXPECT_EQ(Le16(m, 70), 250);
    EXPECT_EQ(Le32(m, 87), -3048);
    EXPECT_EQ(m[26], 10);
    EXPECT_EQ(Le16(m, 31), 3600);
    EXPECT_EQ(Slice(m, 37, 4), (Bytes{0, 0, 0, 0}));
}

TEST(FlowComputerMessage, MountingSign)
{
    CStation station;
    const std::pair<int, Bytes> cases[] = {
        {1, {0xFF, 0xFF}}, {2, {0x01, 0x00}}, {3, {0x01, 0x00}}, {4, {0x01, 0x00}}};
    for (const auto& [mounting, expected] : cases) {
        station.SetMounting(static_cast<Mounting>(mounting));
        EXPECT_EQ(Slice(Build(station), 72, 2), expected) << "mounting " << mounting;
    }
}

TEST(FlowComputerMessage, ForcedDepthOrItsAbsence)
{
    CStation station;
    EXPECT_EQ(Slice(Build(station), 47, 4), (Bytes{0x00, 0x80, 0xFF, 0xFF}));
    station.SetForcedDepth(0.0); // zero means none as well
    EXPECT_EQ(Slice(Build(station), 47, 4), (Bytes{0x00, 0x80, 0xFF, 0xFF}));
    station.SetForcedDepth(15240.9);
    EXPECT_EQ(Le32(Build(station), 47), 15240);
}

TEST(FlowComputerMessage, ThreePointSection)
{
    CStation station;
    CChannelGeometry& g = station.GetGeometry();
    g.SetType(CHANNEL_MULTIPOINT);
    g.ClearPoints();
    g.AddPoint(0.0, 30000.0);
    g.AddPoint(25000.5, 0.0);
    g.AddPoint(50000.0, 30000.0);
    const auto m = Build(station);
    EXPECT_EQ(m[86], 3);
    const float filled[6] = {0.0f, 30000.0f, 25000.5f, 0.0f, 50000.0f, 30000.0f};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(Parameter(m, i), filled[i]) << i;
    for (int i = 6; i < 40; ++i)
        EXPECT_EQ(Le32(m, 91 + 4 * static_cast<size_t>(i)), 0) << i;
}

TEST(FlowComputerMessage, TwentyPointsFillEveryParameter)
{
    CStation station;
    CChannelGeometry& g = station.GetGeometry();
    g.SetType(CHANNEL_MULTIPOINT);
    g.ClearPoints();
    for (int i = 0; i < 20; ++i)
        g.AddPoint(1000.0 * i, 500.0 + i);
    const auto m = Build(station);
    EXPECT_EQ(m[86], 20);
    EXPECT_EQ(Parameter(m, 38), 19000.0f);
    EXPECT_EQ(Parameter(m, 39), 519.0f);
}

TEST(FlowComputerMessage, ShapesByType)
{
    CStation station;
    CChannelGeometry& g = station.GetGeometry();
    g.SetZBottom(-500.0);
    g.SetRectangular(20000.0, 10000.0);
    g.SetTrapezoidal(30000.0, 12000.0, 1.5);
    g.SetPolynomial(1.25, -2.5, 0.125);
    g.SetDiameter(9144.0);
    struct Case {
        int32_t type;
        uint8_t code;
        std::vector<float> parameters;
    };
    const Case cases[] = {
        {CHANNEL_RECTANGULAR, 21, {-500.0f, 20000.0f, 10000.0f}},
        {CHANNEL_TRAPEZOIDAL, 22, {-500.0f, 30000.0f, 12000.0f, 1.5f}},
        {CHANNEL_POLYNOMIAL, 23, {1.25f, -2.5f, 0.125f}},
        {CHANNEL_CIRCULAR, 24, {9144.0f}},
    };
    for (const auto& c : cases) {
        g.SetType(c.type);
        const auto m = Build(station);
        EXPECT_EQ(m[86], c.code);
        for (size_t i = 0; i < 40; ++i) {
            const float expected = i < c.parameters.size() ? c.parameters[i] : 0.0f;
            EXPECT_EQ(Parameter(m, static_cast<int>(i)), expected) << "type " << c.type << " parameter " << i;
        }
    }
}

TEST(FlowComputerMessage, UnknownChannelTypeBuildsNothing)
{
    CStation station;
    station.GetGeometry().SetType(7);
    std::vector<uint8_t> bytes{1, 2, 3};
    std::string error;
    EXPECT_FALSE(CFlowComputerMessage::Build(station, bytes, &error));
    EXPECT_TRUE(bytes.empty());
    EXPECT_NE(error.find('7'), std::string::npos);
}

} // namespace

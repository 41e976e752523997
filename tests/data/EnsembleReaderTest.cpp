// The framer: named byte streams fed straight in, the length limits, and the bulk path
// agreeing with the byte-by-byte one.
#include "data/EnsembleReader.h"
#include "data/BufferedReader.h"
#include "sim/DataGenerator.h"
#include "sim/EnsembleEncoder.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace
{

using Bytes = std::vector<uint8_t>;

std::vector<Bytes> FrameByteByByte(const Bytes& stream)
{
    std::vector<Bytes> out;
    CEnsembleReader reader;
    for (uint8_t b : stream) {
        reader.AddByte(b);
        if (reader.HasEnsemble()) {
            out.emplace_back(reader.GetBytes(), reader.GetBytes() + reader.GetSize());
            reader.Reset();
        }
    }
    return out;
}

Bytes SmallPd0()
{
    SPd0Values v;
    v.m_velocity1 = {100, 200};
    v.m_velocity2 = {100, 200};
    return EncodePd0Ensemble(v);
}

Bytes SmallPd14()
{
    SPd14Values v;
    v.m_velocityX = {10, 20, 30};
    v.m_velocityY = {1, 2, 3};
    return EncodePd14Ensemble(v);
}

// A PD0 ensemble of a given length field: header, no sections, checksum.
Bytes Pd0OfLength(int length)
{
    Bytes e(static_cast<size_t>(length) + 2, 0);
    e[0] = e[1] = 0x7F;
    e[2] = static_cast<uint8_t>(length & 0xFF);
    e[3] = static_cast<uint8_t>(length >> 8);
    SetPd0Checksum(e);
    return e;
}

Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

} // namespace

TEST(EnsembleReader, NamedStreams)
{
    const Bytes pd0 = SmallPd0();
    const Bytes pd14 = SmallPd14();
    struct Case {
        const char* name;
        Bytes stream;
        std::vector<Bytes> expected;
    };
    const std::vector<Case> cases = {
        {"clean PD0", pd0, {pd0}},
        {"clean PD14", pd14, {pd14}},
        {"00 resets, the next 7F starts a header", Concat({{0x7F, 0x00}, pd0}), {pd0}},
        {"8F after 7F is used up by the reset it causes", Concat({{0x7F, 0x8F}, pd14}), {pd14}},
        {"leading garbage", Concat({{0x00, 0x41, 0x42, 0x0D, 0x0A}, pd0}), {pd0}},
        {"back to back, both formats", Concat({pd0, pd14, pd0}), {pd0, pd14, pd0}},
        {"negative length is noise", Concat({{0x7F, 0x7F, 0x10, 0x80}, pd14}), {pd14}},
        {"too short a total is noise", Concat({{0x8F, 0x8F, 0x05, 0x00}, pd0}), {pd0}},
        {"partial ensemble at the end is dropped", Concat({pd0, Bytes(pd14.begin(), pd14.end() - 1)}), {pd0}},
        {"interrupted header restarts on the next ID byte", Concat({{0x8F, 0x8F, 0xFF, 0xFF}, pd14}), {pd14}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FrameByteByByte(c.stream), c.expected) << c.name;
}

TEST(EnsembleReader, TheResetDropsTheByteThatCausedIt)
{
    // 7F 7F 7F: the third 7F would start a header if it were looked at again; it is not,
    // so the stream ends in a state waiting for a first byte, and 7F 7F + length still
    // frames the ensemble that follows.
    CEnsembleReader reader;
    for (uint8_t b : {0x7F, 0x8F})
        reader.AddByte(b);
    EXPECT_EQ(reader.GetSize(), 0);
    // After a reset caused by 8F, an ensemble that starts 8F 8F right away is not framed
    // from its first byte: the first 8F is gone, the second one starts a header whose next
    // byte (the length) does not repeat it.
    const Bytes stream = Concat({{0x7F}, SmallPd14()});
    EXPECT_TRUE(FrameByteByByte(stream).empty());
}

TEST(EnsembleReader, LengthLimits)
{
    // PD0: total = L + 2; 5998 gives exactly 6000 and is taken, 6000 gives 6002 and is not.
    EXPECT_EQ(FrameByteByByte(Pd0OfLength(5998)).size(), 1u);
    EXPECT_EQ(FrameByteByByte(Pd0OfLength(5998))[0].size(), 6000u);
    EXPECT_TRUE(FrameByteByByte(Pd0OfLength(6000)).empty());
    EXPECT_EQ(FrameByteByByte(Pd0OfLength(4)).size(), 1u); // total 6
    EXPECT_TRUE(FrameByteByByte(Pd0OfLength(3)).empty());  // total 5

    // PD14: total = L.
    Bytes pd14(6000, 0x11);
    pd14[0] = pd14[1] = 0x8F;
    pd14[2] = 0x70;
    pd14[3] = 0x17;
    EXPECT_EQ(FrameByteByByte(pd14).size(), 1u);
    pd14.push_back(0x11);
    pd14[2] = 0x71;
    EXPECT_TRUE(FrameByteByByte(pd14).empty());
}

TEST(EnsembleReader, FeedAgreesWithAddByteOnAnyStream)
{
    std::mt19937 random(7);
    SDataGenOptions options;
    options.m_nCount = 40;
    options.m_nNoiseMax = 9;
    options.m_nBadChecksumEvery = 5;
    options.m_nCells = 12;
    Bytes generated = CDataGenerator(options).Generate().m_bytes;
    options.m_format = SDataGenOptions::PD14;
    const Bytes pd14 = CDataGenerator(options).Generate().m_bytes;
    generated.insert(generated.end(), pd14.begin(), pd14.end());

    for (int round = 0; round < 40; ++round) {
        Bytes stream = generated;
        // Damage a few bytes and add header-like noise, so that every state is visited.
        for (int i = 0; i < 30; ++i) {
            const size_t at = random() % stream.size();
            const uint8_t pick[] = {0x7F, 0x8F, 0x00, 0x80, 0x17, static_cast<uint8_t>(random())};
            stream[at] = pick[random() % 6];
        }
        const auto expected = FrameByteByByte(stream);

        for (bool keep : {true, false}) {
            CEnsembleReader reader;
            std::vector<Bytes> got;
            size_t pos = 0;
            while (pos < stream.size()) {
                const size_t chunk = 1 + random() % 900;
                const size_t end = std::min(stream.size(), pos + chunk);
                size_t start = 0;
                const size_t taken = reader.Feed(stream.data() + pos, end - pos, &start, keep);
                ASSERT_GT(taken, 0u);
                if (reader.HasEnsemble()) {
                    if (start != CEnsembleReader::npos && !keep) {
                        const uint8_t* p = stream.data() + pos + start;
                        got.emplace_back(p, p + reader.GetSize());
                    } else {
                        got.emplace_back(reader.GetBytes(), reader.GetBytes() + reader.GetSize());
                    }
                    reader.Reset();
                }
                pos += taken;
            }
            EXPECT_EQ(got, expected) << "round " << round << (keep ? " copying" : " in place");
        }
    }
}

TEST(EnsembleReader, ReadNextFromAFile)
{
    testsupport::TempDir dir;
    const Bytes pd0 = SmallPd0();
    const Bytes stream = Concat({{0x01, 0x7F, 0x00}, pd0, {0x1A, 0x1A}, pd0, {0x7F, 0x7F, 0x20}});
    testsupport::WriteFileBytes(dir / "x.000", stream);

    CBufferedReader file;
    ASSERT_TRUE(file.Open((dir / "x.000").string()));
    CEnsembleReader reader;
    ASSERT_TRUE(reader.ReadNext(file));
    EXPECT_EQ(Bytes(reader.GetBytes(), reader.GetBytes() + reader.GetSize()), pd0);
    ASSERT_TRUE(reader.ReadNext(file));
    EXPECT_EQ(reader.GetByte(reader.GetSize() - 1), pd0.back());
    EXPECT_FALSE(reader.ReadNext(file)); // the trailing partial header is dropped
    EXPECT_FALSE(file.Open((dir / "missing.000").string()));
}

// The block assembler and its checks, fed byte strings straight in.
#include "link/YmodemPacket.h"

#include <gtest/gtest.h>

#include <sstream>

namespace
{

CYmodemPacket Feed(const std::string& bytes)
{
    CYmodemPacket packet;
    for (char c : bytes)
        packet.AddByte(static_cast<uint8_t>(c));
    return packet;
}

std::string Block0(const std::string& fields)
{
    return CYmodemPacket::Frame(0, fields, 128, 0);
}

TEST(YmodemCrc, MatchesTheStandardCheckValue)
{
    const std::string check = "123456789";
    EXPECT_EQ(ymodem::Crc16(reinterpret_cast<const uint8_t*>(check.data()), check.size()), 0x31C3);
    EXPECT_EQ(ymodem::Crc16(nullptr, 0), 0);
}

TEST(YmodemPacket, AssemblesBothBlockSizesAndEndOfFile)
{
    for (size_t size : {size_t{128}, size_t{1024}}) {
        const auto packet = Feed(CYmodemPacket::Frame(7, "abc", size));
        ASSERT_TRUE(packet.IsFinished()) << size;
        EXPECT_EQ(packet.DataLength(), size);
        EXPECT_EQ(packet.BlockNumber(), 7);
        EXPECT_TRUE(packet.IsValid());
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(packet.Data()), 4), std::string("abc\x1A"));
    }
    const auto eot = Feed("\x04");
    EXPECT_TRUE(eot.IsFinished());
    EXPECT_TRUE(eot.IsEndOfFile());
    EXPECT_TRUE(eot.IsValid());
    EXPECT_EQ(eot.DataLength(), 0u);
}

TEST(YmodemPacket, SkipsNoiseAndDropsAGarbledNumber)
{
    // Noise in front of a block is skipped; a complement that does not match the number drops
    // what was gathered and the next header starts a fresh block.
    const std::string good = CYmodemPacket::Frame(3, "xyz", 128);
    std::string garbled = CYmodemPacket::Frame(3, "xyz", 128);
    garbled[2] = 0x11;
    auto packet = Feed(std::string("\x00\x7F\x43", 3) + garbled.substr(0, 3));
    EXPECT_FALSE(packet.IsFinished());
    for (char c : good)
        packet.AddByte(static_cast<uint8_t>(c));
    EXPECT_TRUE(packet.IsFinished());
    EXPECT_TRUE(packet.IsValid());
    EXPECT_EQ(packet.BlockNumber(), 3);
}

TEST(YmodemPacket, AStrayHeaderByteDoesNotSwallowTheRealBlock)
{
    // 0x02 or 0x01 just in front of a block takes the real header as its number; the bytes
    // that failed as number and complement are looked at again and the block is found.
    for (const char* stray : {"\x02", "\x01", "\x02\x01"}) {
        const auto packet = Feed(std::string(stray) + CYmodemPacket::Frame(7, "data", 1024));
        EXPECT_TRUE(packet.IsFinished()) << int(stray[0]);
        EXPECT_TRUE(packet.IsValid());
        EXPECT_EQ(packet.BlockNumber(), 7);
    }
}

TEST(YmodemPacket, CrcCatchesAnyDamagedByte)
{
    const std::string frame = CYmodemPacket::Frame(1, std::string(1024, 'q'), 1024);
    for (size_t at : {size_t{3}, size_t{500}, size_t{1026}, size_t{1027}, size_t{1028}}) {
        std::string damaged = frame;
        damaged[at] = static_cast<char>(damaged[at] ^ 0x01);
        const auto packet = Feed(damaged);
        ASSERT_TRUE(packet.IsFinished());
        EXPECT_FALSE(packet.IsValid()) << "byte " << at;
    }
}

TEST(YmodemPacket, ExtraBytesAfterACompleteBlockAreIgnored)
{
    auto packet = Feed(CYmodemPacket::Frame(1, "a", 128) + "zzzz");
    EXPECT_TRUE(packet.IsValid());
    EXPECT_EQ(packet.Data()[0], 'a');
}

TEST(YmodemPacket, ReadsNameAndSizeOfBlockZero)
{
    std::string name;
    long long size = -1;
    auto packet = Feed(Block0(std::string("REC00001.000\0"
                                          "123456 13440727123 100644",
                                          38)));
    ASSERT_TRUE(packet.FileName(name));
    EXPECT_EQ(name, "REC00001.000");
    ASSERT_TRUE(packet.FileSize(size));
    EXPECT_EQ(size, 123456);

    // No digits gives 0; the size ends at the name's block end without a terminator only if
    // one is found before the end of the field area.
    packet = Feed(Block0(std::string("a\0\0", 3)));
    ASSERT_TRUE(packet.FileSize(size));
    EXPECT_EQ(size, 0);
    // ... and says the size was not given at all, unlike a size of 0.
    EXPECT_FALSE(packet.HasFileSize());
    EXPECT_TRUE(Feed(Block0(std::string("a\0"
                                        "0",
                                        3)))
                    .HasFileSize());
    EXPECT_TRUE(Feed(Block0(std::string("a\0"
                                        "12 0",
                                        6)))
                    .HasFileSize());
}

TEST(YmodemPacket, BlockZeroFieldsMustBeTerminated)
{
    std::string name;
    long long size = 0;
    // A name of 125 characters leaves no room for its terminator.
    auto packet = Feed(Block0(std::string(125, 'n')));
    EXPECT_FALSE(packet.FileName(name));
    EXPECT_FALSE(packet.FileSize(size));
    // A name that fits but a size that runs to the end of the field area.
    packet = Feed(Block0(std::string("n\0", 2) + std::string(123, '7')));
    EXPECT_TRUE(packet.FileName(name));
    EXPECT_FALSE(packet.FileSize(size));
    // Block 0 must be a 128-byte block.
    packet = Feed(CYmodemPacket::Frame(0,
                                       std::string("big.000\0"
                                                   "10",
                                                   10),
                                       1024, 0));
    EXPECT_TRUE(packet.IsValid());
    EXPECT_FALSE(packet.FileName(name));
    EXPECT_FALSE(packet.FileSize(size));
}

TEST(YmodemPacket, WritesWholeBlocksPaddingIncluded)
{
    std::ostringstream out;
    ASSERT_TRUE(Feed(CYmodemPacket::Frame(1, "hello", 128)).WriteData(out));
    const std::string written = out.str();
    ASSERT_EQ(written.size(), 128u);
    EXPECT_EQ(written.substr(0, 5), "hello");
    EXPECT_EQ(written.substr(5), std::string(123, '\x1A'));
}

} // namespace

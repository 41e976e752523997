// The receiver over a pseudo-terminal against an independent sender, the system's batch
// file sender (sb), for the file sizes where block boundaries matter.
#include "link/SerialPort.h"
#include "link/YmodemReceiver.h"
#include "link/YmodemSerialLine.h"
#include "tests/link/YmodemPty.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace
{

constexpr const char* SENDER = "/usr/bin/sb";

std::vector<unsigned char> Content(size_t size)
{
    std::vector<unsigned char> data(size);
    uint32_t x = 12345;
    for (auto& b : data) {
        x = x * 1103515245u + 12345u;
        b = static_cast<unsigned char>(x >> 16);
    }
    return data;
}

TEST(YmodemLrzsz, ReceivesEverySizeOverAPseudoTerminal)
{
    if (::access(SENDER, X_OK) != 0)
        GTEST_SKIP() << SENDER << " is not installed";
    // Both of the sender's block sizes: 128 bytes (its default) and 1024 (as the instrument sends).
    for (const bool bigBlocks : {false, true})
        for (size_t size : {size_t{0}, size_t{1}, size_t{128}, size_t{1024}, size_t{1025}, size_t{300000}}) {
            SCOPED_TRACE("size " + std::to_string(size) +
                         (bigBlocks ? ", 1024-byte blocks" : ", 128-byte blocks"));
            testsupport::TempDir from;
            testsupport::TempDir to;
            const auto data = Content(size);
            testsupport::WriteFileBytes(from / "REC00001.000", data);

            CTestPty pty;
            ASSERT_TRUE(pty.IsOpen());
            CSerialPort port;
            ASSERT_TRUE(port.Open(pty.SlavePath(), 57600));
            std::vector<std::string> command = {SENDER, "--ymodem", "REC00001.000"};
            if (bigBlocks)
                command.insert(command.begin() + 2, "--1k");
            const pid_t sender = pty.Spawn(command, from.Path().string());
            ASSERT_GT(sender, 0);

            std::atomic<int> abort{0};
            CYmodemSerialLine line(port);
            CYmodemReceiver receiver(line, to.Path(), abort);
            const bool ok = receiver.Receive();
            port.Close();
            EXPECT_EQ(CTestPty::Wait(sender), 0);
            ASSERT_TRUE(ok) << receiver.FailureDetail();
            EXPECT_EQ(receiver.Progress().fileName, "REC00001.000");
            EXPECT_EQ(receiver.Progress().total, static_cast<long long>(size));
            EXPECT_EQ(receiver.Progress().errors, 0);
            EXPECT_TRUE(CYmodemReceiver::IsComplete(receiver.Progress()));
            // Exactly what was sent: the sender's padding of the last block is not kept.
            EXPECT_EQ(testsupport::ReadFileBytes(to / "REC00001.000"), data);
            EXPECT_FALSE(std::filesystem::exists(to / "REC00001.000.partial"));
        }
}

} // namespace

// The simulated unit served on an existing port: a scripted port plays the program's end,
// reporting the bytes and breaks a real receiving port would.
#include "sim/VelunitStreamServer.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

namespace
{

struct SScript {
    std::deque<unsigned char> incoming;
    bool breakPending = false;
    bool failWrites = false;
    std::string sent;
    std::vector<int> bauds;
};

class CScriptedPort : public ISerialStream
{
  public:
    explicit CScriptedPort(SScript& script) : m_s(script) {}
    bool Configure(int baud) override
    {
        m_s.bauds.push_back(baud);
        // In order with the bytes (piece by piece: literal + temporary trips a false
        // -Wrestrict in GCC 12).
        m_s.sent += '[';
        m_s.sent += std::to_string(baud);
        m_s.sent += ']';
        return true;
    }
    bool ReadByte(unsigned char& byte, int) override
    {
        if (m_s.incoming.empty())
            return false;
        byte = m_s.incoming.front();
        m_s.incoming.pop_front();
        return true;
    }
    int Available() override { return static_cast<int>(m_s.incoming.size()); }
    bool Write(const unsigned char* data, size_t size, int, size_t& written) override
    {
        if (m_s.failWrites)
            return false;
        m_s.sent.append(reinterpret_cast<const char*>(data), size);
        written = size;
        return true;
    }
    bool SetBreak(bool) override { return true; }
    void Purge() override { m_s.incoming.clear(); }
    bool BreakReceived() override { return std::exchange(m_s.breakPending, false); }

  private:
    SScript& m_s;
};

struct ServedUnit {
    ServedUnit() : server(clock, SVelunitConfig{}, std::make_unique<CScriptedPort>(script)) {}
    void Arrive(const std::string& text)
    {
        script.incoming.insert(script.incoming.end(), text.begin(), text.end());
    }
    // The port reports a break, and the NUL byte it left behind arrives with the next bytes.
    void Break(const std::string& after = {})
    {
        script.breakPending = true;
        script.incoming.push_back(0);
        Arrive(after);
    }
    bool Run(int ms = 0)
    {
        clock.Advance(ms);
        return server.RunOnce(0);
    }

    CVirtualClock clock{CDateTime::FromParts(2026, 12, 8, 10, 0, 0)};
    SScript script;
    CVelunitStreamServer server;
};

TEST(VelunitStreamServer, AReceivedBreakWakesTheUnitAndItsNulIsNoKey)
{
    ServedUnit u;
    ASSERT_TRUE(u.server.Start());
    EXPECT_EQ(u.script.bauds, std::vector<int>{9600});
    u.script.sent.clear();

    // Asleep, bytes alone do nothing.
    u.Arrive("PS0\r\n");
    ASSERT_TRUE(u.Run());
    EXPECT_EQ(u.script.sent, "");

    u.Break();
    ASSERT_TRUE(u.Run());
    ASSERT_TRUE(u.Run(1000));
    EXPECT_NE(u.script.sent.find("Version: 51.40\r\n"), std::string::npos);
    ASSERT_FALSE(u.script.sent.empty());
    EXPECT_EQ(u.script.sent.back(), '>');

    // The first command after the wake is answered as typed: no NUL in front of it.
    u.script.sent.clear();
    u.Arrive("cz\n");
    ASSERT_TRUE(u.Run());
    EXPECT_EQ(u.script.sent, "cz\r\n");
    EXPECT_EQ(u.server.Simulator().State(), CVelunitSimulator::asleep);

    // A break asked for from outside wakes it too.
    u.server.SendBreak();
    ASSERT_TRUE(u.Run());
    EXPECT_EQ(u.server.Simulator().State(), CVelunitSimulator::command);
}

TEST(VelunitStreamServer, ThePortFollowsTheUnitsBaudRateAndAFailedPortEndsTheService)
{
    ServedUnit u;
    ASSERT_TRUE(u.server.Start());
    u.Break();
    ASSERT_TRUE(u.Run(1000));
    u.Arrive("CB 711\n");
    ASSERT_TRUE(u.Run());
    EXPECT_EQ(u.script.bauds, (std::vector<int>{9600, 57600}));
    // The answer goes at the old rate, the change after it.
    const std::string tail = "CB 711\r\n>[57600]";
    ASSERT_GE(u.script.sent.size(), tail.size());
    EXPECT_EQ(u.script.sent.substr(u.script.sent.size() - tail.size()), tail);

    // A break takes the unit back to its wake-up rate.
    u.Break();
    ASSERT_TRUE(u.Run());
    EXPECT_EQ(u.script.bauds, (std::vector<int>{9600, 57600, 9600}));

    u.script.failWrites = true;
    u.Arrive("ts?\n");
    EXPECT_FALSE(u.Run(1000));
}

} // namespace

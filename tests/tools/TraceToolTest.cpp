// tidewell-tool --trace: the hex dump of the line that support asks for, read back into the
// bytes it shows, against velunit-sim on a pseudo-terminal and the unit inside the tool.
#include "station/Station.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/ToolCommandLine.h"
#include "tests/tools/VelunitSimProcess.h"

#include <gtest/gtest.h>

#include <cctype>
#include <sstream>

namespace
{

using testsupport::RunCommand;

// The bytes a dump shows, one text per direction, and its event lines.
struct SDump {
    std::string in, out;
    std::vector<std::string> events;
    int badLines = 0;
};

// "2026-12-08T10:00:00.250" at the start of the line.
bool StartsWithTime(const std::string& line)
{
    const std::string pattern = "dddd-dd-ddTdd:dd:dd.ddd";
    if (line.size() < pattern.size())
        return false;
    for (size_t i = 0; i < pattern.size(); ++i)
        if (pattern[i] == 'd' ? !std::isdigit(static_cast<unsigned char>(line[i])) : line[i] != pattern[i])
            return false;
    return true;
}

SDump ReadDump(const std::string& text)
{
    constexpr size_t kHexAt = 34, kHexWidth = 47;
    SDump dump;
    std::string* into = nullptr;
    size_t owed = 0; // bytes the chunk's count still promises
    auto take = [&](const std::string& line) {
        if (line.size() < kHexAt + kHexWidth + 4 || line.compare(kHexAt + kHexWidth, 3, "  |") != 0 ||
            line.back() != '|')
            return false;
        std::istringstream bytes(line.substr(kHexAt, kHexWidth));
        unsigned value = 0;
        while (owed > 0 && bytes >> std::hex >> value) {
            into->push_back(static_cast<char>(value));
            --owed;
        }
        return true;
    };
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        bool good = false;
        if (owed == 0 && StartsWithTime(line) && line.compare(23, 5, " --  ") == 0) {
            dump.events.push_back(line.substr(28));
            good = true;
        } else if (owed == 0 && StartsWithTime(line) && line.size() > kHexAt &&
                   (line[24] == '<' || line[24] == '>')) {
            into = line[24] == '<' ? &dump.in : &dump.out;
            owed = std::stoul(line.substr(25, kHexAt - 25));
            good = owed > 0 && take(line);
        } else if (owed > 0 && line.compare(0, kHexAt, std::string(kHexAt, ' ')) == 0) {
            good = take(line);
        }
        dump.badLines += !good;
    }
    dump.badLines += owed > 0;
    return dump;
}

TEST(TraceTool, DownloadDumpShowsWakeUpCommandsAndTransfer)
{
    const auto sim = std::filesystem::path(TIDEWELL_TOOL_PATH).parent_path() / "velunit-sim";
    if (!std::filesystem::exists(sim))
        GTEST_SKIP() << "velunit-sim is not built";
    testsupport::TempDir dir;
    std::vector<unsigned char> card(3000, 0x55);
    testsupport::WriteFileBytes(dir / "card.rec", card);
    CStation station;
    station.SetSiteName("Mill");
    ASSERT_TRUE(station.Save((dir / "Mill.hstn").string()));

    CSimProcess unit("--site Mill --recorder '" + (dir / "card.rec").string() + "'", dir);
    ASSERT_FALSE(unit.Device().empty());
    const auto trace = dir / "line.trace";
    // The option may stand before the command words as well as among the command's own.
    const auto result = RunCommand(Tool() + " --trace '" + trace.string() + "' velunit download --station '" +
                                   (dir / "Mill.hstn").string() + "' --port " + unit.Device());
    ASSERT_EQ(result.status, 0) << result.err;

    const SDump dump = ReadDump(testsupport::ReadFileText(trace));
    EXPECT_EQ(dump.badLines, 0);
    ASSERT_GE(dump.events.size(), 4u);
    EXPECT_EQ(dump.events[0], "baud 9600");
    EXPECT_EQ(dump.events[1], "purge");
    EXPECT_EQ(dump.events[2], "break 250 ms");
    EXPECT_EQ(dump.events.back(), "close");
    EXPECT_NE(dump.in.find("Horizontal ADCP\r\nVersion: "), std::string::npos); // the wake-up banner
    EXPECT_EQ(dump.out.substr(0, 12), "CB 711\nMY\nC\x06");
    EXPECT_NE(dump.in.find("CB 711\r\n>MY\x01"), std::string::npos); // the echo, then block 0
    EXPECT_NE(dump.in.find(std::string(1024, '\x55')), std::string::npos);
    EXPECT_NE(dump.out.find("CB 411\n"), std::string::npos);
    const std::string log = testsupport::ReadFileText(dir / "Mill.log");
    EXPECT_NE(log.find(">MY\r\n[Transfer: "), std::string::npos) << log;
}

TEST(TraceTool, PortsOpenedInsideTheControllerAreTracedAndOtherCommandsRefuseTheOption)
{
    testsupport::TempDir dir;
    const std::string station = "'" + (dir / "Mill Race.hstn").string() + "'";
    ASSERT_EQ(RunCommand(Tool() + " station new --site 'Mill Race' " + station).status, 0);
    const auto trace = dir / "connect.trace";
    RunCommand(Tool() + " velunit connect --station " + station + " --port sim:velunit --trace '" +
               trace.string() + "'");
    const SDump dump = ReadDump(testsupport::ReadFileText(trace));
    EXPECT_EQ(dump.badLines, 0);
    EXPECT_NE(dump.in.find("Horizontal ADCP"), std::string::npos);
    EXPECT_NE(dump.out.find("mn?\n"), std::string::npos);

    EXPECT_EQ(RunCommand(Tool() + " station show " + station + " --trace x.trace").status, 2);
    EXPECT_FALSE(std::filesystem::exists("x.trace"));
    EXPECT_EQ(
        RunCommand(Tool() + " velunit connect --station " + station + " --port sim:velunit --trace").status,
        2);
    const auto unwritable = RunCommand(Tool() + " velunit connect --station " + station +
                                       " --port sim:velunit --trace '" + (dir / "no" / "x").string() + "'");
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_NE(unwritable.err.find("could not write the trace file"), std::string::npos);
    const auto help = RunCommand(Tool() + " --help");
    EXPECT_NE(help.out.find("--trace FILE"), std::string::npos);
}

} // namespace

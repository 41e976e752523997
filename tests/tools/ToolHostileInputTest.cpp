// The tool given what a user may hand it by mistake: an existing file as a new station, a
// folder, a named pipe or an empty file as data, a station with bytes after its fields, a
// terminal as the place for binary output, ports that are missing or busy.
#include "platform/TtyStream.h"
#include "station/Station.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/ToolCommandLine.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <pty.h>
#include <sys/stat.h>
#include <unistd.h>

using testsupport::ReadFileBytes;
using testsupport::RunCommand;
using testsupport::TempDir;
using testsupport::WriteFileBytes;

namespace
{

// Every command is run under a time limit: a blocked open must fail the test, not hang it.
testsupport::CommandResult RunLimited(const std::string& line)
{
    return RunCommand("timeout 10 " + line);
}

} // namespace

TEST(ToolHostileInput, NewStationKeepsAnExistingFileUnlessForced)
{
    TempDir dir;
    const auto file = dir / "Weir.hstn";
    ASSERT_EQ(RunCommand(Tool() + " station new --site Weir " + Quote(file)).status, 0);
    const auto before = ReadFileBytes(file);

    const auto refused = RunCommand(Tool() + " station new --site Other " + Quote(file));
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("already exists"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("--force"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(file), before);

    // A dangling link is an existing name too: writing through it would create its target.
    std::filesystem::create_symlink(dir / "elsewhere.hstn", dir / "link.hstn");
    EXPECT_EQ(RunCommand(Tool() + " station new --site Other " + Quote(dir / "link.hstn")).status, 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "elsewhere.hstn"));

    ASSERT_EQ(RunCommand(Tool() + " station new --force --site Other " + Quote(file)).status, 0);
    CStation loaded;
    ASSERT_TRUE(loaded.Load(file.string()));
    EXPECT_EQ(loaded.GetSiteName(), "Other");
}

TEST(ToolHostileInput, DataCommandsFailOnFilesWithoutEnsembles)
{
    TempDir dir;
    WriteFileBytes(dir / "empty.000", {});
    std::vector<unsigned char> noise(5000);
    for (size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<unsigned char>((i * 7919u) >> 3);
    WriteFileBytes(dir / "random.000", noise);
    std::filesystem::create_directory(dir / "folder.000");
    ASSERT_EQ(mkfifo((dir / "pipe.000").c_str(), 0600), 0);

    struct Case {
        std::string name, reason;
    } cases[] = {
        {"empty.000", "no valid ensemble"},           {"random.000", "no valid ensemble"},
        {"folder.000", "is a folder, not a file"},    {"pipe.000", "is a named pipe, not a regular file"},
        {"missing.000", "No such file or directory"},
    };
    for (const auto& c : cases) {
        for (const std::string command : {"data summary ", "data export ", "data values --type 4 "}) {
            const auto r = RunLimited(Tool() + " " + command + Quote(dir / c.name));
            EXPECT_EQ(r.status, 1) << command << c.name;
            EXPECT_EQ(r.out, "") << command << c.name; // not even the header
            EXPECT_NE(r.err.find(c.reason), std::string::npos) << command << c.name << ": " << r.err;
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        }
    }
    // A file larger than this computer's memory (sparse: it costs no disk) is not allocated.
    {
        const int fd = open((dir / "giant.000").c_str(), O_WRONLY | O_CREAT, 0600);
        ASSERT_GE(fd, 0);
        const long pages = sysconf(_SC_PHYS_PAGES), pageSize = sysconf(_SC_PAGESIZE);
        ASSERT_EQ(ftruncate(fd, static_cast<off_t>(pages) * pageSize + 4096), 0);
        close(fd);
    }
    const auto giant = RunLimited(Tool() + " data export " + Quote(dir / "giant.000"));
    EXPECT_EQ(giant.status, 1);
    EXPECT_EQ(giant.out, "");
    EXPECT_NE(giant.err.find("is too large"), std::string::npos) << giant.err;

    // A device is no data file either, and is refused before it is opened.
    const auto device = RunLimited(Tool() + " data export /dev/zero");
    EXPECT_EQ(device.status, 1);
    EXPECT_NE(device.err.find("is a device"), std::string::npos) << device.err;
}

TEST(ToolHostileInput, StationsThatAreNotFilesAreRefusedWithoutWaiting)
{
    TempDir dir;
    ASSERT_EQ(mkfifo((dir / "pipe.hstn").c_str(), 0600), 0);
    const auto pipe = RunLimited(Tool() + " station show " + Quote(dir / "pipe.hstn"));
    EXPECT_EQ(pipe.status, 1);
    EXPECT_NE(pipe.err.find("is a named pipe"), std::string::npos) << pipe.err;
    const auto folder = RunLimited(Tool() + " data summary /dev/null --station " + Quote(dir.Path()));
    EXPECT_EQ(folder.status, 1);
    EXPECT_NE(folder.err.find("is a folder"), std::string::npos) << folder.err;
}

TEST(ToolHostileInput, TrailingBytesAreNamedAndTheRestIsKept)
{
    TempDir dir;
    CStation station{CDateTime(45000.0)};
    station.SetSiteName("Weir");
    auto bytes = station.ToBytes();
    bytes.insert(bytes.end(), {1, 2, 3});
    WriteFileBytes(dir / "tail.hstn", {bytes.begin(), bytes.end()});
    const auto show = RunCommand(Tool() + " station show " + Quote(dir / "tail.hstn"));
    EXPECT_EQ(show.status, 0); // every field was read: a warning, not a failure
    EXPECT_NE(show.err.find("3 bytes after the last field of the station file were ignored"),
              std::string::npos)
        << show.err;
    EXPECT_NE(show.out.find("\"Weir\""), std::string::npos);
}

TEST(ToolHostileInput, BinaryMessageIsNotWrittenToATerminal)
{
    TempDir dir;
    CStation station;
    station.SetSiteName("Weir");
    ASSERT_TRUE(station.Save((dir / "Weir.hstn").string()));
    int master = -1, slave = -1;
    ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    const std::string terminal = ttyname(slave);
    const auto r =
        RunLimited(Tool() + " flowcomputer message " + Quote(dir / "Weir.hstn") + " > " + terminal);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("-o FILE"), std::string::npos) << r.err;
    char buffer[64];
    fcntl(master, F_SETFL, O_NONBLOCK);
    EXPECT_LE(read(master, buffer, sizeof buffer), 0); // nothing reached the terminal
    close(slave);
    close(master);

    // To a file with -o, and through a pipe, the same bytes.
    ASSERT_EQ(RunCommand(Tool() + " flowcomputer message -o " + Quote(dir / "fc.bin") + " " +
                         Quote(dir / "Weir.hstn"))
                  .status,
              0);
    const auto piped = RunCommand(Tool() + " flowcomputer message " + Quote(dir / "Weir.hstn") + " | cat");
    EXPECT_EQ(piped.status, 0);
    const auto file = ReadFileBytes(dir / "fc.bin");
    EXPECT_FALSE(file.empty());
    EXPECT_EQ(std::string(file.begin(), file.end()), piped.out);
}

TEST(ToolHostileInput, PortErrorsAreToldOnceWithTheSystemsReason)
{
    TempDir dir;
    CStation station;
    station.SetSiteName("Weir");
    ASSERT_TRUE(station.Save((dir / "Weir.hstn").string()));
    const std::string stationArg = " --station " + Quote(dir / "Weir.hstn");

    const auto missing = RunLimited(Tool() + " velunit connect" + stationArg + " --port /nonexistent/tty");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find("could not open /nonexistent/tty: No such file or directory"),
              std::string::npos)
        << missing.err;
    EXPECT_EQ(missing.err.find("in use"), std::string::npos);
    EXPECT_EQ(std::count(missing.err.begin(), missing.err.end(), '\n'), 1) << missing.err;

    // A terminal this test holds for itself is in use for the tool.
    int master = -1, slave = -1;
    ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    const std::string device = ttyname(slave);
    auto held = CTtyStream::Open(device);
    ASSERT_NE(held, nullptr);
    for (const std::string& command : {"velunit connect" + stationArg, "velunit download" + stationArg,
                                       "flowcomputer program" + stationArg}) {
        const auto busy = RunLimited(Tool() + " " + command + " --port " + device);
        EXPECT_EQ(busy.status, 1) << command;
        EXPECT_NE(busy.err.find("could not open " + device + ": in use by another program"),
                  std::string::npos)
            << command << ": " << busy.err;
        EXPECT_EQ(std::count(busy.err.begin(), busy.err.end(), '\n'), 1) << busy.err;
        EXPECT_EQ(busy.out.find("could not"), std::string::npos) << busy.out;
    }
    held.reset();
    close(slave);
    close(master);

    // Not a serial device at all.
    const auto notTty = RunLimited(Tool() + " velunit download" + stationArg + " --port /dev/null");
    EXPECT_EQ(notTty.status, 1);
    EXPECT_NE(notTty.err.find("not a serial device"), std::string::npos) << notTty.err;
}

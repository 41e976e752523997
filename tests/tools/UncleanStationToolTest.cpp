// A station file that did not load cleanly (an unknown version read as defaults, random
// bytes, a file cut short) never drives an instrument and is never written anywhere: the
// commands that would act on it stop before the port is opened. The commands that only
// print may still print, but exit with 1.
#include "station/Station.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/ToolCommandLine.h"

#include <gtest/gtest.h>

using testsupport::ReadFileBytes;
using testsupport::RunCommand;
using testsupport::TempDir;
using testsupport::WriteFileBytes;

namespace
{

// A station folder with a future-version station, a random-bytes station and a good one.
struct UncleanStations {
    TempDir dir;
    std::filesystem::path future = dir / "Future.hstn";
    std::filesystem::path random = dir / "random.bin";
    std::filesystem::path cut = dir / "cut.hstn";

    UncleanStations()
    {
        CStation station{CDateTime(45000.0)};
        station.SetSiteName("Future");
        auto bytes = station.ToBytes();
        const std::vector<unsigned char> whole(bytes.begin(), bytes.end());
        bytes[0] = 3;
        WriteFileBytes(future, {bytes.begin(), bytes.end()});
        std::vector<unsigned char> noise(700);
        uint32_t x = 12345;
        for (auto& b : noise) {
            x = x * 1103515245u + 12345u;
            b = static_cast<unsigned char>(x >> 24);
        }
        noise[3] = 0x5A; // a first field far from any version
        WriteFileBytes(random, noise);
        WriteFileBytes(cut, {whole.begin(), whole.begin() + 40});
    }
};

} // namespace

TEST(UncleanStationTool, InstrumentCommandsRefuseBeforeThePort)
{
    UncleanStations s;
    for (const auto& file : {s.future, s.random}) {
        for (const char* op : {"connect", "program", "settime", "erase", "download"}) {
            const std::string answer = std::string(op) == "download" ? "" : " --yes";
            const auto r = RunCommand(Tool() + " velunit " + op + " --station " + Quote(file) +
                                      " --port sim:velunit" + answer);
            EXPECT_EQ(r.status, 1) << op << " " << file;
            // Nothing was said to the unit: not even the wake-up.
            EXPECT_EQ(r.out, "") << op;
            EXPECT_NE(r.err.find("could not read station file " + file.string()), std::string::npos) << r.err;
            EXPECT_NE(r.err.find("invalid version number"), std::string::npos) << r.err;
        }
        // A port that does not exist is not even tried: the station is refused first.
        const auto fc = RunCommand(Tool() + " flowcomputer program --station " + Quote(file) +
                                   " --port /nonexistent/tty");
        EXPECT_EQ(fc.status, 1);
        EXPECT_EQ(fc.out, "");
        EXPECT_NE(fc.err.find("invalid version number"), std::string::npos) << fc.err;
        EXPECT_EQ(fc.err.find("/nonexistent/tty"), std::string::npos) << fc.err;
    }
    // No session log was started beside the stations.
    for (const auto& entry : std::filesystem::directory_iterator(s.dir.Path()))
        EXPECT_NE(entry.path().extension(), ".log") << entry.path();

    const auto cut =
        RunCommand(Tool() + " velunit program --station " + Quote(s.cut) + " --port sim:velunit --yes");
    EXPECT_EQ(cut.status, 1);
    EXPECT_EQ(cut.out, "");
    EXPECT_NE(cut.err.find("is damaged"), std::string::npos) << cut.err;
}

TEST(UncleanStationTool, WritersRefuseAndLeaveEverythingAsItWas)
{
    UncleanStations s;
    const auto before = ReadFileBytes(s.future);
    const auto elsewhere =
        RunCommand(Tool() + " station resave " + Quote(s.random) + " " + Quote(s.dir / "out.hstn"));
    EXPECT_EQ(elsewhere.status, 1);
    EXPECT_FALSE(std::filesystem::exists(s.dir / "out.hstn"));

    // Resaving a file over itself says the file could not be read, not that it cannot be written.
    const auto same = RunCommand(Tool() + " station resave " + Quote(s.future) + " " + Quote(s.future));
    EXPECT_EQ(same.status, 1);
    EXPECT_NE(same.err.find("could not read station file " + s.future.string()), std::string::npos)
        << same.err;
    EXPECT_EQ(same.err.find("cannot write"), std::string::npos) << same.err;
    EXPECT_EQ(std::count(same.err.begin(), same.err.end(), '\n'), 1);
    EXPECT_EQ(ReadFileBytes(s.future), before);

    const auto missing = RunCommand(Tool() + " station resave " + Quote(s.dir / "none.hstn") + " " +
                                    Quote(s.dir / "none.hstn"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("cannot read station file"), std::string::npos) << missing.err;
    EXPECT_NE(missing.err.find("No such file or directory"), std::string::npos) << missing.err;
}

TEST(UncleanStationTool, PrintingCommandsPrintButExitWithOne)
{
    UncleanStations s;
    const auto show = RunCommand(Tool() + " station show " + Quote(s.random));
    EXPECT_EQ(show.status, 1);
    EXPECT_NE(show.out.find("\"m_strSiteName\""), std::string::npos);
    EXPECT_NE(show.err.find("invalid version number"), std::string::npos);

    const auto calc = RunCommand(Tool() + " station calc " + Quote(s.future));
    EXPECT_EQ(calc.status, 1);
    EXPECT_NE(calc.out.find("\"commands\""), std::string::npos);

    const auto message =
        RunCommand(Tool() + " flowcomputer message " + Quote(s.future) + " | od -c | head -1");
    EXPECT_NE(message.out, ""); // printed all the same
    const auto status =
        RunCommand(Tool() + " flowcomputer message " + Quote(s.future) + " -o " + Quote(s.dir / "fc.bin"));
    EXPECT_EQ(status.status, 1);
    EXPECT_NE(status.err.find("invalid version number"), std::string::npos);

    // A clean station exits 0 with the same commands.
    CStation good;
    good.SetSiteName("Good");
    ASSERT_TRUE(good.Save((s.dir / "Good.hstn").string()));
    EXPECT_EQ(RunCommand(Tool() + " station show " + Quote(s.dir / "Good.hstn")).status, 0);
    EXPECT_EQ(RunCommand(Tool() + " station calc " + Quote(s.dir / "Good.hstn")).status, 0);
}

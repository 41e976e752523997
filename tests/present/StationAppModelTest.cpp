// The application's decisions kept apart from the windows: the first-run site folder, a
// station folder that cannot be made, the command line, the station that may not be
// deleted or program an instrument, and the row the current station keeps.
#include "present/StationAppModel.h"
#include "present/AppCommandLine.h"
#include "present/GrabGate.h"

#include "station/SiteDirectory.h"
#include "station/Station.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace
{

TEST(SiteFolder, TheDefaultFolderIsMadeOnceAndAChosenOneNever)
{
    testsupport::TempDir temp;
    const std::string def = (temp.Path() / "home" / "Tidewell" / "Config").string();
    std::string error;
    const std::string notice = stationapp::EnsureDefaultSiteFolder(def, def, error);
    EXPECT_TRUE(fs::is_directory(def));
    EXPECT_NE(notice.find(def), std::string::npos) << notice;
    EXPECT_TRUE(error.empty());
    // Said once: the next start finds it there.
    EXPECT_EQ(stationapp::EnsureDefaultSiteFolder(def, def, error), "");

    const std::string chosen = (temp.Path() / "usb" / "Sites").string();
    EXPECT_EQ(stationapp::EnsureDefaultSiteFolder(chosen, def, error), "");
    EXPECT_FALSE(fs::exists(temp.Path() / "usb"));
    EXPECT_TRUE(error.empty());
}

TEST(SiteFolder, ADefaultFolderThatCannotBeMadeGivesTheReason)
{
    testsupport::TempDir temp;
    testsupport::WriteFileText(temp.Path() / "home", "a file where the home folder should be");
    const std::string def = (temp.Path() / "home" / "Tidewell" / "Config").string();
    std::string error;
    EXPECT_EQ(stationapp::EnsureDefaultSiteFolder(def, def, error), "");
    EXPECT_NE(error.find(def), std::string::npos) << error;
    EXPECT_NE(error.find("Not a directory"), std::string::npos) << error;
}

TEST(StationFolder, AFolderThatCannotBeMadeIsNamedWithTheSystemsReason)
{
    testsupport::TempDir temp;
    CSiteDirectory missingSite((temp.Path() / "gone").string());
    std::string message;
    EXPECT_FALSE(stationapp::MakeStationFolder(missingSite, "Weir", "", message));
    const std::string folder = (temp.Path() / "gone" / "Weir").string();
    EXPECT_EQ(message, "System Error! Could not create station directory!\r\n" + folder +
                           ": No such file or directory");

    // A file where the group folder goes.
    fs::create_directory(temp.Path() / "site");
    testsupport::WriteFileText(temp.Path() / "site" / "North", "x");
    CSiteDirectory site((temp.Path() / "site").string());
    message.clear();
    EXPECT_FALSE(stationapp::MakeStationFolder(site, "Creek", "North", message));
    EXPECT_EQ(message.rfind("System Error! Could not create station directory!\r\n", 0), 0u);
    EXPECT_NE(message.find((temp.Path() / "site" / "North").string() + ": File exists"), std::string::npos)
        << message;

    message.clear();
    EXPECT_TRUE(stationapp::MakeStationFolder(site, "Creek", "South", message));
    EXPECT_TRUE(fs::is_directory(temp.Path() / "site" / "South" / "Creek"));
    EXPECT_TRUE(message.empty());
    // A location that is not a plain folder makes nothing: the site directory refuses it.
    EXPECT_TRUE(stationapp::MakeStationFolder(site, "..", "", message));
    EXPECT_TRUE(message.empty());
}

TEST(StationState, LoadNoticesBlockProgrammingAndANamelessStationCannotBeDeleted)
{
    EXPECT_EQ(stationapp::LoadProblem({}), "");
    EXPECT_EQ(stationapp::ProgramBlockedReason(""), "");
    const std::string problem =
        stationapp::LoadProblem({"Error, station file has invalid version number.", "b"});
    EXPECT_EQ(problem, "Error, station file has invalid version number.\r\nb");
    EXPECT_NE(stationapp::ProgramBlockedReason(problem).find("did not load cleanly"), std::string::npos);
    EXPECT_NE(stationapp::ProgramBlockedReason(problem).find("invalid version number"), std::string::npos);

    CStation named, nameless;
    named.SetSiteName("Weir");
    EXPECT_EQ(stationapp::DeleteBlockedReason(&named), "");
    EXPECT_NE(stationapp::DeleteBlockedReason(&nameless), "");
    EXPECT_NE(stationapp::DeleteBlockedReason(nullptr), "");
}

TEST(StationState, TheCurrentStationKeepsItsRowWhereverItMoved)
{
    const std::vector<std::string> paths = {"/s/A/A.hstn", "/s/New/New.hstn", "/s/B/B.hstn"};
    EXPECT_EQ(stationapp::RowToKeep(paths, "/s/B/B.hstn", 1), 2);
    EXPECT_EQ(stationapp::RowToKeep(paths, "/s/./New/New.hstn", -1), 1);
    // Gone from the list (deleted): the row number goes to whichever station took it.
    EXPECT_EQ(stationapp::RowToKeep(paths, "/s/Old/Old.hstn", 1), 1);
    EXPECT_EQ(stationapp::RowToKeep(paths, "/s/Old/Old.hstn", 3), -1);
    EXPECT_EQ(stationapp::RowToKeep({}, "", 0), -1);
}

TEST(AppCommandLine, HelpVersionAndUnknownOptions)
{
    using appcommandline::Outcome;
    const Outcome run = appcommandline::Parse({});
    EXPECT_EQ(run.action, Outcome::RUN);
    EXPECT_EQ(appcommandline::Parse({"-platform", "offscreen", "-reverse"}).action, Outcome::RUN);

    const Outcome help = appcommandline::Parse({"--help"});
    EXPECT_EQ(help.action, Outcome::PRINT_AND_EXIT);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("Usage: tidewell", 0), 0u);
    EXPECT_NE(help.out.find("--version"), std::string::npos);
    EXPECT_TRUE(help.err.empty());

    const Outcome version = appcommandline::Parse({"-platform", "xcb", "--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "tidewell 1.03\n");

    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"--frobnicate"}, {"station.hstn"}, {"-platform"}}) {
        const Outcome o = appcommandline::Parse(bad);
        EXPECT_EQ(o.action, Outcome::PRINT_AND_EXIT) << bad[0];
        EXPECT_EQ(o.exitCode, 2) << bad[0];
        EXPECT_TRUE(o.out.empty()) << bad[0];
        // One line, naming what was wrong.
        EXPECT_EQ(o.err.find('\n'), o.err.size() - 1) << o.err;
        EXPECT_NE(o.err.find(bad[0]), std::string::npos) << o.err;
    }
}

TEST(AppCommandLine, StartOptionsTakeTheirValues)
{
    using appcommandline::Outcome;
    const Outcome run = appcommandline::Parse(
        {"--config", "/tmp/t.conf", "-platform", "offscreen", "--station=Weir Bridge", "--grab", "out.png"});
    ASSERT_EQ(run.action, Outcome::RUN) << run.err;
    EXPECT_EQ(run.options.config, "/tmp/t.conf");
    EXPECT_EQ(run.options.station, "Weir Bridge");
    EXPECT_EQ(run.options.grab, "out.png");
    EXPECT_TRUE(appcommandline::Parse({}).options.station.empty());

    // A value left out is refused by name rather than taken from the next option.
    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"--station"}, {"--grab="}, {"--config"}}) {
        const Outcome o = appcommandline::Parse(bad);
        EXPECT_EQ(o.exitCode, 2) << bad[0];
        EXPECT_NE(o.err.find("needs a value"), std::string::npos) << o.err;
    }
    // A prefix of an option is not the option.
    EXPECT_EQ(appcommandline::Parse({"--stationx=1"}).exitCode, 2);
}

TEST(GrabGate, FiresOnceWhenOpenAndNoHoldIsLeft)
{
    int fired = 0;
    CGrabGate gate;
    gate.Hold();
    gate.Hold();
    gate.Release(); // not open yet: nothing happens
    EXPECT_EQ(fired, 0);
    gate.Open([&] { ++fired; });
    EXPECT_EQ(fired, 0); // one hold left
    gate.Release();
    EXPECT_EQ(fired, 1);
    // Later holds and stray releases change nothing.
    gate.Hold();
    gate.Release();
    gate.Release();
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(gate.Holds(), 0);

    CGrabGate idle;
    idle.Open([&] { ++fired; });
    EXPECT_EQ(fired, 2);

    CGrabGate failing;
    failing.Fail("connect failed");
    failing.Fail("and then the download");
    EXPECT_TRUE(failing.Failed());
    EXPECT_EQ(failing.Failure(), "connect failed");
}

TEST(StationAppModel, StartStationByNameOrPath)
{
    testsupport::TempDir temp;
    const std::vector<std::string> names = {"Weir", "Twin", "Bridge", "Twin"};
    const std::vector<std::string> paths = {"/s/A/Weir/Weir.hstn", "/s/A/Twin/Twin.hstn",
                                            "/s/B/Bridge/Bridge.hstn", "/s/B/Twin/Twin.hstn"};
    std::string error;
    EXPECT_EQ(stationapp::FindStartStation(names, paths, "Bridge", error), "/s/B/Bridge/Bridge.hstn");
    EXPECT_TRUE(error.empty());

    EXPECT_EQ(stationapp::FindStartStation(names, paths, "Twin", error), "");
    EXPECT_NE(error.find("more than one group"), std::string::npos);

    // Names are matched whole and as written.
    EXPECT_EQ(stationapp::FindStartStation(names, paths, "weir", error), "");
    EXPECT_NE(error.find("weir"), std::string::npos);

    const std::filesystem::path outside = temp.Path() / "Elsewhere.hstn";
    testsupport::WriteFileText(outside, "x");
    EXPECT_EQ(stationapp::FindStartStation(names, paths, outside.string(), error), outside.string());
    EXPECT_EQ(stationapp::FindStartStation(names, paths, (temp.Path() / "gone.hstn").string(), error), "");
}

} // namespace

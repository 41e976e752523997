// --communicate and --listen: flags that belong to a station, listed in the help.
#include "present/AppCommandLine.h"

#include <gtest/gtest.h>

namespace
{

TEST(AppCommandLine, CommunicateOpensTheStationsWindowAndNeedsAStation)
{
    using appcommandline::Outcome;
    const Outcome run = appcommandline::Parse({"--station", "Weir", "--communicate", "--grab", "out.png"});
    ASSERT_EQ(run.action, Outcome::RUN) << run.err;
    EXPECT_TRUE(run.options.communicate);
    EXPECT_EQ(run.options.station, "Weir");
    EXPECT_EQ(run.options.grab, "out.png");
    EXPECT_FALSE(appcommandline::Parse({"--station", "Weir"}).options.communicate);
    // In either order.
    EXPECT_TRUE(appcommandline::Parse({"--communicate", "--station=Weir"}).options.communicate);

    const Outcome alone = appcommandline::Parse({"--communicate"});
    EXPECT_EQ(alone.action, Outcome::PRINT_AND_EXIT);
    EXPECT_EQ(alone.exitCode, 2);
    EXPECT_EQ(alone.err, "tidewell: --communicate needs --station (see --help)\n");
    // A flag takes no value.
    EXPECT_EQ(appcommandline::Parse({"--station", "Weir", "--communicate=yes"}).exitCode, 2);

    const std::string help = appcommandline::HelpText();
    EXPECT_NE(help.find("[--communicate]"), std::string::npos);
    EXPECT_NE(help.find("  --communicate    with --station"), std::string::npos);
}

TEST(AppCommandLine, ListenOpensTheLiveViewAndNeedsAStation)
{
    using appcommandline::Outcome;
    const Outcome run = appcommandline::Parse({"--station", "Weir", "--listen", "--grab", "out.png"});
    ASSERT_EQ(run.action, Outcome::RUN) << run.err;
    EXPECT_TRUE(run.options.listen);
    EXPECT_FALSE(run.options.communicate);
    EXPECT_FALSE(appcommandline::Parse({"--station", "Weir"}).options.listen);

    const Outcome alone = appcommandline::Parse({"--listen"});
    EXPECT_EQ(alone.exitCode, 2);
    EXPECT_EQ(alone.err, "tidewell: --listen needs --station (see --help)\n");
    EXPECT_EQ(appcommandline::Parse({"--station", "Weir", "--listen=yes"}).exitCode, 2);
    const std::string help = appcommandline::HelpText();
    EXPECT_NE(help.find("[--listen]"), std::string::npos);
    EXPECT_NE(help.find("  --listen         with --station"), std::string::npos);
}

} // namespace

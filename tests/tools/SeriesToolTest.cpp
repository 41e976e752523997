// tidewell-tool series export and stats as a script runs them: output, exit statuses and
// files written whole.
#include "tests/series/SeriesFixture.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/ToolCommandLine.h"

#include <gtest/gtest.h>

#include <sstream>

using testsupport::RunCommand;
using namespace seriestest;

namespace
{

class SeriesTool : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        CStation station = MakeStation();
        ASSERT_TRUE(station.Save(Station()));
        WriteData(m_dir / "a.000", Minutes({.hour = 10}, 90));                             // 10:00 to 11:29
        WriteData(m_dir / "b.000", Minutes({.hour = 11, .minute = 20, .number = 81}, 60)); // 11:20 to 12:19
    }

    std::string Station() const { return (m_dir / "Mill Race.hstn").string(); }
    std::string Run(const std::string& args) const { return Tool() + " series " + args; }

    testsupport::TempDir m_dir;
};

std::vector<std::string> DataLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::stringstream in(text);
    std::string line;
    while (std::getline(in, line))
        if (!line.empty() && line[0] != '#')
            lines.push_back(line);
    return lines;
}

} // namespace

TEST_F(SeriesTool, ExportJoinsTheStationsFilesOnStandardOutput)
{
    const auto r = RunCommand(Run("export --station " + Quote(Station()) +
                                  " --format csv --quantity flow --units l/s --utc-offset -03:00"));
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = DataLines(r.out);
    ASSERT_EQ(lines.size(), 1u + 140u); // 10:00 to 12:19, the ten shared minutes once
    EXPECT_EQ(lines[0], "time,flow,flow_quality");
    EXPECT_EQ(lines[1], "2025-03-14T10:00:00-03:00,1000,good");
    EXPECT_EQ(lines[140], "2025-03-14T12:19:00-03:00,1000,good");
    EXPECT_NE(r.out.find("# time zone: UTC-03:00\n"), std::string::npos);
}

TEST_F(SeriesTool, OutputFileAndStatistics)
{
    const std::string out = (m_dir / "march.xml").string();
    auto r = RunCommand(Run("export --station " + Quote(Station()) +
                            " --format waterml2 --from 2025-03-14T11:00 " + "--to 2025-03-14T11:30 -o " +
                            Quote(out)));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out.empty());
    const std::string xml = testsupport::ReadFileText(out);
    EXPECT_EQ(xml.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u);
    size_t points = 0;
    for (size_t at = xml.find("<wml2:point>"); at != std::string::npos; at = xml.find("<wml2:point>", at + 1))
        ++points;
    EXPECT_EQ(points, 3u * 30u);

    const std::string stats = (m_dir / "hours.csv").string();
    r = RunCommand(Run("stats --station " + Quote(Station()) +
                       " --period hour --quantity flow --units 'cu m' -o " + Quote(stats)));
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = DataLines(testsupport::ReadFileText(stats));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "period_start,quantity,mean,min,max,count,coverage,volume");
    EXPECT_EQ(lines[1], "2025-03-14T10:00:00+00:00,flow,1,1,1,60,1,3600");
    EXPECT_EQ(lines[3], "2025-03-14T12:00:00+00:00,flow,1,1,1,20,0.3333333333333333,1200");
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(m_dir.Path()))
        ++files;
    EXPECT_EQ(files, 5u); // station, two data files, two outputs: no temporary file left
}

TEST_F(SeriesTool, BadInputExitsWithOneAndWrongUsageWithTwo)
{
    const std::string station = " --station " + Quote(Station());
    struct {
        std::string args;
        int status;
        std::string message;
    } cases[] = {
        {"export" + station + " --format csv --from 2025-03-15", 1, "no data from 2025-03-15"},
        {"stats" + station + " --period day --to 2025-03-14T09:00", 1, "no data before"},
        {"export" + station + " --format csv --from 2025-03-14T25:00", 1, "bad time for --from"},
        {"export" + station + " --format csv --from 2025-03-14T12:00 --to 2025-03-14T11:00", 1,
         "span is empty"},
        {"export" + station + " --format csv --utc-offset 1", 1, "bad UTC offset"},
        {"export" + station + " --format csv --units furlongs", 1, "furlongs"},
        {"export --station " + Quote(m_dir / "nowhere.hstn") + " --format csv", 1, "nowhere.hstn"},
        {"export" + station, 2, "--format is required"},
        {"export" + station + " --format json", 2, "csv or waterml2"},
        {"stats" + station, 2, "--period is required"},
        {"stats" + station + " --period week", 2, "hour, day or month"},
        {"export" + station + " --format csv --quantity discharge", 2, "--quantity"},
        {"export --format csv", 2, "--station is required"},
    };
    for (const auto& c : cases) {
        const auto r = RunCommand(Run(c.args));
        EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << "\n" << r.err;
        EXPECT_TRUE(r.out.empty()) << c.args;
    }
    // Nothing is left under the name asked for when there was nothing to write.
    const std::string out = (m_dir / "empty.csv").string();
    EXPECT_EQ(RunCommand(Run("export" + station + " --format csv --from 2030-01-01 -o " + Quote(out))).status,
              1);
    EXPECT_FALSE(std::filesystem::exists(out));
}

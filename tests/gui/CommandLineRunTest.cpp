// The program run as a script runs it: --config, --station and --grab, offscreen.
#include "GuiFixture.h"

#include "tests/support/TestSupport.h"

#include <algorithm>
#include <set>
#include <sstream>

#include <QImage>

namespace
{

namespace fs = std::filesystem;

class CommandLineRun : public GuiTest
{
  protected:
    testsupport::CommandResult Run(const std::string& args)
    {
        return testsupport::RunCommand("QT_QPA_PLATFORM=offscreen timeout 120 '" +
                                       std::string(TIDEWELL_APP_PATH) + "' --config '" +
                                       ConfigPath().string() + "' " + args);
    }
    std::string Png() const { return (m_temp.Path() / "shot.png").string(); }
};

// The program's own lines on standard error (the window system may add notes of its own).
std::vector<std::string> OwnLines(const std::string& err)
{
    std::vector<std::string> lines;
    std::istringstream in(err);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("tidewell: ", 0) == 0)
            lines.push_back(line);
    return lines;
}

// Distinct colours in the picture: a blank or black image has one or two.
int CountColours(const QImage& image)
{
    std::set<QRgb> seen;
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3)
            if (seen.insert(image.pixel(x, y)).second && seen.size() > 50)
                return static_cast<int>(seen.size());
    return static_cast<int>(seen.size());
}

TEST_F(CommandLineRun, StationByNameOrPathThenPicture)
{
    WriteConfig();
    MakeStation("Weir", "North");
    const fs::path other = MakeStation("Bridge", "South");

    auto byName = Run("--station Weir --grab '" + Png() + "'");
    EXPECT_EQ(byName.status, 0) << byName.err;
    EXPECT_TRUE(OwnLines(byName.err).empty()) << byName.err;
    QImage image(QString::fromStdString(Png()));
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(image.width(), 400);
    EXPECT_GT(CountColours(image), 20);
    // The station opened is remembered as the last one, as a click on its row would.
    EXPECT_NE(testsupport::ReadFileText(ConfigPath()).find("Weir.hstn"), std::string::npos);

    fs::remove(Png());
    auto byPath = Run("--station='" + other.string() + "' --grab '" + Png() + "'");
    EXPECT_EQ(byPath.status, 0) << byPath.err;
    EXPECT_TRUE(fs::exists(Png()));
    EXPECT_NE(testsupport::ReadFileText(ConfigPath()).find("Bridge.hstn"), std::string::npos);
}

TEST_F(CommandLineRun, FailuresEndTheRunWithOneLine)
{
    WriteConfig();
    MakeStation("Weir", "North");
    MakeStation("Twin", "A");
    MakeStation("Twin", "B");

    auto unknown = Run("--station Nowhere --grab '" + Png() + "'");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(OwnLines(unknown.err).size(), 1u) << unknown.err;
    EXPECT_NE(unknown.err.find("Nowhere"), std::string::npos);
    EXPECT_FALSE(fs::exists(Png()));

    auto twice = Run("--station Twin --grab '" + Png() + "'");
    EXPECT_EQ(twice.status, 2);
    EXPECT_NE(twice.err.find("more than one group"), std::string::npos) << twice.err;

    // A station file that cannot be read: its message on standard error, no box to wait on.
    const fs::path broken = m_temp.Path() / "broken.hstn";
    testsupport::WriteFileText(broken, "not a station");
    auto unreadable = Run("--station '" + broken.string() + "' --grab '" + Png() + "'");
    EXPECT_NE(unreadable.status, 0);
    EXPECT_FALSE(OwnLines(unreadable.err).empty()) << unreadable.err;

    WriteConfig(); // no last station to reopen

    // A picture that cannot be written is a failure, not a silent success.
    auto nowhere = Run("--grab '" + (m_temp.Path() / "no" / "such" / "dir.png").string() + "'");
    EXPECT_EQ(nowhere.status, 1);
    EXPECT_NE(nowhere.err.find("could not write the picture"), std::string::npos) << nowhere.err;
}

} // namespace

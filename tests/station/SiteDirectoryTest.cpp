#include "station/SiteDirectory.h"
#include "platform/SettingsStore.h"
#include "station/Station.h"
#include "tests/support/TestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace
{

namespace fs = std::filesystem;
using testsupport::ReadFileText;
using testsupport::TempDir;
using testsupport::WriteFileText;

// A path or group written with "/" as the system writes it: with its own separator.
std::string N(std::string path)
{
#ifdef _WIN32
    std::replace(path.begin(), path.end(), '/', '\\');
#endif
    return path;
}

// A link to a folder, where the system lets a test make one.
bool MakeFolderLink(const fs::path& target, const fs::path& link)
{
    std::error_code ec;
    fs::create_directory_symlink(target, link, ec);
    return !ec;
}

// A site directory in a temporary folder, with helpers to lay stations out on disk.
class SiteDirectoryTest : public ::testing::Test
{
  protected:
    SiteDirectoryTest() : m_dir(m_temp.Path() / "Config"), m_site(m_dir.string())
    {
        fs::create_directory(m_dir);
    }

    // Writes a station file of that site name at a path relative to the site directory.
    void PutStation(const std::string& relative, const std::string& siteName, const std::string& group = {})
    {
        fs::create_directories((m_dir / relative).parent_path());
        CStation station;
        station.SetSiteName(siteName);
        station.SetGroup(group);
        ASSERT_TRUE(station.Save((m_dir / relative).string()));
    }

    static std::unique_ptr<CStation> NewStation(const std::string& siteName, const std::string& group = {})
    {
        auto station = std::make_unique<CStation>();
        station->SetSiteName(siteName);
        station->SetGroup(group);
        return station;
    }

    std::vector<std::string> SortedStationPaths() const
    {
        auto paths = m_site.GetStationFiles();
        std::sort(paths.begin(), paths.end());
        return paths;
    }

    TempDir m_temp;
    fs::path m_dir;
    CSiteDirectory m_site;
};

TEST_F(SiteDirectoryTest, ScanFindsStationFilesAtEveryDepthWithTheirNamesAndGroups)
{
    PutStation("Weir/Weir.hstn", "Weir");
    PutStation("North/Bridge/Bridge.hstn", "Bridge");
    PutStation("A/B/S/S.hstn", "S");
    PutStation("Loose.hstn", "Loose");            // directly in the site directory
    WriteFileText(m_dir / "x.HSTN", "");          // suffix compared with its case
    WriteFileText(m_dir / "North" / "xhstn", ""); // no dot needed
    WriteFileText(m_dir / "North" / "Bridge" / "20060101.001", "");
    fs::create_directory(m_dir / "Empty.hstn"); // a folder is scanned, never listed

    m_site.ScanStations();
    const std::string d = m_dir.string();
    EXPECT_EQ(SortedStationPaths(),
              (std::vector<std::string>{d + N("/A/B/S/S.hstn"), d + N("/Loose.hstn"),
                                        d + N("/North/Bridge/Bridge.hstn"), d + N("/North/xhstn"),
                                        d + N("/Weir/Weir.hstn")}));

    std::map<std::string, std::pair<std::string, std::string>> rows;
    for (int i = 0; i < m_site.GetStationCount(); ++i)
        rows[m_site.GetStationPath(i)] = {m_site.GetStationName(i), m_site.GetStationGroup(i)};
    EXPECT_EQ(rows[d + N("/Weir/Weir.hstn")], std::make_pair(std::string("Weir"), std::string()));
    EXPECT_EQ(rows[d + N("/North/Bridge/Bridge.hstn")],
              std::make_pair(std::string("Bridge"), std::string("North")));
    EXPECT_EQ(rows[d + N("/A/B/S/S.hstn")], std::make_pair(std::string("S"), N("A/B")));
    EXPECT_EQ(rows[d + N("/Loose.hstn")], std::make_pair(std::string("Loose"), std::string()));
    EXPECT_EQ(rows[d + N("/North/xhstn")], std::make_pair(std::string(), std::string()));

    // A rescan starts from an empty list; rows past the end read as empty.
    m_site.ScanStations();
    EXPECT_EQ(m_site.GetStationCount(), 5);
    EXPECT_EQ(m_site.GetStationPath(5), "");
    EXPECT_EQ(m_site.GetStationPath(-1), "");
}

TEST_F(SiteDirectoryTest, ScanKeepsEachFoldersEntriesTogetherAndSurvivesLinkLoops)
{
    PutStation("G/One/One.hstn", "One");
    PutStation("G/Two/Two.hstn", "Two");
    PutStation("Top/Top.hstn", "Top");
    if (!MakeFolderLink(m_dir, m_dir / "G" / "loop"))
        GTEST_SKIP() << "links to folders cannot be made here";

    m_site.ScanStations();
    ASSERT_EQ(m_site.GetStationCount(), 3);
    // Depth first: the two stations of group G are listed next to each other.
    std::vector<std::string> groups;
    for (int i = 0; i < 3; ++i)
        groups.push_back(m_site.GetStationGroup(i));
    EXPECT_TRUE(groups == (std::vector<std::string>{"G", "G", ""}) ||
                groups == (std::vector<std::string>{"", "G", "G"}));
}

TEST_F(SiteDirectoryTest, MissingSiteDirectoryGivesAnEmptyList)
{
    CSiteDirectory site((m_temp.Path() / "nowhere").string());
    site.ScanStations();
    EXPECT_EQ(site.GetStationCount(), 0);
}

TEST(SiteDirectoryNames, NameAndGroupComeFromThePath)
{
    EXPECT_EQ(CSiteDirectory::StationNameFromPath(N("/d/Weir/Weir.hstn")), "Weir");
    EXPECT_EQ(CSiteDirectory::StationNameFromPath("Weir.hstn"), ""); // no separator
    EXPECT_EQ(CSiteDirectory::StationNameFromPath(N("/d/.hstn")), "");
    EXPECT_EQ(CSiteDirectory::StationNameFromPath(N("/d/hstn")), "");
    EXPECT_EQ(CSiteDirectory::StationNameFromPath(N("/d/ab.hstn")), "ab");

    CSiteDirectory site(N("/srv/Tidewell/Config/")); // the trailing separator is dropped
    EXPECT_EQ(site.GetSiteDir(), N("/srv/Tidewell/Config"));
    EXPECT_EQ(site.GroupFromPath(N("/srv/Tidewell/Config/S/S.hstn")), "");
    EXPECT_EQ(site.GroupFromPath(N("/srv/Tidewell/Config/S.hstn")), "");
    EXPECT_EQ(site.GroupFromPath(N("/srv/Tidewell/Config/North/S/S.hstn")), "North");
    EXPECT_EQ(site.GroupFromPath(N("/srv/Tidewell/Config/A/B/S/S.hstn")), N("A/B"));

    CSiteDirectory root(N("/"));
    EXPECT_EQ(root.GroupFromPath(N("/S/S.hstn")), "");
    EXPECT_EQ(root.GroupFromPath(N("/North/S/S.hstn")), "North");
    EXPECT_EQ(root.GetStationFilePath("S", "North"), N("/North/S/S.hstn"));
}

TEST(SiteDirectoryNames, StationPathsFollowSiteNameAndGroup)
{
    CSiteDirectory site(N("/srv/Config"));
    EXPECT_EQ(site.GetStationDirectory("S", ""), N("/srv/Config/S"));
    EXPECT_EQ(site.GetStationFilePath("S", N("A/B")), N("/srv/Config/A/B/S/S.hstn"));
    CStation station;
    station.SetSiteName("Weir");
    station.SetGroup("North");
    EXPECT_EQ(site.GetStationDirectory(station), N("/srv/Config/North/Weir"));
    EXPECT_EQ(CSiteDirectory::ProposedCopyName(station), "Weir_COPY");
    EXPECT_EQ(CSiteDirectory::DeleteQuestion(station),
              "Are you sure you wish to delete Weir, including all data?  This operation is not reversible.");
}

TEST(SiteDirectoryNames, OnlyPlainFolderNamesAreSafeLocations)
{
    EXPECT_TRUE(CSiteDirectory::IsSafeStationLocation("Weir", ""));
    EXPECT_TRUE(CSiteDirectory::IsSafeStationLocation("Weir No. 2", N("A/B")));
    EXPECT_TRUE(CSiteDirectory::IsSafeStationLocation("...", ""));
    for (const std::string& name : std::vector<std::string>{"", ".", "..", "a/b", std::string("a\0b", 3)})
        EXPECT_FALSE(CSiteDirectory::IsSafeStationLocation(name, "")) << name;
#ifdef _WIN32
    // A drive or a file's alternate stream, and the other separator.
    for (const char* name : {"C:", "Weir:data", "a\\b"})
        EXPECT_FALSE(CSiteDirectory::IsSafeStationLocation(name, "")) << name;
    EXPECT_EQ(CSiteDirectory::StationNameFromPath("C:/d/Weir/Weir.hstn"), "Weir");
#endif
    for (const char* group : {".", "..", "A/..", "../A", "A//B", "/A", "A/"}) {
        EXPECT_FALSE(CSiteDirectory::IsSafeStationLocation("Weir", group)) << group;
        EXPECT_FALSE(CSiteDirectory::IsSafeStationLocation("Weir", N(group))) << group;
    }
}

TEST(SiteDirectorySettings, SiteDirectoryComesFromTheSettingsFile)
{
    TempDir temp;
    CSettingsStore settings(temp / "Tidewell.conf");
    ASSERT_TRUE(settings.SetStationDir(N("/data/sites/")));
    CSiteDirectory site;
    EXPECT_EQ(site.GetSiteDir(), CSettingsStore::DefaultStationDir());
    site.ReadStationDir(settings);
    EXPECT_EQ(site.GetSiteDir(), N("/data/sites"));

    site.SetSiteDir((temp / "other").string());
    ASSERT_TRUE(site.WriteStationDir(settings));
    CSettingsStore reread(temp / "Tidewell.conf");
    ASSERT_TRUE(reread.Load());
    EXPECT_EQ(reread.GetStationDir(), (temp / "other").string());
}

TEST_F(SiteDirectoryTest, OpenLooksInTheStationDirectoryOfNameAndGroup)
{
    PutStation("A/B/S/S.hstn", "S", "stale group");
    PutStation("Loose.hstn", "Loose");
    m_site.ScanStations();

    std::unique_ptr<CStation> current;
    std::string message;
    ASSERT_TRUE(m_site.OpenStation("S", N("A/B"), current, message)) << message;
    ASSERT_TRUE(current);
    EXPECT_EQ(current->GetSiteName(), "S");
    EXPECT_EQ(current->GetGroup(), N("A/B")); // from where the file lies
    EXPECT_TRUE(current->IsModified());

    // A station file lying directly in the site directory is listed but cannot be opened
    // from its row: the row points at a station directory that is not there.
    int row = -1;
    for (int i = 0; i < m_site.GetStationCount(); ++i)
        if (m_site.GetStationName(i) == "Loose")
            row = i;
    ASSERT_GE(row, 0);
    EXPECT_FALSE(
        m_site.OpenStation(m_site.GetStationName(row), m_site.GetStationGroup(row), current, message));
    EXPECT_EQ(message, "Failed to load " + (m_dir / "Loose" / "Loose.hstn").string() +
                           " file may be in use or corrupted!");
    EXPECT_EQ(current->GetSiteName(), "S"); // the current station stays
}

TEST_F(SiteDirectoryTest, OpeningAnotherStationSavesAModifiedCurrentOne)
{
    PutStation("One/One.hstn", "One");
    PutStation("Two/Two.hstn", "Two");
    // A station file that ends early does not load.
    PutStation("Bad/Bad.hstn", "Bad");
    auto bytes = testsupport::ReadFileBytes(m_dir / "Bad" / "Bad.hstn");
    bytes.resize(bytes.size() / 2);
    testsupport::WriteFileBytes(m_dir / "Bad" / "Bad.hstn", bytes);

    std::unique_ptr<CStation> current;
    std::string message;
    ASSERT_TRUE(m_site.OpenStation("One", "", current, message));
    current->SetLocation("upstream of the weir");
    ASSERT_TRUE(m_site.OpenStation("Two", "", current, message));
    EXPECT_EQ(current->GetSiteName(), "Two");

    CStation reread;
    ASSERT_TRUE(reread.Load((m_dir / "One" / "One.hstn").string()));
    EXPECT_EQ(reread.GetLocation(), "upstream of the weir");

    // A file that does not load changes nothing, not even the modified current station.
    current->SetLocation("changed");
    EXPECT_FALSE(m_site.OpenStation("Bad", "", current, message));
    EXPECT_EQ(current->GetSiteName(), "Two");
    ASSERT_TRUE(reread.Load((m_dir / "Two" / "Two.hstn").string()));
    EXPECT_EQ(reread.GetLocation(), "");
}

TEST_F(SiteDirectoryTest, AFileOfAnUnknownVersionOpensWithDefaultsAndANotice)
{
    fs::create_directory(m_dir / "Future");
    testsupport::WriteFileBytes(m_dir / "Future" / "Future.hstn", {3, 0, 0, 0});
    std::unique_ptr<CStation> current;
    std::string message;
    std::vector<std::string> notices;
    ASSERT_TRUE(m_site.OpenStation("Future", "", current, message, &notices));
    EXPECT_EQ(notices, std::vector<std::string>{"Error, station file has invalid version number."});
    EXPECT_EQ(current->GetSiteName(), "");
}

TEST_F(SiteDirectoryTest, AddCreatesOnlyTheLastFolderLevelAndWritesTheFile)
{
    std::unique_ptr<CStation> current = NewStation("Old");
    auto station = NewStation("Weir", "North");
    std::string message;
    ASSERT_TRUE(m_site.AddStation(station, current, message)) << message;
    EXPECT_FALSE(station);
    EXPECT_EQ(current->GetSiteName(), "Weir");
    EXPECT_TRUE(fs::is_regular_file(m_dir / "North" / "Weir" / "Weir.hstn"));
    EXPECT_FALSE(current->IsModified());

    // A nested group whose first level is missing is not made.
    station = NewStation("S", N("A/B"));
    EXPECT_FALSE(m_site.AddStation(station, current, message));
    EXPECT_EQ(message, "System Error! Could not create station directory!");
    EXPECT_EQ(current->GetSiteName(), "S"); // current, without a file
    EXPECT_FALSE(fs::exists(m_dir / "A"));

    // Nor is a missing site directory.
    CSiteDirectory missing((m_temp.Path() / "gone").string());
    station = NewStation("T");
    EXPECT_FALSE(missing.AddStation(station, current, message));
    EXPECT_EQ(message, "System Error! Could not create station directory!");
    EXPECT_FALSE(fs::exists(m_temp.Path() / "gone"));
}

TEST_F(SiteDirectoryTest, AddNeverWritesOverAnotherStationsFile)
{
    PutStation("North/Weir/Weir.hstn", "Weir", "North");
    auto before = testsupport::ReadFileBytes(m_dir / "North" / "Weir" / "Weir.hstn");
    std::unique_ptr<CStation> current = NewStation("Old");
    auto station = NewStation("Weir", "North");
    station->SetLocation("a different site");
    std::string message;
    EXPECT_FALSE(m_site.AddStation(station, current, message));
    EXPECT_EQ(message,
              "Error, the station " + (m_dir / "North" / "Weir" / "Weir.hstn").string() + " already exists!");
    ASSERT_TRUE(station); // handed back to the caller
    EXPECT_EQ(current->GetSiteName(), "Old");
    EXPECT_EQ(testsupport::ReadFileBytes(m_dir / "North" / "Weir" / "Weir.hstn"), before);
}

TEST_F(SiteDirectoryTest, UnsafeNamesAreNeverCreated)
{
    std::unique_ptr<CStation> current;
    std::string message;
    for (const char* name : {".", ".."}) {
        auto station = NewStation(name);
        EXPECT_FALSE(m_site.AddStation(station, current, message)) << name;
        EXPECT_EQ(message, "System Error! Could not create station directory!");
    }
    EXPECT_FALSE(fs::exists(m_dir / ".hstn"));
    EXPECT_FALSE(fs::exists(m_dir / ".." / "...hstn"));
}

TEST_F(SiteDirectoryTest, CopyChecksNameAndGroupBeforeCreatingAnything)
{
    PutStation("Weir/Weir.hstn", "Weir");
    WriteFileText(m_dir / "Weir" / "20060101.001", "data");
    std::unique_ptr<CStation> current;
    std::string message;
    ASSERT_TRUE(m_site.OpenStation("Weir", "", current, message));
    current->SetLocation("below the bridge");
    current->AddCalcSetFromStation(CDateTime(40000.0));

    const std::string header = "Error, the settings are not valid, please correct the following errors:\r\n";
    const std::string badChars = "The site name cannot include the following characters: ?<>*/\\\r\n";
    const std::string badGroup = "The group cannot include the following characters: ?<>*/\\\r\n";
    const std::string dotName = "The site name cannot be . or ..\r\n";
    struct Case {
        std::string siteName, group, errors;
    } cases[] = {
        {"", "", "Site name is not valid.\r\n"},
        {".", "", dotName},
        {"..", "", dotName},
        {"Weir_COPY", "..", "The group cannot be . or .., nor have a part . or ..\r\n"},
        {"Weir_COPY", N("A/B"), badGroup},
        {"a/b", "", badChars},
        {std::string("a\0b", 3), "", badChars},
    };
    for (const Case& c : cases) {
        message.clear();
        EXPECT_FALSE(m_site.CopyStation(c.siteName, c.group, current, message))
            << c.siteName << "|" << c.group;
        EXPECT_EQ(message, header + c.errors) << c.siteName << "|" << c.group;
        EXPECT_EQ(current->GetSiteName(), "Weir");
    }
    // Nothing new appeared in or above the site directory.
    std::vector<std::string> entries;
    for (auto& entry : fs::directory_iterator(m_dir))
        entries.push_back(entry.path().filename().string());
    EXPECT_EQ(entries, std::vector<std::string>{"Weir"});
    EXPECT_FALSE(fs::exists(m_temp.Path() / "..hstn"));

    ASSERT_TRUE(m_site.CopyStation("Weir_COPY", "Copies", current, message)) << message;
    EXPECT_EQ(current->GetSiteName(), "Weir_COPY");
    EXPECT_EQ(current->GetGroup(), "Copies");
    EXPECT_EQ(current->GetLocation(), "below the bridge");
    EXPECT_EQ(current->GetCalcSetCount(), 1);
    CStation reread;
    ASSERT_TRUE(reread.Load((m_dir / "Copies" / "Weir_COPY" / "Weir_COPY.hstn").string()));
    EXPECT_EQ(reread.GetLocation(), "below the bridge");
    EXPECT_EQ(reread.GetCalcSetCount(), 1);
    EXPECT_FALSE(fs::exists(m_dir / "Copies" / "Weir_COPY" / "20060101.001")); // data stays behind

    std::unique_ptr<CStation> none;
    EXPECT_FALSE(m_site.CopyStation("X", "", none, message));
}

TEST_F(SiteDirectoryTest, DeleteRemovesTheStationDirectoryButNotItsGroup)
{
    PutStation("North/Weir/Weir.hstn", "Weir", "North");
    PutStation("North/Bridge/Bridge.hstn", "Bridge", "North");
    WriteFileText(m_dir / "North" / "Weir" / "20060101.001", "data");
    fs::create_directories(m_dir / "North" / "Weir" / "old" / "deeper");
    WriteFileText(m_dir / "North" / "Weir" / "old" / "deeper" / "x.txt", "x");
    // A link inside the station directory goes; what it points at stays.
    fs::create_directory(m_temp.Path() / "keep");
    WriteFileText(m_temp.Path() / "keep" / "precious.txt", "keep me");
    const bool linked = MakeFolderLink(m_temp.Path() / "keep", m_dir / "North" / "Weir" / "link");
    EXPECT_TRUE(linked || !fs::exists(m_dir / "North" / "Weir" / "link"));

    CStation weir;
    weir.SetSiteName("Weir");
    weir.SetGroup("North");
    EXPECT_TRUE(m_site.DeleteStation(weir));
    EXPECT_FALSE(fs::exists(m_dir / "North" / "Weir"));
    EXPECT_TRUE(fs::is_regular_file(m_dir / "North" / "Bridge" / "Bridge.hstn"));
    EXPECT_EQ(ReadFileText(m_temp.Path() / "keep" / "precious.txt"), "keep me");

    CStation bridge;
    bridge.SetSiteName("Bridge");
    bridge.SetGroup("North");
    EXPECT_TRUE(m_site.DeleteStation(bridge));
    EXPECT_TRUE(fs::is_directory(m_dir / "North")); // the group folder stays, empty
    EXPECT_TRUE(fs::is_empty(m_dir / "North"));

    m_site.ScanStations();
    EXPECT_EQ(m_site.GetStationCount(), 0);
}

TEST_F(SiteDirectoryTest, DeleteNeverReachesTheSiteDirectoryOrAbove)
{
    PutStation("Weir/Weir.hstn", "Weir");
    for (const auto& [name, group] : std::vector<std::pair<std::string, std::string>>{
             {".", ""}, {"..", ""}, {"", ""}, {"Weir", ".."}, {"..", "Weir"}, {"x", "../.."}}) {
        CStation station;
        station.SetSiteName(name);
        station.SetGroup(group);
        EXPECT_FALSE(m_site.DeleteStation(station)) << name << "|" << group;
    }
    EXPECT_TRUE(fs::is_regular_file(m_dir / "Weir" / "Weir.hstn"));
    EXPECT_TRUE(fs::is_directory(m_temp.Path()));
}

TEST_F(SiteDirectoryTest, DataFilesEndInAPointAndThreeDigits)
{
    fs::create_directories(m_dir / "Weir" / "123.456");
    for (const char* name :
         {"20060101.001", "20060102.002", "notes.txt", "a.1x3", ".123", "Weir.hstn", "x.1234"})
        WriteFileText(m_dir / "Weir" / name, "");
    CStation weir;
    weir.SetSiteName("Weir");
    std::vector<std::string> names{"kept"};
    m_site.GetDataFiles(weir, names);
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names[0], "kept"); // appended to what the list held
    std::sort(names.begin() + 1, names.end());
    EXPECT_EQ(names[1], "20060101.001");
    EXPECT_EQ(names[2], "20060102.002");
}

} // namespace

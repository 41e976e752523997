// The station record's own rules: validation of names, deep copies, modified tracking and
// the data summary cache.
#include "platform/Utf8Path.h"
#include "station/Station.h"

#include <gtest/gtest.h>

namespace
{
constexpr const char* kBad = "The site name cannot include the following characters: ?<>*/\\\r\n";
constexpr const char* kBadGroup = "The group cannot include the following characters: ?<>*/\\\r\n";
constexpr const char* kDotName = "The site name cannot be . or ..\r\n";
constexpr const char* kDotGroup = "The group cannot be . or .., nor have a part . or ..\r\n";
} // namespace

TEST(StationValidate, SiteNameRules)
{
    CStation station{CDateTime(1.0)};
    std::string errors;
    EXPECT_FALSE(station.Validate(errors));
    EXPECT_EQ(errors, "Site name is not valid.\r\n");

    station.SetSiteName("Mill Race #2 (old)");
    errors.clear();
    EXPECT_TRUE(station.Validate(errors));
    EXPECT_EQ(errors, "");

    for (const char* name : {"a?b", "a<b", "a>b", "a*b", "a/b", "a\\b"}) {
        station.SetSiteName(name);
        errors.clear();
        EXPECT_FALSE(station.Validate(errors)) << name;
        EXPECT_EQ(errors, kBad) << name;
    }
}

TEST(StationValidate, SiteAndGroupEachAddTheMessage)
{
    CStation station{CDateTime(1.0)};
    station.SetSiteName("a/b");
    station.SetGroup("North\\South");
    std::string errors;
    EXPECT_FALSE(station.Validate(errors));
    EXPECT_EQ(errors, std::string(kBad) + kBadGroup);

    station.SetSiteName("ok");
    errors = "kept\r\n"; // messages are appended
    EXPECT_FALSE(station.Validate(errors));
    EXPECT_EQ(errors, std::string("kept\r\n") + kBadGroup);

    station.SetSiteName("");
    errors.clear();
    EXPECT_FALSE(station.Validate(errors));
    EXPECT_EQ(errors, std::string("Site name is not valid.\r\n") + kBadGroup);
}

TEST(StationValidate, DotNamesHaveTheirOwnMessageAndNulIsABadCharacter)
{
    CStation station{CDateTime(1.0)};
    for (const std::string& name : {std::string("."), std::string("..")}) {
        station.SetSiteName(name);
        station.SetGroup("");
        std::string errors;
        EXPECT_FALSE(station.Validate(errors));
        EXPECT_EQ(errors, kDotName) << name;
    }
    station.SetSiteName(std::string("a\0b", 3));
    std::string nul;
    EXPECT_FALSE(station.Validate(nul));
    EXPECT_EQ(nul, kBad);
    // Names that merely contain dots are ordinary folder names.
    for (const char* name : {"...", ".hidden", "a.b", "a.."}) {
        station.SetSiteName(name);
        std::string errors;
        EXPECT_TRUE(station.Validate(errors)) << name;
    }

    station.SetSiteName("ok");
    for (const std::string& group : {std::string("."), std::string("..")}) {
        station.SetGroup(group);
        std::string errors;
        EXPECT_FALSE(station.Validate(errors));
        EXPECT_EQ(errors, kDotGroup) << group;
    }
    for (const std::string& group : {std::string("g\0", 2), std::string("..\0", 3)}) {
        station.SetGroup(group);
        std::string errors;
        EXPECT_FALSE(station.Validate(errors));
        EXPECT_EQ(errors, kBadGroup); // once, however many rules the group breaks
    }
    station.SetGroup("../x"); // a separator and a dot component: still one message
    std::string errors;
    EXPECT_FALSE(station.Validate(errors));
    EXPECT_EQ(errors, kBadGroup);
}

TEST(StationCopy, IsDeepAndMarkedModified)
{
    CStation original{CDateTime(43000.25)};
    original.SetSiteName("Weir");
    original.SetReserved1(5.5);
    original.SetReservedDate(CDateTime(2.0, 1));
    original.SetReservedFlag(0);
    original.SetFilePath("/x/Weir/Weir.hstn");
    original.AddCalcSetFromStation(CDateTime(44000.0));
    CDataSummary summary;
    summary.m_strFileName = "a.001";
    original.AddSummary(summary);
    original.SetModified(false);

    CStation copy(original);
    EXPECT_TRUE(copy.IsModified());
    EXPECT_FALSE(original.IsModified());
    EXPECT_EQ(copy.GetFilePath(), "/x/Weir/Weir.hstn");
    EXPECT_EQ(copy.GetCreated(), CDateTime(43000.25));
    EXPECT_EQ(copy.GetReserved1(), 5.5);
    EXPECT_EQ(copy.GetReservedDate(), CDateTime(2.0, 1));
    EXPECT_EQ(copy.GetReservedFlag(), 0);
    ASSERT_EQ(copy.GetCalcSetCount(), 1);
    EXPECT_EQ(copy.GetCalcSet(0).m_dtStart, CDateTime(44000.0));
    EXPECT_EQ(copy.ToBytes(), original.ToBytes());

    // Changing the copy's sub-records leaves the original alone.
    copy.GetCalcSet(0).m_settings.m_geometry.m_dZAdcp = 99.0;
    copy.GetGeometry().m_dRectWidth = 1.0;
    copy.GetCommands().Clear();
    copy.GetGraphPrefs().m_arrDataTypes.clear();
    copy.ClearSummaries();
    EXPECT_EQ(original.GetCalcSet(0).m_settings.m_geometry.m_dZAdcp, 0.0);
    EXPECT_EQ(original.GetGeometry().m_dRectWidth, 60960.0);
    EXPECT_EQ(original.GetCommands().Count(), 15);
    EXPECT_EQ(original.GetGraphPrefs().m_arrDataTypes.size(), 8u);
    EXPECT_EQ(original.GetSummaryCount(), 1);
}

TEST(StationModified, SettersMarkAndTheGeometryCounts)
{
    CStation station{CDateTime(1.0)};
    EXPECT_FALSE(station.IsModified());
    station.SetModelCoef(2.0, 4); // out of range: nothing stored, nothing marked
    EXPECT_FALSE(station.IsModified());
    station.SetModelCoef(2.0, 3);
    EXPECT_TRUE(station.IsModified());
    EXPECT_EQ(station.GetModelCoef(3), 2.0);

    station.SetModified(false);
    station.GetGeometry().SetZAdcp(10.0);
    EXPECT_TRUE(station.IsModified());
    station.SetModified(false);
    EXPECT_FALSE(station.IsModified());
}

TEST(StationSummaries, MatchedByExactNameAndPruned)
{
    CStation station{CDateTime(1.0)};
    for (const char* name : {"A.001", "a.001", "b.002"}) {
        CDataSummary summary;
        summary.m_strFileName = name;
        summary.m_nEnsembles = name[0];
        station.AddSummary(summary);
    }
    ASSERT_NE(station.FindSummary("a.001"), nullptr);
    EXPECT_EQ(station.FindSummary("a.001")->m_nEnsembles, 'a');
    EXPECT_EQ(station.FindSummary("A.001")->m_nEnsembles, 'A');
    EXPECT_FALSE(station.HasSummary("B.002"));

    station.SetModified(false);
    station.RemoveMissingSummaries({"a.001", "A.001", "b.002", "c.003"});
    EXPECT_FALSE(station.IsModified()); // nothing removed
    EXPECT_EQ(station.GetSummaryCount(), 3);
    station.RemoveMissingSummaries({"b.002"});
    EXPECT_TRUE(station.IsModified());
    ASSERT_EQ(station.GetSummaryCount(), 1);
    EXPECT_EQ(station.GetSummary(0).m_strFileName, "b.002");

    station.SetModified(false);
    station.ClearSummaries();
    EXPECT_TRUE(station.IsModified());
    EXPECT_EQ(station.GetSummaryCount(), 0);
}

TEST(StationNames, DirectoryAndInstrumentId)
{
    CStation station{CDateTime(1.0)};
    station.SetSiteName("Mill Race-2");
    // Joined with the system's own separator ("\\" on Windows, where the group is written so).
    const std::string sep(1, PATH_SEPARATOR);
    EXPECT_EQ(station.GetStationDirectory("/sites"), "/sites" + sep + "Mill Race-2");
    station.SetGroup("North" + sep + "East");
    EXPECT_EQ(station.GetStationDirectory("/sites"),
              "/sites" + sep + "North" + sep + "East" + sep + "Mill Race-2");
    EXPECT_EQ(station.GetInstrumentId(), "Mill_Race_2");
    EXPECT_EQ(CStation::AreaUnitsForFlow(111), 117);
    EXPECT_EQ(CStation::AreaUnitsForFlow(115), 117);
    EXPECT_EQ(CStation::AreaUnitsForFlow(113), 118);
}

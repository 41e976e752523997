// The command list: its default content, lookup and replacement rules, and graph counts.
#include "station/CommandList.h"
#include "station/GraphPrefs.h"

#include <gtest/gtest.h>

TEST(CommandList, DefaultsInOrderWithTheirWireForms)
{
    CCommandList list;
    const char* wire[] = {"CR1",        "WP1",        "WF50", "WN25",      "WS100",
                          "TP00:00.50", "TE00003000", "VP3",  "EZ1101101", "EX01010",
                          "ES0",        "CF11110",    "CT1",  "MR1",       "PD14"};
    ASSERT_EQ(list.Count(), 15);
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(list.WireForm(i), wire[i]);
    std::string command, parameter;
    EXPECT_FALSE(list.Get(15, command, parameter));
    EXPECT_EQ(command, "");
}

TEST(CommandList, SetReplacesTheFirstPairOrAppends)
{
    CCommandList list;
    list.Clear();
    list.Add("WN", "1");
    list.Add("WN", "2");
    list.SetInt("WN", -30);
    std::string command, parameter;
    list.Get(0, command, parameter);
    EXPECT_EQ(parameter, "-30");
    list.Get(1, command, parameter);
    EXPECT_EQ(parameter, "2");

    list.SetText("TP", "00:01.00");
    ASSERT_EQ(list.Count(), 3);
    list.Get(2, command, parameter);
    EXPECT_EQ(command, "TP");
    EXPECT_EQ(parameter, "00:01.00");

    EXPECT_FALSE(list.Find("wn", parameter)); // exact and case-sensitive
    EXPECT_TRUE(list.Find("WN", parameter));
    EXPECT_EQ(parameter, "-30");
}

TEST(CommandList, RestoreDefaultsDropsExtraPairs)
{
    CCommandList list;
    list.Add("XX", "9");
    list.SetInt("WS", 55);
    list.RestoreDefaults();
    EXPECT_EQ(list, CCommandList());
    EXPECT_EQ(list.Count(), 15);
}

TEST(GraphPrefs, BeamGraphAndPaneCounts)
{
    CGraphPrefs prefs;
    EXPECT_EQ(prefs.GetBeamGraphCount(), 3);
    EXPECT_EQ(prefs.GetGraphPaneCount(), 3);
    prefs.m_bVectors = prefs.m_bAmplitude = prefs.m_bCorrelation = 0;
    EXPECT_EQ(prefs.GetBeamGraphCount(), 0);
    EXPECT_EQ(prefs.GetGraphPaneCount(), 2);
    prefs.m_bQVD = 0;
    prefs.m_bWhisker = 5; // any set flag counts once
    prefs.m_bBinVelocities = 1;
    EXPECT_EQ(prefs.GetBeamGraphCount(), 1);
    EXPECT_EQ(prefs.GetGraphPaneCount(), 2);
    prefs.RestoreDefaults();
    EXPECT_EQ(prefs, CGraphPrefs());
}

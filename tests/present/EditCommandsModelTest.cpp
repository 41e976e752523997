// The Edit Commands grid logic on a station's command list.
#include "present/EditCommandsModel.h"
#include "settings/Profiling.h"
#include "station/Station.h"

#include <gtest/gtest.h>

namespace
{

std::vector<std::string> Commands(const CCommandList& list)
{
    std::vector<std::string> out;
    for (int i = 0; i < list.Count(); ++i)
        out.push_back(list.WireForm(i));
    return out;
}

TEST(EditCommands, InsertRemoveAndOkRebuildTheList)
{
    CStation station;
    CCommandList list;
    list.Clear();
    list.Add("CR", "1");
    list.Add("PD", "14");
    station.SetCommands(list);
    CEditCommandsModel model(station);
    ASSERT_EQ(model.RowCount(), 3);
    EXPECT_EQ(model.Cell(0, 0), "Command");
    EXPECT_EQ(model.Cell(0, 1), "Parameter");
    EXPECT_EQ(model.Cell(2, 1), "14");

    model.Insert(2); // the last row: a new row at the end
    model.SetCell(3, 0, "CT");
    model.SetCell(3, 1, "0");
    model.Insert(1); // in front of the first pair
    model.SetCell(1, 0, "ES");
    model.SetCell(1, 1, "5");
    model.Insert(0); // header focused: still below it
    EXPECT_EQ(model.RowCount(), 6);
    model.Remove(0);                                                                       // the header stays
    model.Remove(3);                                                                       // "CR 1"
    EXPECT_EQ(Commands(station.GetCommands()), (std::vector<std::string>{"CR1", "PD14"})); // not yet
    model.Ok();
    EXPECT_EQ(Commands(station.GetCommands()), (std::vector<std::string>{"", "ES5", "PD14", "CT0"}));
    EXPECT_TRUE(station.IsModified());
}

TEST(EditCommands, RestoreDefaultsCalculatesProfilingEvenWithoutAutoCalc)
{
    CStation station;
    station.SetAutoCalc(0);
    station.SetFrequency(3);
    station.GetCommands().Add("XX", "1");
    station.GetCommands().SetText("WN", "7");
    CEditCommandsModel model(station);
    EXPECT_FALSE(model.IsNoteVisible());
    model.RestoreDefaults();
    ASSERT_EQ(model.RowCount(), 16);
    const char* order[] = {"CR", "WP", "WF", "WN", "WS", "TP", "TE", "VP",
                           "EZ", "EX", "ES", "CF", "CT", "MR", "PD"};
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(model.Cell(i + 1, 0), order[i]);
    // The reference result is the calculation on a fresh default list for this station.
    CStation reference;
    reference.SetFrequency(3);
    CalcProfilingSettings(reference);
    for (const char* m : {"TP", "WF", "WP", "WN", "WS"}) {
        std::string expected, actual;
        ASSERT_TRUE(reference.GetCommands().Find(m, expected));
        ASSERT_TRUE(station.GetCommands().Find(m, actual));
        EXPECT_EQ(actual, expected) << m;
    }
    std::string wn;
    station.GetCommands().Find("WN", wn);
    EXPECT_NE(wn, "7");
    station.SetAutoCalc(1);
    EXPECT_TRUE(model.IsNoteVisible());
}

} // namespace

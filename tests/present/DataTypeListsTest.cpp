// Graphics Preferences: moving data types between the two lists.
#include "present/DataTypeLists.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

TEST(DataTypeLists, AvailableHoldsTheRestInCodeOrder)
{
    CDataTypeLists l;
    l.Load({8, 4, 1});
    EXPECT_EQ(l.m_arrDisplayed, (std::vector<int>{8, 4, 1}));
    EXPECT_EQ(l.m_arrAvailable, (std::vector<int>{2, 3, 5, 6, 7, 9, 10, 11}));
}

TEST(DataTypeLists, MovingInsertsBeforeTheSelectionAndKeepsAPlaceSelected)
{
    CDataTypeLists l;
    l.Load({1, 2, 3});
    l.m_nAvailableSel = 1; // 5
    l.m_nDisplayedSel = 1; // before 2
    l.MoveToDisplayed();
    EXPECT_EQ(l.m_arrDisplayed, (std::vector<int>{1, 5, 2, 3}));
    EXPECT_EQ(l.m_nDisplayedSel, 1);
    EXPECT_EQ(l.m_nAvailableSel, 1); // now 6, which moved into the place
    EXPECT_EQ(l.m_arrAvailable[1], 6);

    l.m_nDisplayedSel = -1; // nothing selected there: appended
    l.MoveToDisplayed();
    EXPECT_EQ(l.m_arrDisplayed.back(), 6);
    EXPECT_EQ(l.m_nDisplayedSel, 4);

    l.m_nAvailableSel = static_cast<int>(l.m_arrAvailable.size()) - 1; // the last: nothing takes its place
    l.MoveToDisplayed();
    EXPECT_EQ(l.m_nAvailableSel, -1);
    const auto before = l.m_arrDisplayed;
    l.MoveToDisplayed(); // no selection: nothing happens
    EXPECT_EQ(l.m_arrDisplayed, before);
}

TEST(DataTypeLists, UpAndDownStopAtTheEnds)
{
    CDataTypeLists l;
    l.Load({1, 2, 3});
    l.m_nDisplayedSel = 0;
    l.MoveUp();
    EXPECT_EQ(l.m_arrDisplayed, (std::vector<int>{1, 2, 3}));
    l.MoveDown();
    EXPECT_EQ(l.m_arrDisplayed, (std::vector<int>{2, 1, 3}));
    EXPECT_EQ(l.m_nDisplayedSel, 1);
    l.m_nDisplayedSel = 2;
    l.MoveDown();
    EXPECT_EQ(l.m_arrDisplayed, (std::vector<int>{2, 1, 3}));
    l.MoveToAvailable();
    EXPECT_EQ(l.m_arrAvailable.back(), 3);
    EXPECT_EQ(l.m_nDisplayedSel, -1);
}

} // namespace

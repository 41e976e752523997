// Graphics Preferences: the dialog editing a copy that the System page keeps only on OK.
#include "station/GraphPrefs.h"
#include "tests/gui/GuiFixture.h"
#include "ui/GraphPrefsDialog.h"
#include "ui/SystemPage.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>

namespace
{

class GraphPrefsTest : public GuiTest
{
};

TEST_F(GraphPrefsTest, OkWritesFlagsAndDisplayedTypes)
{
    CGraphPrefs prefs;
    CGraphPrefsDialog dialog(prefs);
    EXPECT_EQ(dialog.DisplayedList()->count(), 8);
    EXPECT_EQ(dialog.AvailableList()->count(), 3);
    dialog.AvailableList()->setCurrentRow(0);
    dialog.AddButton()->click();
    dialog.TabularBox()->setChecked(false);
    EXPECT_FALSE(dialog.DisplayedList()->isEnabled());
    EXPECT_EQ(prefs.m_arrDataTypes.size(), 8u); // nothing written before OK
    dialog.accept();
    EXPECT_EQ(prefs.m_bTabular, 0);
    EXPECT_EQ(prefs.m_arrDataTypes.size(), 9u);
    EXPECT_EQ(prefs.m_arrDataTypes.back(), 9);
}

TEST_F(GraphPrefsTest, SystemPageKeepsTheCopyOnlyOnOk)
{
    CStation station;
    CSystemPage page(&station, false);
    page.SetPrefsRunner([](CGraphPrefsDialog& dialog) {
        dialog.TabularBox()->setChecked(false);
        dialog.reject();
        return false;
    });
    page.EditGraphPrefs();
    EXPECT_EQ(station.GetGraphPrefs().m_bTabular, 1);
    EXPECT_FALSE(station.IsModified());

    page.SetPrefsRunner([](CGraphPrefsDialog& dialog) {
        dialog.RestoreButton()->click();
        dialog.TabularBox()->setChecked(false);
        dialog.accept();
        return true;
    });
    page.EditGraphPrefs();
    EXPECT_EQ(station.GetGraphPrefs().m_bTabular, 0);
    EXPECT_TRUE(station.IsModified());
}

} // namespace

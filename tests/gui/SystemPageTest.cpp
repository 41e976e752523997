// The System page: what it shows for a station and what it stores back.
#include "present/SystemSettingsForm.h"

#include "data/Units.h"
#include "tests/gui/GuiFixture.h"
#include "ui/AppSettingsDialog.h"
#include "ui/SystemPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace
{

class SystemPageTest : public GuiTest
{
};

TEST_F(SystemPageTest, UnitLabelsFollowTheCombosWithoutConvertingTheNumbers)
{
    CStation station;
    CSystemPage page(&station, true);
    EXPECT_EQ(page.StageUnitLabel()->text().toStdString(), UnitAbbreviation(UNIT_FEET));
    page.StageCombo()->setCurrentIndex(UNIT_METERS - CSystemSettingsForm::STAGE_FIRST);
    EXPECT_EQ(page.StageUnitLabel()->text().toStdString(), UnitAbbreviation(UNIT_METERS));
    EXPECT_EQ(page.Stage20mAEdit()->text(), "100.000");
}

TEST_F(SystemPageTest, PulseBoxEnablesTheEditAndExistingNamesAreGreyed)
{
    CStation station;
    station.SetSiteName("Weir");
    CSystemPage page(&station, false);
    EXPECT_FALSE(page.SiteNameEdit()->isEnabled());
    EXPECT_EQ(page.SiteNameEdit()->text(), "Weir");
    EXPECT_TRUE(page.PulseEdit()->isEnabled());
    page.PulseEveryBox()->setChecked(false);
    EXPECT_FALSE(page.PulseEdit()->isEnabled());
    EXPECT_EQ(page.PulseEdit()->text(), "10.000"); // the text stays
    page.SavePage();
    EXPECT_EQ(station.GetTotalizerPulse(), 0.0);
}

TEST_F(SystemPageTest, SettingsDialogTakesTheFolderOnlyFromThePicker)
{
    CAppSettingsDialog dialog("/old/site", {"/dev/ttyUSB0", "sim:velunit"});
    EXPECT_TRUE(dialog.SiteDirEdit()->isReadOnly());
    EXPECT_EQ(dialog.ComEdit(1)->text(), "sim:velunit");
    QString offered;
    dialog.SetFolderPicker([&offered](QWidget*, const QString& start) {
        offered = start;
        return QString(); // cancelled
    });
    dialog.BrowseButton()->click();
    EXPECT_EQ(offered, "/old/site");
    EXPECT_EQ(dialog.SiteDir(), "/old/site");
    dialog.SetFolderPicker([](QWidget*, const QString&) { return QString("/new/site"); });
    dialog.BrowseButton()->click();
    EXPECT_EQ(dialog.SiteDir(), "/new/site");
    dialog.ComEdit(2)->setText("  /dev/ttyS9 ");
    EXPECT_EQ(dialog.ComDevices()[2], "/dev/ttyS9");
}

TEST_F(SystemPageTest, ApplyingSettingsWritesTheFileAndRescans)
{
    WriteConfig();
    MakeStation("Weir");
    Start();
    const auto other = m_temp.Path() / "other";
    std::filesystem::create_directories(other / "Lake");
    CStation lake;
    lake.SetSiteName("Lake");
    ASSERT_TRUE(lake.Save((other / "Lake" / "Lake.hstn").string()));
    std::vector<std::string> ports(8);
    ports[0] = "sim:velunit";
    ASSERT_TRUE(m_app->ApplySettings(other.string(), ports));
    ASSERT_EQ(m_app->GetStationCount(), 1);
    EXPECT_EQ(m_app->GetStationName(0), "Lake");
    CSettingsStore reread(ConfigPath());
    ASSERT_TRUE(reread.Load());
    EXPECT_EQ(reread.GetStationDir(), other.string());
    EXPECT_EQ(reread.Get("COM1", ""), "sim:velunit");
    EXPECT_FALSE(reread.Get("COM2").has_value());
}

} // namespace

// The System page: what it shows for a station and what it stores back.
#include "ui/SystemSettingsForm.h"

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

TEST(SystemSettingsForm, GroupLosesOneSeparatorAtEachEnd)
{
    EXPECT_EQ(CSystemSettingsForm::TrimGroup("\\North\\"), "North");
    EXPECT_EQ(CSystemSettingsForm::TrimGroup("\\"), "");
    EXPECT_EQ(CSystemSettingsForm::TrimGroup("\\\\North"), "\\North");
    EXPECT_EQ(CSystemSettingsForm::TrimGroup("/A/B/"), "A/B");
    EXPECT_EQ(CSystemSettingsForm::TrimGroup(""), "");
}

TEST(SystemSettingsForm, NumbersAreReadFromTheirLeadingPart)
{
    EXPECT_DOUBLE_EQ(CSystemSettingsForm::ReadNumber("12.5 ft"), 12.5);
    EXPECT_DOUBLE_EQ(CSystemSettingsForm::ReadNumber("abc"), 0.0);
    EXPECT_DOUBLE_EQ(CSystemSettingsForm::ReadNumber(""), 0.0);
}

TEST(SystemSettingsForm, LoadShowsDisplayUnitsAndTheTotalizer)
{
    CStation station;
    CSystemSettingsForm form;
    form.Load(station);
    EXPECT_EQ(form.m_strStage20mA, "100.000"); // 100 ft
    EXPECT_EQ(form.m_strFlow20mA, "100.000");  // 100 million gallons per day
    EXPECT_EQ(form.m_nFlowIndex, 1);
    EXPECT_TRUE(form.m_bPulseEvery);
    EXPECT_EQ(form.m_strPulse, "10.000");
    EXPECT_EQ(form.m_strStageUnit, UnitAbbreviation(UNIT_FEET));

    station.SetTotalizerPulse(0.0);
    form.Load(station);
    EXPECT_FALSE(form.m_bPulseEvery);
    EXPECT_FALSE(form.m_bPulseEditEnabled);
    EXPECT_EQ(form.m_strPulse, "0.00");
}

TEST(SystemSettingsForm, ChangingAUnitReadsTheSameNumberInTheNewUnit)
{
    CStation station;
    CSystemSettingsForm form;
    form.Load(station);
    form.m_nStageIndex = UNIT_METERS - CSystemSettingsForm::STAGE_FIRST;
    form.Save(station);
    EXPECT_NEAR(station.GetStage20mA(), 1000000.0, 1e-6); // 100 m, not 100 ft
    EXPECT_EQ(station.GetStageUnits(), UNIT_METERS);
}

TEST(SystemSettingsForm, FlowUnitSetsTheAreaUnitAndUntickedPulseStoresZero)
{
    CStation station;
    CSystemSettingsForm form;
    form.Load(station);
    form.m_nFlowIndex = UNIT_CUBIC_FEET_PER_SECOND - CSystemSettingsForm::FLOW_FIRST;
    form.SetPulseEvery(false);
    form.m_strPulse = "55";
    form.Save(station);
    EXPECT_EQ(station.GetAreaUnits(), 117);
    EXPECT_EQ(station.GetTotalizerPulse(), 0.0);
    form.m_nFlowIndex = UNIT_LITERS_PER_SECOND - CSystemSettingsForm::FLOW_FIRST;
    form.Save(station);
    EXPECT_EQ(station.GetAreaUnits(), 118);
    EXPECT_TRUE(station.IsModified());
}

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

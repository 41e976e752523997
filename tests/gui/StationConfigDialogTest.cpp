// The Station Configuration dialog driven as an operator drives it: its three pages, the
// dialogs they open, and what ends up in the station record on OK and on Cancel.
#include "tests/gui/GuiFixture.h"

#include "data/NoData.h"
#include "data/Units.h"
#include "present/CalcSettingsForm.h"
#include "present/FlowComputerSettingsForm.h"
#include "ui/CalcSetDlg.h"
#include "ui/CalcSettingsDlg.h"
#include "ui/ChannelPage.h"
#include "ui/EditCommandsDlg.h"
#include "ui/FlowComputerSettingsDlg.h"
#include "ui/ProfilingPage.h"
#include "ui/StationConfigDialog.h"
#include "ui/SystemPage.h"
#include "ui/VelocityModelGroup.h"
#include "views/ChannelPreviewCtrl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

namespace
{

class StationConfigTest : public GuiTest
{
  protected:
    // Replaces what an edit holds by typing, as the operator does.
    static void Type(QLineEdit* edit, const QString& text)
    {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }
    // Picks a combo entry the way a click does (the "activated" signal included).
    static void Choose(QComboBox* combo, int index)
    {
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
    static void PressOk(QDialog& dialog)
    {
        dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    }
    static void PressCancel(QDialog& dialog)
    {
        dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
    }
    static std::string Command(const CStation& station, const char* command)
    {
        std::string value;
        return station.GetCommands().Find(command, value) ? value : "(none)";
    }
    // A station as it comes from its file, with a calculation set and a summary.
    static std::unique_ptr<CStation> SavedStation()
    {
        auto station = std::make_unique<CStation>(CDateTime::FromParts(2020, 3, 4, 5, 6, 7));
        station->SetSiteName("Weir");
        station->AddCalcSetFromStation(CDateTime(44000.123456));
        station->GetCalcSet(0).m_settings.m_dForcedStage = 30000.0;
        station->SetModified(false);
        return station;
    }
};

TEST_F(StationConfigTest, ThreePagesInOrderForNewAndExistingStations)
{
    for (bool isNew : {true, false}) {
        CStation station;
        CStationConfigDialog dialog(station, isNew);
        ASSERT_EQ(dialog.Tabs()->count(), 3);
        EXPECT_EQ(dialog.Tabs()->tabText(0), "System");
        EXPECT_EQ(dialog.Tabs()->tabText(1), "Channel");
        EXPECT_EQ(dialog.Tabs()->tabText(2), "Velocity Model");
        EXPECT_TRUE(dialog.SystemPage()->FlowComputerButton()->isEnabled());
        EXPECT_TRUE(dialog.SystemPage()->CalcSettingsButton()->isEnabled());
    }
}

TEST_F(StationConfigTest, NewTwelveHundredKilohertzStationOnTheLeftOfATenMetreChannel)
{
    CStation station;
    CStationConfigDialog dialog(station, true);
    dialog.SystemPage()->StageCombo()->setCurrentIndex(UNIT_METERS - UNIT_FEET);
    dialog.Tabs()->setCurrentIndex(CStationConfigDialog::CHANNEL);
    CChannelPage* channel = dialog.ChannelPage();
    EXPECT_EQ(channel->DimEdit(0)->text(), "6.10"); // 20 ft, now shown in metres
    channel->TypeButton(0)->click();                // "Rectangular"
    channel->MountingButton(0)->click();            // "Left"
    Type(channel->DimEdit(0), "10");
    dialog.Tabs()->setCurrentIndex(CStationConfigDialog::VELOCITY_MODEL);
    CProfilingPage* profiling = dialog.ProfilingPage();
    Choose(profiling->FrequencyCombo(), 2); // "1200 KHz"
    EXPECT_EQ(profiling->BinSizeLabel()->text(), "0.50 (m)");
    PressOk(dialog);

    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(station.GetFrequency(), 3);
    EXPECT_EQ(station.GetMounting(), MOUNTING_LEFT);
    EXPECT_NEAR(station.GetGeometry().GetRectWidth(), 100000.0, 1e-6);
    EXPECT_EQ(Command(station, "WP"), "250");
    EXPECT_EQ(Command(station, "WF"), "50");
    EXPECT_EQ(Command(station, "WN"), "20");
    EXPECT_EQ(Command(station, "WS"), "50");
    EXPECT_EQ(Command(station, "TP"), "00:00.10");
}

TEST_F(StationConfigTest, CommandsFollowTheChannelEvenWhenTheModelPageWasLeftFirst)
{
    CStation station;
    station.SetStageUnits(UNIT_METERS);
    station.SetFrequency(3);
    station.SetMounting(MOUNTING_LEFT);
    CStationConfigDialog dialog(station, false);
    dialog.Tabs()->setCurrentIndex(CStationConfigDialog::VELOCITY_MODEL);
    dialog.Tabs()->setCurrentIndex(CStationConfigDialog::CHANNEL);
    Type(dialog.ChannelPage()->DimEdit(0), "10");
    PressOk(dialog);
    EXPECT_EQ(Command(station, "WS"), "50");
    EXPECT_EQ(station.GetVelRangeStop(), 16);
}

TEST_F(StationConfigTest, StageUnitChangedFromFeetToMetresReadsTheShownNumberInMetres)
{
    CStation station;
    CStationConfigDialog dialog(station, false);
    EXPECT_EQ(dialog.SystemPage()->Stage20mAEdit()->text(), "100.000");
    dialog.SystemPage()->StageCombo()->setCurrentIndex(UNIT_METERS - UNIT_FEET);
    PressOk(dialog);
    EXPECT_EQ(station.GetStageUnits(), UNIT_METERS);
    EXPECT_NEAR(station.GetStage20mA(), 1000000.0, 1e-6); // 100 m
}

TEST_F(StationConfigTest, CancelLeavesTheStationByteIdenticalWhateverWasDoneInside)
{
    auto station = SavedStation();
    const std::vector<uint8_t> before = station->ToBytes();
    CStationConfigDialog dialog(*station, false);
    CSystemPage* system = dialog.SystemPage();
    Type(system->Stage20mAEdit(), "55");
    system->SetFlowComputerRunner([](CFlowComputerSettingsDlg& fc) {
        Type(fc.Edit(CFlowComputerSettingsForm::TCF), "0.5");
        PressOk(fc);
        return fc.result() == QDialog::Accepted;
    });
    system->FlowComputerButton()->click();
    system->SetCalcSettingsRunner([](CCalcSettingsDlg& calc) {
        calc.SetSetRunner([](CCalcSetDlg& set) {
            PressOk(set);
            return true;
        });
        calc.CreateButton()->click();
        EXPECT_EQ(calc.Grid()->rowCount(), 2);
        return true;
    });
    system->CalcSettingsButton()->click();
    dialog.Tabs()->setCurrentIndex(CStationConfigDialog::CHANNEL);
    dialog.ChannelPage()->TypeButton(2)->click(); // trapezoidal
    Type(dialog.ChannelPage()->DimEdit(2), "3");
    dialog.Tabs()->setCurrentIndex(CStationConfigDialog::VELOCITY_MODEL);
    CProfilingPage* profiling = dialog.ProfilingPage();
    Choose(profiling->IntervalCombo(), 13);
    profiling->OptimizeButton(1)->click();
    profiling->SetEditCommandsRunner([](CEditCommandsDlg& edit) {
        edit.RestoreButton()->click();
        PressOk(edit);
        return true;
    });
    profiling->EditCommandsButton()->click();
    PressCancel(dialog);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(station->ToBytes(), before);
}

TEST_F(StationConfigTest, EachInnerDialogsCancelLeavesTheStationAsItWas)
{
    auto station = SavedStation();
    const std::vector<uint8_t> before = station->ToBytes();
    {
        CFlowComputerSettingsDlg fc(*station);
        Type(fc.Edit(CFlowComputerSettingsForm::Timeout), "600");
        fc.RestoreButton()->click();
        PressCancel(fc);
    }
    EXPECT_EQ(station->ToBytes(), before);
    {
        CCalcSettingsDlg calc(*station);
        calc.SetSetRunner([](CCalcSetDlg& set) {
            Type(set.BinSizeEdit(), "9");
            set.ForceStageBox()->click();
            PressCancel(set);
            return set.result() == QDialog::Accepted;
        });
        calc.SetAsker([](const std::string&) { return true; });
        calc.CreateButton()->click(); // the new set is dropped
        calc.Grid()->selectRow(0);
        calc.EditButton()->click(); // nothing stored
        calc.ExitButton()->click();
    }
    EXPECT_EQ(station->ToBytes(), before);
    {
        // Restore Defaults replaces the list at once; the page puts it back on Cancel.
        station->SetAutoCalc(0);
        station->GetCommands().SetText("WS", "77");
        CProfilingPage page(station.get()); // loading the page works the velocity range out
        const std::vector<uint8_t> edited = station->ToBytes();
        page.SetEditCommandsRunner([](CEditCommandsDlg& edit) {
            edit.RestoreButton()->click();
            PressCancel(edit);
            return edit.result() == QDialog::Accepted;
        });
        page.EditCommandsButton()->click();
        EXPECT_EQ(station->ToBytes(), edited);
    }
}

TEST_F(StationConfigTest, ChannelPageShowsEachTypeAndRedrawsAsItIsTyped)
{
    CStation station;
    station.SetStageUnits(UNIT_METERS);
    CChannelPage page(&station);
    EXPECT_EQ(page.DimLabel(0)->text(), "Width:");
    EXPECT_FALSE(page.PointsGroup()->isVisibleTo(&page));
    const auto width = [&page] {
        double x0, y0, x1, y1;
        return page.Preview()->Preview().Bounds(x0, y0, x1, y1) ? x1 - x0 : -1.0;
    };
    EXPECT_NEAR(width(), 6.096, 1e-6);
    Type(page.DimEdit(0), "8");
    EXPECT_NEAR(width(), 8.0, 1e-6);
    Type(page.YAdcpEdit(), "0.5");
    EXPECT_NEAR(station.GetGeometry().GetYAdcp(), 5000.0, 1e-6); // kept, not dropped

    page.MountingButton(3)->click(); // "Top"
    EXPECT_EQ(page.ZAdcpEdit()->text(), "N/A");
    EXPECT_FALSE(page.ZAdcpEdit()->isEnabled());

    page.TypeButton(1)->click(); // "Circular"
    EXPECT_EQ(page.DimLabel(1)->text(), "Diameter:");
    EXPECT_FALSE(page.DimEdit(0)->isVisibleTo(&page));
    EXPECT_FALSE(page.ZBottomEdit()->isVisibleTo(&page));

    page.TypeButton(2)->click(); // "Trapezoidal"
    Type(page.DimEdit(2), "0");
    EXPECT_EQ(page.Preview()->Message(), "Trapezoid - Invalid Slope");

    page.TypeButton(3)->click(); // "Multi-Point"
    EXPECT_FALSE(page.DimensionsGroup()->isVisibleTo(&page));
    EXPECT_TRUE(page.PointsGroup()->isVisibleTo(&page));
    QTableWidget* grid = page.PointsGrid();
    ASSERT_EQ(grid->rowCount(), 20);
    EXPECT_TRUE(grid->horizontalHeaderItem(0)->text().startsWith("Y"));
    // A 1 m rectangle half a metre from the datum: a row reading 0 and 0 would end the list.
    const char* points[][2] = {{"0.5", "1"}, {"0.5", "0"}, {"1.5", "0"}, {"1.5", "1"}};
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 2; ++column)
            grid->item(row, column)->setText(points[row][column]);
    EXPECT_EQ(station.GetGeometry().GetNumPoints(), 4);
    EXPECT_EQ(grid->item(3, 0)->text(), "1.50"); // shown again from the record
    EXPECT_NEAR(width(), 1.0, 1e-6);
}

TEST_F(StationConfigTest, VelocityModelPageShowsTheModelAndTheResults)
{
    CStation station;
    station.SetVelocityModel(MODEL_COMPOUND);
    station.SetCritVelocity(304.8); // 1 ft/s
    CProfilingPage page(&station);
    CVelocityModelGroup* model = page.ModelGroup();
    EXPECT_EQ(model->ModelCombo()->currentText(), "Compound Regression");
    EXPECT_EQ(model->CoefLabel(4)->text(), "Crit. Vel.");
    EXPECT_EQ(model->CoefEdit(4)->text(), "1.0");
    EXPECT_FALSE(model->Equation()->text().isEmpty());
    EXPECT_EQ(page.BinsLabel()->text(), "20");
    EXPECT_FALSE(page.VelStartEdit()->isEnabled());

    EXPECT_FALSE(page.ForcedDepthEdit()->isEnabled());
    page.ForcedDepthBox()->click();
    EXPECT_EQ(page.ForcedDepthEdit()->text(), "0.00");
    Type(page.ForcedDepthEdit(), "12");
    Choose(model->ModelCombo(), 1); // power: the typed depth is saved first, not lost
    EXPECT_EQ(station.GetVelocityModel(), MODEL_POWER);
    EXPECT_EQ(page.ForcedDepthEdit()->text(), "12.00");
    EXPECT_FALSE(model->CoefEdit(2)->isVisibleTo(&page));
    EXPECT_EQ(model->CoefLabel(0)->text(), "a");

    page.AutoCalcBox()->click();
    EXPECT_FALSE(page.OptimizeButton(1)->isEnabled());
    page.SavePage();
    EXPECT_NEAR(station.GetForcedDepth(), 36576.0, 0.05); // 12 ft
}

TEST_F(StationConfigTest, FlowComputerSettingsReportsThreeFailuresInOneMessage)
{
    CStation station;
    station.SetFlowUnits(UNIT_LITERS_PER_SECOND);
    station.SetFlow4mA(0.0);
    station.SetFlow20mA(1000000.0); // 1000 l/s
    CSystemPage page(&station, false);
    std::vector<std::string> messages;
    bool accepted = true;
    page.SetFlowComputerRunner([&](CFlowComputerSettingsDlg& fc) {
        fc.SetMessenger([&messages](const std::string& text) { messages.push_back(text); });
        EXPECT_EQ(fc.BigStepFlowLabel()->text(), "100.0 (l/s)");
        EXPECT_EQ(fc.TimeConstantLabel()->text(), "Undefined");
        Type(fc.Edit(CFlowComputerSettingsForm::TCF), "0.5");
        EXPECT_EQ(fc.TimeConstantLabel()->text(), "18.79 sec.");
        Type(fc.Edit(CFlowComputerSettingsForm::TCF), "1.5");
        Type(fc.Edit(CFlowComputerSettingsForm::Timeout), "299");
        Type(fc.Edit(CFlowComputerSettingsForm::BadReadings), "");
        Type(fc.Edit(CFlowComputerSettingsForm::BigStep), "0.2");
        EXPECT_EQ(fc.BigStepFlowLabel()->text(), "200.0 (l/s)");
        PressOk(fc);
        accepted = fc.result() == QDialog::Accepted;
        return accepted;
    });
    page.FlowComputerButton()->click();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Error, the settings are not permitted, the following errors must be fixed:\r\n"
                           " TCF must be between 0.0 and 1.0\r\n"
                           "Timeout must be between 300 and 3600 seconds\r\n"
                           "Bad readings must be between 1 and 10\r\n");
    EXPECT_FALSE(accepted);
    EXPECT_EQ(station.GetTCF(), 1.0);
    EXPECT_EQ(station.GetBigStep(), 0.1);

    page.SetFlowComputerRunner([&](CFlowComputerSettingsDlg& fc) {
        fc.RestoreButton()->click();
        EXPECT_EQ(fc.Edit(CFlowComputerSettingsForm::NoDataOutput)->text(), "3.90");
        EXPECT_EQ(fc.Edit(CFlowComputerSettingsForm::BadReadings)->text(), "2.00");
        Type(fc.Edit(CFlowComputerSettingsForm::BadReadings), "10.9");
        PressOk(fc);
        return fc.result() == QDialog::Accepted;
    });
    page.FlowComputerButton()->click();
    EXPECT_EQ(station.GetBadReadings(), 10);
    EXPECT_EQ(station.GetNoDataOutput(), 3.9);
    EXPECT_EQ(station.GetZeroScreen(), 0.025);
}

TEST_F(StationConfigTest, CalculationSetEditedPastItsSuccessorMovesBehindItAndKeepsItsForcedStage)
{
    CStation station;
    for (int hour : {10, 8, 9})
        station.AddCalcSetFromStation(CDateTime::FromParts(2024, 5, 6, hour, 0, 0));
    station.GetCalcSet(2).m_settings.m_dForcedStage = 30000.0; // the 10:00 set, once sorted
    CCalcSettingsDlg calc(station);
    QTableWidget* grid = calc.Grid();
    ASSERT_EQ(grid->rowCount(), 3);
    EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), "Channel Geometry");
    // The widths are the least a column gets; a wider font widens it rather than cutting it off.
    for (int c = 0; c < CCalcSettingsForm::COLUMNS; ++c)
        EXPECT_GE(grid->columnWidth(c), CCalcSettingsForm::ColumnWidth(c));
    EXPECT_EQ(grid->item(0, 0)->text(), "2024/05/06 08:00:00");

    std::vector<std::string> asked;
    calc.SetAsker([&asked](const std::string& q) {
        asked.push_back(q);
        return true;
    });
    int opened = 0;
    calc.SetSetRunner([&opened](CCalcSetDlg&) {
        ++opened;
        return false;
    });
    calc.EditButton()->click(); // nothing selected: nothing happens
    calc.RemoveButton()->click();
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(grid->rowCount(), 3);

    calc.SetSetRunner([](CCalcSetDlg& set) {
        EXPECT_EQ(set.TimeEdit()->displayFormat(), "yyyy/MM/dd, HH:mm:ss");
        set.TimeEdit()->setDateTime(QDateTime(QDate(2024, 5, 6), QTime(9, 30, 0), Qt::UTC));
        PressOk(set);
        return set.result() == QDialog::Accepted;
    });
    grid->selectRow(0);
    calc.EditButton()->click();
    EXPECT_EQ(asked, std::vector<std::string>{CCalcSettingsForm::EDIT_WARNING});
    EXPECT_EQ(grid->item(0, 0)->text(), "2024/05/06 09:00:00");
    EXPECT_EQ(grid->item(1, 0)->text(), "2024/05/06 09:30:00");

    calc.SetSetRunner([](CCalcSetDlg& set) {
        EXPECT_TRUE(set.ForceStageBox()->isChecked());
        Type(set.VelStopEdit(), "12");
        PressOk(set);
        return true;
    });
    grid->selectRow(2);
    calc.EditButton()->click();
    EXPECT_EQ(station.GetCalcSet(2).m_settings.m_dForcedStage, 30000.0);
    EXPECT_EQ(station.GetCalcSet(2).m_settings.m_nVelRangeStop, 12);
    EXPECT_EQ(grid->item(2, 4)->text(), "1 - 12");

    grid->selectRow(1);
    calc.RemoveButton()->click();
    EXPECT_EQ(asked.back(), CCalcSettingsForm::REMOVE_WARNING);
    EXPECT_EQ(grid->rowCount(), 2);
}

TEST_F(StationConfigTest, EditCommandsRestoreDefaultsRecalculatesWithTheAutomaticFlagClear)
{
    CStation station;
    station.SetStageUnits(UNIT_METERS);
    station.SetFrequency(3);
    station.SetMounting(MOUNTING_LEFT);
    station.GetGeometry().SetRectangular(100000.0, 30480.0);
    station.SetAutoCalc(0);
    CEditCommandsDlg edit(station);
    EXPECT_FALSE(edit.Note()->isVisibleTo(&edit));
    QTableWidget* grid = edit.Grid();
    EXPECT_EQ(grid->columnWidth(0), 115);
    EXPECT_EQ(grid->columnWidth(1), 115);
    EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), "Parameter");
    ASSERT_EQ(grid->rowCount(), 15);
    EXPECT_EQ(grid->item(4, 1)->text(), "100"); // WS of the default list

    edit.RestoreButton()->click();
    EXPECT_EQ(grid->item(4, 0)->text(), "WS");
    EXPECT_EQ(grid->item(4, 1)->text(), "50");
    EXPECT_EQ(grid->item(1, 1)->text(), "250"); // WP
    EXPECT_EQ(grid->item(5, 1)->text(), "00:00.10");

    grid->setCurrentCell(14, 0); // the last row: a new one after it
    edit.InsertButton()->click();
    grid->setCurrentCell(0, 0);
    edit.InsertButton()->click();
    grid->item(0, 0)->setText("ES");
    grid->item(0, 1)->setText("5");
    grid->setCurrentCell(1, 0);
    edit.RemoveButton()->click(); // "CR 1"
    PressOk(edit);
    const CCommandList& list = station.GetCommands();
    ASSERT_EQ(list.Count(), 16);
    EXPECT_EQ(list.WireForm(0), "ES5");
    EXPECT_EQ(list.WireForm(1), "WP250");
    EXPECT_EQ(list.WireForm(15), ""); // the empty row as an empty pair
}

} // namespace

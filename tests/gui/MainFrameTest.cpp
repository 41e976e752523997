// The main window as the operator drives it: start-up, the Stations bar, opening, new,
// copy and delete, the View menu and the data windows.
#include "tests/gui/GuiFixture.h"

#include "app/StationInfoView.h"
#include "app/StationsBar.h"
#include "ui/StationConfigDialog.h"
#include "ui/SystemPage.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <set>

namespace fs = std::filesystem;

namespace
{

void ClickRow(CStationsBar* bar, int row)
{
    QTableWidget* grid = bar->Grid();
    const QRect cell = grid->visualRect(grid->model()->index(row, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

int RowOf(CStationsBar* bar, const std::string& name)
{
    for (int r = 0; r < bar->RowCount(); ++r)
        if (bar->RowName(r) == name)
            return r;
    return -1;
}

// Fills the real System page of the dialog and presses OK, as the operator would.
std::function<bool(CStation&, bool)> TypeInDialog(const QString& siteName, const QString& group = {})
{
    return [siteName, group](CStation& station, bool isNew) {
        CStationConfigDialog dialog(station, isNew);
        dialog.SystemPage()->SiteNameEdit()->setText(siteName);
        dialog.SystemPage()->GroupEdit()->setText(group);
        dialog.accept();
        return true;
    };
}

TEST_F(GuiTest, StartUpWithoutSiteDirectoryShowsNoStation)
{
    WriteConfig(false);
    Start();
    EXPECT_EQ(m_frame->StationsBar()->RowCount(), 0);
    CStationInfoView* view = m_frame->InfoView();
    EXPECT_EQ(view->FieldText("Site Name:"), "No Station Loaded");
    EXPECT_EQ(view->FieldText("Location:"), "N/A");
    EXPECT_EQ(view->FieldText("Created:"), "N/A");
    EXPECT_EQ(view->FieldText("Orientation:"), "N/A");
    EXPECT_TRUE(view->Caption()->text().isEmpty());
    for (int b = 0; b < CStationInfoModel::BUTTON_COUNT; ++b)
        EXPECT_FALSE(view->Button(static_cast<CStationInfoModel::Button>(b))->isEnabled()) << b;
    EXPECT_TRUE(view->PortList()->isEnabled());
    EXPECT_EQ(m_frame->windowTitle(), "Tidewell");
    EXPECT_TRUE(m_prompter.m_messages.empty());
}

TEST_F(GuiTest, FramePlacementFollowsScreenWidth)
{
    WriteConfig();
    Start();
    EXPECT_EQ(m_frame->geometry(), QRect(25, 25, 975, 700));
    CMainFrame narrow(*m_app);
    const QRect before = narrow.geometry();
    narrow.PlaceOnScreen(800);
    EXPECT_EQ(narrow.geometry(), before);
}

TEST_F(GuiTest, StationsBarListsNamesAndGroups)
{
    WriteConfig();
    MakeStation("Weir");
    MakeStation("Creek", "North");
    MakeStation("Pipe", "North/Docks");
    fs::create_directories(SiteDir() / "Empty");
    Start();
    CStationsBar* bar = m_frame->StationsBar();
    ASSERT_EQ(bar->RowCount(), 3);
    std::set<std::pair<std::string, std::string>> rows;
    for (int r = 0; r < bar->RowCount(); ++r)
        rows.insert({bar->RowName(r), bar->RowGroup(r)});
    EXPECT_EQ(rows, (std::set<std::pair<std::string, std::string>>{
                        {"Weir", ""}, {"Creek", "North"}, {"Pipe", "North/Docks"}}));
    EXPECT_EQ(bar->Grid()->horizontalHeaderItem(0)->text(), "Station");
    EXPECT_EQ(bar->Grid()->horizontalHeaderItem(1)->text(), "Group");
    // Half the width each, less two pixels.
    const int half = bar->Grid()->viewport()->width() / 2 - 2;
    EXPECT_EQ(bar->Grid()->columnWidth(0), half);
    EXPECT_EQ(bar->Grid()->columnWidth(1), half);
}

TEST_F(GuiTest, ClickingARowOpensItsStation)
{
    WriteConfig();
    MakeStation("Weir", "", [](CStation& s) {
        s.SetLocation("Below the bridge");
        s.SetMounting(MOUNTING_TOP);
    });
    MakeStation("Creek", "North");
    Start();
    CStationsBar* bar = m_frame->StationsBar();
    ClickRow(bar, RowOf(bar, "Creek"));
    ASSERT_NE(m_app->GetStation(), nullptr);
    EXPECT_EQ(m_app->GetStation()->GetSiteName(), "Creek");
    EXPECT_EQ(m_app->GetStation()->GetGroup(), "North");

    ClickRow(bar, RowOf(bar, "Weir"));
    CStationInfoView* view = m_frame->InfoView();
    EXPECT_EQ(view->FieldText("Site Name:"), "Weir");
    EXPECT_EQ(view->FieldText("Location:"), "Below the bridge");
    EXPECT_EQ(view->FieldText("Created:"), "2006/01/02 03:04:05");
    EXPECT_EQ(view->FieldText("Orientation:"), "Top - Vertical");
    EXPECT_EQ(view->Caption()->text(), "Rectangular - Units in Feet");
    EXPECT_EQ(m_frame->InfoWindow()->windowTitle(), "Station Information - Weir");
    EXPECT_TRUE(view->Button(CStationInfoModel::CONFIGURE)->isEnabled());
    EXPECT_TRUE(view->Button(CStationInfoModel::REFRESH)->isEnabled());
    // Windows that do not exist yet are never faked: off, with a reason.
    EXPECT_FALSE(view->Button(CStationInfoModel::PROGRAM_VELUNIT)->isEnabled());
    EXPECT_FALSE(view->Button(CStationInfoModel::PROGRAM_VELUNIT)->toolTip().isEmpty());
}

TEST_F(GuiTest, OpeningAMissingStationFileReportsAndKeepsTheCurrent)
{
    WriteConfig();
    MakeStation("Weir");
    // A station file straight in the site directory is listed, but opening looks in its
    // own folder.
    testsupport::WriteFileText(SiteDir() / "Stray.hstn", "x");
    Start();
    CStationsBar* bar = m_frame->StationsBar();
    ClickRow(bar, RowOf(bar, "Weir"));
    ClickRow(bar, RowOf(bar, "Stray"));
    ASSERT_EQ(m_prompter.m_messages.size(), 1u);
    EXPECT_EQ(m_prompter.m_messages[0], "Failed to load " + (SiteDir() / "Stray" / "Stray.hstn").string() +
                                            " file may be in use or corrupted!");
    EXPECT_EQ(m_app->GetStation()->GetSiteName(), "Weir");
}

TEST_F(GuiTest, RefreshKeepsTheRowNumberNotTheStation)
{
    WriteConfig();
    for (const char* name : {"A1", "B2", "C3"})
        MakeStation(name);
    Start();
    CStationsBar* bar = m_frame->StationsBar();
    ClickRow(bar, 1);
    const std::string before = bar->RowName(1);
    m_frame->RefreshStationList();
    EXPECT_EQ(bar->FocusedRow(), 1);
    EXPECT_EQ(m_app->GetStation()->GetSiteName(), before);

    // Remove the station of row 0 behind the program's back: row 1 now holds another one.
    const std::string first = bar->RowName(0);
    fs::remove_all(SiteDir() / first);
    m_frame->RefreshStationList();
    ASSERT_EQ(bar->RowCount(), 2);
    EXPECT_EQ(bar->FocusedRow(), 1);
    EXPECT_EQ(m_app->GetStation()->GetSiteName(), bar->RowName(1));
}

TEST_F(GuiTest, DeletingTheThirdOfFiveReopensTheNewThird)
{
    WriteConfig();
    for (const char* name : {"S1", "S2", "S3", "S4", "S5"})
        MakeStation(name, "G");
    testsupport::WriteFileText(SiteDir() / "G" / "S1" / "20060101.001", "data");
    Start();
    CStationsBar* bar = m_frame->StationsBar();
    ClickRow(bar, 2);
    const std::string doomed = bar->RowName(2);
    m_prompter.m_answers = {true};
    m_app->DeleteStation();
    ASSERT_EQ(m_prompter.m_questions.size(), 1u);
    EXPECT_EQ(m_prompter.m_questions[0], "Are you sure you wish to delete " + doomed +
                                             ", including all data?  This operation is not reversible.");
    EXPECT_FALSE(fs::exists(SiteDir() / "G" / doomed));
    EXPECT_TRUE(fs::exists(SiteDir() / "G"));
    ASSERT_EQ(bar->RowCount(), 4);
    EXPECT_EQ(RowOf(bar, doomed), -1);
    EXPECT_EQ(m_app->GetStation()->GetSiteName(), bar->RowName(2));

    // The last row: nothing moves up, so nothing is opened and the deleted record stays.
    ClickRow(bar, 3);
    const std::string last = bar->RowName(3);
    m_prompter.m_answers = {true};
    m_app->DeleteStation();
    ASSERT_EQ(bar->RowCount(), 3);
    EXPECT_EQ(m_app->GetStation()->GetSiteName(), last);
}

TEST_F(GuiTest, AnsweringNoDeletesNothing)
{
    WriteConfig();
    MakeStation("Keep");
    Start();
    ClickRow(m_frame->StationsBar(), 0);
    m_prompter.m_answers = {false};
    m_app->DeleteStation();
    EXPECT_TRUE(fs::exists(SiteDir() / "Keep" / "Keep.hstn"));
    EXPECT_EQ(m_frame->StationsBar()->RowCount(), 1);
}

TEST_F(GuiTest, NewStationIsCheckedUntilValidThenWritten)
{
    WriteConfig();
    Start();
    m_prompter.m_edits.push_back(TypeInDialog(""));
    m_prompter.m_edits.push_back(TypeInDialog("Bad/Name", "Gr\\p"));
    m_prompter.m_edits.push_back(TypeInDialog("Lagoon", "\\East\\"));
    m_app->NewStation();
    const std::string header = "Error, the settings are not valid, please correct the following errors:\r\n";
    const std::string chars = "The site name cannot include the following characters: ?<>*/\\\r\n";
    ASSERT_EQ(m_prompter.m_messages.size(), 2u);
    EXPECT_EQ(m_prompter.m_messages[0], header + "Site name is not valid.\r\n");
    EXPECT_EQ(m_prompter.m_messages[1],
              header + chars + "The group cannot include the following characters: ?<>*/\\\r\n");
    EXPECT_TRUE(fs::exists(SiteDir() / "East" / "Lagoon" / "Lagoon.hstn"));
    ASSERT_NE(m_app->GetStation(), nullptr);
    EXPECT_EQ(m_app->GetStation()->GetGroup(), "East");
    EXPECT_EQ(RowOf(m_frame->StationsBar(), "Lagoon"), 0);
    EXPECT_EQ(m_frame->InfoView()->FieldText("Site Name:"), "Lagoon");
}

TEST_F(GuiTest, CancelledNewStationChangesNothing)
{
    WriteConfig();
    Start();
    m_app->NewStation(); // no scripted edit: Cancel
    EXPECT_EQ(m_app->GetStation(), nullptr);
    EXPECT_TRUE(fs::is_empty(SiteDir()));
}

TEST_F(GuiTest, CopyStationProposesNameCopyInNoGroup)
{
    WriteConfig();
    MakeStation("Weir", "North", [](CStation& s) { s.SetLocation("Old mill"); });
    testsupport::WriteFileText(SiteDir() / "North" / "Weir" / "20060101.001", "data");
    Start();
    ClickRow(m_frame->StationsBar(), 0);
    m_prompter.m_copyAnswers.push_back({"Weir_COPY", ""});
    m_app->CopyStation();
    ASSERT_EQ(m_prompter.m_copyProposals.size(), 1u);
    EXPECT_EQ(m_prompter.m_copyProposals[0], (std::pair<std::string, std::string>{"Weir_COPY", ""}));
    EXPECT_TRUE(fs::exists(SiteDir() / "Weir_COPY" / "Weir_COPY.hstn"));
    EXPECT_FALSE(fs::exists(SiteDir() / "Weir_COPY" / "20060101.001")); // data stays behind
    EXPECT_EQ(m_app->GetStation()->GetSiteName(), "Weir_COPY");
    EXPECT_EQ(m_app->GetStation()->GetLocation(), "Old mill");
    EXPECT_EQ(m_frame->StationsBar()->RowCount(), 2);
}

TEST_F(GuiTest, ConfigureWritesTheEditedCopyToTheSameFile)
{
    WriteConfig();
    const fs::path file = MakeStation("Weir");
    Start();
    ClickRow(m_frame->StationsBar(), 0);
    m_prompter.m_edits.push_back([](CStation& station, bool isNew) {
        EXPECT_FALSE(isNew);
        CStationConfigDialog dialog(station, isNew);
        EXPECT_FALSE(dialog.SystemPage()->SiteNameEdit()->isEnabled());
        EXPECT_FALSE(dialog.SystemPage()->GroupEdit()->isEnabled());
        dialog.SystemPage()->StageCombo()->setCurrentIndex(4); // metres
        dialog.accept();
        return true;
    });
    m_frame->InfoView()->Button(CStationInfoModel::CONFIGURE)->click();
    CStation reread;
    ASSERT_TRUE(reread.Load(file.string()));
    EXPECT_EQ(reread.GetStageUnits(), 105);
    EXPECT_EQ(m_frame->InfoView()->Caption()->text(), "Rectangular - Units in Meters");

    // Cancel keeps the station as it was.
    CStation* before = m_app->GetStation();
    m_frame->InfoView()->Button(CStationInfoModel::CONFIGURE)->click();
    EXPECT_EQ(m_app->GetStation(), before);
}

TEST_F(GuiTest, ViewMenuMarksFollowTheWindows)
{
    WriteConfig();
    Start();
    QAction* info = m_frame->InfoAction();
    QAction* stations = m_frame->StationsAction();
    EXPECT_TRUE(info->isChecked());
    EXPECT_TRUE(stations->isChecked());
    EXPECT_TRUE(m_frame->StatusBarAction()->isChecked());

    m_frame->InfoWindow()->close(); // closing only hides it
    EXPECT_FALSE(m_frame->InfoWindow()->isVisible());
    EXPECT_FALSE(info->isChecked());
    info->trigger();
    EXPECT_TRUE(m_frame->InfoWindow()->isVisible());
    EXPECT_TRUE(info->isChecked());

    stations->trigger();
    EXPECT_FALSE(m_frame->StationsBar()->isVisible());
    EXPECT_FALSE(stations->isChecked());
    m_frame->StationsBar()->show();
    EXPECT_TRUE(stations->isChecked());
}

TEST_F(GuiTest, DataWindowsAreListedUntilClosed)
{
    WriteConfig();
    MakeStation("Weir");
    Start();
    ClickRow(m_frame->StationsBar(), 0);
    QMdiSubWindow* first = m_frame->OpenDataWindow(new QLabel("one"));
    m_frame->OpenDataWindow(new QLabel("two"));
    EXPECT_EQ(first->windowTitle(), "Weir");
    EXPECT_EQ(first->geometry(), QRect(QPoint(10, 10), QPoint(650, 500)));
    ASSERT_EQ(m_app->DataWindows().size(), 2);
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(m_app->DataWindows().size(), 1);
}

TEST_F(GuiTest, ShutDownSavesAModifiedStation)
{
    WriteConfig();
    const fs::path file = MakeStation("Weir");
    Start();
    ClickRow(m_frame->StationsBar(), 0);
    m_app->GetStation()->SetLocation("Changed before exit");
    m_frame->close();
    CStation reread;
    ASSERT_TRUE(reread.Load(file.string()));
    EXPECT_EQ(reread.GetLocation(), "Changed before exit");
    EXPECT_EQ(m_app->GetStation(), nullptr);
}

TEST_F(GuiTest, LastStationIsOpenedAgainAtStartUp)
{
    WriteConfig();
    MakeStation("Weir");
    MakeStation("Creek");
    Start();
    ClickRow(m_frame->StationsBar(), RowOf(m_frame->StationsBar(), "Creek"));
    m_frame.reset();
    m_app.reset();
    Start();
    ASSERT_NE(m_app->GetStation(), nullptr);
    EXPECT_EQ(m_app->GetStation()->GetSiteName(), "Creek");
    EXPECT_EQ(m_frame->StationsBar()->RowName(m_frame->StationsBar()->FocusedRow()), "Creek");

    // Gone in the meantime: start-up stays quiet and shows no station.
    fs::remove_all(SiteDir() / "Creek");
    m_frame.reset();
    m_app.reset();
    Start();
    EXPECT_EQ(m_app->GetStation(), nullptr);
    EXPECT_TRUE(m_prompter.m_messages.empty());
}

} // namespace

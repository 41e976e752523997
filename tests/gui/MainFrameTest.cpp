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
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>

#include <cstdlib>
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
    EXPECT_TRUE(view->Button(CStationInfoModel::PROGRAM_VELUNIT)->isEnabled());
    EXPECT_TRUE(view->Button(CStationInfoModel::PROGRAM_FLOWCOMPUTER)->isEnabled());
    EXPECT_TRUE(view->Button(CStationInfoModel::LISTEN_REALTIME)->isEnabled());
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

TEST_F(GuiTest, RefreshKeepsTheStationNotTheRowNumber)
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

    // Remove another station behind the program's back: the open one stays open and marked,
    // wherever its row went.
    const std::string other = bar->RowName(0);
    fs::remove_all(SiteDir() / other);
    m_frame->RefreshStationList();
    ASSERT_EQ(bar->RowCount(), 2);
    EXPECT_EQ(m_app->GetStation()->GetSiteName(), before);
    EXPECT_EQ(bar->RowName(bar->FocusedRow()), before);
    EXPECT_EQ(m_frame->InfoView()->FieldText("Site Name:"), QString::fromStdString(before));
}

TEST_F(GuiTest, NewStationIsTheOneShownAndSelected)
{
    WriteConfig();
    for (const char* name : {"A1", "B2", "C3", "D4"})
        MakeStation(name);
    Start();
    CStationsBar* bar = m_frame->StationsBar();
    // Whichever order the folder gives, the new station lands before or after the marked row.
    for (int row : {0, 3}) {
        ClickRow(bar, row);
        const std::string name = "N" + std::to_string(row);
        m_prompter.m_edits.push_back(TypeInDialog(QString::fromStdString(name)));
        m_app->NewStation();
        ASSERT_NE(m_app->GetStation(), nullptr);
        EXPECT_EQ(m_app->GetStation()->GetSiteName(), name);
        ASSERT_GE(bar->FocusedRow(), 0);
        EXPECT_EQ(bar->RowName(bar->FocusedRow()), name);
        EXPECT_EQ(m_frame->InfoView()->FieldText("Site Name:"), QString::fromStdString(name));
    }
    EXPECT_TRUE(m_prompter.m_messages.empty());
}

TEST_F(GuiTest, NewStationWhoseFolderCannotBeMadeNamesItAndKeepsTheCurrent)
{
    WriteConfig();
    MakeStation("Weir");
    // A file where the group folder of the new station would go.
    testsupport::WriteFileText(SiteDir() / "North", "not a folder");
    Start();
    ClickRow(m_frame->StationsBar(), RowOf(m_frame->StationsBar(), "Weir"));
    m_prompter.m_edits.push_back(TypeInDialog("Creek", "North"));
    m_app->NewStation(); // the dialog comes back once more; then Cancel
    ASSERT_EQ(m_prompter.m_messages.size(), 1u);
    const std::string& message = m_prompter.m_messages[0];
    EXPECT_EQ(message.rfind("System Error! Could not create station directory!\r\n", 0), 0u) << message;
    EXPECT_NE(message.find((SiteDir() / "North").string()), std::string::npos) << message;
    EXPECT_NE(message.find("File exists"), std::string::npos) << message;
    ASSERT_NE(m_app->GetStation(), nullptr);
    EXPECT_EQ(m_app->GetStation()->GetSiteName(), "Weir");
    EXPECT_EQ(m_frame->InfoView()->FieldText("Site Name:"), "Weir");
    EXPECT_EQ(m_frame->StationsBar()->RowCount(), 1);
}

TEST_F(GuiTest, CopyWhoseFolderCannotBeMadeNamesItAndKeepsTheCurrent)
{
    WriteConfig();
    MakeStation("Weir");
    testsupport::WriteFileText(SiteDir() / "South", "not a folder");
    Start();
    ClickRow(m_frame->StationsBar(), 0);
    m_prompter.m_copyAnswers.push_back({"Weir_COPY", "South"});
    m_app->CopyStation();
    ASSERT_EQ(m_prompter.m_messages.size(), 1u);
    EXPECT_EQ(m_prompter.m_messages[0].rfind("System Error! Could not create station directory!\r\n", 0), 0u);
    EXPECT_NE(m_prompter.m_messages[0].find((SiteDir() / "South").string() + ": File exists"),
              std::string::npos);
    EXPECT_EQ(m_app->GetStation()->GetSiteName(), "Weir");
    EXPECT_EQ(m_app->GetStation()->GetFilePath(), (SiteDir() / "Weir" / "Weir.hstn").string());
}

TEST_F(GuiTest, FirstStartMakesTheDefaultSiteFolderAndANewStationWorks)
{
    // An account that never ran the program: no settings file, no site folder.
    const fs::path home = m_temp.Path() / "home";
    fs::create_directory(home);
    const char* oldHome = std::getenv("HOME");
    const std::string savedHome = oldHome ? oldHome : "";
    ::setenv("HOME", home.c_str(), 1);
    Start();
    const fs::path site = home / "Tidewell" / "Config";
    EXPECT_TRUE(fs::is_directory(site));
    EXPECT_EQ(m_frame->statusBar()->currentMessage(),
              QString::fromStdString("Created the site folder " + site.string()));
    m_prompter.m_edits.push_back(TypeInDialog("First"));
    m_app->NewStation();
    EXPECT_TRUE(m_prompter.m_messages.empty());
    EXPECT_TRUE(fs::exists(site / "First" / "First.hstn"));
    EXPECT_EQ(RowOf(m_frame->StationsBar(), "First"), 0);

    // The next start has nothing to say about it.
    m_frame.reset();
    m_app.reset();
    Start();
    EXPECT_NE(m_frame->statusBar()->currentMessage(),
              QString::fromStdString("Created the site folder " + site.string()));
    if (oldHome)
        ::setenv("HOME", savedHome.c_str(), 1);
    else
        ::unsetenv("HOME");
}

TEST_F(GuiTest, AStationThatDidNotLoadCleanlySaysSoAndNeverPrograms)
{
    WriteConfig();
    MakeStation("Weir");
    fs::create_directory(SiteDir() / "Future");
    testsupport::WriteFileBytes(SiteDir() / "Future" / "Future.hstn", {3, 0, 0, 0});
    Start();
    CStationsBar* bar = m_frame->StationsBar();
    ClickRow(bar, RowOf(bar, "Weir"));
    CStationInfoView* view = m_frame->InfoView();
    const QString clean = view->Button(CStationInfoModel::PROGRAM_VELUNIT)->toolTip();
    EXPECT_TRUE(m_prompter.m_messages.empty());

    ClickRow(bar, RowOf(bar, "Future"));
    ASSERT_EQ(m_prompter.m_messages.size(), 1u);
    EXPECT_EQ(m_prompter.m_messages[0], "Error, station file has invalid version number.");
    for (auto b : {CStationInfoModel::PROGRAM_VELUNIT, CStationInfoModel::PROGRAM_FLOWCOMPUTER}) {
        EXPECT_FALSE(view->Button(b)->isEnabled());
        EXPECT_TRUE(view->Button(b)->toolTip().contains("did not load cleanly"))
            << view->Button(b)->toolTip().toStdString();
        EXPECT_TRUE(view->Button(b)->toolTip().contains("invalid version number"));
    }

    // Back on a clean station the reason goes with it.
    ClickRow(bar, RowOf(bar, "Weir"));
    EXPECT_EQ(view->Button(CStationInfoModel::PROGRAM_VELUNIT)->toolTip(), clean);
    EXPECT_EQ(m_prompter.m_messages.size(), 1u);
}

TEST_F(GuiTest, AWarningOfACleanLoadIsShownButLeavesProgrammingAlone)
{
    WriteConfig();
    MakeStation("Weir");
    MakeStation("Long");
    std::vector<unsigned char> bytes = testsupport::ReadFileBytes(SiteDir() / "Long" / "Long.hstn");
    bytes.insert(bytes.end(), {1, 2, 3});
    testsupport::WriteFileBytes(SiteDir() / "Long" / "Long.hstn", bytes);
    Start();
    CStationsBar* bar = m_frame->StationsBar();
    ClickRow(bar, RowOf(bar, "Weir"));
    CStationInfoView* view = m_frame->InfoView();
    const QString clean = view->Button(CStationInfoModel::PROGRAM_VELUNIT)->toolTip();
    const bool enabled = view->Button(CStationInfoModel::PROGRAM_VELUNIT)->isEnabled();
    m_prompter.m_messages.clear();

    ClickRow(bar, RowOf(bar, "Long"));
    ASSERT_EQ(m_prompter.m_messages.size(), 1u);
    EXPECT_NE(m_prompter.m_messages[0].find("3 bytes after the last field"), std::string::npos)
        << m_prompter.m_messages[0];
    EXPECT_EQ(view->Button(CStationInfoModel::PROGRAM_VELUNIT)->toolTip(), clean);
    EXPECT_EQ(view->Button(CStationInfoModel::PROGRAM_VELUNIT)->isEnabled(), enabled);
}

TEST_F(GuiTest, DeleteIsNotOfferedForAStationWithoutAName)
{
    WriteConfig();
    MakeStation("Weir");
    fs::create_directory(SiteDir() / "Future");
    testsupport::WriteFileBytes(SiteDir() / "Future" / "Future.hstn", {3, 0, 0, 0});
    Start();
    QAction* del = m_frame->DeleteAction();
    EXPECT_FALSE(del->isEnabled()); // nothing open
    CStationsBar* bar = m_frame->StationsBar();
    ClickRow(bar, RowOf(bar, "Weir"));
    EXPECT_TRUE(del->isEnabled());
    EXPECT_EQ(del->toolTip(), "Delete station (Permanent!)");

    ClickRow(bar, RowOf(bar, "Future")); // read as defaults: no site name
    ASSERT_EQ(m_app->GetStation()->GetSiteName(), "");
    EXPECT_FALSE(del->isEnabled());
    EXPECT_TRUE(del->toolTip().contains("no site name")) << del->toolTip().toStdString();
    m_prompter.m_messages.clear();
    m_prompter.m_answers = {true};
    m_app->DeleteStation(); // reached some other way: says why, asks nothing, deletes nothing
    EXPECT_TRUE(m_prompter.m_questions.empty());
    ASSERT_EQ(m_prompter.m_messages.size(), 1u);
    EXPECT_NE(m_prompter.m_messages[0].find("no site name"), std::string::npos);
    EXPECT_TRUE(fs::exists(SiteDir() / "Future" / "Future.hstn"));
    EXPECT_TRUE(fs::exists(SiteDir() / "Weir" / "Weir.hstn"));
}

TEST_F(GuiTest, HelpAndVersionNeedNoDisplay)
{
    const std::string program = TIDEWELL_APP_PATH;
    const std::string env = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ";
    auto help = testsupport::RunCommand(env + "'" + program + "' --help", {});
    EXPECT_EQ(help.status, 0) << help.err;
    EXPECT_NE(help.out.find("Usage: tidewell"), std::string::npos) << help.out;
    auto version = testsupport::RunCommand(env + "'" + program + "' --version", {});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "tidewell 1.03\n");
    auto bad = testsupport::RunCommand(env + "'" + program + "' --nonsense 2>&1", {});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.out, "tidewell: unknown option --nonsense (see --help)\n");
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

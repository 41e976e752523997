// The data view as the operator meets it: panes from the preferences, moving the current
// ensemble with the keys and clicks, copied and exported rows, "View Data" with its message,
// the list of data windows, and the program opening a data view from its command line.
#include "tests/gui/GuiFixture.h"

#include "app/StationInfoView.h"
#include "app/StationsBar.h"
#include "data/Units.h"
#include "present/StationInfoModel.h"
#include "present/ViewDataLoad.h"
#include "sim/DataGenerator.h"
#include "views/ContourCtrl.h"
#include "views/DataView.h"
#include "views/GraphCtrl.h"
#include "views/HydrographCtrl.h"
#include "views/WhiskerCtrl.h"

#include <QAction>
#include <QClipboard>
#include <QImage>
#include <QItemSelectionModel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QTest>

#include <set>

namespace fs = std::filesystem;

namespace
{

class DataViewTest : public GuiTest
{
  protected:
    // A station in feet with a data file of `count` PD0 ensembles (and more parts after it).
    fs::path MakeStationWithFile(const std::function<void(CStation&)>& adjust = {}, int count = 5,
                                 std::vector<SDataGenOptions> more = {})
    {
        WriteConfig();
        m_station = MakeStation("Weir", "", [&](CStation& s) {
            s.SetStageUnits(UNIT_FEET);
            s.SetVelocityUnits(UNIT_FEET_PER_SECOND);
            if (adjust)
                adjust(s);
        });
        SDataGenOptions o;
        o.m_nCount = count;
        o.m_nCells = 10;
        more.insert(more.begin(), o);
        std::vector<uint8_t> bytes;
        for (const SDataGenOptions& part : more) {
            const SDataGenResult r = CDataGenerator(part).Generate();
            bytes.insert(bytes.end(), r.m_bytes.begin(), r.m_bytes.end());
        }
        const fs::path file = m_station.parent_path() / "20051203.000";
        testsupport::WriteFileBytes(file, bytes);
        Start();
        m_app->OpenStation("Weir", "");
        return file;
    }

    CDataView* Open(const std::string& name = "20051203.000")
    {
        CDataView* view = m_frame->ViewData(name);
        if (view)
            view->SetMessageHandler(
                [this](const QString& text) { m_viewMessages.push_back(text.toStdString()); });
        return view;
    }

    // The panes of the outer splitter, top to bottom.
    static std::vector<QWidget*> Panes(CDataView* view)
    {
        std::vector<QWidget*> panes;
        if (view->Panes())
            for (int i = 0; i < view->Panes()->count(); ++i)
                panes.push_back(view->Panes()->widget(i));
        return panes;
    }

    fs::path m_station;
    std::vector<std::string> m_viewMessages;
};

TEST_F(DataViewTest, PanesAreTheOnesThePreferencesChoose)
{
    MakeStationWithFile([](CStation& s) {
        CGraphPrefs prefs;
        prefs.m_bQVD = prefs.m_bWhisker = prefs.m_bContours = 0;
        prefs.m_bVectors = prefs.m_bAmplitude = prefs.m_bCorrelation = prefs.m_bBinVelocities = 0;
        s.SetGraphPrefs(prefs);
    });
    CDataView* tableOnly = Open();
    ASSERT_NE(tableOnly, nullptr);
    EXPECT_EQ(Panes(tableOnly), std::vector<QWidget*>{tableOnly->Table()});
    EXPECT_EQ(tableOnly->Hydrograph(), nullptr);
    EXPECT_EQ(tableOnly->BeamPanes(), nullptr);

    // Changing the preferences reaches views opened afterwards only.
    CGraphPrefs contours;
    contours.m_bTabular = contours.m_bQVD = contours.m_bWhisker = 0;
    contours.m_bVectors = contours.m_bAmplitude = contours.m_bCorrelation = contours.m_bBinVelocities = 0;
    m_app->GetStation()->SetGraphPrefs(contours);
    CDataView* contoursOnly = Open();
    EXPECT_EQ(Panes(contoursOnly), std::vector<QWidget*>{contoursOnly->Contours()});
    EXPECT_EQ(contoursOnly->Table(), nullptr);
    EXPECT_EQ(Panes(tableOnly).size(), 1u);

    CGraphPrefs all;
    all.m_bBinVelocities = 1;
    m_app->GetStation()->SetGraphPrefs(all);
    CDataView* full = Open();
    const std::vector<QWidget*> panes = Panes(full);
    ASSERT_EQ(panes.size(), 5u);
    EXPECT_EQ(panes[0], full->Hydrograph());
    EXPECT_EQ(panes[1], full->Whisker());
    EXPECT_EQ(panes[2], full->BeamPanes());
    EXPECT_EQ(panes[3], full->Contours());
    EXPECT_EQ(panes[4], full->Table());
    ASSERT_EQ(full->BeamPanes()->count(), 4);
    EXPECT_EQ(full->BeamPanes()->widget(0), full->BeamGraphCtrl(BeamGraph::Vectors));
    EXPECT_EQ(full->BeamPanes()->widget(1), full->BeamGraphCtrl(BeamGraph::BinVelocities));
    EXPECT_EQ(full->BeamPanes()->widget(2), full->BeamGraphCtrl(BeamGraph::Correlation));
    EXPECT_EQ(full->BeamPanes()->widget(3), full->BeamGraphCtrl(BeamGraph::Amplitude));
    for (QWidget* pane : panes)
        EXPECT_EQ(pane->minimumHeight(), 30);
    // The beam graphs show the current ensemble, correlation on its fixed scale.
    const CGraphModel& correlation = full->BeamGraphCtrl(BeamGraph::Correlation)->Model();
    EXPECT_FALSE(correlation.m_arrSeries[0].empty());
    EXPECT_EQ(correlation.m_dYMin, 0.0);
    EXPECT_EQ(correlation.m_dYMax, 255.0);
    EXPECT_FALSE(full->Whisker()->Whiskers().m_arrWhiskers.empty());
    EXPECT_EQ(m_app->DataWindows().size(), 3);
}

TEST_F(DataViewTest, KeysAndClicksMoveTheCurrentEnsembleWithinTheList)
{
    MakeStationWithFile();
    CDataView* view = Open();
    ASSERT_NE(view, nullptr);
    QTableView* table = view->Table();
    table->setFocus();
    auto current = [&] { return view->Model().GetCurrent(); };
    auto selectedRow = [&] {
        const QModelIndexList rows = table->selectionModel()->selectedRows();
        return rows.size() == 1 ? rows.front().row() : -1;
    };
    EXPECT_EQ(current(), 0);
    EXPECT_EQ(selectedRow(), 0);
    QTest::keyClick(table, Qt::Key_Down);
    QTest::keyClick(table, Qt::Key_Right);
    EXPECT_EQ(current(), 2);
    QTest::keyClick(table, Qt::Key_PageDown); // the third of five: the fifth
    EXPECT_EQ(current(), 4);
    EXPECT_EQ(selectedRow(), 4);
    QTest::keyClick(table, Qt::Key_Down); // past the last stays on the last
    EXPECT_EQ(current(), 4);
    QTest::keyClick(table, Qt::Key_Home);
    QTest::keyClick(table, Qt::Key_Right);
    EXPECT_EQ(current(), 1);
    QTest::keyClick(table, Qt::Key_PageUp); // the second: the first
    EXPECT_EQ(current(), 0);
    QTest::keyClick(table, Qt::Key_Up);
    EXPECT_EQ(current(), 0);
    QTest::keyClick(table, Qt::Key_End);
    EXPECT_EQ(current(), 4);
    EXPECT_EQ(selectedRow(), 4);

    // A click on a table row.
    const QRect row2 = table->visualRect(table->model()->index(2, 1));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, row2.center());
    EXPECT_EQ(current(), 2);

    // A click in the hydrograph: the ensemble nearest in time, and the cursor follows.
    CHydrographCtrl* hydrograph = view->Hydrograph();
    const QRect plot = hydrograph->PlotRect();
    QTest::mouseClick(hydrograph, Qt::LeftButton, {}, QPoint(plot.left() + 1, plot.center().y()));
    EXPECT_EQ(current(), 0);
    EXPECT_DOUBLE_EQ(hydrograph->CursorTime(), view->Model().List().GetAt(0).GetTime());
    QTest::mouseClick(hydrograph, Qt::LeftButton, {}, QPoint(plot.right(), plot.center().y()));
    EXPECT_EQ(current(), 4);
    EXPECT_EQ(selectedRow(), 4);
}

TEST_F(DataViewTest, NoDataLeavesAnEmptyCellAndAGapAndAxesTakeTheStationsUnits)
{
    // Three ensembles with a range, one without (no stage), three with.
    SDataGenOptions noRange;
    noRange.m_nCount = 1;
    noRange.m_nCells = 10;
    noRange.m_nFirstNumber = 4;
    noRange.m_nMinute = 30;
    noRange.m_bWithRange = false;
    SDataGenOptions after = noRange;
    after.m_nCount = 3;
    after.m_nFirstNumber = 5;
    after.m_nMinute = 40;
    after.m_bWithRange = true;
    MakeStationWithFile({}, 3, {noRange, after});
    CDataView* view = Open();
    ASSERT_EQ(view->Model().GetCount(), 7u);
    QAbstractItemModel* cells = view->Table()->model();
    EXPECT_EQ(cells->headerData(3, Qt::Horizontal).toString(), "Stage (ft)");
    EXPECT_EQ(cells->data(cells->index(3, 3)).toString(), "");
    EXPECT_NE(cells->data(cells->index(2, 3)).toString(), "");
    EXPECT_EQ(cells->data(cells->index(3, 0)).toString(), "4");

    const CHydrograph& h = view->Model().Hydrograph();
    EXPECT_EQ(h.Title(CHydrograph::STAGE), "Stage (ft)");
    EXPECT_EQ(h.Title(CHydrograph::VELOCITY), "Velocity (ft/s)");
    EXPECT_EQ(view->BeamGraphCtrl(BeamGraph::Vectors)->Model().m_arrSeries[0].empty(), false);

    // The stage curve is drawn in two pieces: the columns around the missing value hold
    // none of its green.
    CHydrographCtrl* ctrl = view->Hydrograph();
    ctrl->resize(700, 300);
    const QImage image = ctrl->grab().toImage();
    const CGraphModel& axis = ctrl->Axis(CHydrograph::STAGE);
    int x3 = 0, x2 = 0, x4 = 0, y = 0;
    ASSERT_TRUE(axis.DataToPixel(h.Times()[3], axis.m_dYMin, 700, 300, x3, y));
    ASSERT_TRUE(axis.DataToPixel(h.Times()[2], axis.m_dYMin, 700, 300, x2, y));
    ASSERT_TRUE(axis.DataToPixel(h.Times()[4], axis.m_dYMin, 700, 300, x4, y));
    auto greenIn = [&](int column) {
        for (int row = 0; row < image.height(); ++row)
            if (image.pixelColor(column, row) == QColor(0, 255, 0))
                return true;
        return false;
    };
    EXPECT_TRUE(greenIn(x2 - 1)); // on the curve just before the gap
    EXPECT_FALSE(greenIn(x3));
    EXPECT_FALSE(greenIn((x2 + x4) / 2));
}

TEST_F(DataViewTest, CopyGivesTheSelectedRowsOrTheWholeTable)
{
    MakeStationWithFile();
    CDataView* view = Open();
    QTableView* table = view->Table();
    QItemSelectionModel* selection = table->selectionModel();
    selection->select(table->model()->index(1, 0),
                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    selection->select(table->model()->index(3, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    const CDataTable& t = view->Model().Table();
    auto rowText = [&](size_t r) {
        std::string line;
        for (int c = 0; c < t.GetColumnCount(); ++c)
            line += (c ? "\t" : "") + t.CellText(r, c);
        return line;
    };
    const std::string expected = "Number\tDate/Time\tRange (ft)\tStage (ft)\tIndex Velocity (ft/s)\tVelocity "
                                 "(ft/s)\tArea (sq ft)\tFlow (MGD)\n" +
                                 rowText(1) + "\n" + rowText(3) + "\n";
    EXPECT_EQ(rowText(1).substr(0, 22), "2\t2005/12/03 00:10:00\t");
    // Ctrl+C in the table and the Edit menu's Copy put the same text on the clipboard.
    QApplication::clipboard()->clear();
    table->setFocus();
    QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), expected);
    QApplication::clipboard()->clear();
    m_frame->MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(view->parentWidget()));
    ASSERT_TRUE(m_frame->CopyAction()->isEnabled());
    m_frame->CopyAction()->trigger();
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), expected);

    selection->clearSelection();
    const std::string all = view->CopyText().toStdString();
    EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 6);
    EXPECT_EQ(all.substr(0, 7), "Number\t");
}

TEST_F(DataViewTest, ExportWritesWhatTheToolExportsAndNeverAHalfFile)
{
    const fs::path file =
        MakeStationWithFile({}, 4, {[] {
                                SDataGenOptions restart; // a numbering restart: a separator row
                                restart.m_nCount = 2;
                                restart.m_nCells = 10;
                                restart.m_nDay = 4;
                                return restart;
                            }()});
    CDataView* view = Open();
    ASSERT_EQ(view->Model().GetCount(), 7u);
    view->Table()->selectionModel()->clearSelection();
    const fs::path csv = m_temp.Path() / "out.csv";
    ASSERT_TRUE(view->ExportCsv(QString::fromStdString(csv.string())));
    const auto tool = testsupport::RunCommand(std::string("'") + TIDEWELL_TOOL_PATH + "' data export '" +
                                              file.string() + "' --station '" + m_station.string() + "'");
    ASSERT_EQ(tool.status, 0) << tool.err;
    EXPECT_EQ(testsupport::ReadFileText(csv), tool.out);
    // The separator is an empty row.
    EXPECT_NE(tool.out.find("\n,,,,,,,\n"), std::string::npos);

    // A file that cannot be written: a message, and the old contents stay.
    const fs::path nowhere = m_temp.Path() / "missing" / "out.csv";
    EXPECT_FALSE(view->ExportCsv(QString::fromStdString(nowhere.string())));
    EXPECT_FALSE(fs::exists(nowhere));
    ASSERT_EQ(m_viewMessages.size(), 1u);
    EXPECT_NE(m_viewMessages[0].find(nowhere.string()), std::string::npos);
    EXPECT_FALSE(m_frame->ExportAction() == nullptr);
}

TEST_F(DataViewTest, ViewDataOpensADataWindowAndSaysWhenTheFileCannotBeRead)
{
    const fs::path file = MakeStationWithFile();
    testsupport::WriteFileText(file.parent_path() / "20051204.001", "not an ensemble");
    CStationInfoView* info = m_frame->InfoView();
    info->RefreshDataList();
    ASSERT_EQ(info->DataList()->count(), 2);
    QPushButton* viewData = info->Button(CStationInfoModel::VIEW_DATA);
    EXPECT_TRUE(viewData->isEnabled());
    info->DataList()->setCurrentRow(0); // 20051203.000
    viewData->click();
    ASSERT_EQ(m_app->DataWindows().size(), 1);
    auto* window = qobject_cast<QMdiSubWindow*>(m_app->DataWindows().front());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), "Weir");
    auto* view = qobject_cast<CDataView*>(window->widget());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->Model().GetCount(), 5u);
    EXPECT_TRUE(m_prompter.m_messages.empty());

    info->DataList()->setCurrentRow(1);
    viewData->click();
    ASSERT_EQ(m_prompter.m_messages.size(), 1u);
    const std::string bad = (file.parent_path() / "20051204.001").string();
    EXPECT_EQ(m_prompter.m_messages[0], ViewDataErrorText(bad));
    // The view still opens, empty.
    ASSERT_EQ(m_app->DataWindows().size(), 2);
    auto* empty =
        qobject_cast<CDataView*>(qobject_cast<QMdiSubWindow*>(m_app->DataWindows().back())->widget());
    EXPECT_EQ(empty->Model().GetCount(), 0u);
    QTest::keyClick(empty->Table(), Qt::Key_End); // nothing to move to
    EXPECT_EQ(empty->Model().GetCurrent(), -1);

    // A closed window leaves the list.
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(m_app->DataWindows().size(), 1);
}

TEST_F(DataViewTest, TheProgramOpensADataViewFromItsCommandLine)
{
    const fs::path file = MakeStationWithFile();
    const std::string png = (m_temp.Path() / "view.png").string();
    auto run = [&](const std::string& data) {
        return testsupport::RunCommand(
            "QT_QPA_PLATFORM=offscreen timeout 120 '" + std::string(TIDEWELL_APP_PATH) + "' --config '" +
            ConfigPath().string() + "' --station Weir --view-data '" + data + "' --grab '" + png + "'");
    };
    const auto ok = run("20051203.000");
    EXPECT_EQ(ok.status, 0) << ok.err;
    QImage image(QString::fromStdString(png));
    ASSERT_FALSE(image.isNull());
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            colours.insert(image.pixel(x, y));
    EXPECT_GT(colours.size(), 50u);

    fs::remove(png);
    const auto bad = run((m_temp.Path() / "nothing.000").string());
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("could not open the file"), std::string::npos) << bad.err;
}

} // namespace

// The station information view: data file list, summaries and their ranges, Refresh.
#include "tests/gui/GuiFixture.h"

#include "app/StationInfoView.h"
#include "app/StationsBar.h"
#include "data/NoData.h"
#include "data/Units.h"
#include "present/StationInfoModel.h"

#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>

namespace fs = std::filesystem;

namespace
{

CDataSummary Summary(const std::string& name)
{
    CDataSummary s;
    s.m_strFileName = name;
    s.m_dtStart = CDateTime::FromParts(2006, 1, 1, 0, 0, 0);
    s.m_dtStop = CDateTime::FromParts(2006, 1, 2, 12, 30, 0);
    s.m_nEnsembles = 217;
    s.m_nEnsembleType = 3;
    return s;
}

class InfoViewTest : public GuiTest
{
  protected:
    // A metric station with three data files: two summarised, one unreadable.
    void MakeStationWithData()
    {
        WriteConfig();
        m_file = MakeStation("Weir", "", [](CStation& s) {
            s.SetStageUnits(UNIT_METERS);
            s.SetVelocityUnits(UNIT_METERS_PER_SECOND);
            CDataSummary one = Summary("20060101.001");
            one.m_dStageMax = 30000; // no minimum
            one.m_dVelocityMin = 250;
            one.m_dVelocityMax = 1250;
            s.AddSummary(one);
            CDataSummary two = Summary("20060102.002");
            two.m_nEnsembleType = 2;
            s.AddSummary(two);
            s.AddSummary(Summary("19990101.009")); // its file is gone
        });
        for (const char* name : {"20060101.001", "20060102.002", "20060103.003"})
            testsupport::WriteFileText(m_file.parent_path() / name, "not an ensemble");
        testsupport::WriteFileText(m_file.parent_path() / "notes.txt", "n");
        Start();
        m_frame->StationsBar()->SelectRow(0);
        m_app->OpenStation("Weir", "");
        m_view = m_frame->InfoView();
    }

    void Select(const QString& name)
    {
        const auto items = m_view->DataList()->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1);
        m_view->DataList()->setCurrentItem(items[0]);
    }

    fs::path m_file;
    CStationInfoView* m_view = nullptr;
};

TEST_F(InfoViewTest, ListsDataFilesAndDropsSummariesOfMissingOnes)
{
    MakeStationWithData();
    ASSERT_EQ(m_view->DataList()->count(), 3);
    EXPECT_EQ(m_view->DataList()->currentRow(), 0);
    EXPECT_FALSE(m_app->GetStation()->HasSummary("19990101.009"));
    // The cleaned cache was written back.
    CStation reread;
    ASSERT_TRUE(reread.Load(m_file.string()));
    EXPECT_FALSE(reread.HasSummary("19990101.009"));
    EXPECT_TRUE(reread.HasSummary("20060101.001"));
}

TEST_F(InfoViewTest, SummaryRangesWithOneBoundMissing)
{
    MakeStationWithData();
    Select("20060101.001");
    EXPECT_EQ(m_view->FieldText("Start Time:"), "2006/01/01 00:00:00");
    EXPECT_EQ(m_view->FieldText("Stop Time:"), "2006/01/02 12:30:00");
    EXPECT_EQ(m_view->FieldText("Ensembles:"), "217");
    EXPECT_EQ(m_view->FieldText("Stage Range:"), "3.00 m");
    EXPECT_EQ(m_view->FieldText("Velocity Range:"), "0.25 - 1.25 m/s");
    EXPECT_EQ(m_view->FieldText("Flow Range:"), "Not Available");
    EXPECT_EQ(m_view->FieldText("Ensemble Type:"), "PD0");
}

TEST_F(InfoViewTest, FileWithoutSummaryShowsNotAvailableEverywhere)
{
    MakeStationWithData();
    Select("20060102.002");
    EXPECT_EQ(m_view->FieldText("Ensemble Type:"), "PD14");
    Select("20060103.003"); // unreadable: no summary
    for (const char* field :
         {"Start Time:", "Stop Time:", "Ensembles:", "Stage Range:", "Velocity Range:", "Flow Range:"})
        EXPECT_EQ(m_view->FieldText(field), "Not Available") << field;
    // Not the type of the file selected before.
    EXPECT_EQ(m_view->FieldText("Ensemble Type:"), "Not Available");
}

TEST_F(InfoViewTest, RefreshRereadsAndKeepsTheSelection)
{
    MakeStationWithData();
    const int row = m_view->DataList()->currentRow() == 2 ? 1 : 2;
    m_view->DataList()->setCurrentRow(row);
    const QString selected = m_view->DataList()->currentItem()->text();
    m_view->Button(CStationInfoModel::REFRESH)->click();
    EXPECT_EQ(m_view->DataList()->currentRow(), row);
    EXPECT_EQ(m_view->DataList()->currentItem()->text(), selected);
    // Every summary was dropped and none of the junk files gives one back.
    EXPECT_EQ(m_app->GetStation()->GetSummaryCount(), 0);
    EXPECT_EQ(m_view->FieldText("Stage Range:"), "Not Available");
}

TEST_F(InfoViewTest, StationWithoutDataFilesShowsNoOtherStationsFigures)
{
    MakeStationWithData();
    Select("20060101.001");
    EXPECT_EQ(m_view->FieldText("Stage Range:"), "3.00 m");
    MakeStation("Empty");
    m_frame->RefreshStationList();
    m_app->OpenStation("Empty", "");
    EXPECT_EQ(m_view->DataList()->count(), 0);
    for (const char* field : {"Start Time:", "Stop Time:", "Ensembles:", "Stage Range:", "Velocity Range:",
                              "Flow Range:", "Ensemble Type:"})
        EXPECT_EQ(m_view->FieldText(field), "") << field;
    EXPECT_TRUE(m_view->Button(CStationInfoModel::CONFIGURE)->isEnabled());
}

TEST_F(InfoViewTest, DataFilesAreListedByName)
{
    MakeStationWithData();
    QStringList shown;
    for (int i = 0; i < m_view->DataList()->count(); ++i)
        shown << m_view->DataList()->item(i)->text();
    EXPECT_EQ(shown, (QStringList{"20060101.001", "20060102.002", "20060103.003"}));
    // The summary shown is the selected row's.
    m_view->DataList()->setCurrentRow(1);
    EXPECT_EQ(m_view->FieldText("Ensemble Type:"), "PD14");
}

TEST_F(InfoViewTest, EveryButtonCaptionKeepsAMargin)
{
    MakeStationWithData();
    m_frame->InfoWindow()->resize(m_frame->InfoWindow()->minimumSizeHint());
    QApplication::processEvents();
    for (int b = 0; b < CStationInfoModel::BUTTON_COUNT; ++b) {
        const QPushButton* button = m_view->Button(static_cast<CStationInfoModel::Button>(b));
        const int text = button->fontMetrics().horizontalAdvance(button->text());
        EXPECT_GE(button->width(), text + 2 * CStationInfoView::kCaptionMargin)
            << button->text().toStdString();
    }
}

} // namespace

// The Export Series dialog and its button in the station information view: the fields the
// presenter proposes, an export run on the worker with its progress, refused input.
#include "tests/gui/GuiFixture.h"

#include "app/StationInfoView.h"
#include "data/FileSummary.h"
#include "station/StationFlowSettings.h"
#include "tests/series/SeriesFixture.h"
#include "ui/SeriesExportDialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include <chrono>

namespace
{

class SeriesExportDialogTest : public GuiTest
{
  protected:
    // A station with one data file a day from 14 March 2025 on, summarised.
    void MakeData(int days)
    {
        m_station = seriestest::MakeStation();
        for (int d = 0; d < days; ++d) {
            const std::string name = "day" + std::to_string(d) + ".000";
            seriestest::WriteData(m_temp / name, seriestest::Minutes({.day = 14 + d, .hour = 8}, 30));
            m_names.push_back(name);
            CDataSummary summary;
            ASSERT_TRUE(SummarizeFile((m_temp / name).string(), FlowSettingsTableOf(m_station), summary));
            summary.m_strFileName = name;
            m_station.AddSummary(summary);
        }
    }

    static void WaitWhileExporting(const CSeriesExportDialog& dialog)
    {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (dialog.IsExporting() && std::chrono::steady_clock::now() < limit)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QCoreApplication::processEvents();
    }

    CStation m_station;
    std::vector<std::string> m_names;
};

} // namespace

TEST_F(SeriesExportDialogTest, ExportsTheChosenQuantityWithProgressForManyFiles)
{
    MakeData(5);
    CSeriesExportDialog dialog(m_station, m_temp.Path().string(), m_names);
    EXPECT_EQ(dialog.windowTitle(), "Export Series - Mill Race");
    EXPECT_EQ(dialog.FromEdit()->text(), "2025-03-14");
    EXPECT_EQ(dialog.ToEdit()->text(), "2025-03-19");
    EXPECT_EQ(dialog.OffsetEdit()->text(), "+00:00");
    EXPECT_EQ(dialog.FileEdit()->text().toStdString(),
              (m_temp / "Mill_Race_2025-03-14_2025-03-19.csv").string());

    dialog.QuantityBox()->setCurrentIndex(CSeriesExportModel::QUANTITY_ONLY_FLOW);
    dialog.FormatBox()->setCurrentIndex(CSeriesExportModel::FORMAT_WATERML2);
    EXPECT_TRUE(dialog.FileEdit()->text().endsWith(".xml"));
    dialog.ExportButton()->click();
    EXPECT_TRUE(dialog.Progress()->isVisibleTo(&dialog)); // five files: more than a few
    EXPECT_FALSE(dialog.ExportButton()->isEnabled());
    WaitWhileExporting(dialog);
    ASSERT_FALSE(dialog.IsExporting());
    EXPECT_TRUE(dialog.ExportButton()->isEnabled());
    EXPECT_EQ(dialog.CloseButton()->text(), "Close");
    EXPECT_TRUE(dialog.Status()->text().startsWith("150 ensembles exported to "))
        << dialog.Status()->text().toStdString();
    const std::string xml = testsupport::ReadFileText(dialog.FileEdit()->text().toStdString());
    EXPECT_NE(xml.find("<wml2:Collection"), std::string::npos);
    EXPECT_NE(xml.find("gml:id=\"timeseries-flow\""), std::string::npos);
    EXPECT_EQ(xml.find("timeseries-stage"), std::string::npos);
}

TEST_F(SeriesExportDialogTest, FewFilesNeedNoProgressAndBadInputIsShownNotExported)
{
    MakeData(2);
    CSeriesExportDialog dialog(m_station, m_temp.Path().string(), m_names);
    dialog.FromEdit()->setText("14 March");
    dialog.OffsetEdit()->setText("CET");
    dialog.ExportButton()->click();
    EXPECT_FALSE(dialog.IsExporting());
    EXPECT_TRUE(dialog.Status()->text().contains("From: not a time"));
    EXPECT_TRUE(dialog.Status()->text().contains("UTC offset:"));

    dialog.FromEdit()->setText("2025-03-15");
    dialog.OffsetEdit()->setText("+01:00");
    dialog.ExportButton()->click();
    EXPECT_FALSE(dialog.Progress()->isVisibleTo(&dialog));
    WaitWhileExporting(dialog);
    EXPECT_TRUE(dialog.Status()->text().startsWith("30 ensembles exported"))
        << dialog.Status()->text().toStdString();
    const std::string csv = testsupport::ReadFileText(dialog.FileEdit()->text().toStdString());
    EXPECT_NE(csv.find("\n2025-03-15T08:00:00+01:00,"), std::string::npos);
}

TEST_F(SeriesExportDialogTest, InformationViewOffersTheExportForAStationWithData)
{
    WriteConfig();
    const auto file = MakeStation("Weir");
    seriestest::WriteData(file.parent_path() / "a.000", seriestest::Minutes({.hour = 8}, 3));
    MakeStation("Empty");
    Start();
    m_app->OpenStation("Weir", "");
    CStationInfoView* view = m_frame->InfoView();
    ASSERT_NE(view->ExportSeriesButton(), nullptr);
    EXPECT_EQ(view->ExportSeriesButton()->text(), "Export Series...");
    EXPECT_TRUE(view->ExportSeriesButton()->isEnabled());
    m_app->OpenStation("Empty", "");
    EXPECT_FALSE(view->ExportSeriesButton()->isEnabled());
}

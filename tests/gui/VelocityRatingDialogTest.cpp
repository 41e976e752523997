// The Velocity Rating window: what the controls show of its presenter, and the way in from
// the station information view.
#include "ui/VelocityRatingDialog.h"
#include "app/StationInfoView.h"
#include "data/Units.h"
#include "sim/DataGenerator.h"
#include "tests/gui/GuiFixture.h"
#include "tests/support/TestSupport.h"
#include "ui/ProfilingPage.h"
#include "ui/StationConfigDialog.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>

namespace
{

class VelocityRatingDialogTest : public GuiTest
{
  protected:
    // A station with a day of data and four hourly measurements of V = Vi (the generator's
    // velocities give varied index velocities); the fourth one is excluded.
    std::filesystem::path MakeRatedStation()
    {
        WriteConfig();
        const auto file = MakeStation("Basin", {}, [](CStation& s) {
            s.SetStageUnits(UNIT_METERS);
            s.SetVelocityUnits(UNIT_METERS_PER_SECOND);
            s.SetFlowUnits(UNIT_CUBIC_METERS_PER_SECOND);
            s.GetGeometry().SetType(CHANNEL_RECTANGULAR);
            s.GetGeometry().SetRectangular(50000.0, 40000.0);
        });
        SDataGenOptions o;
        o.m_nCount = 144;
        EXPECT_TRUE(CDataGenerator(o).WriteFile((file.parent_path() / "20051203.001").string()));
        testsupport::WriteFileText(file.parent_path() / "m.csv",
                                   "id,start,end,discharge,exclude\n"
                                   "A,2005-12-03 01:55:00,2005-12-03 02:05:00,0.5,0\n"
                                   "B,2005-12-03 05:55:00,2005-12-03 06:05:00,0.9,0\n"
                                   "C,2005-12-03 09:55:00,2005-12-03 10:05:00,1.1,0\n"
                                   "D,2005-12-03 13:55:00,2005-12-03 14:05:00,0.7,1\n");
        return file;
    }
};

TEST_F(VelocityRatingDialogTest, ShowsTheTableReportAndPlots)
{
    const auto file = MakeRatedStation();
    CStation station;
    ASSERT_TRUE(station.Load(file.string()));
    CVelocityRatingDialog dialog(station, QString());
    ASSERT_TRUE(dialog.ImportFile(QString::fromStdString((file.parent_path() / "m.csv").string())));
    QTableWidget* table = dialog.Table();
    ASSERT_EQ(table->rowCount(), 4);
    EXPECT_EQ(table->columnCount(), CVelocityRatingModel::COLUMN_COUNT);
    EXPECT_EQ(table->horizontalHeaderItem(CVelocityRatingModel::COL_DISCHARGE)->text(), "Discharge (cu m/s)");
    EXPECT_EQ(table->item(3, CVelocityRatingModel::COL_EXCLUDE)->checkState(), Qt::Checked);
    EXPECT_EQ(table->item(0, CVelocityRatingModel::COL_PAIRED)->text(), "within (1)");
    EXPECT_TRUE(dialog.ReportView()->toPlainText().contains("Linear: V = B1 + B2 x Vi"));
    // Three fitted points, one excluded, the curve.
    EXPECT_EQ(dialog.RatingGraph()->Model().m_arrSeries[1].size(), 6u);
    EXPECT_EQ(dialog.RatingGraph()->Model().m_arrSeries[2].size(), 2u);
    EXPECT_FALSE(dialog.RatingGraph()->Model().m_arrSeries[0].empty());
    // The picker offers the first measurement's start.
    EXPECT_EQ(dialog.ApplyStart()->dateTime(), QDateTime(QDate(2005, 12, 3), QTime(1, 55, 0)));

    // Ticking the fourth row in brings it into the fit; typing a bad number stops the fit.
    table->item(3, CVelocityRatingModel::COL_EXCLUDE)->setCheckState(Qt::Unchecked);
    QApplication::processEvents();
    EXPECT_EQ(dialog.Model().Fit().m_nN, 4);
    table->item(1, CVelocityRatingModel::COL_DISCHARGE)->setText(QStringLiteral("x"));
    QApplication::processEvents();
    EXPECT_FALSE(dialog.Model().CanApply());
    EXPECT_TRUE(dialog.ReportView()->toPlainText().startsWith("The fit waits"));
    EXPECT_EQ(dialog.Table()->item(1, CVelocityRatingModel::COL_PAIRED)->text(), "bad row");

    dialog.ModelChoice()->setCurrentIndex(2);
    EXPECT_EQ(dialog.Model().GetModel(), RatingModel::Power);
}

TEST_F(VelocityRatingDialogTest, OpensFromTheStationInformationView)
{
    MakeRatedStation();
    Start();
    m_app->OpenStation("Basin", "");
    CStationInfoView* view = m_frame->InfoView();
    ASSERT_NE(view, nullptr);
    QPushButton* button = view->RatingButton();
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), "Velocity Rating...");
    EXPECT_TRUE(button->isEnabled());
    button->click();
    QApplication::processEvents();
    CVelocityRatingDialog* dialog = view->findChild<CVelocityRatingDialog*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), "Velocity Rating - Basin");
    dialog->close();
}

TEST_F(VelocityRatingDialogTest, FromTheVelocityModelPageItRatesTheCopyThatOkKeeps)
{
    const auto file = MakeRatedStation();
    const std::string before = testsupport::ReadFileText(file);
    for (const bool ok : {false, true}) {
        CStation station;
        ASSERT_TRUE(station.Load(file.string()));
        CStationConfigDialog config(station, false);
        config.show();
        config.Tabs()->setCurrentIndex(CStationConfigDialog::VELOCITY_MODEL);
        QPushButton* open = nullptr;
        for (QPushButton* b : config.findChildren<QPushButton*>())
            if (b->text() == "Velocity Rating...")
                open = b;
        ASSERT_NE(open, nullptr);
        open->click();
        QApplication::processEvents();
        CVelocityRatingDialog* rating = config.findChild<CVelocityRatingDialog*>();
        ASSERT_NE(rating, nullptr);
        ASSERT_TRUE(rating->ImportFile(QString::fromStdString((file.parent_path() / "m.csv").string())));
        // Stored as the Velocity Model page types them: B1 is the fitted intercept.
        ASSERT_TRUE(rating->Model().Fit().m_bOk);
        const double intercept = rating->Model().Fit().m_dModelCoef[0];
        ASSERT_NE(intercept, 0.0);
        std::string message;
        ASSERT_TRUE(rating->Model().ApplyAsStationModel(message)) << message;
        emit rating->stationChanged(); // as the window's own Apply does after its question
        rating->close();
        QApplication::processEvents();
        // Nothing is written while the configuration dialog is open, and the station itself
        // changes only with OK.
        EXPECT_EQ(testsupport::ReadFileText(file), before);
        EXPECT_EQ(station.GetModelCoef(0), CStation().GetModelCoef(0));
        if (ok)
            config.accept();
        else
            config.reject();
        EXPECT_EQ(station.GetModelCoef(0), ok ? intercept : CStation().GetModelCoef(0));
    }
}

} // namespace

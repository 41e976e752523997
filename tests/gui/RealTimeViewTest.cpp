// The real-time data view: on a line of its own (simulation keys, the ticks, the moving-average
// row, close), from "Listen Realtime" on a pseudo-terminal with a deployed unit behind it, and at
// the end of the road that starts with "Program Velunit".
#include "tests/gui/GuiFixture.h"

#include "app/StationInfoView.h"
#include "data/DataFiles.h"
#include "data/NoData.h"
#include "link/Clock.h"
#include "link/SimLine.h"
#include "link/ui/CommunicationsDlg.h"
#include "present/StationInfoModel.h"
#include "sim/VelunitPtyServer.h"
#include "views/ContourCtrl.h"
#include "views/DataTableModel.h"
#include "views/RealTimeView.h"

#include <QLabel>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <thread>

namespace
{

// A simulated unit behind a pseudo-terminal on its own thread, deployed through flushes.
struct CDeployedUnit {
    explicit CDeployedUnit(const std::string& site, int compression)
    {
        SVelunitConfig config;
        config.m_strSiteName = site;
        config.m_nTimeCompression = compression;
        server = std::make_unique<CVelunitPtyServer>(CSystemClock::Instance(), config);
        server->SetFlushWakesDeployed(false);
    }
    bool Start(std::string& error)
    {
        if (!server->Open(error))
            return false;
        thread = std::thread([this] { server->Run(stop); });
        return true;
    }
    // Wakes the unit (a flush stands for the break on this line) and starts it recording.
    bool Deploy()
    {
        CSerialPort port;
        if (!port.Open(server->SlavePath(), 9600))
            return false;
        port.Flush();
        std::string banner, echo;
        return port.ReadUntil(banner, 3000, '>') && port.Write("CS\n") && port.ReadUntil(echo, 3000, '\n');
    }
    void Stop()
    {
        stop = true;
        if (thread.joinable())
            thread.join();
    }
    ~CDeployedUnit() { Stop(); }
    std::unique_ptr<CVelunitPtyServer> server;
    std::atomic<bool> stop{false};
    std::thread thread;
};

class RealTimeViewTest : public GuiTest
{
  protected:
    // The station "Weir" on COM 3, which the settings file maps to the device given.
    CStationInfoView* Open(const std::string& device)
    {
        WriteConfig();
        testsupport::WriteFileText(ConfigPath(),
                                   testsupport::ReadFileText(ConfigPath()) + "COM3=" + device + "\n");
        MakeStation("Weir", "", [](CStation& s) {
            s.SetComPort(3);
            s.SetFrequency(3);
        });
        Start();
        EXPECT_TRUE(m_app->OpenStation("Weir", ""));
        return m_frame->InfoView();
    }
    std::string StationDir() const { return m_app->GetStationDirectory(*m_app->GetStation()); }

    std::vector<CRealTimeView*> LiveViews() const
    {
        std::vector<CRealTimeView*> views;
        for (CRealTimeView* view : m_frame->findChildren<CRealTimeView*>())
            views.push_back(view);
        return views;
    }

    static std::vector<std::string> RecordingFiles(const std::string& dir)
    {
        std::vector<std::string> names;
        for (const std::string& name : ListDataFiles(dir))
            if (name.rfind("rt", 0) == 0)
                names.push_back(name);
        return names;
    }
};

TEST_F(RealTimeViewTest, SimulationKeysMakeAnEnsembleAtTheNextTickShownRecordedAndAveraged)
{
    CStation station;
    station.SetSiteName("Weir");
    CVirtualClock clock(CDateTime::FromParts(2026, 12, 8, 10, 0, 0));
    CSimLine line;
    auto port = std::make_unique<CSerialPort>(&clock);
    ASSERT_TRUE(port->Attach(line.TakeHostEnd(), 9600));
    SLiveRecorderSetup setup;
    setup.m_strStationDir = (m_temp.Path() / "live").string();
    std::filesystem::create_directories(setup.m_strStationDir);
    setup.m_pClock = &clock;
    CRealTimeView view(station, std::move(port), setup);
    view.resize(640, 490);
    view.show();
    EXPECT_TRUE(view.IsPortOpen());
    EXPECT_TRUE(view.Timer()->isActive());
    EXPECT_EQ(view.Timer()->interval(), 1000);
    ASSERT_NE(view.Table(), nullptr);
    auto* table = qobject_cast<CDataTableModel*>(view.Table()->model());
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(table->headerData(0, Qt::Horizontal).toString().endsWith("\n---"));
    EXPECT_TRUE(table->headerData(1, Qt::Horizontal).toString().endsWith("\nMoving Avg."));

    // Nothing is due without the sequence; typed on the table it counts once per key.
    EXPECT_EQ(view.Tick(), 0);
    QTest::keyClicks(view.Table(), "sim");
    EXPECT_TRUE(view.Recorder().IsSimulating());
    EXPECT_EQ(view.Tick(), 1);
    EXPECT_EQ(view.Model().GetCount(), 1u);
    EXPECT_EQ(view.Model().GetCurrent(), 0);
    EXPECT_EQ(view.Table()->model()->rowCount(), 1);
    ASSERT_EQ(view.Recorder().RecordingFiles().size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(view.Recorder().RecordingFiles()[0]));
    // The averages follow the one value shown.
    const std::vector<std::string> averages = view.MovingAverageRow();
    ASSERT_GE(averages.size(), 3u);
    EXPECT_FALSE(averages[2].empty());
    EXPECT_TRUE(
        table->headerData(2, Qt::Horizontal).toString().endsWith(QString::fromStdString(averages[2])));
    for (int tick = 0; tick < 9; ++tick) {
        clock.Advance(CLiveRecorder::TICK_MS);
        EXPECT_EQ(view.Tick(), 0) << tick;
    }
    clock.Advance(CLiveRecorder::TICK_MS);
    EXPECT_EQ(view.Tick(), 1);
    EXPECT_EQ(view.Model().GetCurrent(), 1);

    // The map of the contours follows the time the ensembles span.
    ASSERT_NE(view.Contours(), nullptr);
    const SContourGrid& grid = view.Contours()->EnsureGrid();
    EXPECT_GT(std::count_if(grid.m_arrValues.begin(), grid.m_arrValues.end(),
                            [](double v) { return !IsNoData(v); }),
              0);

    // The operator looks back; the next ensemble brings the current one to the end again.
    QTest::keyClick(view.Table(), Qt::Key_Home);
    EXPECT_EQ(view.Model().GetCurrent(), 0);
    QTest::keyClicks(&view, "SIM");
    EXPECT_FALSE(view.Recorder().IsSimulating());
    EXPECT_TRUE(view.StatusLine()->isHidden());

    view.close();
    EXPECT_FALSE(view.Timer()->isActive());
    EXPECT_FALSE(view.Recorder().IsRecording());
    EXPECT_EQ(view.Model().GetCount(), 2u);
}

TEST_F(RealTimeViewTest, AFailingRecordingFileIsShownOnTheStatusLineAndTheEnsemblesStay)
{
    CStation station;
    CVirtualClock clock(CDateTime::FromParts(2026, 12, 8, 10, 0, 0));
    CSimLine line;
    auto port = std::make_unique<CSerialPort>(&clock);
    ASSERT_TRUE(port->Attach(line.TakeHostEnd(), 9600));
    SLiveRecorderSetup setup;
    setup.m_strStationDir = (m_temp.Path() / "no-such-folder").string();
    setup.m_pClock = &clock;
    CRealTimeView view(station, std::move(port), setup);
    view.show();
    QTest::keyClicks(&view, "SIM");
    EXPECT_EQ(view.Tick(), 1);
    EXPECT_EQ(view.Model().GetCount(), 1u);
    EXPECT_FALSE(view.StatusLine()->isHidden());
    EXPECT_EQ(view.StatusLine()->text(), QString::fromLatin1(CLiveRecorder::RECORDING_WARNING));
}

TEST_F(RealTimeViewTest, ALostConnectionIsShownTheTimerStopsAndTheEnsemblesStay)
{
    CStation station;
    CVirtualClock clock(CDateTime::FromParts(2026, 12, 8, 10, 0, 0));
    CSimLine line;
    auto port = std::make_unique<CSerialPort>(&clock);
    ASSERT_TRUE(port->Attach(line.TakeHostEnd(), 9600));
    SLiveRecorderSetup setup;
    setup.m_strStationDir = m_temp.Path().string();
    setup.m_pClock = &clock;
    CRealTimeView view(station, std::move(port), setup);
    view.show();
    QTest::keyClicks(&view, "SIM");
    EXPECT_EQ(view.Tick(), 1);
    line.Shutdown();
    view.Tick();
    EXPECT_TRUE(view.Recorder().IsPortLost());
    EXPECT_FALSE(view.Timer()->isActive());
    EXPECT_FALSE(view.StatusLine()->isHidden());
    EXPECT_EQ(view.StatusLine()->text(), QString::fromLatin1(CLiveRecorder::PORT_LOST_MESSAGE));
    EXPECT_EQ(view.Model().GetCount(), 1u);
}

TEST_F(RealTimeViewTest, ListenRealtimeOnAPortThatWillNotOpenSaysSoAndOpensNothing)
{
    CStationInfoView* info = Open((m_temp.Path() / "no-such-device").string());
    QPushButton* listen = info->Button(CStationInfoModel::LISTEN_REALTIME);
    ASSERT_TRUE(listen->isEnabled());
    listen->click();
    EXPECT_EQ(m_prompter.m_messages,
              std::vector<std::string>{"Error, could not open COM 3, check port is not in use."});
    EXPECT_TRUE(LiveViews().empty());
    EXPECT_EQ(CRealTimeView::PortErrorText("COM 12").toStdString(),
              "Error, could not open COM 12, check port is not in use.");
}

TEST_F(RealTimeViewTest, ListenRealtimeRecordsADeployedUnitAndRefreshListsTheFile)
{
    CDeployedUnit unit("Weir", 30); // a 30-second ensemble every second
    std::string error;
    ASSERT_TRUE(unit.Start(error)) << error;
    ASSERT_TRUE(unit.Deploy());
    CStationInfoView* info = Open(unit.server->SlavePath());
    const int filesBefore = info->DataList()->count();

    info->Button(CStationInfoModel::LISTEN_REALTIME)->click();
    EXPECT_TRUE(m_prompter.m_messages.empty());
    ASSERT_EQ(LiveViews().size(), 1u);
    CRealTimeView* view = LiveViews()[0];
    EXPECT_NE(qobject_cast<QMdiSubWindow*>(view->parentWidget()), nullptr);
    ASSERT_TRUE(QTest::qWaitFor([view] { return view->Model().GetCount() >= 3; }, 10000));
    const CEnsembleList& list = view->Model().List();
    for (size_t i = 1; i < list.GetCount(); ++i)
        EXPECT_EQ(list.GetValue(i, DATATYPE_NUMBER), list.GetValue(i - 1, DATATYPE_NUMBER) + 1);
    EXPECT_EQ(view->Model().GetCurrent(), static_cast<long>(list.GetCount()) - 1);
    const std::vector<std::string> files = RecordingFiles(StationDir());
    ASSERT_EQ(files.size(), 1u);
    const size_t shown = list.GetCount();
    qobject_cast<QMdiSubWindow*>(view->parentWidget())->close();
    EXPECT_TRUE(QTest::qWaitFor([this] { return LiveViews().empty(); }, 2000));

    info->Button(CStationInfoModel::REFRESH)->click();
    EXPECT_EQ(info->DataList()->count(), filesBefore + 1);
    const auto items = info->DataList()->findItems(QString::fromStdString(files[0]), Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1);
    info->DataList()->setCurrentItem(items[0]);
    EXPECT_EQ(info->FieldText("Ensembles:").toStdString(), std::to_string(shown));
    EXPECT_FALSE(info->FieldText("Start Time:").isEmpty());
}

TEST_F(RealTimeViewTest, ProgramVelunitYesOpensTheLiveViewOnTheSamePortWhichRecords)
{
    CDeployedUnit unit("Weir", 30);
    std::string error;
    ASSERT_TRUE(unit.Start(error)) << error;
    CStationInfoView* info = Open(unit.server->SlavePath());

    std::vector<std::string> questions;
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, &questions] {
        auto* dialog = qobject_cast<CCommunicationsDlg*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->IsOpened())
            return;
        timer->stop();
        timer->deleteLater();
        CCommunicationsDlg::SPrompts prompts;
        prompts.m_ask = [&questions](const std::string& question) {
            questions.push_back(question);
            return true;
        };
        dialog->SetPrompts(std::move(prompts));
        QTimer::singleShot(0, dialog, [dialog] { dialog->Button(CCommunicationsDlg::PROGRAM)->click(); });
    });
    timer->start();
    info->Button(CStationInfoModel::PROGRAM_VELUNIT)->click();

    ASSERT_FALSE(questions.empty());
    EXPECT_EQ(questions.back(), "Successfully programmed unit, would you like to view real-time data?");
    EXPECT_TRUE(m_prompter.m_messages.empty());
    EXPECT_EQ(m_app->GetStation()->GetCalcSetCount(), 1);
    ASSERT_EQ(LiveViews().size(), 1u);
    CRealTimeView* view = LiveViews()[0];
    EXPECT_TRUE(view->IsPortOpen());
    ASSERT_TRUE(QTest::qWaitFor([view] { return view->Model().GetCount() >= 2; }, 10000));
    EXPECT_EQ(unit.server->Simulator().State(), CVelunitSimulator::deployed);
    const std::vector<std::string> files = RecordingFiles(StationDir());
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(view->Recorder().RecordingFiles().at(0), StationDir() + "/" + files[0]);
    // What the file holds is what the unit sent and recorded, from the first ensemble shown on.
    const size_t shown = view->Recorder().List().GetCount();
    view->Timer()->stop();
    unit.Stop();
    const std::string recorded = testsupport::ReadFileText(StationDir() + "/" + files[0]);
    const auto& card = unit.server->Simulator().Recorder().Bytes();
    const std::string sent(card.begin(), card.end());
    ASSERT_FALSE(recorded.empty());
    EXPECT_NE(sent.find(recorded), std::string::npos);
    size_t bytes = 0;
    for (size_t i = 0; i < shown; ++i)
        bytes += view->Recorder().List().GetAt(i).GetSize();
    EXPECT_EQ(recorded.size(), bytes);
}

} // namespace

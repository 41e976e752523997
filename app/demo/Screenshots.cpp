// tidewell-screenshots OUT_DIR [--all]: starts the program's windows on the settings file named
// by TIDEWELL_CONFIG (the demo site), at 1280 x 800, and saves what the operator sees: the main
// window with the current station, the station information view, the three pages of the Station
// Configuration dialog (the Channel page on the trapezoidal Mill Creek and on a multi-point
// section), the Flow Computer Settings (with a failed check), Calculation Settings, calculation
// set and Edit Commands dialogs, a data view of the station's longest data file with every pane
// (all four beam graphs and the velocity contours), and the Velunit Communications (connected,
// then part-way through a download) and Program Flow Computer windows against simulated units,
// and, for a station with reference measurements, the Velocity Rating window. With --all, also
// every station's information view and the smaller dialogs, for checking the layout. Run it
// under Xvfb for a screen of that size.
#include "app/MainFrame.h"
#include "app/StationApp.h"
#include "app/StationInfoView.h"
#include "app/StationsBar.h"
#include "link/PortOpener.h"
#include "link/SerialPort.h"
#include "link/SimLine.h"
#include "link/ui/CommunicationsDlg.h"
#include "link/ui/ProgramFlowComputerDlg.h"
#include "present/FlowComputerSettingsForm.h"
#include "present/ViewDataLoad.h"
#include "settings/Profiling.h"
#include "sim/FlowComputerSim.h"
#include "sim/VelunitLineDriver.h"
#include "sim/YmodemSender.h"
#include "station/GraphPrefs.h"
#include "station/Station.h"
#include "ui/AppSettingsDialog.h"
#include "ui/CalcSetDlg.h"
#include "ui/CalcSettingsDlg.h"
#include "ui/ChannelPage.h"
#include "ui/CopyStationDialog.h"
#include "ui/EditCommandsDlg.h"
#include "ui/FlowComputerSettingsDlg.h"
#include "ui/GraphPrefsDialog.h"
#include "ui/StationConfigDialog.h"
#include "ui/VelocityRatingDialog.h"
#include "views/DataView.h"
#include "views/RealTimeView.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <thread>

namespace
{

bool Save(QWidget* widget, const QString& path)
{
    // Let layouts, fonts and the graph settle before the picture is taken.
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
        QTest::qWait(100);
    }
    const bool ok = widget->grab().save(path);
    std::printf("%s%s\n", qPrintable(path), ok ? "" : " (could not be written)");
    return ok;
}

// The simulated unit's usual sender with a real pause before it answers each ACK, so that the
// download lasts long enough to be pictured part-way.
class CPacedTransfer : public IVelunitTransfer
{
  public:
    CPacedTransfer(std::unique_ptr<IVelunitTransfer> inner, int pauseMs)
        : m_inner(std::move(inner)), m_ms(pauseMs)
    {
    }
    void OnByte(unsigned char byte) override
    {
        if (byte == 0x06)
            std::this_thread::sleep_for(std::chrono::milliseconds(m_ms));
        m_inner->OnByte(byte);
    }
    bool Finished() const override { return m_inner->Finished(); }

  private:
    std::unique_ptr<IVelunitTransfer> m_inner;
    int m_ms;
};

void Settle(int rounds = 5)
{
    for (int i = 0; i < rounds; ++i) {
        QApplication::processEvents();
        QTest::qWait(100);
    }
}

// The real-time view listening to a deployed unit on a simulated line for an hour of its
// time (30-second ensembles, time compressed), recording into a scratch folder.
bool SaveRealTimeView(const CStation& station, CMainFrame& frame, const QDir& out)
{
    QTemporaryDir scratch;
    CVirtualClock clock(CDateTime::FromParts(2026, 12, 8, 10, 0, 0));
    CSimLine line;
    SVelunitConfig config;
    config.m_strSiteName = station.GetSiteName();
    config.m_nTimeCompression = 60; // two ensembles a second
    CVelunitLineDriver driver(line, clock, config);
    auto port = std::make_unique<CSerialPort>(&clock);
    std::string banner, echo;
    if (!port->Attach(line.TakeHostEnd(), 9600) || !port->SendBreak(300) ||
        !port->ReadUntil(banner, 2000, '>') || !port->Write("CS\n") || !port->ReadUntil(echo, 1000, '\n')) {
        std::fprintf(stderr,
                     "tidewell-screenshots: the simulated unit did not deploy; no realtime-view.png\n");
        return false;
    }
    SLiveRecorderSetup setup;
    setup.m_strStationDir = scratch.path().toStdString();
    setup.m_pClock = &clock;
    CStation copy(station);
    CGraphPrefs prefs = copy.GetGraphPrefs();
    prefs.m_bQVD = prefs.m_bWhisker = prefs.m_bTabular = 1;
    prefs.m_bContours = 0;
    prefs.m_bVectors = prefs.m_bAmplitude = 1;
    prefs.m_bCorrelation = prefs.m_bBinVelocities = 0;
    copy.SetGraphPrefs(prefs);
    auto* view = new CRealTimeView(copy, std::move(port), setup);
    // The ticks are driven here, on the simulated clock.
    view->Timer()->stop();
    QMdiSubWindow* window = frame.OpenDataWindow(view);
    window->setGeometry(0, 0, 1000, 760);
    frame.MdiArea()->setActiveSubWindow(window);
    for (int tick = 0; tick < 60; ++tick) {
        clock.Advance(CLiveRecorder::TICK_MS);
        view->Tick();
    }
    const bool ok = Save(window, out.filePath("realtime-view.png"));
    window->close();
    return ok;
}

// The Station Configuration dialog on a copy of the station, on one page.
bool SavePage(CStation& station, int page, const QString& path, QWidget* parent)
{
    CStation copy(station);
    CStationConfigDialog dialog(copy, false, parent);
    dialog.show();
    dialog.Tabs()->setCurrentIndex(page);
    const bool ok = Save(&dialog, path);
    dialog.reject();
    return ok;
}

// A natural channel surveyed bank to bank: the multi-point section of the points picture.
void SurveyedSection(CStation& station)
{
    CChannelGeometry& g = station.GetGeometry();
    g.SetType(CHANNEL_MULTIPOINT);
    g.ClearPoints();
    const double feet[][2] = {{0.0, 9.0},  {3.0, 6.5},  {6.0, 4.0},  {9.5, 2.2},  {13.0, 1.0}, {17.0, 0.6},
                              {21.0, 0.8}, {25.0, 1.6}, {28.0, 3.4}, {31.0, 6.0}, {33.0, 9.0}};
    for (const auto& p : feet)
        g.AddPoint(ToInternalUnits(p[0], UNIT_FEET), ToInternalUnits(p[1], UNIT_FEET));
    g.SetZAdcp(ToInternalUnits(2.0, UNIT_FEET));
}

// Three reprogrammings of the station, the last after the model was recalibrated.
void CalculationHistory(CStation& station)
{
    station.AddCalcSetFromStation(CDateTime::FromParts(2006, 2, 14, 10, 5, 0));
    station.AddCalcSetFromStation(CDateTime::FromParts(2006, 6, 1, 8, 30, 0));
    station.AddCalcSetFromStation(CDateTime::FromParts(2006, 9, 20, 16, 45, 12));
    CCalcSet& recalibrated = station.GetCalcSet(2);
    recalibrated.m_settings.m_nVelocityModel = MODEL_COMPOUND;
    const double coef[4] = {0.02, 0.91, -0.05, 0.97};
    for (int i = 0; i < 4; ++i)
        recalibrated.m_settings.m_dModelCoef[i] = coef[i];
    recalibrated.m_settings.m_dCritVelocity = 400.0;
    recalibrated.m_settings.m_nVelRangeStart = 2;
    recalibrated.m_settings.m_nVelRangeStop = 12;
    station.GetCalcSet(1).m_settings.m_dForcedStage = ToInternalUnits(1.5, station.GetStageUnits());
}

// The Flow Computer Settings dialog with three values out of bounds and the message box the
// check shows over it, as one picture of that part of the screen.
bool SaveFlowComputerError(CStation& station, const QString& path, QWidget* parent)
{
    CFlowComputerSettingsDlg dialog(station, parent);
    dialog.move(0, 0);
    dialog.show();
    std::string message;
    dialog.SetMessenger([&message](const std::string& text) { message = text; });
    dialog.Edit(CFlowComputerSettingsForm::TCF)->setText(QStringLiteral("1.5"));
    dialog.Edit(CFlowComputerSettingsForm::Timeout)->setText(QStringLiteral("90"));
    dialog.Edit(CFlowComputerSettingsForm::BadReadings)->setText(QStringLiteral("12"));
    dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    QString shown = QString::fromStdString(message);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(QMessageBox::Warning, dialog.windowTitle(), shown.trimmed(), QMessageBox::Ok, &dialog);
    box.show();
    Settle();
    const QRect area = dialog.frameGeometry();
    box.move(area.center() - QPoint(box.width() / 2, box.height() / 2));
    Settle();
    // The screen shows both windows as they overlap; without a screen to read, the two
    // pictures are put together the same way.
    QPixmap picture = dialog.grab();
    QPainter painter(&picture);
    const QRect boxArea(box.geometry().topLeft() - area.topLeft(), box.size());
    painter.drawPixmap(boxArea.topLeft(), box.grab());
    // The frame a window manager would give the box.
    painter.setPen(QPen(QColor(90, 90, 90), 1));
    painter.drawRect(boxArea.adjusted(0, 0, -1, -1));
    painter.end();
    const bool ok = picture.save(path);
    std::printf("%s%s\n", qPrintable(path), ok ? "" : " (could not be written)");
    box.close();
    dialog.reject();
    return ok;
}

// The "Velunit Communications" window on a simulated unit that matches the station: connected
// after a System Test, then part-way through a download. What the visit writes goes to a
// scratch folder, not into the demo site.
bool SaveCommunications(CStation& station, QWidget* parent, const QDir& out, const std::string& scratch)
{
    SVelunitConfig config;
    config.m_strSiteName = station.GetInstrumentId();
    config.m_nFrequencyHz = station.GetFrequency() == 3   ? 1228800
                            : station.GetFrequency() == 2 ? 614400
                                                          : 307200;
    config.m_strRecorderPath = scratch + "/recorder.bin";
    {
        // A recorder card with a day of data on it, as far as the picture is concerned.
        std::ofstream card(config.m_strRecorderPath, std::ios::binary | std::ios::trunc);
        for (int i = 0; i < 96 * 1024; ++i)
            card.put(static_cast<char>(i * 31 + 7));
    }
    VelunitTransferFactory usual = CYmodemSender::Factory();
    config.m_transferFactory = [usual](const std::string& name, const std::vector<unsigned char>& data,
                                       std::function<void(const std::string&)> send) {
        return std::make_unique<CPacedTransfer>(usual(name, data, std::move(send)), 25);
    };
    CSimLine line;
    CVelunitLineDriver unit(line, CSystemClock::Instance(), config, true);

    SCommunicationsSetup setup;
    setup.m_strStationDir = scratch;
    CCommunicationsDlg dialog(station, "COM 1", setup, parent);
    CCommunicationsDlg::SPrompts prompts;
    prompts.m_ask = [](const std::string&) { return false; };
    prompts.m_show = [](const std::string& text) {
        std::fprintf(stderr, "tidewell-screenshots: %s\n", text.c_str());
    };
    dialog.SetPrompts(std::move(prompts));
    dialog.SetOpen([&line](CCommunicationsController& c) { return c.OpenStream(line.TakeHostEnd()); });
    dialog.show();
    if (!QTest::qWaitFor([&] { return dialog.IsOpened(); }, 20000))
        return false;
    dialog.Button(CCommunicationsDlg::SYSTEM_TEST)->click();
    Settle(12); // the clock ticks on once
    bool ok = Save(&dialog, out.filePath("communications.png"));

    bool taken = false;
    QObject::connect(&dialog, &CCommunicationsDlg::progressChanged, &dialog, [&](int percent) {
        if (taken || percent < 40)
            return;
        taken = true;
        // After the status lines of the same block.
        QTimer::singleShot(0, &dialog, [&] {
            const QString path = out.filePath("communications-download.png");
            const bool saved = dialog.grab().save(path);
            std::printf("%s%s\n", qPrintable(path), saved ? "" : " (could not be written)");
            ok = saved && ok;
        });
    });
    dialog.Button(CCommunicationsDlg::DOWNLOAD)->click();
    if (!QTest::qWaitFor([&] { return dialog.Controller().CanClose(); }, 60000) || !taken)
        ok = false;
    dialog.Button(CCommunicationsDlg::SLEEP)->click();
    dialog.done(0);
    line.Shutdown();
    return ok;
}

// "Program Flow Computer" at the end of a good transfer to a simulated unit.
bool SaveProgramFlowComputer(const CStation& station, QWidget* parent, const QDir& out)
{
    class COpener : public IPortOpener
    {
      public:
        explicit COpener(CSimLine& line) : m_line(line) {}
        std::unique_ptr<ISerialStream> OpenStream(const std::string&) override
        {
            return m_line.TakeHostEnd();
        }

      private:
        CSimLine& m_line;
    };
    CSimLine line;
    CVirtualClock clock;
    CFlowComputerSim unit;
    line.DeviceSetBaud(CFlowComputerProgrammer::BAUD);
    line.SetPump([&](int maxWaitMs) { unit.Pump(line, &clock, maxWaitMs); });
    COpener opener(line);
    CProgramFlowComputerDlg dialog(station, "COM 2", &opener, &clock, parent);
    dialog.show();
    if (!QTest::qWaitFor([&] { return dialog.IsFinished(); }, 30000))
        return false;
    const bool ok = Save(&dialog, out.filePath("program-flow-computer.png"));
    dialog.done(0);
    return ok;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication qapp(argc, argv);
    const bool all = argc == 3 && QString::fromLocal8Bit(argv[2]) == QStringLiteral("--all");
    if (argc != 2 && !all) {
        std::fprintf(stderr, "usage: tidewell-screenshots OUT_DIR [--all]\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(out.path());

    CStationApp app{CSettingsStore()};
    CMainFrame frame(app);
    frame.StartUp(1280);
    frame.setGeometry(0, 0, 1280, 800);
    bool ok = Save(&frame, out.filePath("main-window.png"));
    ok = Save(frame.InfoWindow(), out.filePath("station-information.png")) && ok;

    if (CStation* station = app.GetStation()) {
        ok = SavePage(*station, CStationConfigDialog::SYSTEM, out.filePath("system-page.png"), &frame) && ok;
        ok = SavePage(*station, CStationConfigDialog::VELOCITY_MODEL, out.filePath("velocity-model-page.png"),
                      &frame) &&
             ok;
        CStation copy(*station);
        {
            CFlowComputerSettingsDlg dialog(copy, &frame);
            dialog.show();
            ok = Save(&dialog, out.filePath("flow-computer-settings.png")) && ok;
            dialog.reject();
        }
        ok = SaveFlowComputerError(copy, out.filePath("flow-computer-settings-error.png"), &frame) && ok;
        CalculationHistory(copy);
        {
            CCalcSettingsDlg dialog(copy, &frame);
            dialog.show();
            dialog.Grid()->selectRow(2);
            ok = Save(&dialog, out.filePath("calculation-settings.png")) && ok;
            dialog.reject();
        }
        {
            CCalcSetDlg dialog(copy.GetCalcSet(2), copy, &frame);
            dialog.show();
            ok = Save(&dialog, out.filePath("calculation-set.png")) && ok;
            dialog.reject();
        }
        {
            // As the operator meets it: after the Velocity Model page worked the values out.
            CalcProfilingSettings(copy);
            CEditCommandsDlg dialog(copy, &frame);
            dialog.show();
            ok = Save(&dialog, out.filePath("edit-commands.png")) && ok;
            dialog.reject();
        }
        CStation points(*station);
        SurveyedSection(points);
        points.SetStageUnits(UNIT_FEET);
        ok = SavePage(points, CStationConfigDialog::CHANNEL, out.filePath("channel-page-points.png"),
                      &frame) &&
             ok;
        // The Channel page on the trapezoidal creek, read from its file so that the station
        // the program opens next time stays the one it was.
        CStation creek;
        const std::string creekFile = app.GetSiteDir() + "/Mill Creek/Mill Creek.hstn";
        if (creek.Load(creekFile, StationLoadOptions{false}))
            ok = SavePage(creek, CStationConfigDialog::CHANNEL, out.filePath("channel-page.png"), &frame) &&
                 ok;
        else {
            std::fprintf(stderr, "tidewell-screenshots: %s could not be read; no channel-page.png\n",
                         creekFile.c_str());
            ok = false;
        }

        // The instrument windows work on a copy, against simulated units.
        QTemporaryDir scratch;
        CStation visited(*station);
        ok = SaveCommunications(visited, &frame, out, scratch.path().toStdString()) && ok;
        ok = SaveProgramFlowComputer(*station, &frame, out) && ok;

        // The rating window on the station's reference measurements, when it has them.
        const QString dir = QString::fromStdString(app.GetStationDirectory(*station));
        const QString measurements = QDir(dir).filePath(QStringLiteral("measurements.csv"));
        if (QFileInfo::exists(measurements)) {
            CStation ratingCopy(*station);
            CVelocityRatingDialog rating(ratingCopy, dir, &frame);
            rating.ImportFile(measurements);
            rating.show();
            ok = Save(&rating, out.filePath("velocity-rating.png")) && ok;
            rating.close();
        }
    } else {
        std::fprintf(stderr, "tidewell-screenshots: no station is open, the System page is not shown\n");
        ok = false;
    }
    if (CStation* station = app.GetStation()) {
        // The file with the most ensembles shows the most of the hydrograph.
        std::vector<std::string> names;
        app.GetDataFiles(*station, names);
        std::string best;
        size_t most = 0;
        CEnsembleList list;
        for (const std::string& name : names) {
            CEnsembleList candidate;
            std::string message;
            const std::string path = DataFilePathFor(app.GetStationDirectory(*station), name);
            if (LoadDataForView(*station, path, candidate, message) && candidate.GetCount() > most) {
                most = candidate.GetCount();
                list = std::move(candidate);
            }
        }
        // A copy with every pane chosen, so that the station itself stays as it is.
        CStation copy(*station);
        CGraphPrefs prefs = copy.GetGraphPrefs();
        prefs.m_bQVD = prefs.m_bWhisker = prefs.m_bContours = prefs.m_bTabular = 1;
        prefs.m_bVectors = prefs.m_bBinVelocities = prefs.m_bCorrelation = prefs.m_bAmplitude = 1;
        copy.SetGraphPrefs(prefs);
        auto* view = new CDataView(copy, std::move(list));
        QMdiSubWindow* window = frame.OpenDataWindow(view);
        window->setGeometry(0, 0, 1000, 760);
        frame.MdiArea()->setActiveSubWindow(window);
        // An ensemble of the rising tide, a third of the way in.
        view->Model().SetCurrent(static_cast<long>(view->Model().GetCount() / 3));
        view->ShowCurrent();
        ok = Save(window, out.filePath("data-view.png")) && ok;
        window->close();
        ok = SaveRealTimeView(*station, frame, out) && ok;
    }
    if (all) {
        CCopyStationDialog copy(QStringLiteral("Harbour Weir_COPY"), QString(), &frame);
        copy.show();
        ok = Save(&copy, out.filePath("copy-station.png")) && ok;
        copy.reject();
        CAppSettingsDialog settings(QString::fromStdString(app.GetSiteDir()),
                                    {QStringLiteral("sim:velunit"), QStringLiteral("sim:flowcomputer")},
                                    &frame);
        settings.show();
        ok = Save(&settings, out.filePath("application-settings.png")) && ok;
        settings.reject();
        CGraphPrefs prefs;
        CGraphPrefsDialog graphs(prefs, &frame);
        graphs.show();
        ok = Save(&graphs, out.filePath("graphics-preferences.png")) && ok;
        graphs.reject();
        for (int i = 0; i < app.GetStationCount(); ++i) {
            app.OpenStation(app.GetStationName(i), app.GetStationGroup(i));
            ok = Save(frame.InfoWindow(), out.filePath(QStringLiteral("station-%1.png").arg(i))) && ok;
        }
    }
    return ok ? 0 : 1;
}

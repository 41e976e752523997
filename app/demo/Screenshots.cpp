// tidewell-screenshots OUT_DIR [--all]: starts the program's windows on the settings file
// named by TIDEWELL_CONFIG (the demo site), at 1280 x 800, and saves what the operator sees:
// the main window with the current station, the station information view, the System page
// of the Station Configuration dialog, and the Velunit Communications (connected, then
// part-way through a download) and Program Flow Computer windows against simulated units.
// With --all, also every station's information view and the smaller dialogs, for checking
// the layout. Run it under Xvfb for a screen of that size.
#include "app/MainFrame.h"
#include "app/StationApp.h"
#include "app/StationInfoView.h"
#include "app/StationsBar.h"
#include "link/PortOpener.h"
#include "link/SerialPort.h"
#include "link/SimLine.h"
#include "link/ui/CommunicationsDlg.h"
#include "link/ui/ProgramFlowComputerDlg.h"
#include "sim/FlowComputerSim.h"
#include "sim/VelunitLineDriver.h"
#include "sim/YmodemSender.h"
#include "station/GraphPrefs.h"
#include "station/Station.h"
#include "ui/AppSettingsDialog.h"
#include "ui/CopyStationDialog.h"
#include "ui/GraphPrefsDialog.h"
#include "ui/StationConfigDialog.h"

#include <QApplication>
#include <QDir>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QPushButton>
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
        CStation copy(*station);
        CStationConfigDialog dialog(copy, false, &frame);
        dialog.show();
        ok = Save(&dialog, out.filePath("system-page.png")) && ok;
        dialog.reject();

        // The instrument windows work on a copy, against simulated units.
        QTemporaryDir scratch;
        CStation visited(*station);
        ok = SaveCommunications(visited, &frame, out, scratch.path().toStdString()) && ok;
        ok = SaveProgramFlowComputer(*station, &frame, out) && ok;
    } else {
        std::fprintf(stderr, "tidewell-screenshots: no station is open, the System page is not shown\n");
        ok = false;
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

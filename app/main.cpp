// Tidewell: the desktop program. The settings file is found through --config, TIDEWELL_CONFIG
// or in the user's configuration folder; --station opens a station at start and --grab makes
// an unattended run that saves a picture of the main window and exits.
#include "app/AppIcon.h"
#include "app/MainFrame.h"
#include "app/StationApp.h"
#include "app/StationInfoView.h"
#include "app/Unattended.h"
#include "present/AppCommandLine.h"
#include "present/StationAppModel.h"
#include "views/RealTimeView.h"

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace
{

// An unattended run that never becomes ready (a window that forgot to release its hold, an
// instrument exchange that never ends) still ends, with a failure.
constexpr int kGrabTimeoutMs = 300'000;
// --listen with --grab: how long the picture waits for the first ensemble.
constexpr int kListenGrabWaitMs = 15'000;

void Fail(const std::string& why)
{
    std::fprintf(stderr, "tidewell: %s\n", why.c_str());
}

// Saves the picture of the frame and ends the event loop with the run's status.
void TakeGrab(CMainFrame& frame, CStationApp& app, const std::string& file)
{
    QApplication::processEvents();
    QImage image = frame.grab().toImage();
    // A dialog open over the frame (the Velunit Communications window of --communicate)
    // belongs in the picture, where it stands.
    if (!image.isNull()) {
        QPainter painter(&image);
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window != &frame && window->isVisible() && qobject_cast<QDialog*>(window))
                painter.drawPixmap(window->mapToGlobal(QPoint(0, 0)) - frame.mapToGlobal(QPoint(0, 0)),
                                   window->grab());
    }
    if (image.isNull() || !image.save(QString::fromStdString(file), "PNG"))
        app.FailGrab("could not write the picture to " + file);
    if (app.GrabGate().Failed()) {
        Fail(app.GrabGate().Failure());
        QApplication::exit(1);
        return;
    }
    QApplication::exit(0);
}

// The windows the command line asks for at start, after the station list is read. Returns
// the exit status when the program must stop at once, -1 to go on.
int OpenStartWindows(CMainFrame& frame, CStationApp& app, const appcommandline::Options& options)
{
    if (options.station.empty())
        return -1;
    std::vector<std::string> names, paths;
    for (int i = 0; i < app.GetStationCount(); ++i) {
        names.push_back(app.GetStationName(i));
        paths.push_back(app.GetStationPath(i));
    }
    std::string error;
    const std::string path = stationapp::FindStartStation(names, paths, options.station, error);
    if (path.empty()) {
        Fail(error);
        return 2;
    }
    if (!frame.OpenStartStation(path)) {
        // Said already, in a box or (unattended) on standard error.
        app.FailGrab("station file " + path + " could not be opened");
        if (unattended::IsOn())
            return 1;
        return -1;
    }
    // A file that cannot be read is said like "View Data" says it, and fails the run.
    if (!options.viewData.empty())
        frame.ViewData(options.viewData);
    return -1;
}

} // namespace

int main(int argc, char* argv[])
{
    // Answered before the application object exists: it needs a display, and these do not.
    const appcommandline::Outcome outcome =
        appcommandline::Parse(std::vector<std::string>(argv + 1, argv + argc));
    if (outcome.action == appcommandline::Outcome::PRINT_AND_EXIT) {
        std::fputs(outcome.out.c_str(), stdout);
        std::fputs(outcome.err.c_str(), stderr);
        return outcome.exitCode;
    }
    const appcommandline::Options& options = outcome.options;

    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tidewell"));
    QApplication::setApplicationVersion(QString::fromLatin1(appcommandline::kVersion));
    QApplication::setOrganizationName(QStringLiteral("Tidewell"));
    QApplication::setDesktopFileName(QStringLiteral("tidewell"));
    QApplication::setWindowIcon(TidewellIcon());
    unattended::SetOn(!options.grab.empty());

    // Network sockets play no part on this platform, so start-up begins with the frame.
    CStationApp app{options.config.empty() ? CSettingsStore() : CSettingsStore(options.config)};
    CMainFrame frame(app);
    const QScreen* screen = QGuiApplication::primaryScreen();
    frame.StartUp(screen ? screen->availableGeometry().width() : 1024, options.station.empty());
    if (const int status = OpenStartWindows(frame, app, options); status >= 0)
        return status;

    if (!options.grab.empty()) {
        // Room for the information view and a data window beside the Stations bar, whatever
        // the (often small) screen of an offscreen run says.
        frame.resize(std::max(frame.width(), 1280), std::max(frame.height(), 860));
        // The windows asked for are open; once the event loop has painted them and the
        // last one that holds the gate is done, the picture is taken.
        QTimer::singleShot(0, &frame, [&frame, &app, file = options.grab] {
            app.GrabGate().Open([&frame, &app, file] {
                QTimer::singleShot(50, &frame, [&frame, &app, file] { TakeGrab(frame, app, file); });
            });
        });
        QTimer::singleShot(kGrabTimeoutMs, &frame, [&frame, &app, file = options.grab] {
            app.FailGrab("timed out waiting for the windows to finish their work");
            TakeGrab(frame, app, file);
        });
    }
    if (options.communicate) {
        // The picture waits until the connection has finished, well or badly.
        app.HoldGrab();
        const auto opened = [&app](bool connected) {
            if (!connected)
                app.FailGrab("the Velunit did not connect");
            app.ReleaseGrab();
        };
        if (!frame.InfoView()->OpenCommunications(opened)) {
            app.FailGrab("no station is open to communicate with");
            app.ReleaseGrab();
        }
    }
    if (options.listen) {
        // The picture waits for the first valid ensemble, or a while for a unit that is
        // quiet; a port that will not open has said so through the prompter.
        app.HoldGrab();
        CRealTimeView* view = frame.InfoView()->ListenRealtime();
        if (!view) {
            app.FailGrab("the real-time view could not listen on the station's port");
            app.ReleaseGrab();
        } else {
            auto released = std::make_shared<bool>(false);
            const auto release = [&app, released] {
                if (*released)
                    return;
                *released = true;
                app.ReleaseGrab();
            };
            QObject::connect(view, &CRealTimeView::ensembleShown, view, release);
            QObject::connect(view, &QObject::destroyed, &frame, release);
            QTimer::singleShot(kListenGrabWaitMs, &frame, release);
        }
    }
    return QApplication::exec();
}

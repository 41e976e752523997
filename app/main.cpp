// Tidewell: the desktop program. Apart from --help, --version and the window system's own
// options it takes no arguments; the settings file is found through TIDEWELL_CONFIG or in
// the user's configuration folder.
#include "app/AppIcon.h"
#include "app/MainFrame.h"
#include "app/StationApp.h"
#include "present/AppCommandLine.h"

#include <QApplication>
#include <QScreen>

#include <cstdio>
#include <string>
#include <vector>

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

    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tidewell"));
    QApplication::setApplicationVersion(QString::fromLatin1(appcommandline::kVersion));
    QApplication::setOrganizationName(QStringLiteral("Tidewell"));
    QApplication::setDesktopFileName(QStringLiteral("tidewell"));
    QApplication::setWindowIcon(TidewellIcon());

    // Network sockets play no part on this platform, so start-up begins with the frame.
    CStationApp app{CSettingsStore()};
    CMainFrame frame(app);
    const QScreen* screen = QGuiApplication::primaryScreen();
    frame.StartUp(screen ? screen->availableGeometry().width() : 1024);
    return QApplication::exec();
}

// Tidewell: the desktop program. It takes no arguments; the settings file is found through
// TIDEWELL_CONFIG or in the user's configuration folder.
#include "app/AppIcon.h"
#include "app/MainFrame.h"
#include "app/StationApp.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char* argv[])
{
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tidewell"));
    QApplication::setApplicationVersion(QStringLiteral("1.03"));
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

// tidewell-screenshots OUT_DIR: starts the program's windows on the settings file named by
// TIDEWELL_CONFIG (the demo site), at 1280 x 800, and saves what the operator sees: the
// main window with the current station, the station information view and the System page
// of the Station Configuration dialog. Run it under Xvfb for a screen of that size.
#include "app/MainFrame.h"
#include "app/StationApp.h"
#include "app/StationInfoView.h"
#include "station/Station.h"
#include "ui/StationConfigDialog.h"

#include <QApplication>
#include <QDir>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QTest>

#include <cstdio>
#include <memory>

namespace {

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

} // namespace

int main(int argc, char* argv[])
{
    QApplication qapp(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tidewell-screenshots OUT_DIR\n");
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
    } else {
        std::fprintf(stderr, "tidewell-screenshots: no station is open, the System page is not shown\n");
        ok = false;
    }
    return ok ? 0 : 1;
}

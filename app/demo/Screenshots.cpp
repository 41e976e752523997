// tidewell-screenshots OUT_DIR [--all]: starts the program's windows on the settings file named by
// TIDEWELL_CONFIG (the demo site), at 1280 x 800, and saves what the operator sees: the
// main window with the current station, the station information view, the System page
// of the Station Configuration dialog and, for a station with reference measurements, the
// Velocity Rating window. With --all, also every station's information view
// and the smaller dialogs, for checking the layout. Run it under Xvfb for a screen of that
// size.
#include "app/MainFrame.h"
#include "app/StationApp.h"
#include "app/StationInfoView.h"
#include "app/StationsBar.h"
#include "station/GraphPrefs.h"
#include "station/Station.h"
#include "ui/AppSettingsDialog.h"
#include "ui/CopyStationDialog.h"
#include "ui/GraphPrefsDialog.h"
#include "ui/StationConfigDialog.h"
#include "ui/VelocityRatingDialog.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QTest>

#include <cstdio>
#include <memory>

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

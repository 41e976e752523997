// tidewell-screenshots OUT_DIR [--all]: starts the program's windows on the settings file named by
// TIDEWELL_CONFIG (the demo site), at 1280 x 800, and saves what the operator sees: the
// main window with the current station, the station information view and the System page
// of the Station Configuration dialog, and a data view of the station's longest data file with
// every pane (all four beam graphs and the velocity contours). With --all, also every station's information
// view and the smaller dialogs, for checking the layout. Run it under Xvfb for a screen of that size.
#include "app/MainFrame.h"
#include "app/StationApp.h"
#include "app/StationInfoView.h"
#include "app/StationsBar.h"
#include "present/ViewDataLoad.h"
#include "station/GraphPrefs.h"
#include "station/Station.h"
#include "ui/AppSettingsDialog.h"
#include "ui/CopyStationDialog.h"
#include "ui/GraphPrefsDialog.h"
#include "ui/StationConfigDialog.h"
#include "views/DataView.h"

#include <QApplication>
#include <QDir>
#include <QMdiArea>
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

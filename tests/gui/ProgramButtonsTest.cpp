// "Program Velunit" and "Program FlowComputer" in the station information view: each opens
// its window on the port selected in the list, which the settings file maps to a device.
#include "tests/gui/GuiFixture.h"

#include "app/StationInfoView.h"
#include "link/ui/CommunicationsDlg.h"
#include "link/ui/ProgramFlowComputerDlg.h"
#include "present/StationInfoModel.h"
#include "sim/VelunitPtyServer.h"

#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <thread>

namespace
{

class ProgramButtons : public GuiTest
{
  protected:
    // The station "Weir" on COM 3; the settings file maps COM 3 to the device given.
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

    // Runs `act` on the modal window once it is up and ready, from the event loop the
    // button's exec runs. It must not wait itself: the window may be inside an exchange,
    // whose own loop goes on only once this returns.
    template <class Window>
    void WhenShown(std::function<void(Window&)> act, std::function<bool(Window&)> ready = {})
    {
        auto* timer = new QTimer;
        timer->setInterval(20);
        QObject::connect(timer, &QTimer::timeout, [timer, act, ready] {
            auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
            if (window && (!ready || ready(*window))) {
                timer->stop();
                act(*window);
                timer->deleteLater();
            }
        });
        timer->start();
    }
};

TEST_F(ProgramButtons, ProgramVelunitConnectsOnTheSelectedPort)
{
    SVelunitConfig config;
    config.m_strSiteName = "Weir";
    CVelunitPtyServer server(CSystemClock::Instance(), config);
    std::string error;
    ASSERT_TRUE(server.Open(error)) << error;
    std::atomic<bool> stop{false};
    std::thread unit([&] { server.Run(stop); });

    CStationInfoView* view = Open(server.SlavePath());
    EXPECT_EQ(view->PortList()->currentText(), "COM 3");
    QStringList seen;
    QString title;
    WhenShown<CCommunicationsDlg>(
        [&](CCommunicationsDlg& dialog) {
            title = dialog.windowTitle();
            seen = dialog.StatusLines();
            dialog.done(0);
        },
        [](CCommunicationsDlg& dialog) { return dialog.IsOpened(); });
    view->Button(CStationInfoModel::PROGRAM_VELUNIT)->click();
    stop = true;
    unit.join();
    EXPECT_EQ(title, "Velunit Communications");
    EXPECT_EQ(seen, (QStringList{"Connected to velunit...", "Ready"}));
}

TEST_F(ProgramButtons, ProgramFlowComputerReportsAPortThatWillNotOpen)
{
    CStationInfoView* view = Open((m_temp.Path() / "no-such-device").string());
    QString message;
    // Its message box comes at once; the window closes itself once the box is gone.
    QString modalUnder;
    WhenShown<QMessageBox>([&](QMessageBox& box) {
        message = box.text();
        modalUnder = box.parentWidget() ? box.parentWidget()->windowTitle() : QString();
        box.accept();
    });
    view->Button(CStationInfoModel::PROGRAM_FLOWCOMPUTER)->click();
    EXPECT_TRUE(message.startsWith("Error, could not open COM 3!  Please verify port is not in use."))
        << qPrintable(message);
    EXPECT_EQ(modalUnder, "Program Flow Computer");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

} // namespace

#pragma once
// The real-time data view: a data view that starts empty and fills from a deployed
// Velunit. The tick's work (drain the port, frame, compute, record) is the live recorder's;
// this window starts it once a second, shows each new ensemble as the current one, keeps the
// table's moving-average row and says on a status line when the recording file fails or the
// connection is lost.
#include "link/LiveRecorder.h"
#include "views/DataView.h"

#include <memory>
#include <string>

class QLabel;
class QTimer;

class CRealTimeView : public CDataView, private ILiveRecorderListener
{
    Q_OBJECT
  public:
    static constexpr const char* kPortError = "Error, could not open COM %d, check port is not in use.";

    // Listening on a port by name ("COM n" or a device path); IsPortOpen says whether it
    // opened. The ticks start at once when it did.
    CRealTimeView(const CStation& station, const std::string& portName, SLiveRecorderSetup setup = {},
                  QWidget* parent = nullptr);
    // Taking over a port already open (after programming); the view owns it now.
    CRealTimeView(const CStation& station, std::unique_ptr<CSerialPort> port, SLiveRecorderSetup setup = {},
                  QWidget* parent = nullptr);
    ~CRealTimeView() override;

    bool IsPortOpen() const { return m_pRecorder->IsPortOpen(); }
    CLiveRecorder& Recorder() { return *m_pRecorder; }
    QTimer* Timer() const { return m_pTimer; }
    // The warning or error line under the panes; hidden while there is nothing to say.
    QLabel* StatusLine() const { return m_pStatus; }
    // The texts under the column titles.
    std::vector<std::string> MovingAverageRow() const;
    // One timer tick now; how many ensembles it added.
    int Tick();

    // "Error, could not open COM n, ..." for a port name; the name itself for a device path.
    static QString PortErrorText(const std::string& portName);

  signals:
    // A valid ensemble has been shown (and recorded when the file could be written).
    void ensembleShown(int index);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void Init(const CStation& station);
    void Begin();
    void ShowStatus(const std::string& text);
    // ILiveRecorderListener
    void OnEnsembleAdded(size_t index) override;
    void OnEnsembleDone(size_t index, bool recorded) override;
    void OnRecordingWarning(const std::string& text) override;
    void OnPortLost(const std::string& text) override;

    std::unique_ptr<CLiveRecorder> m_pRecorder;
    CFlowSettingsTable m_settings;
    QTimer* m_pTimer = nullptr;
    QLabel* m_pStatus = nullptr;
    // The key press already counted on its way through a pane (until its release), so that
    // the same press passed up to the view is not counted twice.
    const QKeyEvent* m_pCountedKey = nullptr;
};

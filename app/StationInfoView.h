#pragma once
// The station information view: the home screen of the current station. Site, location,
// creation time, orientation and a drawing of the channel; the recorded data files with
// the summary of the selected one; the buttons that lead to every other task.
#include "present/StationInfoModel.h"

#include <QWidget>

#include <functional>
#include <memory>

class CChannelPreviewCtrl;
class CCommunicationsDlg;
class CRealTimeView;
class CSerialPort;
class IPortOpener;
class CStation;
class CStationApp;
class IAppPrompter;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QVBoxLayout;

class CStationInfoView : public QWidget
{
    Q_OBJECT
  public:
    CStationInfoView(CStationApp& app, QWidget* parent = nullptr);
    ~CStationInfoView() override;

    void SetPrompter(IAppPrompter* prompter) { m_pPrompter = prompter; }

    // The "Velunit Communications" window on the selected port, as "Program Velunit" opens
    // it but without waiting for it to close; `opened` runs once its connection has finished,
    // well or badly. None without a station.
    CCommunicationsDlg* OpenCommunications(std::function<void(bool connected)> opened = {});

    // "Listen Realtime": the real-time data view on the selected port, handed to
    // realTimeViewOpened; none (and the port message) when the port does not open.
    CRealTimeView* ListenRealtime();
    // The real-time view on a port already open (the Yes after programming); none when the
    // window could not be made.
    CRealTimeView* LaunchRealTimeView(std::unique_ptr<CSerialPort> port);

    void ShowStation(CStation* station);
    void RefreshDataList();
    void ShowDataSummary();

    // The texts shown in the fields, for the tests.
    QString FieldText(const QString& label) const;
    QPushButton* Button(CStationInfoModel::Button which) const { return m_pButtons[which]; }
    QPushButton* ExportSeriesButton() const { return m_pExportSeries; }
    QListWidget* DataList() const { return m_pFiles; }
    QComboBox* PortList() const { return m_pPort; }
    QLabel* Caption() const { return m_pCaption; }
    QPushButton* RatingButton() const { return m_pRating; }
    CChannelPreviewCtrl* Preview() const { return m_pPreview; }

    // The room a button keeps between its caption and each of its edges, in pixels.
    static constexpr int kCaptionMargin = 16;

  signals:
    void titleChanged(const QString& title);
    // "View Data" with a file selected: the frame opens the data view of that file.
    void viewDataRequested(const QString& name);
    // A real-time view was made: the frame takes it as a data window. Left unclaimed, it
    // shows as a window of its own.
    void realTimeViewOpened(CRealTimeView* view);

  private:
    // The view's parts, each making the controls it holds.
    QGridLayout* BuildHeader();
    QVBoxLayout* BuildChannel();
    QGroupBox* BuildDataFiles();
    QVBoxLayout* BuildButtons();
    void Configure();
    void OpenRating();
    void Refresh();
    void ExportSeries();
    void ProgramVelunit();
    void OpenRealTimeView(CRealTimeView* view);
    void Message(const std::string& text);
    std::unique_ptr<CCommunicationsDlg> MakeCommunicationsDlg();
    IPortOpener* PortOpener();
    void ProgramFlowComputer();
    // "COM n" for the selected port; empty when none is selected.
    QString SelectedPort() const;
    void StationToControls();
    void SummaryToControls();
    void ApplyButtonStates();
    QLabel* AddField(class QFormLayout* form, const QString& label);
    QLabel* AddField(class QGridLayout* grid, const QString& label, const QFont& font);

    CStationApp& m_app;
    IAppPrompter* m_pPrompter = nullptr;
    CStation* m_pStation = nullptr;
    CStationInfoModel m_model;
    std::unique_ptr<IPortOpener> m_pPortOpener;

    QLabel *m_pSiteName, *m_pLocation, *m_pCreated, *m_pOrientation, *m_pCaption;
    CChannelPreviewCtrl* m_pPreview;
    QListWidget* m_pFiles;
    QLabel *m_pStart, *m_pStop, *m_pEnsembles, *m_pStageRange, *m_pVelocityRange, *m_pFlowRange,
        *m_pEnsembleType;
    QComboBox* m_pPort;
    QPushButton* m_pButtons[CStationInfoModel::BUTTON_COUNT];
    QPushButton* m_pExportSeries; // the station's series for a hydrometric database
    QPushButton* m_pRating;       // "Velocity Rating...", on whenever a station is shown
    QString m_arrMissing[CStationInfoModel::BUTTON_COUNT];
    QList<QPair<QString, QLabel*>> m_arrFields;
};

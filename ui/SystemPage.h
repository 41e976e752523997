#pragma once
// The "System" tab of the Station Configuration dialog: identity, display units, the
// 4-20 mA output ranges, the totalizer pulse and the serial port of one station.
#include "present/SystemSettingsForm.h"

#include <QWidget>

#include <functional>

class CCalcSettingsDlg;
class CFlowComputerSettingsDlg;
class CGraphPrefsDialog;

class CStation;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QVBoxLayout;

class CSystemPage : public QWidget
{
    Q_OBJECT
  public:
    // The site name and group can be typed only for a new station: they name its folder.
    CSystemPage(CStation* station, bool isNew, QWidget* parent = nullptr);

    void LoadPage();
    void SavePage();

    // For the tests and the dialog.
    QLineEdit* SiteNameEdit() const { return m_pSiteName; }
    QLineEdit* GroupEdit() const { return m_pGroup; }
    QComboBox* StageCombo() const { return m_pStage; }
    QComboBox* FlowCombo() const { return m_pFlow; }
    QLineEdit* Stage20mAEdit() const { return m_pStage20; }
    QCheckBox* PulseEveryBox() const { return m_pPulseEvery; }
    QLineEdit* PulseEdit() const { return m_pPulse; }
    QLabel* StageUnitLabel() const { return m_pStageUnit20; }

    // Runs the Graphics Preferences dialog; tests answer it themselves. True for OK.
    void SetPrefsRunner(std::function<bool(CGraphPrefsDialog&)> runner) { m_prefsRunner = std::move(runner); }
    void EditGraphPrefs();
    // The same for the Flow Computer Settings and Calculation Settings dialogs.
    void SetFlowComputerRunner(std::function<bool(CFlowComputerSettingsDlg&)> runner)
    {
        m_flowComputerRunner = std::move(runner);
    }
    void SetCalcSettingsRunner(std::function<bool(CCalcSettingsDlg&)> runner)
    {
        m_calcSettingsRunner = std::move(runner);
    }
    // Saves the page first, so that the dialog sees the flow range and unit as they are
    // typed here.
    void EditFlowComputerSettings();
    // The page is not saved first: the sets do not depend on what is typed here.
    void EditCalcSettings();
    QPushButton* FlowComputerButton() const { return m_pFlowComputer; }
    QPushButton* CalcSettingsButton() const { return m_pCalcSettings; }

  private:
    // The page's parts, each making the controls it holds.
    QGroupBox* BuildSiteGroup(bool isNew);
    QGroupBox* BuildUnitsGroup();
    QGroupBox* BuildOutputGroup();
    QGroupBox* BuildTotalizerGroup();
    QGroupBox* BuildCommsGroup();
    QVBoxLayout* BuildDialogButtons();
    void FormToControls();
    void ControlsToForm();
    void OnUnitChanged();

    CStation* m_pStation;
    CSystemSettingsForm m_form;
    QLineEdit *m_pSiteName, *m_pGroup;
    QPlainTextEdit* m_pLocation;
    QComboBox *m_pStage, *m_pVelocity, *m_pFlow, *m_pVolume, *m_pTemperature, *m_pPort;
    QLineEdit *m_pFlow4, *m_pFlow20, *m_pVelocity4, *m_pVelocity20, *m_pStage4, *m_pStage20;
    QLabel *m_pFlowUnit4, *m_pFlowUnit20, *m_pVelocityUnit4, *m_pVelocityUnit20, *m_pStageUnit4,
        *m_pStageUnit20;
    QCheckBox* m_pPulseEvery;
    QLineEdit* m_pPulse;
    QLabel* m_pVolumeUnit;
    QPushButton *m_pFlowComputer = nullptr, *m_pCalcSettings = nullptr;
    std::function<bool(CGraphPrefsDialog&)> m_prefsRunner;
    std::function<bool(CFlowComputerSettingsDlg&)> m_flowComputerRunner;
    std::function<bool(CCalcSettingsDlg&)> m_calcSettingsRunner;
};

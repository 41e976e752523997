#pragma once
// The "Velocity Model" tab of the Station Configuration dialog: how the Velunit profiles
// (frequency, sample interval, the automatic calculation and its optimisation, with the
// resulting bin size, blank, bins and pings), the velocity range, the forced depth and the
// velocity model. What is shown, stored and recalculated is CProfilingForm's.
#include "present/ProfilingForm.h"

#include <QWidget>

#include <array>
#include <functional>

class CEditCommandsDlg;
class CStation;
class CVelocityModelGroup;
class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class CProfilingPage : public QWidget
{
    Q_OBJECT
  public:
    explicit CProfilingPage(CStation* station, QWidget* parent = nullptr);

    void LoadPage();
    void SavePage();

    // Another window opened from the page goes beside "Edit Commands".
    void AddButton(QPushButton* button);

    // Runs the Edit Commands dialog; tests answer it themselves. True for OK.
    void SetEditCommandsRunner(std::function<bool(CEditCommandsDlg&)> runner)
    {
        m_editRunner = std::move(runner);
    }

    QComboBox* FrequencyCombo() const { return m_pFrequency; }
    QComboBox* IntervalCombo() const { return m_pInterval; }
    QCheckBox* AutoCalcBox() const { return m_pAutoCalc; }
    QRadioButton* OptimizeButton(int optimize) const
    {
        return m_arrOptimize.at(static_cast<size_t>(optimize - 1));
    }
    QCheckBox* AutoVelRangeBox() const { return m_pAutoVelRange; }
    QLineEdit* VelStartEdit() const { return m_pVelStart; }
    QLineEdit* VelStopEdit() const { return m_pVelStop; }
    QCheckBox* ForcedDepthBox() const { return m_pForcedDepth; }
    QLineEdit* ForcedDepthEdit() const { return m_pDepth; }
    CVelocityModelGroup* ModelGroup() const { return m_pModel; }
    QLabel* BinSizeLabel() const { return m_pBinSize; }
    QLabel* BlankLabel() const { return m_pBlank; }
    QLabel* BinsLabel() const { return m_pBins; }
    QLabel* PingsLabel() const { return m_pPings; }
    QPushButton* EditCommandsButton() const { return m_pEditCommands; }

  private:
    QWidget* BuildProfilingGroup();
    QWidget* BuildRangeGroup();
    QWidget* BuildDepthGroup();
    void FormToControls();
    void ControlsToForm();
    // Runs a handler of the form on the station with the page's texts, then shows the result.
    void Handle(const std::function<void(CStation&)>& handler);
    void EditCommands();

    CStation* m_pStation;
    CProfilingForm m_form;
    QComboBox *m_pFrequency = nullptr, *m_pInterval = nullptr;
    QCheckBox* m_pAutoCalc = nullptr;
    std::array<QRadioButton*, 3> m_arrOptimize{};
    QLabel *m_pBinSize = nullptr, *m_pBlank = nullptr, *m_pBins = nullptr, *m_pPings = nullptr;
    QPushButton* m_pEditCommands = nullptr;
    QHBoxLayout* m_pButtonRow = nullptr;
    QCheckBox* m_pAutoVelRange = nullptr;
    QLineEdit *m_pVelStart = nullptr, *m_pVelStop = nullptr;
    QCheckBox* m_pForcedDepth = nullptr;
    QLineEdit* m_pDepth = nullptr;
    QLabel* m_pDepthUnit = nullptr;
    CVelocityModelGroup* m_pModel = nullptr;
    std::function<bool(CEditCommandsDlg&)> m_editRunner;
};

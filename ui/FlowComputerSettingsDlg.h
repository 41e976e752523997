#pragma once
// "Flow Computer Settings": the eight Flow Computer values of a station with what the Flow
// Computer does with them, the smoothing time constant and the big step and zero screen as
// flows, updated as they are typed. OK checks the values and stores them into the station
// only when they all pass; the form (CFlowComputerSettingsForm) holds the rules.
#include "present/FlowComputerSettingsForm.h"

#include <QDialog>

#include <array>
#include <functional>
#include <string>

class CStation;
class QLabel;
class QLineEdit;
class QPushButton;

class CFlowComputerSettingsDlg : public QDialog
{
    Q_OBJECT
  public:
    explicit CFlowComputerSettingsDlg(CStation& station, QWidget* parent = nullptr);

    // Where a failed check is reported; a message box unless a test listens instead.
    void SetMessenger(std::function<void(const std::string&)> messenger)
    {
        m_messenger = std::move(messenger);
    }

    QLineEdit* Edit(CFlowComputerSettingsForm::EField field) const { return m_arrEdits.at(field); }
    QLabel* TimeConstantLabel() const { return m_pTC; }
    QLabel* BigStepFlowLabel() const { return m_pBigStepFlow; }
    QLabel* ZeroScreenFlowLabel() const { return m_pZeroScreenFlow; }
    QPushButton* RestoreButton() const { return m_pRestore; }
    const CFlowComputerSettingsForm& Form() const { return m_form; }

    void accept() override;

  private:
    CFlowComputerSettingsForm::Edits ReadControls() const;
    void WriteControls();
    void UpdateTimeConstant();
    void UpdateFlows();

    CStation& m_station;
    CFlowComputerSettingsForm m_form;
    std::array<QLineEdit*, CFlowComputerSettingsForm::FIELD_COUNT> m_arrEdits{};
    QLabel *m_pTC, *m_pBigStepFlow, *m_pZeroScreenFlow;
    QPushButton* m_pRestore;
    std::function<void(const std::string&)> m_messenger;
};

#pragma once
// The calculation set dialog: one set's start time, velocity range, bin size, blank,
// Z-ADCP, forced stage and velocity model. OK stores them into the set and clears the
// station's data summaries; Cancel stores nothing. The rules are CCalcSetForm's.
#include "present/CalcSetForm.h"

#include <QDialog>

class CCalcSet;
class CStation;
class CVelocityModelGroup;
class QCheckBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;

class CCalcSetDlg : public QDialog
{
    Q_OBJECT
  public:
    CCalcSetDlg(CCalcSet& set, CStation& station, QWidget* parent = nullptr);

    QDateTimeEdit* TimeEdit() const { return m_pTime; }
    QLineEdit* VelStartEdit() const { return m_pVelStart; }
    QLineEdit* VelStopEdit() const { return m_pVelStop; }
    QLineEdit* BinSizeEdit() const { return m_pBinSize; }
    QLineEdit* BlankEdit() const { return m_pBlank; }
    QLineEdit* ZAdcpEdit() const { return m_pZAdcp; }
    QCheckBox* ForceStageBox() const { return m_pForceStage; }
    QLineEdit* ForceStageEdit() const { return m_pStage; }
    CVelocityModelGroup* ModelGroup() const { return m_pModel; }

    void accept() override;

  private:
    void FormToControls();
    void ControlsToForm();

    CCalcSet& m_set;
    CStation& m_station;
    CCalcSetForm m_form;
    QDateTimeEdit* m_pTime;
    QLineEdit *m_pVelStart, *m_pVelStop, *m_pBinSize, *m_pBlank, *m_pZAdcp, *m_pStage;
    QCheckBox* m_pForceStage;
    QLabel* m_arrUnits[4];
    CVelocityModelGroup* m_pModel;
};

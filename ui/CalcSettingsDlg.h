#pragma once
// "Calculation Settings": the station's calculation sets in a grid, sorted by start time,
// with buttons to create a set from the station's present settings, edit or remove the
// selected one, and close. The rules are CCalcSettingsForm's.
#include "present/CalcSettingsForm.h"

#include <QDialog>

#include <functional>

class CCalcSetDlg;
class CStation;
class QPushButton;
class QTableWidget;

class CCalcSettingsDlg : public QDialog
{
    Q_OBJECT
  public:
    explicit CCalcSettingsDlg(CStation& station, QWidget* parent = nullptr);

    // Tests answer the questions and the set dialog themselves.
    void SetAsker(std::function<bool(const std::string&)> asker) { m_asker = std::move(asker); }
    void SetSetRunner(std::function<bool(CCalcSetDlg&)> runner) { m_setRunner = std::move(runner); }

    QTableWidget* Grid() const { return m_pGrid; }
    QPushButton* CreateButton() const { return m_pCreate; }
    QPushButton* EditButton() const { return m_pEdit; }
    QPushButton* RemoveButton() const { return m_pRemove; }
    QPushButton* ExitButton() const { return m_pExit; }

  private:
    void Fill();
    int SelectedSet() const;
    bool RunSet(CCalcSet& set);

    CStation& m_station;
    QTableWidget* m_pGrid;
    QPushButton *m_pCreate, *m_pEdit, *m_pRemove, *m_pExit;
    std::function<bool(const std::string&)> m_asker;
    std::function<bool(CCalcSetDlg&)> m_setRunner;
};

#pragma once
// "Edit Commands": the station's command list as a two-column grid, with rows inserted,
// removed or restored to the defaults (with the profiling values calculated). OK makes the
// grid the station's list; what Cancel does with a list the defaults already replaced is the
// opener's to decide. The decisions are CEditCommandsModel's.
#include "present/EditCommandsModel.h"

#include <QDialog>

class CStation;
class QLabel;
class QPushButton;
class QTableWidget;

class CEditCommandsDlg : public QDialog
{
    Q_OBJECT
  public:
    explicit CEditCommandsDlg(CStation& station, QWidget* parent = nullptr);

    QTableWidget* Grid() const { return m_pGrid; }
    QLabel* Note() const { return m_pNote; }
    QPushButton* InsertButton() const { return m_pInsert; }
    QPushButton* RemoveButton() const { return m_pRemove; }
    QPushButton* RestoreButton() const { return m_pRestore; }

    void accept() override;

  private:
    void Fill();
    int FocusedRow() const; // the model's numbering: 1 is the first pair, 0 none

    CEditCommandsModel m_model;
    QTableWidget* m_pGrid;
    QLabel* m_pNote;
    QPushButton *m_pInsert, *m_pRemove, *m_pRestore;
    bool m_bFilling = false;
};

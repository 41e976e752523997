#pragma once
// The "Graphics Preferences" dialog: which graphs a data view draws and which data types
// its table shows, in order. It edits the record it is given, on OK only.
#include "present/DataTypeLists.h"

#include <QDialog>

class CGraphPrefs;
class QCheckBox;
class QListWidget;
class QPushButton;

class CGraphPrefsDialog : public QDialog
{
    Q_OBJECT
  public:
    CGraphPrefsDialog(CGraphPrefs& prefs, QWidget* parent = nullptr);

    void accept() override;

    QCheckBox* TabularBox() const { return m_pChecks[0]; }
    QListWidget* DisplayedList() const { return m_pDisplayed; }
    QListWidget* AvailableList() const { return m_pAvailable; }
    QPushButton* AddButton() const { return m_pAdd; }
    QPushButton* RestoreButton() const { return m_pRestore; }

  private:
    void Fill();
    void ListsToControls();
    void EnableLists();
    void Act(void (CDataTypeLists::*move)());

    CGraphPrefs& m_prefs;
    CDataTypeLists m_lists;
    QCheckBox* m_pChecks[8];
    QListWidget *m_pAvailable, *m_pDisplayed;
    QPushButton *m_pAdd, *m_pRemove, *m_pUp, *m_pDown, *m_pRestore;
};

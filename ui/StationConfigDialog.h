#pragma once
// The "Station Configuration" dialog: tab pages over one station record. It edits the
// record it is given in place when closed with OK; the callers hand it a new record or a
// copy and decide what to keep.
#include <QDialog>

class CStation;
class CSystemPage;
class QTabWidget;

class CStationConfigDialog : public QDialog
{
    Q_OBJECT
  public:
    CStationConfigDialog(CStation& station, bool isNew, QWidget* parent = nullptr);

    CSystemPage* SystemPage() const { return m_pSystem; }
    QTabWidget* Tabs() const { return m_pTabs; }

    void accept() override;

  private:
    CSystemPage* m_pSystem;
    QTabWidget* m_pTabs;
};

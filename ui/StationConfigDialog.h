#pragma once
// The "Station Configuration" dialog: the System, Channel and Velocity Model pages over one
// station record. The pages work on the dialog's own copy, so that Cancel leaves the record
// it was given exactly as it was; OK puts the copy into that record.
//
// As in a property sheet, a page is saved when the operator leaves it and loaded when the
// operator comes to it: a stage unit chosen on the System page is the unit the Channel page
// then shows its lengths in.
#include <QDialog>

#include <memory>

class CChannelPage;
class CProfilingPage;
class CStation;
class CSystemPage;
class QTabWidget;

class CStationConfigDialog : public QDialog
{
    Q_OBJECT
  public:
    CStationConfigDialog(CStation& station, bool isNew, QWidget* parent = nullptr);
    ~CStationConfigDialog() override;

    enum EPage { SYSTEM, CHANNEL, VELOCITY_MODEL };

    CSystemPage* SystemPage() const { return m_pSystem; }
    CChannelPage* ChannelPage() const { return m_pChannel; }
    CProfilingPage* ProfilingPage() const { return m_pProfiling; }
    QTabWidget* Tabs() const { return m_pTabs; }

    void accept() override;

  private:
    void PageChanged(int index);
    void SavePage(int index);
    void LoadPage(int index);

    CStation& m_station;
    std::unique_ptr<CStation> m_pWork;
    CSystemPage* m_pSystem;
    CChannelPage* m_pChannel;
    CProfilingPage* m_pProfiling;
    QTabWidget* m_pTabs;
    int m_nPage = SYSTEM;
};

#pragma once
// A data view: one ensemble list shown as the panes the station's graphics preferences chose
// (hydrograph, whisker graph, the row of beam graphs, velocity contours, table), stacked in a
// splitter. The view owns its list and its copy of the station through its model; keys,
// clicks in the table and clicks in the hydrograph move the current entry.
#include "present/DataViewModel.h"

#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class CContourCtrl;
class CDataTableModel;
class CGraphCtrl;
class CHydrographCtrl;
class CStation;
class CWhiskerCtrl;
class QSplitter;
class QTableView;

class CDataView : public QWidget
{
    Q_OBJECT
  public:
    static constexpr const char* kOutOfMemory = "Error, the system is out of memory, cannot continue!";

    CDataView(const CStation& station, CEnsembleList list, QWidget* parent = nullptr);
    ~CDataView() override;

    // Where the view's messages go (a message box unless replaced, as tests do).
    void SetMessageHandler(std::function<void(const QString&)> handler) { m_message = std::move(handler); }

    CDataViewModel& Model() { return *m_pModel; }
    const CDataViewModel& Model() const { return *m_pModel; }

    // Clamps the current entry and shows it in every pane: the hydrograph's cursor, the
    // whisker and beam graphs, the table's selected row.
    void ShowCurrent();
    // The moving keys (arrows, Home, End, Page Up, Page Down): move, clamp, ShowCurrent.
    // False for any other key.
    bool MoveByKey(int key);

    // The selected rows, or every row when none is selected, with the header row: tab-
    // separated for "Copy", CSV for "Export...".
    QString CopyText() const;
    void Copy();
    // Writes the CSV of the same rows to a file; false (and a message) when it failed, in
    // which case no file or the old one is left.
    bool ExportCsv(const QString& path);
    // "Export...": asks for a file name, then ExportCsv.
    void Export();

    // Appends a live ensemble to every pane (the current entry stays where it was).
    void AddEnsemble(const CEnsemble& ensemble);

    QSplitter* Panes() const { return m_pPanes; }
    QSplitter* BeamPanes() const { return m_pBeamPanes; }
    QTableView* Table() const { return m_pTable; }
    CHydrographCtrl* Hydrograph() const { return m_pHydrograph; }
    CWhiskerCtrl* Whisker() const { return m_pWhisker; }
    CGraphCtrl* BeamGraphCtrl(BeamGraph graph) const;
    CContourCtrl* Contours() const { return m_pContours; }

  protected:
    CDataTableModel* TableModel() const { return m_pTableModel; }
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void BuildPanes();
    void BuildTable();
    void SetContourSource();
    void ShowCurrent(bool selectRow);
    void Message(const QString& text);
    std::vector<size_t> SelectedRows() const;
    void WatchKeys(QWidget* widget);

    std::unique_ptr<CDataViewModel> m_pModel;
    std::function<void(const QString&)> m_message;
    QSplitter* m_pPanes = nullptr;
    QSplitter* m_pBeamPanes = nullptr;
    QTableView* m_pTable = nullptr;
    CDataTableModel* m_pTableModel = nullptr;
    CHydrographCtrl* m_pHydrograph = nullptr;
    CWhiskerCtrl* m_pWhisker = nullptr;
    CContourCtrl* m_pContours = nullptr;
    std::map<BeamGraph, CGraphCtrl*> m_beamGraphs;
    bool m_bSyncingTable = false;
    std::vector<int> m_arrShares; // of the outer panes' height, in their order
    bool m_bSized = false;
};

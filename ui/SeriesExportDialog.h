#pragma once
// The "Export Series" dialog: the span, quantity, format, clock offset and file of an export
// of the station's computed series. Its decisions are CSeriesExportModel's; the export runs
// on the background worker while the dialog shows progress for a span of more than a few files.
#include "present/SeriesExportModel.h"

#include <QDialog>

#include <memory>

class CBackgroundWorker;
class CQtDispatcher;
class CStation;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

class CSeriesExportDialog : public QDialog
{
    Q_OBJECT
  public:
    // The station stays the caller's and must outlive the dialog; dataFiles are the names
    // of its data files in directory.
    CSeriesExportDialog(const CStation& station, const std::string& directory,
                        const std::vector<std::string>& dataFiles, QWidget* parent = nullptr);
    ~CSeriesExportDialog() override;

    // The controls, for the tests.
    QLineEdit* FromEdit() const { return m_pFrom; }
    QLineEdit* ToEdit() const { return m_pTo; }
    QLineEdit* OffsetEdit() const { return m_pOffset; }
    QLineEdit* FileEdit() const { return m_pFile; }
    QComboBox* QuantityBox() const { return m_pQuantity; }
    QComboBox* FormatBox() const { return m_pFormat; }
    QProgressBar* Progress() const { return m_pProgress; }
    QPushButton* ExportButton() const { return m_pExport; }
    QPushButton* CloseButton() const { return m_pClose; }
    QLabel* Status() const { return m_pStatus; }
    bool IsExporting() const;

  protected:
    void reject() override;

  private:
    void ModelToControls();
    void ControlsToModel();
    void Browse();
    void Export();
    void Finished(const CSeriesExportModel::SResult& result);
    void SetRunning(bool running);

    const CStation& m_station;
    CSeriesExportModel m_model;
    std::unique_ptr<CQtDispatcher> m_pDispatcher;
    std::unique_ptr<CBackgroundWorker> m_pWorker;

    QLineEdit *m_pFrom, *m_pTo, *m_pOffset, *m_pFile;
    QComboBox *m_pQuantity, *m_pFormat;
    QPushButton *m_pBrowse, *m_pExport, *m_pClose;
    QProgressBar* m_pProgress;
    QLabel* m_pStatus;
};

#pragma once
// The "Application Settings" dialog: the site directory, changed only through the folder
// picker, and the device behind each of the eight numbered serial ports (a device path
// such as /dev/ttyUSB0, or the name of a simulator such as sim:velunit).
#include <QDialog>

#include <functional>
#include <vector>

class QLineEdit;
class QPushButton;

class CAppSettingsDialog : public QDialog
{
    Q_OBJECT
  public:
    // Returns the chosen folder, or an empty text when the picker was cancelled.
    using FolderPicker = std::function<QString(QWidget* parent, const QString& start)>;

    CAppSettingsDialog(const QString& siteDir, const std::vector<QString>& comDevices,
                       QWidget* parent = nullptr);

    // Tests replace the shell's picker with their own answer.
    void SetFolderPicker(FolderPicker picker) { m_picker = std::move(picker); }

    QString SiteDir() const;
    std::vector<QString> ComDevices() const;
    QLineEdit* SiteDirEdit() const { return m_pSiteDir; }
    QPushButton* BrowseButton() const { return m_pBrowse; }
    QLineEdit* ComEdit(int index) const { return m_arrCom.at(static_cast<size_t>(index)); }

    // The default picker: a folder dialog titled "Select Folder".
    static QString PickFolder(QWidget* parent, const QString& start);

  private:
    void Browse();

    QLineEdit* m_pSiteDir;
    QPushButton* m_pBrowse;
    std::vector<QLineEdit*> m_arrCom;
    FolderPicker m_picker = &CAppSettingsDialog::PickFolder;
};

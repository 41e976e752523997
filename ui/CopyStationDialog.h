#pragma once
// The "Copy Station" dialog: the site name and group of the copy.
#include <QDialog>

class QLineEdit;

class CCopyStationDialog : public QDialog
{
    Q_OBJECT
  public:
    CCopyStationDialog(const QString& siteName, const QString& group, QWidget* parent = nullptr);

    QString SiteName() const;
    QString Group() const;
    QLineEdit* SiteNameEdit() const { return m_pSiteName; }

  private:
    QLineEdit *m_pSiteName, *m_pGroup;
};

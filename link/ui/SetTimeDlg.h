#pragma once
// "Set Time": the timezone offset, in whole hours from -23 to 23, that is added to the
// computer's time when the Velunit's clock is set.
#include <QDialog>

class QSpinBox;

class CSetTimeDlg : public QDialog
{
    Q_OBJECT
  public:
    static constexpr int MIN_OFFSET = -23;
    static constexpr int MAX_OFFSET = 23;

    explicit CSetTimeDlg(int offset, QWidget* parent = nullptr);

    int Offset() const;
    QSpinBox* OffsetBox() const { return m_pOffset; }

  private:
    QSpinBox* m_pOffset;
};

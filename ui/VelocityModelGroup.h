#pragma once
// The "Velocity Model" group that the Velocity Model page and the calculation set dialog
// share: the model combo, the equation, and the coefficient edits with their labels. It
// only moves texts to and from a CVelocityModelFields.
#include "present/VelocityModelFields.h"

#include <QGroupBox>

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;

class CVelocityModelGroup : public QGroupBox
{
    Q_OBJECT
  public:
    explicit CVelocityModelGroup(QWidget* parent = nullptr);

    void FieldsToControls(const CVelocityModelFields& fields, int modelIndex);
    void ControlsToFields(CVelocityModelFields& fields) const;

    QComboBox* ModelCombo() const { return m_pModel; }
    QLineEdit* CoefEdit(int i) const { return m_arrEdits.at(static_cast<size_t>(i)); }
    QLabel* CoefLabel(int i) const { return m_arrLabels.at(static_cast<size_t>(i)); }
    QLabel* Equation() const { return m_pEquation; }

  signals:
    void modelChosen(int index); // by the operator

  private:
    QComboBox* m_pModel;
    QLabel* m_pEquation;
    std::array<QLabel*, CVelocityModelFields::EDITS> m_arrLabels{};
    std::array<QLineEdit*, CVelocityModelFields::EDITS> m_arrEdits{};
    QLabel* m_pUnit;
};

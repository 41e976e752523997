#pragma once
// The "Channel" tab of the Station Configuration dialog: channel type, mounting, the
// dimensions or the points of the section, the instrument's position, and a preview of the
// section drawn as it is typed. What is shown and stored is CChannelForm's.
#include "present/ChannelForm.h"

#include <QWidget>

#include <array>

class CChannelPreviewCtrl;
class CStation;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTableWidget;

class CChannelPage : public QWidget
{
    Q_OBJECT
  public:
    explicit CChannelPage(CStation* station, QWidget* parent = nullptr);

    // Shows the page from the record. The page stores itself as it is edited; there is
    // nothing left to save when it is left.
    void LoadPage();

    QRadioButton* TypeButton(int i) const { return m_arrTypes.at(static_cast<size_t>(i)); }
    QRadioButton* MountingButton(int i) const { return m_arrMountings.at(static_cast<size_t>(i)); }
    QLineEdit* DimEdit(int i) const { return m_arrDims.at(static_cast<size_t>(i)); }
    QLabel* DimLabel(int i) const { return m_arrDimLabels.at(static_cast<size_t>(i)); }
    QLineEdit* ZAdcpEdit() const { return m_pZAdcp; }
    QLineEdit* YAdcpEdit() const { return m_pYAdcp; }
    QLineEdit* ZBottomEdit() const { return m_pZBottom; }
    QTableWidget* PointsGrid() const { return m_pPoints; }
    QGroupBox* DimensionsGroup() const { return m_pDimensions; }
    QGroupBox* PointsGroup() const { return m_pPointsGroup; }
    CChannelPreviewCtrl* Preview() const { return m_pPreview; }

  private:
    QGroupBox* BuildTypeGroup();
    QGroupBox* BuildMountingGroup();
    QGroupBox* BuildDimensionsGroup();
    QGroupBox* BuildPointsGroup();
    QGroupBox* BuildPositionGroup();
    void FormToControls();
    void ControlsToForm();
    void StoreAndDraw();
    void PointEdited();

    CStation* m_pStation;
    CChannelForm m_form;
    std::array<QRadioButton*, CChannelForm::TYPE_COUNT> m_arrTypes{};
    std::array<QRadioButton*, CChannelForm::MOUNTING_COUNT> m_arrMountings{};
    QGroupBox* m_pDimensions = nullptr;
    std::array<QLabel*, CChannelForm::DIMENSIONS> m_arrDimLabels{}, m_arrDimUnits{};
    std::array<QLineEdit*, CChannelForm::DIMENSIONS> m_arrDims{};
    QLineEdit *m_pZAdcp = nullptr, *m_pYAdcp = nullptr, *m_pZBottom = nullptr;
    QLabel *m_pZAdcpUnit = nullptr, *m_pYAdcpUnit = nullptr, *m_pZBottomUnit = nullptr;
    QLabel* m_pZBottomLabel = nullptr;
    QGroupBox* m_pPointsGroup = nullptr;
    QTableWidget* m_pPoints = nullptr;
    CChannelPreviewCtrl* m_pPreview = nullptr;
    bool m_bFilling = false;
};

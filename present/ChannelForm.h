#pragma once
// The "Channel" page of the Station Configuration dialog without its widgets: the channel
// type and mounting buttons, the dimension edits with their labels, Z-ADCP, Y-ADCP and
// Z-Bottom, and the points grid, all in the station's length unit. The page stores itself
// into the station on every change, so the preview and the other pages see the channel as
// it is being typed.
#include "present/FormText.h"

#include <array>
#include <string>

class CStation;

class CChannelForm
{
  public:
    static constexpr int TYPE_COUNT = 5, MOUNTING_COUNT = 4, DIMENSIONS = 3, POINT_ROWS = 20;
    // The type buttons in their order on the page, and the codes they set.
    static const char* TypeText(int button);
    static int TypeCode(int button);
    // The mounting buttons in their order on the page ("Left", "Right", "Bottom", "Top"),
    // and the mounting codes they store.
    static const char* MountingText(int button);
    static int MountingCode(int button);

    // Record -> form ("showing the page").
    void Load(const CStation& station);
    // Form -> record: the dimensions, the instrument's position and the points.
    void Store(CStation& station) const;
    // The buttons: each stores at once and shows the page again.
    void SetType(CStation& station, int button);
    void SetMounting(CStation& station, int button);

    // The checked buttons; -1 for a code no button stands for.
    int m_nTypeButton = -1;
    int m_nMountingButton = -1;

    bool m_bDimensionsVisible = true; // the group; the points grid is shown instead
    std::array<std::string, DIMENSIONS> m_arrDimLabels;
    std::array<std::string, DIMENSIONS> m_arrDimUnits;
    std::array<bool, DIMENSIONS> m_arrDimVisible{};
    std::array<CNumberText, DIMENSIONS> m_arrDims;

    CNumberText m_zAdcp, m_yAdcp, m_zBottom;
    bool m_bZAdcpEnabled = true;
    bool m_bZBottomVisible = true;

    bool m_bPointsVisible = false;
    std::array<CNumberText, POINT_ROWS> m_arrPointY, m_arrPointZ;

    std::string m_strUnit; // short name of the length unit

  private:
    int m_nType = 0;
    int m_nMounting = 0;
    int m_nUnit = 0;
};

#pragma once
// The velocity model group that the "Velocity Model" page and the calculation set dialog
// share: which coefficient edits are shown for a model type, under which labels, with what
// in them, and how the shown ones are stored back. Coefficients are stored as typed; only
// the critical velocity is typed in the velocity display unit.
#include "present/FormText.h"

#include <array>
#include <string>

class CVelocityModelFields
{
  public:
    static constexpr int EDITS = 5; // four coefficients and "Crit. Vel."
    static constexpr int CRIT_VEL = 4;

    // The combo's entries, for model types 1, 2 and 3.
    static const char* ModelName(int index);
    static constexpr int MODEL_COUNT = 3;

    // Fills the group for a model type; a type outside 1..3 shows no edit at all.
    void Show(int type, const double coef[4], double critVelocity, int velocityUnits);
    // Stores every shown edit: the first four into the coefficients, "Crit. Vel." converted
    // from the velocity display unit into mm/s. Hidden edits leave their values alone.
    void Store(double coef[4], double& critVelocity, int velocityUnits) const;

    int m_nType = 0;
    std::array<std::string, EDITS> m_arrLabels;
    std::array<bool, EDITS> m_arrVisible{};
    std::array<CNumberText, EDITS> m_arrEdits;
    bool m_bUnitVisible = false; // the velocity unit beside "Crit. Vel."
    std::string m_strUnit;
    std::string m_strEquation; // the model written out, one line per branch
};

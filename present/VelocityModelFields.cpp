#include "present/VelocityModelFields.h"

#include "data/FlowSettings.h"
#include "data/FormatValue.h"
#include "data/Units.h"

const char* CVelocityModelFields::ModelName(int index)
{
    static const char* const names[MODEL_COUNT] = {"Linear Regression", "Power Regression",
                                                   "Compound Regression"};
    return index >= 0 && index < MODEL_COUNT ? names[index] : "Unknown";
}

void CVelocityModelFields::Show(int type, const double coef[4], double critVelocity, int velocityUnits)
{
    m_nType = type;
    m_arrLabels = {};
    m_arrVisible = {};
    m_bUnitVisible = false;
    m_strUnit = UnitAbbreviation(velocityUnits);
    int shown = 0;
    switch (type) {
    case MODEL_LINEAR:
        m_arrLabels = {"B1", "B2", "B3", "", ""};
        m_strEquation = "V = B1 + (B2 + B3 \xC3\x97 H) \xC3\x97 Vi";
        shown = 3;
        break;
    case MODEL_POWER:
        m_arrLabels = {"a", "B", "", "", ""};
        m_strEquation = "V = a \xC3\x97 Vi^B";
        shown = 2;
        break;
    case MODEL_COMPOUND:
        m_arrLabels = {"B1", "B2", "B3", "B4", "Crit. Vel."};
        m_strEquation = "V = B1 + B2 \xC3\x97 Vi  when Vi \xE2\x89\xA4 Vc\n"
                        "V = B3 + B4 \xC3\x97 Vi  when Vi > Vc";
        shown = 4;
        m_bUnitVisible = true;
        break;
    default:
        m_strEquation.clear();
        break;
    }
    for (int i = 0; i < EDITS; ++i)
        m_arrEdits[i].Clear();
    for (int i = 0; i < shown; ++i) {
        m_arrVisible[i] = true;
        m_arrEdits[i].Show(coef[i], FormatValue(coef[i], true));
    }
    if (type == MODEL_COMPOUND) {
        m_arrVisible[CRIT_VEL] = true;
        m_arrEdits[CRIT_VEL].Show(critVelocity,
                                  FormatValue(ToDisplayUnits(critVelocity, velocityUnits), true));
    }
}

void CVelocityModelFields::Store(double coef[4], double& critVelocity, int velocityUnits) const
{
    for (int i = 0; i < 4; ++i)
        if (m_arrVisible[i])
            coef[i] = m_arrEdits[i].Value();
    if (m_arrVisible[CRIT_VEL])
        critVelocity = m_arrEdits[CRIT_VEL].Value(
            [velocityUnits](double v) { return ToInternalUnits(v, velocityUnits); });
}

#pragma once
// The flow settings of a station and of its calculation sets, as the data layer takes them.
#include "data/FlowSettingsTable.h"

class CStation;
class CCalcSet;

// The station's own settings.
CFlowSettings FlowSettingsOf(const CStation& station);
// A calculation set's settings; the station's display units still apply.
CFlowSettings FlowSettingsOf(const CCalcSet& set, const CStation& station);

// What a load computes with: the station's own settings and its calculation sets in their
// order, each in force after its start. Made once per load; later edits of the station do
// not reach it.
CFlowSettingsTable FlowSettingsTableOf(const CStation& station);

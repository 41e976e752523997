#pragma once
// Stage, index velocity, mean velocity, area and flow of one ensemble.
#include "data/EnsembleRecord.h"
#include "data/FlowSettings.h"

struct SEnsembleFormat;

// Fills the five derived values of rec (and its velocity sign) from its bytes with the
// given settings. Every input that is missing gives no data for what depends on it and
// for nothing else; a result that is not a finite number is no data too.
void ComputeDerived(SEnsembleRecord& rec, const CFlowSettings& settings);
// The same when the caller already holds the record's format (nullptr for a separator).
void ComputeDerived(SEnsembleRecord& rec, const SEnsembleFormat* format, const CFlowSettings& settings);

// The mean channel velocity for an index velocity (mm/s) and a stage (tenths of a mm).
double ComputeMeanVelocity(double indexVelocity, double stage, const CFlowSettings& settings);

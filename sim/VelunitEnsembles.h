#pragma once
// The ensembles a deployed simulated unit records and sends: a plausible velocity profile
// over the programmed bins and a stage that rises and falls slowly, so that a live view
// has something worth drawing.
#include "sim/VelunitConfig.h"

std::vector<unsigned char> MakeVelunitEnsemble(const SVelunitEnsembleParams& params);

#pragma once
// The live view's simulation mode: the view plays the instrument and makes up a PD14
// ensemble from a built-in one, with its bin velocities and range shaken a little and the
// computer's month, day and time of day, so that a demo or a check of the recording needs
// no deployed unit.
#include "data/DateTime.h"

#include <array>
#include <cstdint>
#include <functional>

class CEnsembleReader;

// Where the made-up ensembles start from: a PD14 ensemble of 343 bytes, number 1, recorded
// 2004/09/09 09:34:10, pitch -50 and roll 84 (hundredths of a degree), range 12211 (tenths of
// a millimetre), 32 bins of which the last four lie beyond the surface (-32768).
constexpr size_t SIMULATION_TEMPLATE_SIZE = 343;
const std::array<uint8_t, SIMULATION_TEMPLATE_SIZE>& SimulationTemplate();

// Draws the next value of the pseudo-random generator.
using RandomSource = std::function<unsigned()>;

// The generator of the running program: the standard library's, seeded with the time when
// it is first used.
RandomSource ProgramRandom();

// Builds one simulated ensemble into the framer, which is reset first and afterwards holds
// the complete ensemble (HasEnsemble). Every bin velocity and the range are multiplied by
// 1 +- f^4 with f in [0, 1) drawn anew for each; bad bins (-32768) stay bad. The year stays
// the template's; month, day, hour, minute and second are taken from now. False when the
// template does not frame as a PD14 ensemble of its bins (nothing complete is built then).
bool BuildSimulatedEnsemble(CEnsembleReader& reader, const CDateTime& now, const RandomSource& random);

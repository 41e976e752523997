#pragma once
// Pairing reference measurements with what the station recorded meanwhile: the mean index
// velocity and stage of the ensembles within each measurement, the rated area at that stage
// and the measured mean velocity (discharge over area).
#include "data/FlowSettingsTable.h"
#include "rating/Measurements.h"

#include <string>
#include <vector>

class CEnsembleList;
class CStation;

// What the rating needs of one recorded ensemble, computed with the settings in force at
// its time (internal units).
struct SRecordedSample {
    double m_dTime = NODATA;
    double m_dIndexVelocity = NODATA; // mm/s
    double m_dStage = NODATA;         // tenths of a millimetre
};

// The valid ensembles of a list that have a time, in time order.
std::vector<SRecordedSample> CollectSamples(const CEnsembleList& list);

// Loads every data file of a station directory with the station's settings and calculation
// sets, as the data view computes them. problems receives one line per file that could not
// be read.
std::vector<SRecordedSample> LoadStationSamples(const CStation& station, const std::string& directory,
                                                std::vector<std::string>* problems = nullptr);
// The folder of the station file (where its data files lie).
std::string StationDataDirectory(const CStation& station);

enum class PairKind { Within, Nearest, None };
const char* PairKindName(PairKind kind); // "within", "nearest", "none"

struct SRatingPoint {
    SMeasurement m_measurement;
    PairKind m_kind = PairKind::None;
    int m_nEnsembles = 0;                // ensembles averaged (1 for the nearest)
    double m_dIndexVelocity = NODATA;    // mm/s
    double m_dStage = NODATA;            // tenths of a millimetre: the given one, else the recorded mean
    double m_dArea = NODATA;             // cm2
    double m_dMeasuredVelocity = NODATA; // mm/s
    double m_dTime = NODATA;             // the middle of the measurement
    bool Usable() const;                 // paired with a velocity, an area and a measured velocity
};

inline constexpr double kDefaultToleranceMinutes = 15.0;

// One point per measurement, in the order given. The geometry is that of the settings in
// force at the middle of each measurement.
std::vector<SRatingPoint> PairMeasurements(const std::vector<SMeasurement>& rows,
                                           const std::vector<SRecordedSample>& samples,
                                           const CFlowSettingsTable& settings,
                                           double toleranceMinutes = kDefaultToleranceMinutes);

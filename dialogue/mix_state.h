// The state of one mix design: every answer and every result of the run, in
// one record that lives for the whole process. Every field starts at zero; a
// null answer leaves its field as it was.
#ifndef DOSMO_DIALOGUE_MIX_STATE_H_
#define DOSMO_DIALOGUE_MIX_STATE_H_

#include <cstdint>

namespace dosmo {

// Slots of the per-gradation arrays; gradations are numbered 1 to 8.
inline constexpr int kMaxGradations = 8;

// Length of the report file name as typed.
inline constexpr int kReportFileNameLength = 15;

// Every answer and result of one run, in the order the stages fill them.
struct MixState {
  char reportFileName[kReportFileNameLength] = {};  // report file name as typed
  std::int32_t shellStatus = 0;       // status of the last screen clear
  float fck = 0;                      // characteristic strength required, MPa
  float deviationSd = 0;              // standard deviation of the control level, MPa
  float fc28 = 0;                     // target mean strength at 28 days, MPa
  float slumpCm = 0;                  // slump, cm
  float maxAggregateMm = 0;           // maximum coarse aggregate size, mm
  float shapeFactor = 0;              // aggregate shape factor
  float waterContent = 0;             // water, l/m3; water per bag at the end
  std::int32_t durabilityChoice = 0;  // route of the water-cement ratio
  std::int32_t cementType = 0;        // cement class 1 CP25, 2 CP32, 3 CP40
  std::int32_t sharedAnswer = 0;      // ratioRow, keepSuggested, airEntrained, coarseCount
  float wcRatio = 0;                  // water-cement ratio in use
  float cementContent = 0;            // cement, kg/m3
  std::int32_t sizeRow = 0;           // row of the maximum-size table
  float airVolume = 0;                // air, l/m3
  float sandPercent = 0;              // sand share of the aggregate volume, %
  float aggregateVolume = 0;          // volume left for the aggregates, dm3/m3
  float sandMass = 0;                 // sand, kg/m3
  float coarsePercent[kMaxGradations] = {};  // share of each gradation, %
  float coarseMass[kMaxGradations] = {};     // mass of each gradation, kg/m3
  float cementRatio = 0;              // cement part of the mix by weight
  float sandRatio = 0;                // sand part of the mix by weight
  float coarseRatio[kMaxGradations] = {};    // each gradation's part of the mix
  float sandUnitMass = 0;             // unit mass of the sand, kg/dm3
  float sandBoxHeight = 0;            // height of the sand box, cm
  float coarseUnitMass[kMaxGradations] = {}; // unit mass of each gradation, kg/dm3
  float coarseBoxHeight[kMaxGradations] = {};// height of each gradation's box, cm
};

}  // namespace dosmo

#endif  // DOSMO_DIALOGUE_MIX_STATE_H_

// The two constant tables of the mix design: strength against water-cement
// ratio for three cement classes, and sand share and air by maximum aggregate
// size. Both are searched linearly from their first row for the first key
// that is greater than or equal to the value sought.
#ifndef DOSMO_DIALOGUE_TABLES_H_
#define DOSMO_DIALOGUE_TABLES_H_

namespace dosmo {

// Rows of the strength table and of the size table.
inline constexpr int kRatioRows = 12;
inline constexpr int kSizeRows = 7;

// One row of the strength table: the 28-day strength in MPa reached with
// cement CP25, CP32 and CP40, and the water-cement ratio that reaches it.
struct RatioStrengthRow {
  float strength[3];
  float ratio;
};

// One row of the size table: the maximum aggregate size in mm, the sand share
// of the aggregate volume in % and the air in l/m3, each without (column 0)
// and with (column 1) entrained air.
struct SizeRow {
  float maxSizeMm;
  float sandPercent[2];
  float airVolume[2];
};

// The strength table, rows ordered by falling ratio (rising strengths).
extern const RatioStrengthRow ratioStrengthTable[kRatioRows];

// The size table, rows ordered by rising maximum size.
extern const SizeRow sizeTable[kSizeRows];

// The strength column of a cement class answer: 1 CP25, 2 CP32, anything
// else CP40.
int cementColumn(int cementType);

// The column of an entrained-air answer: 2 is entrained air, anything else
// none.
int airColumn(int airEntrained);

// The first row (1 to 12) whose strength for `cementType` is at least `fc28`,
// compared in single precision; 0 when no row reaches it.
int findRatioRow(int cementType, float fc28);

// The first row (1 to 7) whose maximum size is at least `maxAggregateMm`;
// 0 when the size is above every row.
int findSizeRow(float maxAggregateMm);

}  // namespace dosmo

#endif  // DOSMO_DIALOGUE_TABLES_H_

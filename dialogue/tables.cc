// The strength and size tables as constant arrays, and their linear searches.
// Values are the single-precision numbers nearest to the tabulated decimals.
#include "dialogue/tables.h"

namespace dosmo {

const RatioStrengthRow ratioStrengthTable[kRatioRows] = {
    {{9.9f, 12.4f, 15.5f}, 0.90f},  {{11.2f, 14.0f, 17.5f}, 0.85f},
    {{12.7f, 15.9f, 19.8f}, 0.80f}, {{14.4f, 18.0f, 22.4f}, 0.75f},
    {{16.2f, 20.3f, 25.4f}, 0.70f}, {{18.4f, 23.0f, 28.7f}, 0.65f},
    {{20.8f, 26.0f, 32.5f}, 0.60f}, {{23.5f, 29.4f, 36.8f}, 0.55f},
    {{26.6f, 33.3f, 41.6f}, 0.50f}, {{30.1f, 37.7f, 47.1f}, 0.45f},
    {{34.1f, 42.6f, 53.3f}, 0.40f}, {{38.6f, 48.2f, 60.3f}, 0.35f},
};

const SizeRow sizeTable[kSizeRows] = {
    {9.5f, {61.0f, 59.0f}, {30.0f, 80.0f}},  {19.0f, {45.0f, 42.0f}, {25.0f, 60.0f}},
    {25.0f, {41.0f, 40.0f}, {20.0f, 50.0f}}, {38.0f, {38.0f, 37.0f}, {15.0f, 45.0f}},
    {50.0f, {34.0f, 33.0f}, {10.0f, 40.0f}}, {76.0f, {30.0f, 28.0f}, {5.0f, 35.0f}},
    {150.0f, {28.0f, 24.0f}, {3.0f, 30.0f}},
};

int cementColumn(int cementType) {
  if (cementType == 1) return 0;
  if (cementType == 2) return 1;
  return 2;
}

int airColumn(int airEntrained) { return airEntrained == 2 ? 1 : 0; }

int findRatioRow(int cementType, float fc28) {
  const int column = cementColumn(cementType);
  for (int row = 1; row <= kRatioRows; ++row) {
    if (ratioStrengthTable[row - 1].strength[column] >= fc28) return row;
  }
  return 0;
}

int findSizeRow(float maxAggregateMm) {
  for (int row = 1; row <= kSizeRows; ++row) {
    if (sizeTable[row - 1].maxSizeMm >= maxAggregateMm) return row;
  }
  return 0;
}

}  // namespace dosmo

// The strength and size tables: their stored values, the linear searches with
// their boundaries, and the columns chosen for every class and air answer.
#include "dialogue/tables.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace {

float above(float value) { return std::nextafter(value, std::numeric_limits<float>::infinity()); }

TEST(Tables, RatioTableHoldsTheNearestSingles) {
  EXPECT_EQ(dosmo::ratioStrengthTable[0].strength[0], 9.89999962f);
  EXPECT_EQ(dosmo::ratioStrengthTable[0].ratio, 0.899999976f);
  EXPECT_EQ(dosmo::ratioStrengthTable[7].strength[1], 29.3999996f);
  EXPECT_EQ(dosmo::ratioStrengthTable[7].ratio, 0.550000012f);
  EXPECT_EQ(dosmo::ratioStrengthTable[11].strength[0], 38.5999985f);
  EXPECT_EQ(dosmo::ratioStrengthTable[11].strength[1], 48.2000008f);
  EXPECT_EQ(dosmo::ratioStrengthTable[11].strength[2], 60.2999992f);
  EXPECT_EQ(dosmo::ratioStrengthTable[11].ratio, 0.349999994f);
  for (int row = 1; row < dosmo::kRatioRows; ++row) {
    for (int column = 0; column < 3; ++column) {
      EXPECT_GT(dosmo::ratioStrengthTable[row].strength[column],
                dosmo::ratioStrengthTable[row - 1].strength[column]);
    }
    EXPECT_LT(dosmo::ratioStrengthTable[row].ratio, dosmo::ratioStrengthTable[row - 1].ratio);
  }
}

TEST(Tables, RatioSearchStopsAtTheFirstStrengthReachingTarget) {
  struct Case {
    int cementType;
    float fc28;
    int row;
  };
  const Case cases[] = {
      {2, 29.0750008f, 8},  {1, 25, 9},           {3, 10, 1},           {1, 23.5f, 8},
      {1, above(23.5f), 9}, {1, 9.9f, 1},         {1, -5, 1},           {1, 0, 1},
      {2, 31.6000004f, 9},  {3, 41.5499992f, 9},  {1, 38.6f, 12},       {1, above(38.6f), 0},
      {2, 48.2f, 12},       {2, above(48.2f), 0}, {3, 60.3f, 12},       {3, above(60.3f), 0},
      {3, 1e30f, 0},        {0, 32.5f, 7},        {4, 32.5f, 7},        {-1, above(32.5f), 8},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(dosmo::findRatioRow(c.cementType, c.fc28), c.row) << c.cementType << " " << c.fc28;
  }
  EXPECT_EQ(dosmo::findRatioRow(1, std::nanf("")), 0);
}

TEST(Tables, SizeSearchTakesTheFirstSizeNotBelowTheTypedOne) {
  struct Case {
    float size;
    int row;
  };
  const Case cases[] = {
      {25, 3},   {20, 3},  {9.5f, 1}, {5, 1},     {0, 1},          {-3, 1},  {19, 2},
      {above(19), 3}, {38, 4}, {50, 5}, {76, 6}, {76.5f, 7}, {150, 7}, {above(150), 0},
      {1e30f, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(dosmo::findSizeRow(c.size), c.row) << c.size;
  EXPECT_EQ(dosmo::findSizeRow(std::nanf("")), 0);
}

TEST(Tables, ColumnsForClassAndAirAnswers) {
  struct Case {
    int answer, cement, air;
  };
  const Case cases[] = {{1, 0, 0}, {2, 1, 1}, {3, 2, 0}, {0, 2, 0}, {-5, 2, 0}, {7, 2, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(dosmo::cementColumn(c.answer), c.cement) << c.answer;
    EXPECT_EQ(dosmo::airColumn(c.answer), c.air) << c.answer;
  }
}

TEST(Tables, SizeRowValuesByAirColumn) {
  struct Case {
    float size;
    int airEntrained;
    float air, sand;
  };
  const Case cases[] = {
      {25, 1, 20, 41}, {19, 2, 60, 42}, {9.5f, 1, 30, 61}, {9.5f, 2, 80, 59},
      {150, 1, 3, 28}, {150, 2, 30, 24}, {60, 2, 35, 28},  {38, 0, 15, 38},
  };
  for (const Case& c : cases) {
    const dosmo::SizeRow& row = dosmo::sizeTable[dosmo::findSizeRow(c.size) - 1];
    const int column = dosmo::airColumn(c.airEntrained);
    EXPECT_EQ(row.airVolume[column], c.air) << c.size << " " << c.airEntrained;
    EXPECT_EQ(row.sandPercent[column], c.sand) << c.size << " " << c.airEntrained;
  }
}

}  // namespace

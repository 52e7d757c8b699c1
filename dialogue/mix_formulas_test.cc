// The mix-design formulas: the worked examples of strength, water, cement,
// mix by weight, batch boxes and water per bag, each to the last bit of the
// stored single-precision result, and the faults that end the run.
#include "dialogue/mix_formulas.h"

#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/fake_platform.h"

namespace {

using dosmo::ControlLevel;
using testing_support::FakeRun;

float above(float value) { return std::nextafter(value, std::numeric_limits<float>::infinity()); }

TEST(MixFormulas, TargetStrengthIsRoundedOnceFromProductPlusStrength) {
  struct Case {
    float fck, deviation, fc28;
  };
  const Case cases[] = {
      {25, 4, 31.6000004f},  {20, 5.5f, 29.0750008f}, {30, 7, 41.5499992f},
      {25, 5, 33.25f},       {25, 0, 25.0f},          {25, -2, 21.7000008f},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(dosmo::targetStrength(c.fck, c.deviation), c.fc28) << c.fck << " " << c.deviation;
  }
}

TEST(MixFormulas, ControlLevelBoundariesBelongToTheLowerLevel) {
  struct Case {
    float deviation;
    ControlLevel level;
  };
  const Case cases[] = {
      {-1, ControlLevel::rigorous},       {0, ControlLevel::rigorous},
      {4, ControlLevel::rigorous},        {above(4), ControlLevel::medium},
      {4.5f, ControlLevel::medium},       {5, ControlLevel::medium},
      {5.5f, ControlLevel::medium},       {above(5.5f), ControlLevel::low},
      {6, ControlLevel::low},             {7, ControlLevel::low},
      {1e30f, ControlLevel::low},
  };
  for (const Case& c : cases) EXPECT_EQ(dosmo::controlLevelOf(c.deviation), c.level) << c.deviation;
}

TEST(MixFormulas, WaterContentWorkedExamples) {
  struct Case {
    float slump, size, shape, water;
  };
  const Case cases[] = {
      {8, 25, 1, 189.293747f},     {10, 19, 1, 203.367172f},    {8, 25, 0.9f, 170.36438f},
      {8, 25, 1.05f, 198.758438f}, {8, 9.5f, 1, 225.307281f},   {6, 38, 1, 170.573105f},
      {8, 25, 1.2f, 227.152512f},  {0, 25, 1, 0.0f},            {0, 25, 0.9f, 0.0f},
      {8, 25, 0, 0.0f},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(dosmo::waterContentFor(c.slump, c.size, c.shape), c.water)
        << c.slump << " " << c.size << " " << c.shape;
  }
}

TEST(MixFormulas, MixByWeightWorkedExample) {
  const float water = 189.293747f;
  const float cement = dosmo::cementContentFor(water, 0.55f);
  EXPECT_EQ(cement, 344.170441f);
  const float aggregate = dosmo::aggregateVolumeFor(cement, water, 20);
  EXPECT_EQ(aggregate, 681.445801f);
  const float sand = dosmo::sandMassFor(aggregate, 41);
  EXPECT_EQ(sand, 737.596985f);
  const float coarse = dosmo::coarseMassFor(59, aggregate);
  EXPECT_EQ(coarse, 1085.54321f);
  EXPECT_EQ(dosmo::mixRatio(cement, cement), 1.0f);
  EXPECT_EQ(dosmo::mixRatio(sand, cement), 2.14311552f);
  EXPECT_EQ(dosmo::mixRatio(coarse, cement), 3.15408611f);
}

TEST(MixFormulas, BoxHeightsAndTheTwoBoxSplit) {
  struct Case {
    float ratio, unitMass, height;
    bool twoBoxes;
    float perBox;
  };
  const Case cases[] = {
      {2.14311552f, 1.59f, 42.789566f, true, 21.394783f},
      {3.15408611f, 1.4f, 71.521225f, true, 35.7606125f},
      {1.5f, 1.5f, 31.7460308f, false, 31.7460308f},
      {441, 400, 35.0f, false, 35.0f},  // exactly 35 cm is still one box
      {567, 500, 36.0f, true, 18.0f},
      {1.5f, -1.5f, -31.7460308f, false, -31.7460308f},
  };
  for (const Case& c : cases) {
    const float height = dosmo::boxHeightFor(c.ratio, c.unitMass);
    EXPECT_EQ(height, c.height) << c.ratio << " / " << c.unitMass;
    EXPECT_EQ(dosmo::needsTwoBoxes(height), c.twoBoxes) << height;
    EXPECT_EQ(c.twoBoxes ? dosmo::halfHeight(height) : height, c.perBox) << height;
  }
  EXPECT_TRUE(dosmo::needsTwoBoxes(above(35.0f)));
}

TEST(MixFormulas, WaterPerBag) {
  EXPECT_EQ(dosmo::waterPerBagFor(0.55f), 27.5f);
  EXPECT_EQ(dosmo::waterPerBagFor(0.62f), 31.0f);
  EXPECT_EQ(dosmo::waterPerBagFor(0), 0.0f);
}

TEST(MixFormulas, ArithmeticFaultsEndTheRunWithTheirReport) {
  struct Case {
    std::function<void()> formula;
    const char* error;
  };
  const Case cases[] = {
      {[] { dosmo::waterContentFor(8, 0, 1); }, "M6103"},      // division by a zero power
      {[] { dosmo::waterContentFor(0, 0, 1); }, "M6101"},      // zero by zero
      {[] { dosmo::waterContentFor(-8, 25, 1); }, "M6201"},    // power of a negative slump
      {[] { dosmo::waterContentFor(8, -25, 1); }, "M6201"},    // power of a negative size
      {[] { dosmo::cementContentFor(189.3f, 0); }, "M6103"},   // water-cement ratio of 0
      {[] { dosmo::mixRatio(737.6f, 0); }, "M6103"},           // cement content of 0
      {[] { dosmo::boxHeightFor(2.14f, 0); }, "M6103"},        // unit mass of 0
      {[] { dosmo::targetStrength(3e38f, 3e38f); }, "M6104"},  // beyond single precision
  };
  for (const Case& c : cases) {
    FakeRun run;
    EXPECT_EQ(FakeRun::statusOf(c.formula), 1) << c.error;
    EXPECT_NE(run.fake.error.find(c.error), std::string::npos) << run.fake.error;
  }
}

}  // namespace

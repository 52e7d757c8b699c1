// The memo options of the command line: what each line asks for, and every
// refusal (a bad or missing value, an option without --memorial).
#include "app/memo_options.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(MemoOptions, LinesAndWhatTheyAskFor) {
  const struct {
    std::vector<const char*> arguments;
    bool memo;
    double volume;  // 0: no order
    double loss;
    int used;
    bool refused;
  } rows[] = {
      {{}, false, 0, 0, 0, false},
      {{"rel.txt"}, false, 0, 0, 0, false},
      {{"--memorial", "rel.txt"}, true, 0, 0, 1, false},
      {{"--memorial", "--volume", "12,5"}, true, 12.5, 0, 3, false},
      {{"--memorial", "--volume", "12.5", "--perda", "5", "obra.txt"}, true, 12.5, 5, 5, false},
      {{"--volume", "3", "--perda", "0", "--memorial"}, true, 3, 0, 5, false},
      {{"--memorial", "--volume", "100000", "--perda", "100"}, true, 100000, 100, 5, false},
      {{"--memorial", "--volume", "0,001"}, true, 0.001, 0, 3, false},
      {{"--volume", "3"}, false, 0, 0, 2, true},
      {{"--memorial", "--perda", "5"}, true, 0, 0, 3, true},
      {{"--memorial", "--volume"}, true, 0, 0, 2, true},
      {{"--memorial", "--volume", "0"}, true, 0, 0, 3, true},
      {{"--memorial", "--volume", "-1"}, true, 0, 0, 3, true},
      {{"--memorial", "--volume", "100000.01"}, true, 0, 0, 3, true},
      {{"--memorial", "--volume", "abc"}, true, 0, 0, 3, true},
      {{"--memorial", "--volume", "1e3"}, true, 0, 0, 3, true},
      {{"--memorial", "--volume", "nan"}, true, 0, 0, 3, true},
      {{"--memorial", "--volume", "3", "--perda", "100,5"}, true, 0, 0, 5, true},
      {{"--memorial", "--volume", "3", "--perda", "-0"}, true, 0, 0, 5, true},
  };
  for (const auto& row : rows) {
    const dosmo::MemoOptions options =
        dosmo::parseMemoOptions(static_cast<int>(row.arguments.size()), row.arguments.data());
    const std::string line = row.arguments.empty() ? "(none)" : row.arguments.back();
    EXPECT_EQ(!options.refusal.empty(), row.refused) << line << options.refusal;
    if (row.refused) continue;
    EXPECT_EQ(options.memo, row.memo) << line;
    EXPECT_EQ(options.used, row.used) << line;
    EXPECT_EQ(options.order.has_value(), row.volume != 0) << line;
    if (options.order) {
      EXPECT_EQ(options.order->cubicMetres, row.volume) << line;
      EXPECT_EQ(options.order->lossPercent, row.loss) << line;
    }
  }
}

TEST(MemoOptions, NumbersWithPointOrComma) {
  const struct {
    const char* text;
    double value;  // -1: not a number
  } rows[] = {
      {"2.5", 2.5}, {"2,5", 2.5}, {"10", 10}, {".5", 0.5}, {"5.", 5},   {"", -1},  {",", -1},
      {"1.2.3", -1}, {"1,2.3", -1}, {"+1", -1}, {"-1", -1}, {"1e3", -1}, {" 1", -1}, {"inf", -1},
  };
  for (const auto& row : rows) {
    const std::optional<double> value = dosmo::typedNumber(row.text);
    EXPECT_EQ(value.value_or(-1), row.value) << row.text;
  }
}

}  // namespace

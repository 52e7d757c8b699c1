// Field rendering beside snprintf: Fw.d against "%*.*f" and Iw against "%*d"
// on the figures a report holds, and one formatted record sent to a sink that
// keeps nothing, against snprintf of the same record.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "recio/field.h"
#include "recio/output_statement.h"
#include "recio/record_sink.h"

namespace {

// Figures of a worked example, one negative, one too wide for F5.2.
constexpr std::array<float, 8> kReals = {31.6000004f, 344.170441f, 2.14311552f, 0.55f,
                                         21.394783f,  35.7606125f, -9.996f,     27.5f};
constexpr std::array<std::int32_t, 8> kIntegers = {1, 2, 3, 4, 5, 6, 7, 8};

// The values as the compiler must take them: read through a pointer it cannot
// see through. (Passing a float itself to DoNotOptimize lets this library's
// "+m,r" constraint hand the callee a wrong register with GCC.)
template <typename T, std::size_t N>
const T* opaque(const std::array<T, N>& values) {
  const T* data = values.data();
  benchmark::DoNotOptimize(data);
  return data;
}

void perValue(benchmark::State& state, std::size_t values) {
  state.counters["per_value"] = benchmark::Counter(
      static_cast<double>(values), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void renderFixedField(benchmark::State& state, int width, int decimals) {
  std::array<char, 32> field{};
  for (auto _ : state) {
    const float* values = opaque(kReals);
    for (std::size_t at = 0; at < kReals.size(); ++at) {
      const float value = values[at];
      recio::renderFixed(value, width, decimals, field.data());
      benchmark::DoNotOptimize(field);
    }
  }
  perValue(state, kReals.size());
}

void snprintfFixed(benchmark::State& state, int width, int decimals) {
  std::array<char, 32> field{};
  for (auto _ : state) {
    const float* values = opaque(kReals);
    for (std::size_t at = 0; at < kReals.size(); ++at) {
      const float value = values[at];
      std::snprintf(field.data(), field.size(), "%*.*f", width, decimals, static_cast<double>(value));
      benchmark::DoNotOptimize(field);
    }
  }
  perValue(state, kReals.size());
}

void renderIntegerField(benchmark::State& state, int width) {
  std::array<char, 32> field{};
  for (auto _ : state) {
    const std::int32_t* values = opaque(kIntegers);
    for (std::size_t at = 0; at < kIntegers.size(); ++at) {
      const std::int32_t value = values[at];
      recio::renderInteger(value, width, field.data());
      benchmark::DoNotOptimize(field);
    }
  }
  perValue(state, kIntegers.size());
}

void snprintfInteger(benchmark::State& state, int width) {
  std::array<char, 32> field{};
  for (auto _ : state) {
    const std::int32_t* values = opaque(kIntegers);
    for (std::size_t at = 0; at < kIntegers.size(); ++at) {
      const std::int32_t value = values[at];
      std::snprintf(field.data(), field.size(), "%*d", width, static_cast<int>(value));
      benchmark::DoNotOptimize(field);
    }
  }
  perValue(state, kIntegers.size());
}

BENCHMARK_CAPTURE(renderFixedField, F5.2, 5, 2);
BENCHMARK_CAPTURE(snprintfFixed, F5.2, 5, 2);
BENCHMARK_CAPTURE(renderFixedField, F6.2, 6, 2);
BENCHMARK_CAPTURE(snprintfFixed, F6.2, 6, 2);
BENCHMARK_CAPTURE(renderFixedField, F7.2, 7, 2);
BENCHMARK_CAPTURE(snprintfFixed, F7.2, 7, 2);
BENCHMARK_CAPTURE(renderIntegerField, I2, 2);
BENCHMARK_CAPTURE(snprintfInteger, I2, 2);

// A sink that counts the bytes it is given and keeps none.
class NullSink : public recio::RecordSink {
 public:
  void putRecord(std::string_view record) override { bytes_ += record.size(); }
  std::size_t bytes() const { return bytes_; }

 private:
  std::size_t bytes_ = 0;
};

// One report record of the batch-box section: a format compiled, an INTEGER
// and a REAL item captured, the record formed and handed to the sink.
void formattedRecord(benchmark::State& state) {
  NullSink sink;
  recio::OutputStatement statement;
  std::int32_t index = 0;
  for (auto _ : state) {
    statement.begin(sink, "(1X,' brita',I2,' = ',F5.2)");
    statement.writeInteger(kIntegers[static_cast<std::size_t>(index)]);
    statement.writeReal(kReals[static_cast<std::size_t>(index)]);
    statement.end();
    index = (index + 1) % static_cast<std::int32_t>(kReals.size());
  }
  benchmark::DoNotOptimize(sink.bytes());
}
BENCHMARK(formattedRecord);

// The same record through snprintf into a buffer.
void snprintfRecord(benchmark::State& state) {
  std::array<char, 64> record{};
  std::size_t bytes = 0;
  std::int32_t index = 0;
  for (auto _ : state) {
    int length = std::snprintf(record.data(), record.size(), " brita%*d = %*.*f", 2,
                               static_cast<int>(kIntegers[static_cast<std::size_t>(index)]), 5, 2,
                               static_cast<double>(kReals[static_cast<std::size_t>(index)]));
    benchmark::DoNotOptimize(record);
    bytes += static_cast<std::size_t>(length);
    index = (index + 1) % static_cast<std::int32_t>(kReals.size());
  }
  benchmark::DoNotOptimize(bytes);
}
BENCHMARK(snprintfRecord);

}  // namespace

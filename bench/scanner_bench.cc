// Value scanning and conversion beside the C library's peers: each answer is
// converted alone (convertReal or convertInteger against strtod or strtol on
// the same text), and a buffer of many answers is scanned and stored the way a
// read takes them (ValueScanner then storeReal, against a strtod loop).
#include <benchmark/benchmark.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "recio/scanner.h"

namespace {

// Reports the time per value when one iteration handles `values` of them.
void perValue(benchmark::State& state, std::size_t values) {
  state.counters["per_value"] = benchmark::Counter(
      static_cast<double>(values), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void convertRealText(benchmark::State& state, const char* text) {
  std::string_view view{text};
  for (auto _ : state) {
    float result = 0.0f;
    benchmark::DoNotOptimize(view);
    benchmark::DoNotOptimize(recio::convertReal(view, result));
    benchmark::DoNotOptimize(result);
  }
}

void strtodText(benchmark::State& state, const char* text) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(text);
    char* end = nullptr;
    double result = std::strtod(text, &end);
    benchmark::DoNotOptimize(result);
    benchmark::DoNotOptimize(end);
  }
}

void convertIntegerText(benchmark::State& state, const char* text) {
  std::string_view view{text};
  for (auto _ : state) {
    std::int32_t result = 0;
    benchmark::DoNotOptimize(view);
    benchmark::DoNotOptimize(recio::convertInteger(view, result));
    benchmark::DoNotOptimize(result);
  }
}

// strtol in `base` from `text`; "16#ff" is given to it as "ff" in base 16.
void strtolText(benchmark::State& state, const char* text, int base) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(text);
    char* end = nullptr;
    errno = 0;
    long result = std::strtol(text, &end, base);
    benchmark::DoNotOptimize(result);
    benchmark::DoNotOptimize(end);
  }
}

BENCHMARK_CAPTURE(convertRealText, 25, "25");
BENCHMARK_CAPTURE(strtodText, 25, "25");
BENCHMARK_CAPTURE(convertRealText, 5.5, "5.5");
BENCHMARK_CAPTURE(strtodText, 5.5, "5.5");
BENCHMARK_CAPTURE(convertRealText, 0.55, "0.55");
BENCHMARK_CAPTURE(strtodText, 0.55, "0.55");
BENCHMARK_CAPTURE(convertRealText, 189.293747, "189.293747");
BENCHMARK_CAPTURE(strtodText, 189.293747, "189.293747");
BENCHMARK_CAPTURE(convertRealText, 1.5E2, "1.5E2");
BENCHMARK_CAPTURE(strtodText, 1.5E2, "1.5E2");
BENCHMARK_CAPTURE(convertRealText, 30digits, "123456789012345678901234567890");
BENCHMARK_CAPTURE(strtodText, 30digits, "123456789012345678901234567890");

BENCHMARK_CAPTURE(convertIntegerText, 25, "25");
BENCHMARK_CAPTURE(strtolText, 25, "25", 10);
BENCHMARK_CAPTURE(convertIntegerText, -2147483647, "-2147483647");
BENCHMARK_CAPTURE(strtolText, -2147483647, "-2147483647", 10);
BENCHMARK_CAPTURE(convertIntegerText, -2147483648, "-2147483648");
BENCHMARK_CAPTURE(strtolText, -2147483648, "-2147483648", 10);
BENCHMARK_CAPTURE(convertIntegerText, 16#ff, "16#ff");
BENCHMARK_CAPTURE(strtolText, 16#ff, "ff", 16);
BENCHMARK_CAPTURE(convertIntegerText, 30digits_overflow, "123456789012345678901234567890");
BENCHMARK_CAPTURE(strtolText, 30digits_overflow, "123456789012345678901234567890", 10);

// The answers of a scripted run, one per line, repeated to fill one buffer.
constexpr std::string_view kAnswerLines =
    "25\n5.5\n0.55\n189.293747\n1.5E2\n123456789012345678901234567890\n4\n8\n1.59\n1.4\n";
constexpr std::size_t kAnswersPerLines = 10;
constexpr int kRepeats = 100;

std::string answerBuffer() {
  std::string buffer;
  for (int i = 0; i < kRepeats; ++i) buffer.append(kAnswerLines);
  return buffer;
}

// Scans every value of the buffer and stores it into a REAL item, finishing
// lines the way a read does (a line end before a value only moves on).
void scanAndStoreReals(benchmark::State& state) {
  const std::string buffer = answerBuffer();
  recio::ValueScanner scanner;
  for (auto _ : state) {
    std::string_view input{buffer};
    scanner.startStatement();
    std::size_t stored = 0;
    while (!input.empty()) {
      scanner.startValue();
      recio::ScanStep step = scanner.scan(input);
      if (step == recio::ScanStep::lineEnd) continue;
      float item = 0.0f;
      benchmark::DoNotOptimize(recio::storeReal(scanner.value(), item));
      benchmark::DoNotOptimize(item);
      ++stored;
    }
    if (stored != kAnswersPerLines * kRepeats) state.SkipWithError("wrong value count");
  }
  perValue(state, kAnswersPerLines * kRepeats);
}
BENCHMARK(scanAndStoreReals);

// The same buffer through strtod, which skips the line ends itself.
void strtodLoop(benchmark::State& state) {
  const std::string buffer = answerBuffer();
  for (auto _ : state) {
    const char* at = buffer.c_str();
    const char* end = at + buffer.size();
    std::size_t stored = 0;
    while (at < end) {
      char* next = nullptr;
      double item = std::strtod(at, &next);
      benchmark::DoNotOptimize(item);
      if (next == at) break;
      at = next + 1;  // the line end
      ++stored;
    }
    if (stored != kAnswersPerLines * kRepeats) state.SkipWithError("wrong value count");
  }
  perValue(state, kAnswersPerLines * kRepeats);
}
BENCHMARK(strtodLoop);

}  // namespace

// Fuzz target for record output: the first byte picks the destination and
// list-directed or formatted output, ten bytes drive the Fw.d and Iw renderers
// (fields checked against the value), then a format text, a zero byte, the items.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_platform.h"
#include "recio/console.h"
#include "recio/field.h"
#include "recio/format_text.h"
#include "recio/output_statement.h"
#include "recio/record_sink.h"
#include "recio/report_unit.h"
#include "recio/run_end.h"
#include "recio/runtime.h"

namespace {

constexpr std::size_t kRendererBytes = 10;

// Formats whose records would hold more than this many bytes are skipped: a
// format may legally repeat groups 32767 times at 16 levels, which is no fault
// but cannot finish in a fuzzing run.
constexpr double kMostWork = 1 << 20;

// A destination that keeps every record it is sent.
class CollectingSink final : public recio::RecordSink {
 public:
  void putRecord(std::string_view record) override {
    ++records;
    bytes += record.size();
  }
  std::string_view unitName() const override { return "fuzz.txt"; }
  std::size_t records = 0;
  std::size_t bytes = 0;
};

// Takes fixed-size values and counted texts off the front of the fuzz bytes.
class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool empty() const { return at_ == size_; }
  std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
  template <typename T>
  T value() {
    unsigned char bytes[sizeof(T)] = {};
    for (auto& b : bytes) b = byte();
    T result;
    std::memcpy(&result, bytes, sizeof(T));
    return result;
  }
  // Bytes up to the next zero byte (consumed) or the end.
  std::string_view untilZero() {
    std::size_t start = at_;
    while (at_ < size_ && data_[at_] != 0) ++at_;
    std::string_view text(reinterpret_cast<const char*>(data_ + start), at_ - start);
    if (at_ < size_) ++at_;
    return text;
  }
  std::string_view bytes(std::size_t count) {
    count = std::min(count, size_ - at_);
    std::string_view text(reinterpret_cast<const char*>(data_ + at_), count);
    at_ += count;
    return text;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

// Every character of a field is written: none of the zero bytes it started with remain.
void checkFilled(const char* field, int width) {
  if (std::memchr(field, '\0', static_cast<std::size_t>(width)) != nullptr) std::abort();
}

bool allAsterisks(const char* field, int width) {
  for (int i = 0; i < width; ++i) {
    if (field[i] != '*') return false;
  }
  return true;
}

// The field's text without its leading blanks, as a zero-ended string.
std::string trimmed(const char* field, int width) {
  std::string text(field, static_cast<std::size_t>(width));
  return text.substr(std::min(text.find_first_not_of(' '), text.size()));
}

void checkInteger(std::int32_t value, int width) {
  auto field = std::make_unique<char[]>(static_cast<std::size_t>(width));
  recio::renderInteger(value, width, field.get());
  checkFilled(field.get(), width);
  if (allAsterisks(field.get(), width)) {
    if (std::to_string(value).size() <= static_cast<std::size_t>(width)) std::abort();
    return;
  }
  if (trimmed(field.get(), width) != std::to_string(value)) std::abort();
}

void checkFixed(float value, int width, int decimals) {
  auto field = std::make_unique<char[]>(static_cast<std::size_t>(width));
  recio::renderFixed(value, width, decimals, field.get());
  checkFilled(field.get(), width);
  if (allAsterisks(field.get(), width)) return;
  if (!std::isfinite(value)) std::abort();
  std::string text = trimmed(field.get(), width);
  if (text.find('.') == std::string::npos) std::abort();
  char* end = nullptr;
  double shown = std::strtod(text.c_str(), &end);
  if (*end != '\0') std::abort();
  // At most seven significant digits are shown, rounded to the field's last place.
  double tolerance = 0.5 * std::pow(10.0, -decimals) * (1 + 1e-6) +
                     std::fabs(static_cast<double>(value)) * 6e-7;
  if (std::fabs(shown - static_cast<double>(value)) > tolerance) std::abort();
}

// An upper bound of the bytes the format writes for `items` items.
double workOf(const recio::FormatText& format, std::size_t items) {
  double factor = 1;
  std::vector<double> factors;
  double pass = 1;
  for (const recio::Descriptor& d : format.descriptors()) {
    switch (d.kind) {
      case recio::DescriptorKind::groupOpen:
        factors.push_back(factor);
        factor *= d.repeat;
        break;
      case recio::DescriptorKind::groupClose:
        factor = factors.empty() ? 1 : factors.back();
        if (!factors.empty()) factors.pop_back();
        break;
      case recio::DescriptorKind::literal:
        pass += factor * static_cast<double>(format.literal(d).size() + 1);
        break;
      default:
        pass += factor * (static_cast<double>(d.repeat) * (d.width + d.decimals + 1) + 1);
        break;
    }
  }
  return pass * static_cast<double>(items + 1);
}

// One output statement from the rest of the bytes.
void runStatement(Reader& in, bool toConsole, bool listDirected, CollectingSink& sink) {
  // An exact-size copy ended by a zero byte, so a read past it is caught.
  std::string_view formatBytes = in.untilZero();
  auto format = std::make_unique<char[]>(formatBytes.size() + 1);
  std::memcpy(format.get(), formatBytes.data(), formatBytes.size());
  format[formatBytes.size()] = '\0';
  std::vector<std::string> texts;
  struct Item {
    int kind;
    float real;
    std::int32_t integer;
    std::size_t text;
  };
  std::vector<Item> items;
  while (!in.empty() && items.size() < 256) {
    int kind = in.byte() % 3;
    Item item{kind, 0, 0, 0};
    if (kind == 0) {
      item.text = texts.size();
      texts.emplace_back(in.bytes(in.byte()));
    } else if (kind == 1) {
      item.real = in.value<float>();
    } else {
      item.integer = in.value<std::int32_t>();
    }
    items.push_back(item);
  }
  if (!listDirected) {
    recio::FormatText compiled;
    if (compiled.compile(format.get()) && workOf(compiled, items.size()) > kMostWork) return;
  }
  recio::OutputStatement statement;
  statement.begin(toConsole ? recio::consoleSink() : static_cast<recio::RecordSink&>(sink),
                  listDirected ? nullptr : format.get());
  for (const Item& item : items) {
    switch (item.kind) {
      case 0: {
        const std::string& text = texts[item.text];
        // An exact-size copy, so a read past the text's length is caught.
        auto bytes = std::make_unique<char[]>(text.size() + 1);
        std::memcpy(bytes.get(), text.data(), text.size());
        statement.writeText(bytes.get(), static_cast<int>(text.size()));
        break;
      }
      case 1: statement.writeReal(item.real); break;
      default: statement.writeInteger(item.integer); break;
    }
  }
  statement.end();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1 + kRendererBytes) return 0;
  Reader in(data, size);
  const std::uint8_t flags = in.byte();

  const float real = in.value<float>();
  const std::int32_t integer = in.value<std::int32_t>();
  const int width = 1 + in.byte();
  const int decimals = in.byte() % 64;
  checkInteger(integer, width);
  checkFixed(real, width, decimals);

  fuzzing::MemoryPlatform host;
  fuzzing::prepare(host, flags & 0x33, {});
  recio::setPlatform(&host);
  CollectingSink sink;
  try {
    recio::startRun(0, nullptr);
    runStatement(in, (flags & 0x04) != 0, (flags & 0x08) != 0, sink);
  } catch (const recio::RunEnd&) {
  }
  recio::closeAllUnits();
  recio::setPlatform(nullptr);
  return 0;
}

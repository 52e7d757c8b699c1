// Each option is a row of its name and the range its value must lie in.
#include "app/memo_options.h"

#include <cstdlib>

namespace dosmo {
namespace {

constexpr std::string_view kMemo = "--memorial";

// An option that takes a value, its range and how the refusal names it.
struct ValueOption {
  std::string_view name;
  double least;        // the value must be greater than this...
  bool leastIncluded;  // ...or equal to it when this is set
  double most;
  const char* meaning;
};

constexpr ValueOption kVolume{"--volume", 0, false, 100000, "um numero maior que 0 e no maximo 100000 (m3)"};
constexpr ValueOption kLoss{"--perda", 0, true, 100, "um numero de 0 a 100 (%)"};

std::string refused(const std::string& why) {
  return "dosmo: " + why + "\r\nUse dosmo --help para ver as opcoes.\r\n";
}

// The value of `option` from `text`, or the refusal.
std::optional<double> valueOf(const ValueOption& option, const char* text, std::string& refusal) {
  const std::optional<double> value = text != nullptr ? typedNumber(text) : std::nullopt;
  const bool fits = value && (option.leastIncluded ? *value >= option.least : *value > option.least) &&
                    *value <= option.most;
  if (fits) return value;
  refusal = refused(text == nullptr ? std::string(option.name) + " precisa de um valor: " + option.meaning
                                    : "valor invalido para " + std::string(option.name) + ": '" + text +
                                          "' (use " + option.meaning + ", com ponto ou virgula decimal)");
  return std::nullopt;
}

}  // namespace

std::optional<double> typedNumber(std::string_view text) {
  std::string plain;
  int separators = 0;
  int digits = 0;
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      ++digits;
      plain += c;
    } else if ((c == '.' || c == ',') && ++separators == 1) {
      plain += '.';
    } else {
      return std::nullopt;
    }
  }
  if (digits == 0 || digits > 15) return std::nullopt;
  return std::strtod(plain.c_str(), nullptr);
}

MemoOptions parseMemoOptions(int count, const char* const* arguments) {
  MemoOptions options;
  std::optional<double> volume;
  std::optional<double> loss;
  while (options.used < count && options.refusal.empty()) {
    const std::string_view argument = arguments[options.used];
    const char* value = options.used + 1 < count ? arguments[options.used + 1] : nullptr;
    if (argument == kMemo) {
      options.memo = true;
      options.used += 1;
    } else if (argument == kVolume.name || argument == kLoss.name) {
      const ValueOption& option = argument == kVolume.name ? kVolume : kLoss;
      (argument == kVolume.name ? volume : loss) = valueOf(option, value, options.refusal);
      options.used += 2;
    } else {
      break;
    }
  }
  if (!options.refusal.empty()) return options;
  if ((volume || loss) && !options.memo) {
    options.refusal = refused("--volume e --perda so valem com --memorial");
  } else if (loss && !volume) {
    options.refusal = refused("--perda precisa de --volume");
  } else if (volume) {
    options.order = OrderVolume{*volume, loss.value_or(0)};
  }
  return options;
}

}  // namespace dosmo

// The memo's table of keys and its number texts. Digits come from the C
// library's correctly rounded scientific form and are checked by the exact
// decimal reading of the run-time, so every host writes the same bytes.
#include "memo/figures.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "recio/field.h"
#include "recio/nearest_double.h"

namespace dosmo {
namespace {

constexpr FigureInfo kFigures[] = {
    // Answers.
    {"fck", "MPa", "MPa", 2},
    {"desvio_padrao", "MPa", "MPa", kShortest},
    {"abatimento", "cm", "cm", 2},
    {"diametro_maximo", "mm", "mm", kShortest},
    {"fator_forma", "-", "", kShortest},
    {"relacao_ac_digitada", "-", "", 2},
    {"brita_percentual", "%", "%", kShortest},
    {"massa_unitaria_areia", "kg/dm3", "kg/dm³", kShortest},
    {"brita_massa_unitaria", "kg/dm3", "kg/dm³", kShortest},
    // Results.
    {"fc28", "MPa", "MPa", 2},
    {"potencia_abatimento", "-", "", 4},
    {"potencia_diametro", "-", "", 4},
    {"teor_agua", "l/m3", "l/m³", 2},
    {"resistencia_tabela", "MPa", "MPa", kShortest},
    {"relacao_ac_sugerida", "-", "", 2},
    {"relacao_ac", "-", "", 2},
    {"consumo_cimento", "kg/m3", "kg/m³", 2},
    {"diametro_tabela", "mm", "mm", kShortest},
    {"volume_ar", "dm3/m3", "dm³/m³", kShortest},
    {"percentual_areia", "%", "%", kShortest},
    {"volume_cimento", "dm3/m3", "dm³/m³", 2},
    {"volume_agregados", "dm3/m3", "dm³/m³", 2},
    {"massa_areia", "kg/m3", "kg/m³", 2},
    {"volume_areia", "dm3/m3", "dm³/m³", 2},
    {"brita_massa", "kg/m3", "kg/m³", 2},
    {"brita_volume", "dm3/m3", "dm³/m³", 2},
    {"traco_cimento", "-", "", 2},
    {"traco_areia", "-", "", 2},
    {"brita_traco", "-", "", 2},
    {"areia_altura_calculada", "cm", "cm", 2},
    {"areia_altura_padiola", "cm", "cm", 2},
    {"brita_altura_calculada", "cm", "cm", 2},
    {"brita_altura_padiola", "cm", "cm", 2},
    {"agua_por_saco", "l", "litros", 2},
};

// "brita12_massa" becomes "brita_massa"; other keys stay as they are.
std::string tableKeyOf(std::string_view key) {
  if (key.substr(0, 5) != "brita") return std::string(key);
  std::size_t at = 5;
  while (at < key.size() && key[at] >= '0' && key[at] <= '9') ++at;
  if (at == 5 || at >= key.size() || key[at] != '_') return std::string(key);
  return "brita" + std::string(key.substr(at));
}

// Digits and point placed for a decimal exponent `exponent` (the value is
// d.ddd x 10^exponent), trailing zeros of the fraction dropped.
std::string placeDigits(std::string digits, int exponent) {
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  const int count = static_cast<int>(digits.size());
  if (exponent < -7 || exponent > 20) {
    std::string text = digits.substr(0, 1);
    if (count > 1) text += "." + digits.substr(1);
    return text + "e" + (exponent < 0 ? "-" : "+") + std::to_string(std::abs(exponent));
  }
  if (exponent < 0) return "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  if (exponent + 1 >= count) return digits + std::string(static_cast<std::size_t>(exponent + 1 - count), '0');
  return digits.substr(0, static_cast<std::size_t>(exponent + 1)) + "." +
         digits.substr(static_cast<std::size_t>(exponent + 1));
}

std::string withComma(std::string text) {
  for (char& c : text) {
    if (c == '.') c = ',';
  }
  return text;
}

}  // namespace

FigureInfo figureInfo(std::string_view key) {
  const std::string tableKey = tableKeyOf(key);
  for (const FigureInfo& info : kFigures) {
    if (info.key == tableKey) return info;
  }
  return FigureInfo{key, "-", "", kShortest};
}

std::string shortestDecimal(double value, bool single) {
  const std::string sign = std::signbit(value) ? "-" : "";
  if (value == 0 || !std::isfinite(value)) return sign + "0";
  const double magnitude = std::fabs(value);
  char text[48];
  for (int count = 1; count <= 17; ++count) {
    std::snprintf(text, sizeof text, "%.*e", count - 1, magnitude);
    std::string digits(1, text[0]);
    const char* at = text + 1;
    if (count > 1) {
      ++at;  // the decimal point, whichever character the locale gives it
      digits.append(at, static_cast<std::size_t>(count - 1));
      at += count - 1;
    }
    const int exponent = std::atoi(at + 1);
    const std::optional<double> back =
        recio::nearestDoubleOf(digits + "e" + std::to_string(exponent - (count - 1)));
    if (!back) continue;
    const bool same = single ? static_cast<float>(*back) == static_cast<float>(magnitude)
                             : *back == magnitude;
    if (same) return sign + placeDigits(digits, exponent);
  }
  return sign + "0";  // not reached: 17 digits read back as every double
}

std::string fixedDecimal(float value, int decimals) {
  char field[64];
  recio::renderFixed(value, static_cast<int>(sizeof field), decimals, field);
  std::string text(field, sizeof field);
  text.erase(0, text.find_first_not_of(' '));
  if (text.find('*') != std::string::npos) return shortestDecimal(value, true);
  if (text[0] == '.') text.insert(0, "0");
  if (text.compare(0, 2, "-.") == 0) text.insert(1, "0");
  return text;
}

std::string fixedText(float value, int decimals) { return withComma(fixedDecimal(value, decimals)); }

std::string figureNumber(const MemoFigure& figure) {
  return shortestDecimal(figure.value, figure.kind == FigureKind::real);
}

std::string figureText(const MemoFigure& figure) {
  if (figure.kind == FigureKind::integer) return figureNumber(figure);
  const int decimals = figureInfo(figure.key).decimals;
  if (decimals == kShortest) return withComma(figureNumber(figure));
  return fixedText(static_cast<float>(figure.value), decimals);
}

}  // namespace dosmo

// The memo's table of keys and its number texts. Digits come from the C
// library's correctly rounded scientific form and are checked by the exact
// decimal reading of the run-time, so every host writes the same bytes.
#include "memo/figures.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <limits>
#include <optional>

#include "recio/field.h"
#include "recio/nearest_double.h"

namespace dosmo {
namespace {

// One row per key, in the order of the keys.
constexpr FigureInfo kFigures[] = {
    // Answers.
    {MemoKey::fck, "fck", "MPa", "MPa", 2, false},
    {MemoKey::deviation, "desvio_padrao", "MPa", "MPa", kShortest, false},
    {MemoKey::slump, "abatimento", "cm", "cm", 2, false},
    {MemoKey::maxSize, "diametro_maximo", "mm", "mm", kShortest, false},
    {MemoKey::shapeFactor, "fator_forma", "1", "", kShortest, false},
    {MemoKey::ratioRoute, "opcao_relacao_ac", "1", "", kShortest, false},
    {MemoKey::cementClass, "classe_cimento", "1", "", kShortest, false},
    {MemoKey::keepSuggested, "manter_sugerida", "1", "", kShortest, false},
    {MemoKey::typedRatio, "relacao_ac_digitada", "1", "", 2, false},
    {MemoKey::airAnswer, "ar_incorporado", "1", "", kShortest, false},
    {MemoKey::coarseCount, "quantidade_britas", "1", "", kShortest, false},
    {MemoKey::coarsePercent, "percentual", "%", "%", kShortest, true},
    {MemoKey::sandUnitMass, "massa_unitaria_areia", "kg/dm3", "kg/dm³", kShortest, false},
    {MemoKey::coarseUnitMass, "massa_unitaria", "kg/dm3", "kg/dm³", kShortest, true},
    // Results.
    {MemoKey::controlLevel, "nivel_controle", "1", "", kShortest, false},
    {MemoKey::fc28, "fc28", "MPa", "MPa", 2, false},
    {MemoKey::slumpPower, "potencia_abatimento", "1", "", 4, false},
    {MemoKey::sizePower, "potencia_diametro", "1", "", 4, false},
    {MemoKey::waterContent, "teor_agua", "L/m3", "l/m³", 2, false},
    {MemoKey::cementColumn, "coluna_cimento", "1", "", kShortest, false},
    {MemoKey::strengthRow, "linha_tabela_resistencia", "1", "", kShortest, false},
    {MemoKey::tableStrength, "resistencia_tabela", "MPa", "MPa", kShortest, false},
    {MemoKey::suggestedRatio, "relacao_ac_sugerida", "1", "", 2, false},
    {MemoKey::wcRatio, "relacao_ac", "1", "", 2, false},
    {MemoKey::cementContent, "consumo_cimento", "kg/m3", "kg/m³", 2, false},
    {MemoKey::sizeAboveTable, "diametro_acima_da_tabela", "1", "", kShortest, false},
    {MemoKey::sizeRow, "linha_tabela_diametro", "1", "", kShortest, false},
    {MemoKey::tableSize, "diametro_tabela", "mm", "mm", kShortest, false},
    {MemoKey::airColumn, "coluna_ar", "1", "", kShortest, false},
    {MemoKey::airVolume, "volume_ar", "dm3/m3", "dm³/m³", kShortest, false},
    {MemoKey::sandPercent, "percentual_areia", "%", "%", kShortest, false},
    {MemoKey::cementVolume, "volume_cimento", "dm3/m3", "dm³/m³", 2, false},
    {MemoKey::aggregateVolume, "volume_agregados", "dm3/m3", "dm³/m³", 2, false},
    {MemoKey::sandMass, "massa_areia", "kg/m3", "kg/m³", 2, false},
    {MemoKey::sandVolume, "volume_areia", "dm3/m3", "dm³/m³", 2, false},
    {MemoKey::coarseMass, "massa", "kg/m3", "kg/m³", 2, true},
    {MemoKey::coarseVolume, "volume", "dm3/m3", "dm³/m³", 2, true},
    {MemoKey::cementRatio, "traco_cimento", "1", "", 2, false},
    {MemoKey::sandRatio, "traco_areia", "1", "", 2, false},
    {MemoKey::coarseRatio, "traco", "1", "", 2, true},
    {MemoKey::sandHeight, "altura_calculada_areia", "cm", "cm", 2, false},
    {MemoKey::sandBoxes, "padiolas_areia", "1", "", kShortest, false},
    {MemoKey::sandBoxHeight, "altura_padiola_areia", "cm", "cm", 2, false},
    {MemoKey::coarseHeight, "altura_calculada", "cm", "cm", 2, true},
    {MemoKey::coarseBoxes, "padiolas", "1", "", kShortest, true},
    {MemoKey::coarseBoxHeight, "altura_padiola", "cm", "cm", 2, true},
    {MemoKey::waterPerBag, "agua_por_saco", "L", "litros", 2, false},
};

static_assert(std::size(kFigures) == kMemoKeyCount, "one row for every memo key");

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

const FigureInfo& figureInfo(MemoKey key) { return kFigures[static_cast<int>(key)]; }

std::string_view cementClassName(int column) {
  constexpr std::string_view kNames[] = {"CP25", "CP32", "CP40"};
  return column >= 1 && column <= 3 ? kNames[column - 1] : "?";
}

std::string_view figureName(MemoSlot slot) { return figureInfo(slot.key).name; }

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

std::string fixedTextOfSum(double value, int decimals) {
  if (std::fabs(value) <= std::numeric_limits<float>::max()) {
    return fixedText(static_cast<float>(value), decimals);
  }
  return shownDecimal(value);
}

std::string shownDecimal(double value) { return withComma(shortestDecimal(value, false)); }

std::string operandText(const MemoFigure& figure) {
  return withComma(shortestDecimal(figure.value, figure.kind != FigureKind::integer));
}

std::string figureText(const MemoFigure& figure) {
  if (figure.kind == FigureKind::integer) return figureNumber(figure);
  const int decimals = figureInfo(figure.slot.key).decimals;
  if (decimals == kShortest) return withComma(figureNumber(figure));
  return fixedText(static_cast<float>(figure.value), decimals);
}

}  // namespace dosmo

// The data memo. Numbers are the shortest decimals that read back as the
// stored values; dimensionless figures carry the unit "-".
#include "memo/json.h"

#include <cstdio>
#include <optional>
#include <vector>

#include "memo/composition.h"
#include "memo/figures.h"

namespace dosmo {
namespace {

// {"valor": <number>, "texto": "<as the memo shows it>", "unidade": "<unit>"}
std::string quantity(const std::string& number, const std::string& text, std::string_view unit) {
  return "{\"valor\": " + number + ", \"texto\": " + jsonString(text) + ", \"unidade\": " +
         jsonString(unit) + "}";
}

// One object of keyed quantities, one figure per line.
std::string figures(const std::vector<MemoFigure>& list) {
  std::string out = "{";
  const char* separator = "\n";
  for (const MemoFigure& figure : list) {
    out += separator;
    out += "    " + jsonString(figureName(figure.slot)) + ": " +
           quantity(figureNumber(figure), figureText(figure), figureInfo(figure.slot.key).unit);
    separator = ",\n";
  }
  return out + (list.empty() ? "}" : "\n  }");
}

// {"valor": ..., "texto": ..., "unidade": ...} of a composition figure; 0 when absent.
std::string compositionQuantity(const MemoRecord& memo, std::optional<MemoSlot> slot,
                                std::string_view unit) {
  const MemoFigure* figure = slot ? memo.find(*slot) : nullptr;
  if (figure == nullptr) return quantity("0", compositionText(0), unit);
  return quantity(figureNumber(*figure), compositionText(figure->value), unit);
}

std::string composition(const MemoRecord& memo) {
  const std::vector<Material> materials = compositionOf(memo);
  if (materials.empty()) return "[]";
  std::string out = "[";
  const char* separator = "\n";
  for (const Material& material : materials) {
    out += separator;
    out += "    {\"chave\": " + jsonString(material.key) + ", \"nome\": " + jsonString(material.name) +
           ", \"massa\": " + compositionQuantity(memo, material.mass, "kg") +
           ", \"volume\": " + compositionQuantity(memo, material.volume, "dm3") + "}";
    separator = ",\n";
  }
  return out + "\n  ]";
}

}  // namespace

std::string jsonString(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", byte);
      out += escape;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string memoJson(const MemoRecord& memo, std::string_view reportName,
                     std::string_view version) {
  std::string out = "{\n";
  out += "  \"programa\": \"dosmo\",\n";
  out += "  \"versao\": " + jsonString(version) + ",\n";
  out += "  \"relatorio\": " + jsonString(reportName) + ",\n";
  out += "  \"respostas\": " + figures(memo.answers()) + ",\n";
  out += "  \"resultados\": " + figures(memo.results()) + ",\n";
  out += "  \"composicao_m3\": " + composition(memo) + "\n";
  return out + "}\n";
}

}  // namespace dosmo

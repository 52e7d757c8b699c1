// The data memo. Numbers are the shortest decimals that read back as the
// stored values; dimensionless figures carry the unit "-".
#include "memo/json.h"

#include <cstdio>
#include <optional>
#include <vector>

#include "memo/alerts.h"
#include "memo/composition.h"
#include "memo/figures.h"

namespace dosmo {
namespace {

// {"valor": <number>, "texto": "<as the memo shows it>", "unidade": "<unit>"}
std::string quantity(const std::string& number, const std::string& text, std::string_view unit) {
  return "{\"valor\": " + number + ", \"texto\": " + jsonString(text) + ", \"unidade\": " +
         jsonString(unit) + "}";
}

// Items one per line inside `open` and `close` ("{}" or "[]"), at the
// indentation of a top-level field's value; "{}" or "[]" when there is none.
std::string block(const std::vector<std::string>& items, const char* open, const char* close) {
  if (items.empty()) return std::string(open) + close;
  std::string out = open;
  const char* separator = "\n";
  for (const std::string& item : items) {
    out += separator;
    out += "    " + item;
    separator = ",\n";
  }
  return out + "\n  " + close;
}

// One object of keyed quantities.
std::string figures(const std::vector<MemoFigure>& list) {
  std::vector<std::string> items;
  for (const MemoFigure& figure : list) {
    items.push_back(jsonString(figureName(figure.slot)) + ": " +
                    quantity(figureNumber(figure), figureText(figure), figureInfo(figure.slot.key).unit));
  }
  return block(items, "{", "}");
}

// {"valor": ..., "texto": ..., "unidade": ...} of a composition figure; 0 when absent.
std::string compositionQuantity(const MemoRecord& memo, std::optional<MemoSlot> slot,
                                std::string_view unit) {
  const MemoFigure* figure = slot ? memo.find(*slot) : nullptr;
  if (figure == nullptr) return quantity("0", compositionText(0), unit);
  return quantity(figureNumber(*figure), compositionText(figure->value), unit);
}

std::string composition(const MemoRecord& memo) {
  std::vector<std::string> items;
  for (const Material& material : compositionOf(memo)) {
    items.push_back("{\"chave\": " + jsonString(material.key) + ", \"nome\": " + jsonString(material.name) +
                    ", \"massa\": " + compositionQuantity(memo, material.mass, "kg") +
                    ", \"volume\": " + compositionQuantity(memo, material.volume, "dm3") + "}");
  }
  return block(items, "[", "]");
}

std::string alerts(const MemoRecord& memo) {
  std::vector<std::string> items;
  for (const Alert& alert : alertsOf(memo)) {
    items.push_back("{\"codigo\": " + jsonString(alert.code) + ", \"texto\": " + jsonString(alert.text) + "}");
  }
  return block(items, "[", "]");
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

std::string memoJson(const MemoRecord& memo, const RunFacts& facts) {
  std::string out = "{\n";
  out += "  \"programa\": \"dosmo\",\n";
  out += "  \"versao\": " + jsonString(facts.version) + ",\n";
  out += "  \"relatorio\": " + jsonString(facts.reportName) + ",\n";
  out += "  \"data_hora\": " + jsonString(isoDateTime(facts.epochSeconds)) + ",\n";
  out += "  \"alertas\": " + alerts(memo) + ",\n";
  out += "  \"respostas\": " + figures(memo.answers()) + ",\n";
  out += "  \"resultados\": " + figures(memo.results()) + ",\n";
  out += "  \"composicao_m3\": " + composition(memo) + "\n";
  return out + "}\n";
}

}  // namespace dosmo

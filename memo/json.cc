// The data memo. Numbers are the shortest decimals that read back as the
// stored values, each beside the text the memo shows for it and its SI unit
// ("1" when dimensionless); a gravel's figures are in its object of "britas".
#include "memo/json.h"

#include <cstdio>
#include <optional>
#include <vector>

#include "memo/alerts.h"
#include "memo/composition.h"
#include "memo/figures.h"
#include "memo/order.h"

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

// {"valor", "texto", "unidade"} of a stored figure.
std::string figureQuantity(const MemoFigure& figure) {
  return quantity(figureNumber(figure), figureText(figure), figureInfo(figure.slot.key).unit);
}

// One object of keyed quantities: the figures of the whole mix in `list`.
std::string figures(const std::vector<MemoFigure>& list) {
  std::vector<std::string> items;
  for (const MemoFigure& figure : list) {
    if (figure.slot.gradation != 0) continue;
    items.push_back(jsonString(figureName(figure.slot)) + ": " + figureQuantity(figure));
  }
  return block(items, "{", "}");
}

// The gravels in order, each with its number and its figures in key order.
std::string gravels(const MemoRecord& memo) {
  std::vector<std::string> items;
  for (int index = 1; memo.has({MemoKey::coarsePercent, index}); ++index) {
    std::string item = "{\"numero\": " + std::to_string(index);
    for (int key = 0; key < kMemoKeyCount; ++key) {
      const MemoFigure* figure = memo.find({static_cast<MemoKey>(key), index});
      if (figure == nullptr) continue;
      item += ", " + jsonString(figureName(figure->slot)) + ": " + figureQuantity(*figure);
    }
    items.push_back(item + "}");
  }
  return block(items, "[", "]");
}

// A constant of the method as its decimal, the text and the unit.
struct Constant {
  const char* name;
  const char* number;
  const char* text;
  const char* unit;
};

constexpr Constant kConstants[] = {
    {"massa_especifica_cimento", "3.15", "3,15", "kg/dm3"},
    {"massa_especifica_areia", "2.64", "2,64", "kg/dm3"},
    {"massa_especifica_brita", "2.7", "2,7", "kg/dm3"},
    {"massa_especifica_agua", "1", "1", "kg/dm3"},
    {"fator_desvio_padrao", "1.65", "1,65", "1"},
    {"massa_saco_cimento", "50", "50", "kg"},
    {"base_padiola", "15.75", "15,75", "dm2"},
    {"altura_maxima_padiola", "35", "35", "cm"},
    {"volume_metro_cubico", "1000", "1000", "dm3"},
};

std::string constants() {
  std::vector<std::string> items;
  for (const Constant& constant : kConstants) {
    items.push_back(jsonString(constant.name) + ": " + quantity(constant.number, constant.text, constant.unit));
  }
  return block(items, "{", "}");
}

// {"valor", "texto", "unidade"} of an order figure rounded to `decimals`.
std::string orderQuantity(double value, int decimals, std::string_view unit) {
  return quantity(shortestDecimal(value, false), decimalText(value, decimals), unit);
}

std::string orderedAggregate(const OrderedAggregate& aggregate) {
  return "\"massa\": " + orderQuantity(aggregate.mass, 2, "kg") +
         ", \"volume_solto\": " + orderQuantity(aggregate.looseVolume, 3, "m3");
}

// What to order for the volume asked, as the memo's section 14 shows it.
std::string quantities(const MemoRecord& memo, const OrderVolume& asked) {
  const Order order = orderOf(memo, asked);
  std::vector<std::string> items = {
      "\"volume_concreto\": " + quantity(shortestDecimal(asked.cubicMetres, false),
                                         shownDecimal(asked.cubicMetres), "m3"),
      "\"perda\": " + quantity(shortestDecimal(asked.lossPercent, false), shownDecimal(asked.lossPercent), "%"),
      "\"volume_com_perda\": " + orderQuantity(order.volume, 3, "m3"),
      "\"cimento\": {\"massa\": " + orderQuantity(order.cementMass, 2, "kg") +
          ", \"sacos\": " + orderQuantity(order.bags, 2, "1") +
          ", \"sacos_a_pedir\": " + orderQuantity(static_cast<double>(order.wholeBags), 0, "1") + "}",
      "\"areia\": {" + orderedAggregate(order.aggregates.front()) + "}",
  };
  std::string gravelItems = "\"britas\": [";
  for (std::size_t at = 1; at < order.aggregates.size(); ++at) {
    gravelItems += (at > 1 ? ", " : "") + std::string("{\"numero\": ") + std::to_string(at) + ", " +
                   orderedAggregate(order.aggregates[at]) + "}";
  }
  items.push_back(gravelItems + "]");
  items.push_back("\"agua\": " + orderQuantity(order.water, 2, "L"));
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
  out += "  \"formato\": " + std::to_string(kMemoJsonFormat) + ",\n";
  out += "  \"programa\": \"dosmo\",\n";
  out += "  \"versao\": " + jsonString(facts.version) + ",\n";
  out += "  \"relatorio\": " + jsonString(facts.reportName) + ",\n";
  out += "  \"data_hora\": " + jsonString(isoDateTime(facts.epochSeconds)) + ",\n";
  out += "  \"constantes\": " + constants() + ",\n";
  out += "  \"alertas\": " + alerts(memo) + ",\n";
  out += "  \"respostas\": " + figures(memo.answers()) + ",\n";
  out += "  \"resultados\": " + figures(memo.results()) + ",\n";
  out += "  \"britas\": " + gravels(memo) + ",\n";
  out += "  \"composicao_m3\": " + composition(memo);
  if (facts.order && memo.has(MemoKey::waterPerBag)) {
    out += ",\n  \"quantidades\": " + quantities(memo, *facts.order);
  }
  return out + "\n}\n";
}

}  // namespace dosmo

// The data memo. Numbers are the shortest decimals that read back as the
// stored values; dimensionless figures carry the unit "-".
#include "memo/json.h"

#include <cstdio>
#include <vector>

#include "memo/figures.h"

namespace dosmo {
namespace {

// {"valor": <number>, "unidade": "<unit>"}
std::string quantity(const std::string& number, std::string_view unit) {
  return "{\"valor\": " + number + ", \"unidade\": " + jsonString(unit) + "}";
}

std::string quantityOf(const MemoRecord& memo, std::string_view key, std::string_view unit) {
  const MemoFigure* figure = memo.find(key);
  return quantity(figure != nullptr ? figureNumber(*figure) : "0", unit);
}

// One object of keyed quantities, one figure per line.
std::string figures(const std::vector<MemoFigure>& list) {
  std::string out = "{";
  const char* separator = "\n";
  for (const MemoFigure& figure : list) {
    out += separator;
    out += "    " + jsonString(figure.key) + ": " +
           quantity(figureNumber(figure), figureInfo(figure.key).unit);
    separator = ",\n";
  }
  return out + (list.empty() ? "}" : "\n  }");
}

// One material of the cubic metre: its mass in kg and absolute volume in dm3.
struct Material {
  std::string key;
  std::string name;
  std::string massKey;    // empty for the air, which has no mass
  std::string volumeKey;
};

std::string composition(const MemoRecord& memo) {
  std::vector<Material> materials = {
      {"cimento", "Cimento", "consumo_cimento", "volume_cimento"},
      {"agua", "Água", "teor_agua", "teor_agua"},
      {"ar", "Ar", "", "volume_ar"},
      {"areia", "Areia", "massa_areia", "volume_areia"},
  };
  for (int index = 1; memo.has(gradationKey(index, "massa")); ++index) {
    materials.push_back({"brita" + std::to_string(index), "Brita " + std::to_string(index),
                         gradationKey(index, "massa"), gradationKey(index, "volume")});
  }
  std::string out = "[";
  const char* separator = "\n";
  for (const Material& material : materials) {
    const std::string mass =
        material.massKey.empty() ? quantity("0", "kg") : quantityOf(memo, material.massKey, "kg");
    out += separator;
    out += "    {\"chave\": " + jsonString(material.key) + ", \"nome\": " + jsonString(material.name) +
           ", \"massa\": " + mass + ", \"volume\": " + quantityOf(memo, material.volumeKey, "dm3") + "}";
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
  out += "  \"composicao_m3\": " + (memo.has("massa_areia") ? composition(memo) : "[]") + "\n";
  return out + "}\n";
}

}  // namespace dosmo

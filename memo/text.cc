// The text memo, section by section. Every number comes from the record;
// the figures the report also prints are rounded as the report rounds them.
#include "memo/text.h"

#include <optional>
#include <string>
#include <vector>

#include "memo/alerts.h"
#include "memo/composition.h"
#include "memo/figures.h"
#include "memo/order.h"

namespace dosmo {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

class TextMemo {
 public:
  explicit TextMemo(const MemoRecord& memo) : memo_(memo) {}

  std::string take() { return std::move(out_); }

  void line(std::string_view text = {}) {
    out_ += text;
    out_ += kLineEnd;
  }

  bool has(MemoSlot slot) const { return memo_.has(slot); }

  int integer(MemoSlot slot) const { return static_cast<int>(memo_.value(slot)); }

  double value(MemoSlot slot) const { return memo_.value(slot); }

  // The figure as the memo shows it; "?" for a step the run did not reach.
  std::string v(MemoSlot slot) const {
    const MemoFigure* figure = memo_.find(slot);
    return figure != nullptr ? figureText(*figure) : "?";
  }

  // The stored value in full, as an operand of an equation: the equation
  // then closes on its printed numbers.
  std::string n(MemoSlot slot) const {
    const MemoFigure* figure = memo_.find(slot);
    return figure != nullptr ? operandText(*figure) : "?";
  }

  // The figure followed by its unit.
  std::string vu(MemoSlot slot) const {
    const std::string_view unit = figureInfo(slot.key).textUnit;
    return unit.empty() ? v(slot) : v(slot) + " " + std::string(unit);
  }

  // `text` as lines of at most 88 characters, the first starting with
  // `first` and the others with as many blanks.
  void paragraph(const std::string& first, const std::string& text) {
    constexpr std::size_t kWidth = 88;
    const std::string indent(shownLength(first), ' ');
    std::string current = first;
    bool fresh = true;
    for (std::size_t at = 0; at < text.size();) {
      std::size_t end = text.find(' ', at);
      if (end == std::string::npos) end = text.size();
      const std::string word = text.substr(at, end - at);
      if (!fresh && shownLength(current) + 1 + shownLength(word) > kWidth) {
        line(current);
        current = indent;
        fresh = true;
      }
      current += (fresh ? "" : " ") + word;
      fresh = false;
      at = end + 1;
    }
    line(current);
  }

  void heading(const std::string& title) {
    line();
    line(title);
  }

 private:
  // Characters shown: UTF-8 letters count once.
  static std::size_t shownLength(const std::string& text) {
    std::size_t shown = 0;
    for (unsigned char c : text) shown += (c & 0xC0) != 0x80 ? 1 : 0;
    return shown;
  }

  const MemoRecord& memo_;
  std::string out_;
};

constexpr std::string_view kControlNames[] = {"rigoroso", "médio", "baixo"};

// The meaning of an offered shape factor, as the question names it.
std::string shapeMeaning(const std::string& shown) {
  if (shown == "0,9") return " (agregado bem arredondado)";
  if (shown == "1") return " (agregado britado cúbico)";
  if (shown == "1,05") return " (agregado lamelar)";
  return " (valor fora das opções, usado como digitado)";
}

std::string gradationName(int index) { return "Brita " + std::to_string(index); }

void data(TextMemo& m) {
  m.heading("1. DADOS");
  m.line("   Resistência característica exigida: fck = " + m.vu(MemoKey::fck));
  if (m.has(MemoKey::controlLevel)) {
    m.line("   Desvio-padrão do nível de controle: Sd = " + m.vu(MemoKey::deviation) + " (controle " +
           std::string(kControlNames[m.integer(MemoKey::controlLevel) - 1]) + ")");
  }
  if (m.has(MemoKey::slump)) m.line("   Abatimento: s = " + m.vu(MemoKey::slump));
  if (m.has(MemoKey::maxSize)) {
    m.line("   Diâmetro máximo do agregado graúdo: Dmáx = " + m.vu(MemoKey::maxSize));
  }
  if (m.has(MemoKey::shapeFactor)) {
    m.line("   Fator de forma do agregado: k = " + m.v(MemoKey::shapeFactor) + shapeMeaning(m.v(MemoKey::shapeFactor)));
  }
  if (m.has(MemoKey::ratioRoute)) {
    m.line("   Relação água/cimento: resposta " + m.v(MemoKey::ratioRoute) +
           (m.integer(MemoKey::ratioRoute) == 2 ? " (valor que garanta resistência maior que fc28)"
                                               : " (um dos valores do guia de durabilidade)"));
  }
  if (m.has(MemoKey::cementClass)) {
    m.line("   Classe do cimento: resposta " + m.v(MemoKey::cementClass) + " (" +
           std::string(cementClassName(m.integer(MemoKey::cementColumn))) + ")");
  }
  if (m.has(MemoKey::keepSuggested)) {
    m.line("   Usar o valor sugerido: resposta " + m.v(MemoKey::keepSuggested) +
           (m.integer(MemoKey::keepSuggested) == 2 ? " (digitar novo valor)" : " (sim)"));
  }
  if (m.has(MemoKey::typedRatio)) m.line("   Relação a/c digitada: " + m.v(MemoKey::typedRatio));
  if (m.has(MemoKey::airAnswer)) {
    m.line("   Ar incorporado: resposta " + m.v(MemoKey::airAnswer) +
           (m.integer(MemoKey::airColumn) == 2 ? " (há ar incorporado)" : " (não há ar incorporado)"));
  }
  if (m.has(MemoKey::coarseCount)) m.line("   Quantidade de britas: " + m.v(MemoKey::coarseCount));
  for (int index = 1; m.has({MemoKey::coarsePercent, index}); ++index) {
    m.line("   " + gradationName(index) + ": " + m.vu({MemoKey::coarsePercent, index}) +
           " do volume de agregados");
  }
  if (m.has(MemoKey::sandUnitMass)) {
    m.line("   Massa unitária da areia: " + m.vu(MemoKey::sandUnitMass));
  }
  for (int index = 1; m.has({MemoKey::coarseUnitMass, index}); ++index) {
    m.line("   Massa unitária da brita " + std::to_string(index) + ": " +
           m.vu({MemoKey::coarseUnitMass, index}));
  }
}

void targetStrength(TextMemo& m) {
  if (!m.has(MemoKey::fc28)) return;
  m.heading("2. RESISTÊNCIA DE DOSAGEM AOS 28 DIAS");
  m.line("   Nível de controle pelo desvio-padrão: até 4 MPa rigoroso, até 5,5 MPa médio,");
  m.line("   acima de 5,5 MPa baixo. Sd = " + m.vu(MemoKey::deviation) + ": controle " +
         std::string(kControlNames[m.integer(MemoKey::controlLevel) - 1]) + ".");
  m.line("   Fórmula: fc28 = fck + 1,65 × Sd");
  m.line("   fc28 = " + m.n(MemoKey::fck) + " + 1,65 × " + m.n(MemoKey::deviation) + " = " + m.vu(MemoKey::fc28));
}

void water(TextMemo& m) {
  if (!m.has(MemoKey::waterContent)) return;
  m.heading("3. TEOR DE ÁGUA");
  m.line("   Fórmula: Água = 218 × k × (10 × s)^0,1 / Dmáx^0,18  (s em cm, Dmáx em mm)");
  m.line("   Primeira potência: (10 × " + m.n(MemoKey::slump) + ")^0,1 = " + m.v(MemoKey::slumpPower));
  m.line("   Segunda potência: " + m.n(MemoKey::maxSize) + "^0,18 = " + m.v(MemoKey::sizePower));
  m.line("   Água = 218 × " + m.n(MemoKey::shapeFactor) + " × " + m.n(MemoKey::slumpPower) + " / " +
         m.n(MemoKey::sizePower) + " = " + m.vu(MemoKey::waterContent));
}

void ratio(TextMemo& m) {
  if (!m.has(MemoKey::wcRatio)) return;
  m.heading("4. RELAÇÃO ÁGUA/CIMENTO (a/c)");
  if (!m.has(MemoKey::cementClass)) {
    m.line("   Valor escolhido no guia de durabilidade e digitado: a/c = " + m.v(MemoKey::wcRatio));
    return;
  }
  const std::string cement(cementClassName(m.integer(MemoKey::cementColumn)));
  m.line("   Cimento " + cement + ": tabela de resistência aos 28 dias por relação a/c; vale a");
  m.line("   primeira linha cuja resistência é maior ou igual a fc28 = " + m.vu(MemoKey::fc28) + ".");
  if (m.integer(MemoKey::strengthRow) == 0) {
    m.line("   Nenhuma linha da tabela atinge fc28 com este cimento; valor digitado:");
    m.line("   a/c = " + m.v(MemoKey::wcRatio));
    return;
  }
  m.line("   Linha " + m.v(MemoKey::strengthRow) + ": " + m.vu(MemoKey::tableStrength) +
         ", a/c sugerido = " + m.v(MemoKey::suggestedRatio));
  if (m.integer(MemoKey::keepSuggested) == 2) {
    m.line("   Valor sugerido substituído pelo digitado: a/c = " + m.v(MemoKey::wcRatio));
  } else {
    m.line("   Valor sugerido mantido: a/c = " + m.v(MemoKey::wcRatio));
  }
}

void cement(TextMemo& m) {
  if (!m.has(MemoKey::cementContent)) return;
  m.heading("5. CONSUMO DE CIMENTO (no relatório: \"teor de cimento\")");
  m.line("   Fórmula: C = Água / (a/c)");
  m.line("   C = " + m.n(MemoKey::waterContent) + " / " + m.n(MemoKey::wcRatio) + " = " + m.vu(MemoKey::cementContent));
}

void airAndSand(TextMemo& m) {
  if (!m.has(MemoKey::airVolume)) return;
  m.heading("6. AR E PROPORÇÃO DE AREIA");
  if (m.integer(MemoKey::sizeAboveTable) == 1) {
    m.line("   Dmáx acima de 150 mm, o maior da tabela: usada a linha de 150 mm.");
  }
  m.line("   Tabela por diâmetro máximo: linha " + m.v(MemoKey::sizeRow) + " (Dmáx até " +
         m.vu(MemoKey::tableSize) + "), " +
         (m.integer(MemoKey::airColumn) == 2 ? "com" : "sem") + " ar incorporado:");
  m.line("   Ar = " + m.vu(MemoKey::airVolume) + " (litros por m³)");
  m.line("   Areia = " + m.vu(MemoKey::sandPercent) + " do volume de agregados");
}

void aggregateVolume(TextMemo& m) {
  if (!m.has(MemoKey::aggregateVolume)) return;
  m.heading("7. VOLUME DE AGREGADOS (volumes absolutos em 1 m³ = 1000 dm³)");
  m.line("   Fórmula: Vag = 1000 − C / 3,15 − Água − Ar  (massa específica do cimento 3,15 kg/dm³)");
  m.line("   Volume do cimento = " + m.n(MemoKey::cementContent) + " / 3,15 = " + m.vu(MemoKey::cementVolume));
  m.line("   Vag = 1000 − " + m.n(MemoKey::cementVolume) + " − " + m.n(MemoKey::waterContent) + " − " +
         m.n(MemoKey::airVolume) + " = " + m.vu(MemoKey::aggregateVolume));
}

void masses(TextMemo& m) {
  if (!m.has(MemoKey::sandMass)) return;
  m.heading("8. MASSAS DOS AGREGADOS POR m³");
  m.line("   Fórmulas: Areia = Vag × %areia × 2,64 / 100;  Brita = %brita × Vag × 2,7 / 100");
  m.line("   (massas específicas: areia 2,64 kg/dm³, brita 2,7 kg/dm³; a % de cada brita é");
  m.line("   parte do volume total de agregados)");
  m.line("   Areia = " + m.n(MemoKey::aggregateVolume) + " × " + m.n(MemoKey::sandPercent) +
         " × 2,64 / 100 = " + m.vu(MemoKey::sandMass));
  for (int index = 1; m.has({MemoKey::coarseMass, index}); ++index) {
    m.line("   " + gradationName(index) + " = " + m.n({MemoKey::coarsePercent, index}) + " × " +
           m.n(MemoKey::aggregateVolume) + " × 2,7 / 100 = " + m.vu({MemoKey::coarseMass, index}));
  }
}

// The mix by weight as "1,00 : 2,14 : 3,15 : 0,55" and its names.
struct MixLine {
  std::string parts;
  std::string names;
};

MixLine mixLine(const TextMemo& m) {
  MixLine mix{m.v(MemoKey::cementRatio), "cimento"};
  if (m.has(MemoKey::sandRatio)) {
    mix.parts += " : " + m.v(MemoKey::sandRatio);
    mix.names += " : areia";
  }
  for (int index = 1; m.has({MemoKey::coarseRatio, index}); ++index) {
    mix.parts += " : " + m.v({MemoKey::coarseRatio, index});
    mix.names += " : brita " + std::to_string(index);
  }
  mix.parts += " : " + m.v(MemoKey::wcRatio);
  mix.names += " : água";
  return mix;
}

void mixByWeight(TextMemo& m) {
  if (!m.has(MemoKey::cementRatio)) return;
  m.heading("9. TRAÇO EM PESO (por kg de cimento; no relatório: \"dosmo em peso\")");
  m.line("   Fórmula: parte de cada material = massa do material / C");
  m.line("   cimento = " + m.n(MemoKey::cementContent) + " / " + m.n(MemoKey::cementContent) + " = " +
         m.v(MemoKey::cementRatio));
  if (m.has(MemoKey::sandRatio)) {
    m.line("   areia = " + m.n(MemoKey::sandMass) + " / " + m.n(MemoKey::cementContent) + " = " +
           m.v(MemoKey::sandRatio));
  }
  for (int index = 1; m.has({MemoKey::coarseRatio, index}); ++index) {
    m.line("   brita " + std::to_string(index) + " = " + m.n({MemoKey::coarseMass, index}) + " / " +
           m.n(MemoKey::cementContent) + " = " + m.v({MemoKey::coarseRatio, index}));
  }
  m.line("   água = a/c = " + m.v(MemoKey::wcRatio));
  const MixLine mix = mixLine(m);
  m.line("   Traço: " + mix.parts + "  (" + mix.names + ")");
}

// The slots of one batch box: the material's part of the mix, its unit mass,
// the height for one box, the number of boxes and the height of each.
struct BoxSlots {
  MemoSlot ratio, unitMass, height, boxes, boxHeight;
};

// One batch box: its height, and the one-or-two-box test.
void box(TextMemo& m, const std::string& name, const BoxSlots& slots) {
  if (!m.has(slots.height)) return;
  m.line("   " + name + ": h = " + m.n(slots.ratio) + " × 500 / " + m.n(slots.unitMass) +
         " / 15,75 = " + m.vu(slots.height));
  if (m.integer(slots.boxes) == 2) {
    m.line("   " + name + ": maior que 35 cm, 2 padiolas de h / 2 = " + m.n(slots.height) + " / 2 = " +
           m.vu(slots.boxHeight));
  } else {
    m.line("   " + name + ": até 35 cm, 1 padiola de " + m.vu(slots.boxHeight));
  }
}

void boxes(TextMemo& m) {
  if (!m.has(MemoKey::sandHeight)) return;
  m.heading("10. PADIOLAS PARA 1 SACO DE CIMENTO DE 50 kg (base 45 cm × 35 cm = 15,75 dm²)");
  m.line("   Fórmula: h = traço × 500 / massa unitária / 15,75 (cm); acima de 35 cm usam-se");
  m.line("   2 padiolas de altura h / 2");
  box(m, "Areia", {MemoKey::sandRatio, MemoKey::sandUnitMass, MemoKey::sandHeight, MemoKey::sandBoxes,
                   MemoKey::sandBoxHeight});
  for (int index = 1; m.has({MemoKey::coarseHeight, index}); ++index) {
    box(m, gradationName(index),
        {{MemoKey::coarseRatio, index}, {MemoKey::coarseUnitMass, index}, {MemoKey::coarseHeight, index},
         {MemoKey::coarseBoxes, index}, {MemoKey::coarseBoxHeight, index}});
  }
}

void waterPerBag(TextMemo& m) {
  if (!m.has(MemoKey::waterPerBag)) return;
  m.heading("11. ÁGUA POR SACO DE CIMENTO DE 50 kg");
  m.line("   Fórmula: água por saco = a/c × 50");
  m.line("   Água por saco = " + m.n(MemoKey::wcRatio) + " × 50 = " + m.vu(MemoKey::waterPerBag));
}

// A cell right-aligned in `width` characters (UTF-8 letters count once).
std::string padded(const std::string& text, std::size_t width, bool right) {
  std::size_t shown = 0;
  for (unsigned char c : text) shown += (c & 0xC0) != 0x80 ? 1 : 0;
  const std::string pad(shown < width ? width - shown : 0, ' ');
  return right ? pad + text : text + pad;
}

void consumptionRow(TextMemo& m, const std::string& name, const std::string& mass,
                    const std::string& volume) {
  m.line("   " + padded(name, 10, false) + padded(mass, 12, true) + padded(volume, 22, true));
}

void consumption(TextMemo& m, const MemoRecord& memo) {
  const std::vector<Material> materials = compositionOf(memo);
  if (materials.empty()) return;
  m.heading("12. CONSUMO DE MATERIAIS POR m³ DE CONCRETO");
  consumptionRow(m, "Material", "Massa (kg)", "Volume absoluto (dm³)");
  double mass = 0;
  double volume = 0;
  for (const Material& material : materials) {
    const double materialMass = material.mass ? m.value(*material.mass) : 0;
    consumptionRow(m, material.name, compositionText(materialMass), compositionText(m.value(material.volume)));
    mass += materialMass;
    volume += m.value(material.volume);
  }
  consumptionRow(m, "Total", compositionText(mass), compositionText(volume));
  m.line("   A massa total é a massa específica do concreto fresco, em kg/m³ (a água a 1 kg/dm³).");
}

// The mix by volume per bag, from the unit masses the user gave.
void volumePerBag(TextMemo& m) {
  if (!m.has(MemoKey::waterPerBag)) return;
  m.heading("13. TRAÇO EM VOLUME POR SACO DE CIMENTO DE 50 kg (massas unitárias digitadas)");
  m.line("   Fórmula: volume por saco = traço × 50 / massa unitária (dm³)");
  std::string mix = "1 saco";
  const auto add = [&](const std::string& name, MemoSlot ratio, MemoSlot unitMass) {
    const std::string volume = fixedTextOfSum(m.value(ratio) * 50 / m.value(unitMass), 2);
    m.line("   " + name + ": " + m.n(ratio) + " × 50 / " + m.n(unitMass) + " = " + volume + " dm³");
    mix += " : " + volume + " dm³ de " + name;
  };
  add("areia", MemoKey::sandRatio, MemoKey::sandUnitMass);
  for (int index = 1; m.has({MemoKey::coarseUnitMass, index}); ++index) {
    add("brita " + std::to_string(index), {MemoKey::coarseRatio, index}, {MemoKey::coarseUnitMass, index});
  }
  m.line("   água: " + m.vu(MemoKey::waterPerBag));
  m.paragraph("   Traço em volume: ", mix + " : " + m.v(MemoKey::waterPerBag) + " L de água");
}

// The boxes of one bag, as "areia 2 × 21,39 cm".
std::string boxSummary(const TextMemo& m, const std::string& name, MemoSlot boxes, MemoSlot height) {
  return name + " " + m.v(boxes) + " × " + m.vu(height);
}

void summary(TextMemo& m) {
  if (!m.has(MemoKey::waterPerBag)) return;
  m.heading("RESUMO");
  m.line("   fck = " + m.vu(MemoKey::fck) + "; desvio-padrão Sd = " + m.vu(MemoKey::deviation) + " (controle " +
         std::string(kControlNames[m.integer(MemoKey::controlLevel) - 1]) + "); fc28 = " + m.vu(MemoKey::fc28));
  m.line("   Relação a/c = " + m.v(MemoKey::wcRatio));
  m.line("   Consumo de cimento = " + m.vu(MemoKey::cementContent) + " (" +
         fixedTextOfSum(m.value(MemoKey::cementContent) / 50, 2) + " sacos de 50 kg por m³)");
  const MixLine mix = mixLine(m);
  m.paragraph("   Traço em peso: ", mix.parts + " (" + mix.names + ")");
  std::string boxes = boxSummary(m, "areia", MemoKey::sandBoxes, MemoKey::sandBoxHeight);
  for (int index = 1; m.has({MemoKey::coarseBoxes, index}); ++index) {
    boxes += "; " + boxSummary(m, "brita " + std::to_string(index), {MemoKey::coarseBoxes, index},
                               {MemoKey::coarseBoxHeight, index});
  }
  m.paragraph("   Padiolas por saco (45 cm × 35 cm): ", boxes);
  m.line("   Água por saco de 50 kg = " + m.vu(MemoKey::waterPerBag));
}

void assumptions(TextMemo& m) {
  m.heading("PREMISSAS DO MÉTODO");
  m.paragraph("   - ", "Massas específicas: cimento 3,15 kg/dm³; areia 2,64 kg/dm³; brita 2,7 kg/dm³; "
                       "água 1 kg/dm³ (1 litro de água = 1 kg).");
  m.paragraph("   - ", "Agregados secos: sem correção de umidade nem de inchamento da areia; corrija a água "
                       "e os volumes na obra conforme a umidade dos agregados.");
  m.paragraph("   - ", "Resistência de dosagem fc28 = fck + 1,65 × Sd; a relação a/c atende também à "
                       "durabilidade (guia de valores do programa).");
  m.paragraph("   - ", "Saco de cimento de 50 kg; padiola de base 45 cm × 35 cm (15,75 dm²) e altura de até "
                       "35 cm: acima disso, 2 padiolas de meia altura.");
  if (m.has(MemoKey::sizeRow)) {
    m.paragraph("   - ", "Tabela por diâmetro máximo, linha " + m.v(MemoKey::sizeRow) + " (Dmáx até " +
                             m.vu(MemoKey::tableSize) + ", " +
                             (m.integer(MemoKey::airColumn) == 2 ? "com" : "sem") + " ar incorporado): ar " +
                             m.vu(MemoKey::airVolume) + ", areia " + m.vu(MemoKey::sandPercent) +
                             " do volume de agregados.");
  }
  if (m.integer(MemoKey::strengthRow) > 0) {
    m.paragraph("   - ", "Tabela de resistência aos 28 dias do cimento " +
                             std::string(cementClassName(m.integer(MemoKey::cementColumn))) + ", linha " +
                             m.v(MemoKey::strengthRow) + ": " + m.vu(MemoKey::tableStrength) + " com a/c " +
                             m.v(MemoKey::suggestedRatio) + ".");
  }
}

// What to order for the volume asked with --volume (and --perda).
void quantities(TextMemo& m, const MemoRecord& memo, const std::optional<OrderVolume>& asked) {
  if (!asked || !m.has(MemoKey::waterPerBag)) return;
  const Order order = orderOf(memo, *asked);
  m.heading("14. QUANTIDADES PARA " + shownDecimal(asked->cubicMetres) + " m³ DE CONCRETO (perda de " +
            shownDecimal(asked->lossPercent) + " %)");
  m.line("   Volume com a perda: " + shownDecimal(asked->cubicMetres) + " × (1 + " +
         shownDecimal(asked->lossPercent) + " / 100) = " + decimalText(order.volume, 3) + " m³");
  m.line("   Cimento: " + m.n(MemoKey::cementContent) + " × " + decimalText(order.volume, 3) + " = " +
         decimalText(order.cementMass, 2) + " kg");
  m.line("   Sacos de 50 kg: " + decimalText(order.cementMass, 2) + " / 50 = " + decimalText(order.bags, 2) +
         " (pedir " + std::to_string(order.wholeBags) + " sacos)");
  for (const OrderedAggregate& aggregate : order.aggregates) {
    std::string name = aggregate.name;
    name[0] = static_cast<char>(name[0] - 'a' + 'A');
    m.line("   " + name + ": " + m.n(aggregate.perCubicMetre) + " × " + decimalText(order.volume, 3) + " = " +
           decimalText(aggregate.mass, 2) + " kg");
    m.line("   " + name + " solta: " + decimalText(aggregate.mass, 2) + " / " + m.n(aggregate.unitMass) +
           " / 1000 = " + decimalText(aggregate.looseVolume, 3) + " m³");
  }
  m.line("   Água: " + m.n(MemoKey::waterContent) + " × " + decimalText(order.volume, 3) + " = " +
         decimalText(order.water, 2) + " litros");
  m.paragraph("   ", "Volumes de areia e brita medidos soltos, pela massa unitária digitada, com os agregados "
                     "secos: corrija-os pela umidade e pelo inchamento da areia na obra.");
}

void signature(TextMemo& m) {
  m.heading("RESPONSÁVEL TÉCNICO");
  m.line();
  m.line("   Nome: ____________________________________________________________");
  m.line("   Registro profissional (CREA/CAU) nº: _____________________________");
  m.line("   Assinatura: ______________________________   Data: ____/____/______");
}

bool hasAsterisks(const std::vector<Alert>& alerts) {
  for (const Alert& alert : alerts) {
    if (alert.code == "campo_com_asteriscos") return true;
  }
  return false;
}

void alertSection(TextMemo& m, const std::vector<Alert>& alerts) {
  m.heading("ALERTAS");
  if (alerts.empty()) m.line("   Nenhum: nenhuma figura deste cálculo pede atenção especial.");
  int number = 0;
  for (const Alert& alert : alerts) m.paragraph("   " + std::to_string(++number) + ". ", alert.text);
}

}  // namespace

std::string memoText(const MemoRecord& memo, const RunFacts& facts) {
  TextMemo m(memo);
  m.line(std::string(kByteOrderMark) + "MEMORIAL DE CÁLCULO DA DOSAGEM DE CONCRETO");
  m.line("Método dos volumes absolutos - programa dosmo " + facts.version);
  m.line("Relatório: " + facts.reportName);
  m.line("Data e hora do cálculo: " + shownDateTime(facts.epochSeconds));
  m.line();
  const std::vector<Alert> alerts = alertsOf(memo);
  m.paragraph("", std::string("Números com vírgula decimal. Os valores que também estão no relatório aparecem "
                              "arredondados como no relatório") +
                      (hasAsterisks(alerts) ? " (onde o relatório mostra asteriscos, o memorial mostra o valor)"
                                            : "") +
                      "; nas equações, cada número entra como o programa o guardou, para que a conta "
                      "feche.");
  alertSection(m, alerts);
  summary(m);
  assumptions(m);
  data(m);
  targetStrength(m);
  water(m);
  ratio(m);
  cement(m);
  airAndSand(m);
  aggregateVolume(m);
  masses(m);
  mixByWeight(m);
  boxes(m);
  waterPerBag(m);
  consumption(m, memo);
  volumePerBag(m);
  quantities(m, memo, facts.order);
  signature(m);
  return m.take();
}

}  // namespace dosmo

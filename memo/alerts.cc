// Each alert is one condition on stored figures and one text; the thresholds
// are those of the method (the 35 cm box, the cubic metre of 1000 dm³).
#include "memo/alerts.h"

#include <cmath>
#include <optional>

#include "memo/composition.h"
#include "memo/figures.h"
#include "recio/field.h"

namespace dosmo {
namespace {

constexpr double kBoxLimitCm = 35;
constexpr double kNearLimitCm = 0.01;
constexpr double kShareSlackPercent = 0.05;

// A figure the report prints, the width of its field and how the memo names it.
struct ReportField {
  MemoKey key;
  int width;
  const char* label;
};

constexpr ReportField kReportFields[] = {
    {MemoKey::fck, 5, "da resistência característica fck"},
    {MemoKey::fc28, 5, "da resistência de dosagem fc28"},
    {MemoKey::slump, 5, "do abatimento"},
    {MemoKey::waterContent, 6, "do teor de água"},
    {MemoKey::cementContent, 6, "do consumo de cimento (\"teor de cimento\" no relatório)"},
    {MemoKey::cementRatio, 5, "da parte do cimento no traço"},
    {MemoKey::sandRatio, 5, "da parte da areia no traço"},
    {MemoKey::coarseRatio, 5, "da parte da brita no traço"},
    {MemoKey::wcRatio, 5, "da relação a/c (parte da água no traço)"},
    {MemoKey::sandBoxHeight, 5, "da altura da padiola de areia"},
    {MemoKey::coarseBoxHeight, 5, "da altura da padiola da brita"},
    {MemoKey::waterPerBag, 7, "da água por saco"},
};

// A quantity that has a physical sense only when positive, and its name.
struct Quantity {
  MemoKey key;
  const char* label;
};

constexpr Quantity kQuantities[] = {
    {MemoKey::waterContent, "O teor de água"},
    {MemoKey::cementContent, "O consumo de cimento"},
    {MemoKey::aggregateVolume, "O volume de agregados"},
    {MemoKey::sandMass, "A massa de areia"},
    {MemoKey::coarseMass, "A massa da brita"},
    {MemoKey::sandHeight, "A altura da padiola de areia"},
    {MemoKey::coarseHeight, "A altura da padiola da brita"},
    {MemoKey::waterPerBag, "A água por saco"},
};

std::string gradationSuffix(MemoSlot slot) {
  return slot.gradation > 0 ? " " + std::to_string(slot.gradation) : "";
}

std::string shown(const MemoRecord& memo, MemoSlot slot) {
  const MemoFigure* figure = memo.find(slot);
  if (figure == nullptr) return "?";
  const std::string_view unit = figureInfo(slot.key).textUnit;
  return figureText(*figure) + (unit.empty() ? "" : " " + std::string(unit));
}

std::string full(const MemoRecord& memo, MemoSlot slot) {
  const MemoFigure* figure = memo.find(slot);
  return figure != nullptr ? operandText(*figure) : "?";
}

// Every slot of `key` the record holds: the one of the whole mix, or one per gradation.
std::vector<MemoSlot> slotsOf(const MemoRecord& memo, MemoKey key) {
  if (!figureInfo(key).perGradation) {
    return memo.has(key) ? std::vector<MemoSlot>{key} : std::vector<MemoSlot>{};
  }
  std::vector<MemoSlot> slots;
  for (int index = 1; index <= memo.gradations(key); ++index) slots.emplace_back(key, index);
  return slots;
}

// The sand and each gravel's batch box.
struct Box {
  std::string name;
  MemoSlot height, boxes, boxHeight;
};

std::vector<Box> boxesOf(const MemoRecord& memo) {
  std::vector<Box> boxes;
  if (memo.has(MemoKey::sandHeight)) {
    boxes.push_back({"Areia", MemoKey::sandHeight, MemoKey::sandBoxes, MemoKey::sandBoxHeight});
  }
  for (int index = 1; index <= memo.gradations(MemoKey::coarseHeight); ++index) {
    boxes.push_back({"Brita " + std::to_string(index), {MemoKey::coarseHeight, index},
                     {MemoKey::coarseBoxes, index}, {MemoKey::coarseBoxHeight, index}});
  }
  return boxes;
}

void tallBoxes(const MemoRecord& memo, std::vector<Alert>& alerts) {
  for (const Box& box : boxesOf(memo)) {
    if (memo.value(box.boxes) != 2 || memo.value(box.boxHeight) <= kBoxLimitCm) continue;
    const double threeBoxes = memo.value(box.height) / 3;
    alerts.push_back({"padiola_acima_de_35",
                      box.name + ": mesmo com 2 padiolas, cada uma teria " + shown(memo, box.boxHeight) +
                          " de altura, mais que os 35 cm da padiola (o relatório indica 2 padiolas). "
                          "Com 3 padiolas a altura seria " + fixedTextOfSum(threeBoxes, 2) +
                          " cm. Confira a massa unitária e divida o material em 3 padiolas ou mais."});
  }
}

void heightsAtTheLimit(const MemoRecord& memo, std::vector<Alert>& alerts) {
  for (const Box& box : boxesOf(memo)) {
    const double height = memo.value(box.height);
    if (std::fabs(height - kBoxLimitCm) >= kNearLimitCm) continue;
    const std::string side = height > kBoxLimitCm ? "acima do limite: 2 padiolas"
                                                  : "não passa do limite: 1 padiola";
    alerts.push_back({"altura_no_limite",
                      box.name + ": a altura calculada, " + full(memo, box.height) +
                          " cm, está a menos de 0,01 cm do limite de 35 cm (" + side +
                          "). Uma pequena diferença na massa unitária ou no traço muda o número "
                          "de padiolas; confira esses valores."});
  }
}

void volumesOfTheCubicMetre(const MemoRecord& memo, std::vector<Alert>& alerts) {
  const std::vector<Material> materials = compositionOf(memo);
  if (materials.empty()) return;
  double shares = memo.value(MemoKey::sandPercent);
  for (int index = 1; index <= memo.gradations(MemoKey::coarsePercent); ++index) {
    shares += memo.value({MemoKey::coarsePercent, index});
  }
  if (std::fabs(shares - 100) <= kShareSlackPercent) return;
  double volume = 0;
  for (const Material& material : materials) volume += memo.value(material.volume);
  alerts.push_back({"volumes_fora_de_1000",
                    "Os volumes absolutos somam " + compositionText(volume) +
                        " dm³, e não 1000 dm³: a areia (" + full(memo, MemoKey::sandPercent) +
                        " %) e as britas somam " + fixedTextOfSum(shares, 2) +
                        " % do volume de agregados, e não 100 %. Os consumos \"por m³\" valem então "
                        "para " + fixedTextOfSum(volume / 1000, 3) +
                        " m³ de concreto. Confira as porcentagens das britas: cada uma é parte do "
                        "volume total de agregados, com a areia."});
}

void ratioAgainstTheTable(const MemoRecord& memo, std::vector<Alert>& alerts) {
  if (!memo.has(MemoKey::strengthRow)) return;  // the run chose no cement class
  const std::string cement(cementClassName(static_cast<int>(memo.value(MemoKey::cementColumn))));
  if (memo.value(MemoKey::strengthRow) == 0) {
    alerts.push_back({"tabela_nao_atinge_fc28",
                      "Nenhuma linha da tabela do cimento " + cement + " atinge fc28 = " +
                          shown(memo, MemoKey::fc28) + "; a relação a/c digitada, " +
                          shown(memo, MemoKey::wcRatio) +
                          ", não tem apoio na tabela. Confira a classe do cimento, a resistência "
                          "exigida e o desvio-padrão, ou comprove a relação a/c por ensaio."});
    return;
  }
  if (!memo.has(MemoKey::typedRatio) ||
      memo.value(MemoKey::typedRatio) <= memo.value(MemoKey::suggestedRatio)) {
    return;
  }
  alerts.push_back({"relacao_ac_acima_da_tabela",
                    "A relação a/c digitada, " + shown(memo, MemoKey::typedRatio) +
                        ", é maior que a sugerida pela tabela do cimento " + cement + " para fc28 = " +
                        shown(memo, MemoKey::fc28) + " (" + shown(memo, MemoKey::suggestedRatio) +
                        "): com ela a resistência de dosagem pode não ser atingida. Confira o valor "
                        "ou comprove-o por ensaio."});
}

// Whether the report shows `slot`'s figure as asterisks (too wide for its field).
bool shownAsAsterisks(const MemoRecord& memo, MemoSlot slot) {
  for (const ReportField& field : kReportFields) {
    if (field.key != slot.key || !memo.has(slot)) continue;
    char text[16];
    recio::renderFixed(static_cast<float>(memo.value(slot)), field.width, 2, text);
    return text[0] == '*';
  }
  return false;
}

void asterisks(const MemoRecord& memo, std::vector<Alert>& alerts) {
  for (const ReportField& field : kReportFields) {
    for (const MemoSlot& slot : slotsOf(memo, field.key)) {
      if (!shownAsAsterisks(memo, slot)) continue;
      alerts.push_back({"campo_com_asteriscos",
                        "O relatório mostra " + std::string(static_cast<std::size_t>(field.width), '*') +
                            " no lugar de " + field.label + gradationSuffix(slot) + ": " +
                            full(memo, slot) + " não cabe no campo de " + std::to_string(field.width) +
                            " caracteres. O memorial mostra o valor; confira as respostas que o "
                            "produziram."});
    }
  }
}

void nonPositive(const MemoRecord& memo, std::vector<Alert>& alerts) {
  for (const Quantity& quantity : kQuantities) {
    for (const MemoSlot& slot : slotsOf(memo, quantity.key)) {
      if (memo.value(slot) > 0) continue;
      alerts.push_back({"quantidade_nao_positiva",
                        std::string(quantity.label) + gradationSuffix(slot) + " é " + full(memo, slot) +
                            " " + std::string(figureInfo(slot.key).textUnit) +
                            ": uma quantidade negativa ou nula não tem sentido físico, e as "
                            "figuras que dependem dela também não. Confira as respostas."});
    }
  }
}

}  // namespace

std::vector<Alert> alertsOf(const MemoRecord& memo) {
  std::vector<Alert> alerts;
  tallBoxes(memo, alerts);
  heightsAtTheLimit(memo, alerts);
  volumesOfTheCubicMetre(memo, alerts);
  ratioAgainstTheTable(memo, alerts);
  asterisks(memo, alerts);
  nonPositive(memo, alerts);
  return alerts;
}

}  // namespace dosmo

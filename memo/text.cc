// The text memo, section by section. Every number comes from the record;
// the figures the report also prints are rounded as the report rounds them.
#include "memo/text.h"

#include <string>

#include "memo/figures.h"

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

  bool has(std::string_view key) const { return memo_.has(key); }

  int integer(std::string_view key) const { return static_cast<int>(memo_.value(key)); }

  double value(std::string_view key) const { return memo_.value(key); }

  // The figure as the memo shows it; "?" for a step the run did not reach.
  std::string v(std::string_view key) const {
    const MemoFigure* figure = memo_.find(key);
    return figure != nullptr ? figureText(*figure) : "?";
  }

  // The figure followed by its unit.
  std::string vu(std::string_view key) const {
    const std::string_view unit = figureInfo(key).textUnit;
    return unit.empty() ? v(key) : v(key) + " " + std::string(unit);
  }

  void heading(const std::string& title) {
    line();
    line(title);
  }

 private:
  const MemoRecord& memo_;
  std::string out_;
};

constexpr std::string_view kControlNames[] = {"rigoroso", "médio", "baixo"};
constexpr std::string_view kCementNames[] = {"CP25", "CP32", "CP40"};

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
  m.line("   Resistência característica exigida: fck = " + m.vu("fck"));
  if (m.has("nivel_controle")) {
    m.line("   Desvio-padrão do nível de controle: Sd = " + m.vu("desvio_padrao") + " (controle " +
           std::string(kControlNames[m.integer("nivel_controle") - 1]) + ")");
  }
  if (m.has("abatimento")) m.line("   Abatimento: s = " + m.vu("abatimento"));
  if (m.has("diametro_maximo")) {
    m.line("   Diâmetro máximo do agregado graúdo: Dmáx = " + m.vu("diametro_maximo"));
  }
  if (m.has("fator_forma")) {
    m.line("   Fator de forma do agregado: k = " + m.v("fator_forma") + shapeMeaning(m.v("fator_forma")));
  }
  if (m.has("opcao_relacao_ac")) {
    m.line("   Relação água/cimento: resposta " + m.v("opcao_relacao_ac") +
           (m.integer("opcao_relacao_ac") == 2 ? " (valor que garanta resistência maior que fc28)"
                                               : " (um dos valores do guia de durabilidade)"));
  }
  if (m.has("classe_cimento")) {
    m.line("   Classe do cimento: resposta " + m.v("classe_cimento") + " (" +
           std::string(kCementNames[m.integer("coluna_cimento") - 1]) + ")");
  }
  if (m.has("manter_sugerida")) {
    m.line("   Usar o valor sugerido: resposta " + m.v("manter_sugerida") +
           (m.integer("manter_sugerida") == 2 ? " (digitar novo valor)" : " (sim)"));
  }
  if (m.has("relacao_ac_digitada")) m.line("   Relação a/c digitada: " + m.v("relacao_ac_digitada"));
  if (m.has("ar_incorporado")) {
    m.line("   Ar incorporado: resposta " + m.v("ar_incorporado") +
           (m.integer("com_ar_incorporado") == 1 ? " (há ar incorporado)" : " (não há ar incorporado)"));
  }
  if (m.has("quantidade_britas")) m.line("   Quantidade de britas: " + m.v("quantidade_britas"));
  for (int index = 1; m.has(gradationKey(index, "percentual")); ++index) {
    m.line("   " + gradationName(index) + ": " + m.vu(gradationKey(index, "percentual")) +
           " do volume de agregados");
  }
  if (m.has("massa_unitaria_areia")) {
    m.line("   Massa unitária da areia: " + m.vu("massa_unitaria_areia"));
  }
  for (int index = 1; m.has(gradationKey(index, "massa_unitaria")); ++index) {
    m.line("   Massa unitária da brita " + std::to_string(index) + ": " +
           m.vu(gradationKey(index, "massa_unitaria")));
  }
}

void targetStrength(TextMemo& m) {
  if (!m.has("fc28")) return;
  m.heading("2. RESISTÊNCIA DE DOSAGEM AOS 28 DIAS");
  m.line("   Nível de controle pelo desvio-padrão: até 4 MPa rigoroso, até 5,5 MPa médio,");
  m.line("   acima de 5,5 MPa baixo. Sd = " + m.vu("desvio_padrao") + ": controle " +
         std::string(kControlNames[m.integer("nivel_controle") - 1]) + ".");
  m.line("   Fórmula: fc28 = fck + 1,65 × Sd");
  m.line("   fc28 = " + m.v("fck") + " + 1,65 × " + m.v("desvio_padrao") + " = " + m.vu("fc28"));
}

void water(TextMemo& m) {
  if (!m.has("teor_agua")) return;
  m.heading("3. TEOR DE ÁGUA");
  m.line("   Fórmula: Água = 218 × k × (10 × s)^0,1 / Dmáx^0,18  (s em cm, Dmáx em mm)");
  m.line("   Primeira potência: (10 × " + m.v("abatimento") + ")^0,1 = " + m.v("potencia_abatimento"));
  m.line("   Segunda potência: " + m.v("diametro_maximo") + "^0,18 = " + m.v("potencia_diametro"));
  m.line("   Água = 218 × " + m.v("fator_forma") + " × " + m.v("potencia_abatimento") + " / " +
         m.v("potencia_diametro") + " = " + m.vu("teor_agua"));
}

void ratio(TextMemo& m) {
  if (!m.has("relacao_ac")) return;
  m.heading("4. RELAÇÃO ÁGUA/CIMENTO (a/c)");
  if (!m.has("classe_cimento")) {
    m.line("   Valor escolhido no guia de durabilidade e digitado: a/c = " + m.v("relacao_ac"));
    return;
  }
  const std::string cement(kCementNames[m.integer("coluna_cimento") - 1]);
  m.line("   Cimento " + cement + ": tabela de resistência aos 28 dias por relação a/c; vale a");
  m.line("   primeira linha cuja resistência é maior ou igual a fc28 = " + m.vu("fc28") + ".");
  if (m.integer("linha_tabela_resistencia") == 0) {
    m.line("   Nenhuma linha da tabela atinge fc28 com este cimento; valor digitado:");
    m.line("   a/c = " + m.v("relacao_ac"));
    return;
  }
  m.line("   Linha " + m.v("linha_tabela_resistencia") + ": " + m.vu("resistencia_tabela") +
         ", a/c sugerido = " + m.v("relacao_ac_sugerida"));
  if (m.integer("manter_sugerida") == 2) {
    m.line("   Valor sugerido substituído pelo digitado: a/c = " + m.v("relacao_ac"));
  } else {
    m.line("   Valor sugerido mantido: a/c = " + m.v("relacao_ac"));
  }
}

void cement(TextMemo& m) {
  if (!m.has("consumo_cimento")) return;
  m.heading("5. CONSUMO DE CIMENTO");
  m.line("   Fórmula: C = Água / (a/c)");
  m.line("   C = " + m.v("teor_agua") + " / " + m.v("relacao_ac") + " = " + m.vu("consumo_cimento"));
}

void airAndSand(TextMemo& m) {
  if (!m.has("volume_ar")) return;
  m.heading("6. AR E PROPORÇÃO DE AREIA");
  if (m.integer("diametro_acima_da_tabela") == 1) {
    m.line("   Dmáx acima de 150 mm, o maior da tabela: usada a linha de 150 mm.");
  }
  m.line("   Tabela por diâmetro máximo: linha " + m.v("linha_tabela_diametro") + " (Dmáx até " +
         m.vu("diametro_tabela") + "), " +
         (m.integer("com_ar_incorporado") == 1 ? "com" : "sem") + " ar incorporado:");
  m.line("   Ar = " + m.vu("volume_ar") + " (litros por m³)");
  m.line("   Areia = " + m.vu("percentual_areia") + " do volume de agregados");
}

void aggregateVolume(TextMemo& m) {
  if (!m.has("volume_agregados")) return;
  m.heading("7. VOLUME DE AGREGADOS (volumes absolutos em 1 m³ = 1000 dm³)");
  m.line("   Fórmula: Vag = 1000 − C / 3,15 − Água − Ar  (massa específica do cimento 3,15 kg/dm³)");
  m.line("   Volume do cimento = " + m.v("consumo_cimento") + " / 3,15 = " + m.vu("volume_cimento"));
  m.line("   Vag = 1000 − " + m.v("volume_cimento") + " − " + m.v("teor_agua") + " − " +
         m.v("volume_ar") + " = " + m.vu("volume_agregados"));
}

void masses(TextMemo& m) {
  if (!m.has("massa_areia")) return;
  m.heading("8. MASSAS DOS AGREGADOS POR m³");
  m.line("   Fórmulas: Areia = Vag × %areia × 2,64 / 100;  Brita = %brita × Vag × 2,7 / 100");
  m.line("   (massas específicas: areia 2,64 kg/dm³, brita 2,7 kg/dm³; a % de cada brita é");
  m.line("   parte do volume total de agregados)");
  m.line("   Areia = " + m.v("volume_agregados") + " × " + m.v("percentual_areia") +
         " × 2,64 / 100 = " + m.vu("massa_areia"));
  for (int index = 1; m.has(gradationKey(index, "massa")); ++index) {
    m.line("   " + gradationName(index) + " = " + m.v(gradationKey(index, "percentual")) + " × " +
           m.v("volume_agregados") + " × 2,7 / 100 = " + m.vu(gradationKey(index, "massa")));
  }
}

void mixByWeight(TextMemo& m) {
  if (!m.has("traco_cimento")) return;
  m.heading("9. TRAÇO EM PESO (por kg de cimento)");
  m.line("   Fórmula: parte de cada material = massa do material / C");
  m.line("   cimento = " + m.v("consumo_cimento") + " / " + m.v("consumo_cimento") + " = " +
         m.v("traco_cimento"));
  std::string mix = m.v("traco_cimento");
  std::string names = "cimento";
  if (m.has("traco_areia")) {
    m.line("   areia = " + m.v("massa_areia") + " / " + m.v("consumo_cimento") + " = " +
           m.v("traco_areia"));
    mix += " : " + m.v("traco_areia");
    names += " : areia";
  }
  for (int index = 1; m.has(gradationKey(index, "traco")); ++index) {
    m.line("   brita " + std::to_string(index) + " = " + m.v(gradationKey(index, "massa")) + " / " +
           m.v("consumo_cimento") + " = " + m.v(gradationKey(index, "traco")));
    mix += " : " + m.v(gradationKey(index, "traco"));
    names += " : brita " + std::to_string(index);
  }
  m.line("   água = a/c = " + m.v("relacao_ac"));
  m.line("   Traço: " + mix + " : " + m.v("relacao_ac") + "  (" + names + " : água)");
}

// One batch box: its height, and the one-or-two-box test.
void box(TextMemo& m, const std::string& name, const std::string& ratioKey,
         const std::string& unitMassKey, const std::string& prefix) {
  const std::string computed = prefix + "altura_calculada";
  if (!m.has(computed)) return;
  m.line("   " + name + ": h = " + m.v(ratioKey) + " × 500 / " + m.v(unitMassKey) + " / 15,75 = " +
         m.vu(computed));
  const std::string perBox = prefix + "altura_padiola";
  if (m.integer(prefix + "padiolas") == 2) {
    m.line("   " + name + ": maior que 35 cm, 2 padiolas de " + m.v(computed) + " / 2 = " + m.vu(perBox));
  } else {
    m.line("   " + name + ": até 35 cm, 1 padiola de " + m.vu(perBox));
  }
}

void boxes(TextMemo& m) {
  if (!m.has("areia_altura_calculada")) return;
  m.heading("10. PADIOLAS PARA 1 SACO DE CIMENTO DE 50 kg (base 45 cm × 35 cm = 15,75 dm²)");
  m.line("   Fórmula: h = traço × 500 / massa unitária / 15,75 (cm); acima de 35 cm usam-se");
  m.line("   2 padiolas de altura h / 2");
  box(m, "Areia", "traco_areia", "massa_unitaria_areia", "areia_");
  for (int index = 1; m.has(gradationKey(index, "altura_calculada")); ++index) {
    box(m, gradationName(index), gradationKey(index, "traco"), gradationKey(index, "massa_unitaria"),
        gradationKey(index, ""));
  }
}

void waterPerBag(TextMemo& m) {
  if (!m.has("agua_por_saco")) return;
  m.heading("11. ÁGUA POR SACO DE CIMENTO DE 50 kg");
  m.line("   Fórmula: água por saco = a/c × 50");
  m.line("   Água por saco = " + m.v("relacao_ac") + " × 50 = " + m.vu("agua_por_saco"));
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

void consumption(TextMemo& m) {
  if (!m.has("massa_areia")) return;
  m.heading("12. CONSUMO DE MATERIAIS POR m³ DE CONCRETO");
  consumptionRow(m, "Material", "Massa (kg)", "Volume absoluto (dm³)");
  consumptionRow(m, "Cimento", m.v("consumo_cimento"), m.v("volume_cimento"));
  consumptionRow(m, "Água", m.v("teor_agua"), m.v("teor_agua"));
  consumptionRow(m, "Ar", fixedText(0, 2), fixedText(static_cast<float>(m.value("volume_ar")), 2));
  consumptionRow(m, "Areia", m.v("massa_areia"), m.v("volume_areia"));
  for (int index = 1; m.has(gradationKey(index, "massa")); ++index) {
    consumptionRow(m, gradationName(index), m.v(gradationKey(index, "massa")),
                   m.v(gradationKey(index, "volume")));
  }
}

}  // namespace

std::string memoText(const MemoRecord& memo, std::string_view reportName,
                     std::string_view version) {
  TextMemo m(memo);
  m.line(std::string(kByteOrderMark) + "MEMORIAL DE CÁLCULO DA DOSAGEM DE CONCRETO");
  m.line("Método dos volumes absolutos - programa dosmo " + std::string(version));
  m.line("Relatório: " + std::string(reportName));
  m.line();
  m.line("Números com vírgula decimal. Os valores que também estão no relatório aparecem");
  m.line("arredondados como no relatório; as contas usam os valores guardados pelo programa.");
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
  consumption(m);
  return m.take();
}

}  // namespace dosmo

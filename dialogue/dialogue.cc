// The mix-design dialogue: twelve stages from the opening banner to the
// closing screen over one MixState. Every question is one or more console
// records and one free-form read; every result goes to the report unit. Texts
// are Windows-1252 bytes, each written with its exact length.
#include "dialogue/dialogue.h"

#include <cstddef>
#include <cstdint>

#include "dialogue/mix_formulas.h"
#include "dialogue/tables.h"
#include "recio/console_input.h"
#include "recio/output.h"
#include "recio/record_sink.h"
#include "recio/report_unit.h"
#include "recio/shell.h"

namespace dosmo {

// Never defined and not usable in a constant expression: a text whose check
// reaches one of these does not compile, and the name says why.
void statedLengthDiffersFromTheLiteral();
void cutTextMustBeShorterThanTheLiteral();

namespace {

using recio::kConsole;
using recio::kReportUnit;

// A text item: its bytes and the number of them that is written.
struct Text {
  const char* bytes;
  int length;
};

// A literal written whole; its stated length must be the literal's own length.
template <std::size_t N>
consteval Text text(const char (&literal)[N], int length) {
  if (length != static_cast<int>(N - 1)) statedLengthDiffersFromTheLiteral();
  return Text{literal, length};
}

// A literal of which only the first `length` characters are written.
template <std::size_t N>
consteval Text textCut(const char (&literal)[N], int length) {
  if (length < 0 || length >= static_cast<int>(N - 1)) cutTextMustBeShorterThanTheLiteral();
  return Text{literal, length};
}

// The dialogue's two empty lines: one blank, and nothing at all.
constexpr Text kBlankValue = text(" ", 1);
constexpr Text kEmptyValue = text("", 0);

constexpr Text kClearCommand = text("cls", 3);

// The rule of the report heading and of its end: 74 hyphens and one blank.
constexpr Text kRule = text(
    "-------------------------------------------------------------------------- ", 75);

// One list-directed record of one text.
void writeRecord(int unit, Text item) {
  recio::beginWrite(unit);
  recio::writeText(item.bytes, item.length);
  recio::endWrite();
}

void console(Text item) { writeRecord(kConsole, item); }

void report(Text item) { writeRecord(kReportUnit, item); }

void consoleBlanks(int count) {
  for (int i = 0; i < count; ++i) console(kBlankValue);
}

void reportBlanks(int count) {
  for (int i = 0; i < count; ++i) report(kBlankValue);
}

// One formatted statement with one REAL item.
void formattedReal(int unit, const char* format, float value) {
  recio::beginWrite(unit, format);
  recio::writeReal(value);
  recio::endWrite();
}

// One formatted statement with one INTEGER item.
void formattedInteger(int unit, const char* format, std::int32_t value) {
  recio::beginWrite(unit, format);
  recio::writeInteger(value);
  recio::endWrite();
}

// One formatted statement with an INTEGER item followed by a REAL item.
void formattedIntegerReal(int unit, const char* format, std::int32_t index, float value) {
  recio::beginWrite(unit, format);
  recio::writeInteger(index);
  recio::writeReal(value);
  recio::endWrite();
}

void askInteger(std::int32_t& item) {
  recio::beginRead();
  recio::readInteger(item);
  recio::endRead();
}

void askReal(float& item) {
  recio::beginRead();
  recio::readReal(item);
  recio::endRead();
}

// A read whose answer the memo keeps under `key`.
void askInteger(std::int32_t& item, MemoSink& memo, MemoSlot key) {
  askInteger(item);
  memo.answer(key, item);
}

void askReal(float& item, MemoSink& memo, MemoSlot key) {
  askReal(item);
  memo.answer(key, item);
}

void askText(char* item, int length) {
  recio::beginRead();
  recio::readText(item, length);
  recio::endRead();
}

// Clears the screen; the status is kept but never looked at.
void clearScreen(MixState& state) {
  state.shellStatus = recio::runShellCommand(kClearCommand.bytes, kClearCommand.length);
}

// S1: the banner, the report file name, and the opening of the report unit.
void bannerAndReportFile(MixState& state) {
  console(text("Programa para calculo do Dosmo de Concreto  versao 1.15", 55));
  console(text("Calculo de traco em peso", 24));
  console(text("Esta nova versao imprime relatorio!!", 36));
  console(kBlankValue);
  console(text("Para mais informacoes leia o manual que vem com o programa.", 59));
  consoleBlanks(5);
  console(text("Digite o nome do arquivo de saida (nome.txt)", 44));
  console(kBlankValue);
  askText(state.reportFileName, kReportFileNameLength);
  clearScreen(state);
  recio::openUnit(kReportUnit, state.reportFileName, kReportFileNameLength);
}

// S2: the characteristic strength and the report heading.
void strengthAndHeading(MixState& state, MemoSink& memo) {
  console(text("digite o valor do fck requerido (Mpa) ", 38));
  askReal(state.fck, memo, MemoKey::fck);
  report(textCut(" Relat\xF3rio do Programa Dosmo de Concrteto V.1.15   ", 48));
  report(text(" Traco em peso e volume ", 24));
  report(kBlankValue);
  report(text(" Visite minha home page!", 24));
  report(text(" Consulte o manual do programa", 30));
  report(kRule);
  reportBlanks(2);
  report(text(" CONSIDERA\xC7\xD5"
              "ES INICIAIS:",
              24));
  report(kBlankValue);
  formattedReal(kReportUnit,
                "(1X,' Dosmo calculado para um concreto de ',F5.2,"
                "' MPa de resist\xEAncia caracter\xEDstica',/)",
                state.fck);
  clearScreen(state);
}

// The report line that names the level of technological control.
Text controlMessage(ControlLevel level) {
  switch (level) {
    case ControlLevel::rigorous:
      return text(" Este concreto ter\xE1 um rigoroso controle tecnol\xF3gico ", 53);
    case ControlLevel::medium:
      return text(" Este concreto ter\xE1 um m\xE9"
                  "dio controle tecnol\xF3gico",
                  49);
    case ControlLevel::low:
      break;
  }
  return text(" Este concreto ter\xE1 um baixo controle tecnol\xF3gico", 49);
}

// S3: the control level and the target mean strength.
void controlAndTarget(MixState& state, MemoSink& memo) {
  console(text("digite 4 para concreto com rigoroso controle tecnologico", 56));
  console(text("digite 5.5 para concreto com medio controle tecnologico", 55));
  console(textCut("digite 7 para concreto com baixo controle tecnoogico ", 52));
  console(kBlankValue);
  console(text("digite o n\xFAmero da opcao desejada", 33));
  askReal(state.deviationSd, memo, MemoKey::deviation);
  const ControlLevel level = controlLevelOf(state.deviationSd);
  memo.result(MemoKey::controlLevel, static_cast<std::int32_t>(level) + 1);
  report(controlMessage(level));
  state.fc28 = targetStrength(state.fck, state.deviationSd);
  memo.result(MemoKey::fc28, state.fc28);
  report(kBlankValue);
  formattedReal(kReportUnit,
                "(1X,' Este concreto dever\xE1 aos 28 dias atingir uma resist\xEAncia de ',"
                "F5.2,' MPa')",
                state.fc28);
  clearScreen(state);
}

// S4: the slump, after the recommended ranges.
void slump(MixState& state, MemoSink& memo) {
  console(text("  ABAT. RECOM P/ OBRAS DE CONCRETO MASSA MAX=8cm ; MIN=3cm", 58));
  console(kEmptyValue);
  console(text("  ABAT. RECOM P/ PAREDES DE FUND. E SAPATAS, CAIXOES, LAJES,", 60));
  console(text("  VIGAS, PAVIMENTOS MAX=8cm ; MIN=3cm", 37));
  console(kEmptyValue);
  console(text("  ABAT. RECOM P/ PILARES DE EDIFICIOS MAX=10cm ; MIN=3cm", 56));
  console(kBlankValue);
  console(kEmptyValue);
  console(text("digite o valor do abatimento (cm)", 33));
  askReal(state.slumpCm, memo, MemoKey::slump);
  report(kBlankValue);
  formattedReal(kReportUnit, "(1X,' O concreto dever\xE1 ter um abatimento de ',F5.2,' cm')",
                state.slumpCm);
  report(kBlankValue);
  report(kRule);
  reportBlanks(2);
  report(text(" RESULTADO DOS C\xC1LCULOS:", 24));
  clearScreen(state);
}

// S5: the maximum size of the coarse aggregate.
void maximumSize(MixState& state, MemoSink& memo) {
  console(text("digite o diametro maximo do agregado graudo (mm) - padrao = 25", 62));
  askReal(state.maxAggregateMm, memo, MemoKey::maxSize);
  clearScreen(state);
}

// S6: the aggregate shape factor and the water content.
void shapeAndWater(MixState& state, MemoSink& memo) {
  console(text("digite 0.9 se o agregado e bem arredondado", 42));
  console(text("digite 1 se o agragado e britado cubico", 39));
  console(text("digite 1.05 se o agregado e lamelar", 35));
  console(kEmptyValue);
  console(text("digite o valor da opcao desejada ", 33));
  askReal(state.shapeFactor, memo, MemoKey::shapeFactor);
  WaterPowers powers;
  state.waterContent =
      waterContentFor(state.slumpCm, state.maxAggregateMm, state.shapeFactor, &powers);
  memo.intermediate(MemoKey::slumpPower, powers.slumpPower);
  memo.intermediate(MemoKey::sizePower, powers.sizePower);
  memo.result(MemoKey::waterContent, state.waterContent);
  report(kBlankValue);
  formattedReal(kReportUnit, "(1X,' Teor de \xE1gua encontrado foi de ',F6.2,' (l/m^3)')",
                state.waterContent);
  clearScreen(state);
}

// The guide of recommended water-cement ratios and the route question.
void durabilityGuide(MixState& state, MemoSink& memo) {
  console(text("a/c=0.45+OU-0.02 conc. estr. suj. a exp. muito severas e p/ grandes var. temp.", 78));
  console(text("a/c=0.55+OU-0.02 conc. estr. suj. a exp. muito severas e p/ moderadas var. temp", 79));
  console(text("a/c=0.50+OU-0.02 conc. estr. suj. a exp. menos severas e p/ grandes var. temp.", 78));
  console(text("a/c=0.55+OU-0.02 conc. estr. suj. a exp. menos severas e p/ moderadas var. temp", 79));
  console(text("a/c=0.58+OU-0.02 conc. estr. submersas ou protegida de intemperies ", 67));
  console(text("a/c=0.50+OU-0.02 conc. estr. suj. a ataques de sulfatos e aguas suterraneas", 75));
  console(text("a/c=0.45+OU-0.02 conc. bombeado sob agua", 40));
  console(text("a/c=0.53+OU-0.02 conc. revest. de canais p/ grandes var. temp.", 62));
  console(text("a/c=0.58+OU-0.02 conc. revest. de canais p/ moderadas var. temp.", 64));
  consoleBlanks(2);
  console(text("1 - Utilizar um dos valores acima", 33));
  console(text("2 - Utlizar um valor que garanta uma resistencia maior que fc28", 63));
  consoleBlanks(2);
  console(text("Digite o numero da opcao desejada", 33));
  askInteger(state.durabilityChoice, memo, MemoKey::ratioRoute);
}

// Route 1, and the fallback of route 2: the ratio typed directly.
void typedRatio(MixState& state, MemoSink& memo) {
  console(text("digite o valor da relacao a/c escolhido = ", 42));
  askReal(state.wcRatio, memo, MemoKey::typedRatio);
}

// The report line that names the cement class.
Text cementClassLine(std::int32_t cementType) {
  if (cementType == 1) return text(" O cimento utilizado foi o CP25", 31);
  if (cementType == 2) return text(" O cimento utilizado foi o CP32", 31);
  return text(" O cimento utilizado foi o CP40", 31);
}

// Route 2: the cement class, the suggested ratio from the strength table, and
// the choice to keep it or type another.
void suggestedRatio(MixState& state, MemoSink& memo) {
  console(text("1 - cimento cp25", 16));
  console(text("2 - cimento cp32", 16));
  console(text("3 - cimento cp40", 16));
  consoleBlanks(2);
  console(text("digite o numero da opcao desejada", 33));
  askInteger(state.cementType, memo, MemoKey::cementClass);
  report(kBlankValue);
  report(cementClassLine(state.cementType));
  const int column = cementColumn(state.cementType);
  memo.result(MemoKey::cementColumn, column + 1);
  state.sharedAnswer = findRatioRow(state.cementType, state.fc28);  // role ratioRow
  memo.result(MemoKey::strengthRow, state.sharedAnswer);
  if (state.sharedAnswer == 0) {
    // No tabulated strength of this cement reaches fc28: the user types a ratio.
    console(text("nenhuma relacao a/c da tabela atinge fc28 com este cimento", 58));
    typedRatio(state, memo);
    return;
  }
  const RatioStrengthRow& row = ratioStrengthTable[state.sharedAnswer - 1];
  memo.result(MemoKey::tableStrength, row.strength[column]);
  state.wcRatio = row.ratio;
  memo.result(MemoKey::suggestedRatio, state.wcRatio);
  console(kBlankValue);
  console(text("fator agua/cimento sugerido para garantir uma resistencia superior a fc28.", 74));
  formattedReal(kConsole, "(F5.2)", state.wcRatio);
  consoleBlanks(2);
  console(text("gostaria de usar este valor? digite 1 para sim e 2 para novo valor", 66));
  askInteger(state.sharedAnswer, memo, MemoKey::keepSuggested);  // role keepSuggested
  if (state.sharedAnswer == 2) {
    console(text("digite o novo valor da relacao a/c ", 35));
    askReal(state.wcRatio, memo, MemoKey::typedRatio);
  }
}

// S7: the water-cement ratio, typed or suggested from the strength table.
void waterCementRatio(MixState& state, MemoSink& memo) {
  durabilityGuide(state, memo);
  clearScreen(state);
  if (state.durabilityChoice == 2) {
    suggestedRatio(state, memo);
  } else {
    typedRatio(state, memo);
  }
  memo.result(MemoKey::wcRatio, state.wcRatio);
}

// S8: the cement content.
void cementContent(MixState& state, MemoSink& memo) {
  state.cementContent = cementContentFor(state.waterContent, state.wcRatio);
  memo.result(MemoKey::cementContent, state.cementContent);
  report(kBlankValue);
  formattedReal(kReportUnit, "('  Teor de cimento = ',F6.2,' (Kg/m^3)')", state.cementContent);
  report(kBlankValue);
  clearScreen(state);
}

// The size-table row, air and sand share for the maximum size; a size above
// the last row takes the last row, and the console says so.
void airAndSand(MixState& state, MemoSink& memo) {
  state.sizeRow = findSizeRow(state.maxAggregateMm);
  memo.result(MemoKey::sizeAboveTable, state.sizeRow == 0 ? 1 : 0);
  if (state.sizeRow == 0) {
    console(text("diametro maximo acima de 150 mm: usados os valores de 150 mm", 60));
    state.sizeRow = kSizeRows;
  }
  const SizeRow& row = sizeTable[state.sizeRow - 1];
  const int column = airColumn(state.sharedAnswer);  // role airEntrained
  memo.result(MemoKey::sizeRow, state.sizeRow);
  memo.result(MemoKey::tableSize, row.maxSizeMm);
  memo.result(MemoKey::airColumn, column + 1);
  state.airVolume = row.airVolume[column];
  state.sandPercent = row.sandPercent[column];
  memo.result(MemoKey::airVolume, state.airVolume);
  memo.result(MemoKey::sandPercent, state.sandPercent);
  double cementVolume = 0;
  state.aggregateVolume = aggregateVolumeFor(state.cementContent, state.waterContent,
                                             state.airVolume, &cementVolume);
  memo.intermediate(MemoKey::cementVolume, cementVolume);
  memo.result(MemoKey::aggregateVolume, state.aggregateVolume);
  state.sandMass = sandMassFor(state.aggregateVolume, state.sandPercent);
  memo.result(MemoKey::sandMass, state.sandMass);
  memo.result(MemoKey::sandVolume, absoluteVolumeFor(state.sandPercent, state.aggregateVolume));
}

// Asks for the number of coarse gradations until it fits the arrays.
void gradationCount(MixState& state, MemoSink& memo) {
  console(text("digite a quantidade de granulometrias diferentes de brita que tera o concreto", 77));
  askInteger(state.sharedAnswer, memo, MemoKey::coarseCount);  // role coarseCount
  while (state.sharedAnswer > kMaxGradations) {
    console(text("no maximo 8 granulometrias de brita podem ser dadas", 51));
    console(text("digite a quantidade de granulometrias diferentes de brita que tera o concreto", 77));
    askInteger(state.sharedAnswer, memo, MemoKey::coarseCount);
  }
}

// S9: entrained air, aggregate volume and sand, number of gradations.
void airAndGradations(MixState& state, MemoSink& memo) {
  console(text("digite 1 se nao ha ar incorporado, digite 2 se ha ar incorporado", 64));
  askInteger(state.sharedAnswer, memo, MemoKey::airAnswer);  // role airEntrained
  console(kBlankValue);
  airAndSand(state, memo);
  gradationCount(state, memo);
  clearScreen(state);
}

// S10: the share of each gradation and the mix by weight.
void mixByWeight(MixState& state, MemoSink& memo) {
  const int coarseCount = state.sharedAnswer;
  console(text("OBSERVACAO!! o numero que aparecera na brita e para efeito de calculo", 69));
  console(text(" nao corresponde a granulometria.", 33));
  console(kBlankValue);
  recio::pauseForUser();
  for (int index = 1; index <= coarseCount; ++index) {
    formattedInteger(kConsole, "(1X,'digite a % do agregado correspondente a brita',I2,' em (%)')",
                     index);
    askReal(state.coarsePercent[index - 1], memo, {MemoKey::coarsePercent, index});
    const float percent = state.coarsePercent[index - 1];
    state.coarseMass[index - 1] = coarseMassFor(percent, state.aggregateVolume);
    memo.result({MemoKey::coarseMass, index}, state.coarseMass[index - 1]);
    memo.result({MemoKey::coarseVolume, index}, absoluteVolumeFor(percent, state.aggregateVolume));
  }
  state.cementRatio = mixRatio(state.cementContent, state.cementContent);
  memo.result(MemoKey::cementRatio, state.cementRatio);
  reportBlanks(2);
  report(text(" Determina\xE7\xE3o do dosmo em peso:", 31));
  report(kBlankValue);
  formattedReal(kReportUnit, "(1X,' cimento = ',F5.2)", state.cementRatio);
  state.sandRatio = mixRatio(state.sandMass, state.cementContent);
  memo.result(MemoKey::sandRatio, state.sandRatio);
  formattedReal(kReportUnit, "(1X,' areia   = ',F5.2)", state.sandRatio);
  for (int index = 1; index <= coarseCount; ++index) {
    state.coarseRatio[index - 1] = mixRatio(state.coarseMass[index - 1], state.cementContent);
    memo.result({MemoKey::coarseRatio, index}, state.coarseRatio[index - 1]);
    formattedIntegerReal(kReportUnit, "(1X,' brita',I2,' = ',F5.2)", index,
                         state.coarseRatio[index - 1]);
  }
  formattedReal(kReportUnit, "(1X,'    \xE1gua = ',F5.2)", state.wcRatio);
  clearScreen(state);
}

// The sand box: one box, or a blank record and two boxes of half the height.
void sandBox(MixState& state, MemoSink& memo) {
  console(text("Digite a massa unitaria da areia (kg/dm^3) padrao = 1.59 ", 57));
  askReal(state.sandUnitMass, memo, MemoKey::sandUnitMass);
  state.sandBoxHeight = boxHeightFor(state.sandRatio, state.sandUnitMass);
  memo.result(MemoKey::sandHeight, state.sandBoxHeight);
  const bool twoBoxes = needsTwoBoxes(state.sandBoxHeight);
  memo.result(MemoKey::sandBoxes, twoBoxes ? 2 : 1);
  if (twoBoxes) {
    report(kBlankValue);
    state.sandBoxHeight = halfHeight(state.sandBoxHeight);
    formattedReal(kReportUnit,
                  "(1X,' Para areia usar 2 padiolas (45x35)cm^2 de base e altura de ',F5.2,"
                  "' (cm)')",
                  state.sandBoxHeight);
  } else {
    formattedReal(kReportUnit,
                  "(1X,' Para areia usar 1 padiola (45x35)cm^2 de base e altura de ',F5.2,"
                  "' (cm)')",
                  state.sandBoxHeight);
  }
  memo.result(MemoKey::sandBoxHeight, state.sandBoxHeight);
}

// The box of one coarse gradation, numbered from 1.
void coarseBox(MixState& state, MemoSink& memo, int index) {
  console(kBlankValue);
  formattedInteger(kConsole,
                   "(1X,'digite a massa unitaria da brita',I2,' (siga a sequencia anterior)')",
                   index);
  console(text(" (kg/dm^3) padrao de 1.36 a 1.4 ", 32));
  console(kBlankValue);
  float& height = state.coarseBoxHeight[index - 1];
  askReal(state.coarseUnitMass[index - 1], memo, {MemoKey::coarseUnitMass, index});
  height = boxHeightFor(state.coarseRatio[index - 1], state.coarseUnitMass[index - 1]);
  memo.result({MemoKey::coarseHeight, index}, height);
  const bool twoBoxes = needsTwoBoxes(height);
  memo.result({MemoKey::coarseBoxes, index}, twoBoxes ? 2 : 1);
  if (twoBoxes) {
    height = halfHeight(height);
    formattedIntegerReal(kReportUnit,
                         "(1X,' Para a brita ',I2,' usar 2 padiolas (45x35)cm^2 de base e "
                         "altura de ',F5.2,' (cm)')",
                         index, height);
  } else {
    formattedIntegerReal(kReportUnit,
                         "(1X,' Para a brita ',I2,' usar 1 padiola (45x35)cm^2 de base e "
                         "altura de ',F5.2,' (cm)')",
                         index, height);
  }
  memo.result({MemoKey::coarseBoxHeight, index}, height);
}

// S11: the batch boxes, the water per bag and the end of the report.
void batchBoxes(MixState& state, MemoSink& memo) {
  reportBlanks(3);
  report(text(" Transformando o dosmo p/ vol. e det. o vol. das padiolas de areia e brita", 74));
  report(text(" p/ 1 saco de cimento 50kg", 26));
  report(text(" Considerar BASE DA PADIOLA = 45cm x 35cm", 41));
  sandBox(state, memo);
  const int coarseCount = state.sharedAnswer;
  for (int index = 1; index <= coarseCount; ++index) coarseBox(state, memo, index);
  state.waterContent = waterPerBagFor(state.wcRatio);  // role waterPerBag
  memo.result(MemoKey::waterPerBag, state.waterContent);
  formattedReal(kReportUnit, "(1X,' \xC1gua em litros p/ 1 saco de cimemto de 50 kg = ',F7.2)",
                state.waterContent);
  report(kBlankValue);
  report(kRule);
  report(kBlankValue);
  report(text(" Fim do relatorio de dosagem. ", 30));
  report(text(" Metodo dos volumes absolutos", 29));
  clearScreen(state);
}

// S12: the closing screen and the last pause.
void closingScreen(MixState& state) {
  console(text(" Programa finalizado com exito!", 31));
  const Text readIn = text(" Leia o relatorio contido no arquivo ", 37);
  recio::beginWrite(kConsole);
  recio::writeText(readIn.bytes, readIn.length);
  recio::writeText(state.reportFileName, kReportFileNameLength);
  recio::endWrite();
  console(text(" Este arquivo se encontra na pasta onde foi instalado o programa", 64));
  consoleBlanks(3);
  console(text(" Obrigado por utilizar este programa.", 37));
  console(text(" Duvidas e sugestoes: consulte o manual de uso do programa", 58));
  console(text(" Calculo de dosagem concluido", 29));
  consoleBlanks(5);
  recio::pauseForUser();
}

// The memo of a run that writes none: every figure is dropped.
class NoMemo final : public MemoSink {
 public:
  void answer(MemoSlot, float) override {}
  void answer(MemoSlot, std::int32_t) override {}
  void result(MemoSlot, float) override {}
  void result(MemoSlot, std::int32_t) override {}
  void intermediate(MemoSlot, double) override {}
};

}  // namespace

int runDialogue(MixState& state, MemoSink& memo, const std::function<void()>& beforeClosingScreen) {
  bannerAndReportFile(state);
  strengthAndHeading(state, memo);
  controlAndTarget(state, memo);
  slump(state, memo);
  maximumSize(state, memo);
  shapeAndWater(state, memo);
  waterCementRatio(state, memo);
  cementContent(state, memo);
  airAndGradations(state, memo);
  mixByWeight(state, memo);
  batchBoxes(state, memo);
  if (beforeClosingScreen) beforeClosingScreen();
  closingScreen(state);
  return 0;
}

int runDialogue(MixState& state) {
  NoMemo memo;
  return runDialogue(state, memo);
}

int runDialogue() {
  MixState state;
  return runDialogue(state);
}

}  // namespace dosmo

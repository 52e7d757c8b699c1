// The calculation memo against the report of the same run: the worked
// example's figures on their memo lines, every report figure of many random
// answer sets equal to the memo's, the memo's names and numbers, and the
// built program's memo files (none for a device, a failed memo reported).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <filesystem>
#include <random>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "dialogue/dialogue.h"
#include "memo/alerts.h"
#include "memo/figures.h"
#include "memo/order.h"
#include "memo/json.h"
#include "memo/text.h"
#include "app/memo_files.h"
#include "recio/report_unit.h"
#include "tests/support/e2e_support.h"
#include "tests/support/fake_platform.h"

namespace {

using testing_support::FakeRun;

struct MemoRun {
  int status = 0;
  std::string report;
  std::string memo;
  dosmo::MemoRecord record;
};

// Runs the dialogue on `answers` in memory; the memo as the text writer makes it.
MemoRun runWithMemo(const std::string& answers) {
  MemoRun out;
  FakeRun run(answers);
  run.fake.hostFiles = false;
  dosmo::MixState state;
  out.status = FakeRun::statusOf([&] { dosmo::runDialogue(state, out.record); });
  recio::closeAllUnits();
  out.report = run.fake.file("rel.txt").value_or("");
  out.memo = dosmo::memoText(out.record, {"rel.txt", "test", 0, std::nullopt});
  return out;
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// The memo line that starts with `start` and holds `part`, or "".
std::string memoLine(const std::string& memo, const std::string& start, const std::string& part = "") {
  for (const std::string& line : linesOf(memo)) {
    if (line.rfind(start, 0) == 0 && line.find(part) != std::string::npos) return line;
  }
  return "";
}

// The last number of a memo line (decimal comma), as text with a point.
std::string lastNumber(const std::string& line) {
  static const std::regex number(R"(-?\d+(,\d+)?)");
  std::string last;
  for (std::sregex_iterator at(line.begin(), line.end(), number), end; at != end; ++at) last = at->str();
  for (char& c : last) {
    if (c == ',') c = '.';
  }
  return last;
}

TEST(Memo, WorkedExampleFiguresStandOnTheirLines) {
  const MemoRun run = runWithMemo("rel.txt\n25\n4\n8\n25\n1\n1\n0.55\n1\n1\n\n59\n1.59\n1.4\n\n");
  ASSERT_EQ(run.status, -1);
  ASSERT_EQ(run.memo.substr(0, 3), "\xEF\xBB\xBF");
  const struct {
    const char* start;
    const char* part;
    const char* figure;
  } rows[] = {
      {"   fc28 = ", "", "31.60"},         {"   Água = 218", "", "189.29"},
      {"   C = ", "", "344.17"},           {"   Vag = ", "", "681.45"},
      {"   Areia = ", "2,64", "737.60"},   {"   areia = ", "", "2.14"},
      {"   brita 1 = ", "", "3.15"},       {"   Areia: ", "padiola", "21.39"},
      {"   Brita 1: ", "padiola", "35.76"}, {"   Água por saco = ", "", "27.50"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(lastNumber(memoLine(run.memo, row.start, row.part)), row.figure) << row.start;
  }
  EXPECT_NE(run.memo.find("linha 3 (Dmáx até 25 mm), sem ar incorporado"), std::string::npos);
  EXPECT_NE(run.memo.find("2 padiolas de h / 2 = 42,789566 / 2 = 21,39 cm"), std::string::npos);
  EXPECT_NE(run.memo.find("Traço: 1,00 : 2,14 : 3,15 : 0,55"), std::string::npos);
  EXPECT_EQ(run.memo.find("\n"), run.memo.find("\r\n") + 1);  // CR LF line ends
}

// One report figure and the memo line that shows it.
struct FigurePlace {
  const char* reportPattern;  // captures the report's number
  const char* memoStart;      // with $1 for a captured gradation number
  const char* memoPart;
};

const FigurePlace kPlaces[] = {
    {R"(concreto de +(\S+) MPa)", "   Resistência característica exigida: fck = ", ""},
    {R"(aos 28 dias atingir uma resist.ncia de +(\S+) MPa)", "   fc28 = ", ""},
    {R"(abatimento de +(\S+) cm)", "   Abatimento: s = ", ""},
    {R"(encontrado foi de +(\S+) \(l/m\^3\))", "   Água = 218", ""},
    {R"(Teor de cimento = +(\S+) \(Kg)", "   C = ", ""},
    {R"(^  cimento = +(\S+)$)", "   cimento = ", ""},
    {R"(^  areia   = +(\S+)$)", "   areia = ", ""},
    {R"(^  brita ?(\d+) = +(\S+)$)", "   brita $1 = ", ""},
    {R"(^     .gua = +(\S+)$)", "   água = a/c = ", ""},
    {R"(Para areia usar \d padiolas? .* altura de +(\S+) \(cm\))", "   Areia: ", "padiola"},
    {R"(Para a brita +(\d+) usar \d padiolas? .* altura de +(\S+) \(cm\))", "   Brita $1: ", "padiola"},
    {R"(saco de cimemto de 50 kg = +(\S+)$)", "   Água por saco = ", ""},
};

// Compares every figure of the report with the memo's; returns how many.
int compareFigures(const MemoRun& run, const std::string& answers) {
  static const std::vector<std::regex> patterns = [] {
    std::vector<std::regex> compiled;
    for (const FigurePlace& place : kPlaces) compiled.emplace_back(place.reportPattern);
    return compiled;
  }();
  int compared = 0;
  for (const std::string& line : linesOf(run.report)) {
    for (std::size_t at = 0; at < patterns.size(); ++at) {
      const FigurePlace& place = kPlaces[at];
      std::smatch match;
      if (!std::regex_search(line, match, patterns[at])) continue;
      std::string start = place.memoStart;
      const std::string figure = match[match.size() - 1].str();
      if (match.size() == 3) start.replace(start.find("$1"), 2, match[1].str());
      if (figure.find('*') != std::string::npos) continue;  // the report shows no figure
      const std::string shown = lastNumber(memoLine(run.memo, start, place.memoPart));
      EXPECT_FALSE(shown.empty()) << start << "\n" << answers;
      if (!shown.empty()) {
        EXPECT_EQ(std::stod(shown), std::stod(figure)) << start << "\n" << answers;
      }
      ++compared;
    }
  }
  return compared;
}

// A valid answer set: typical values, both ratio routes, up to four gradations.
std::string randomAnswers(std::mt19937& random) {
  auto pick = [&](double low, double high, int decimals) {
    std::uniform_real_distribution<double> range(low, high);
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, range(random));
    return std::string(text);
  };
  auto whole = [&](int low, int high) { return std::to_string(std::uniform_int_distribution<int>(low, high)(random)); };
  // The suggested route keeps fc28 below 38 MPa, where every cement class has a row.
  const bool suggested = whole(1, 2) == "2";
  std::string answers = "rel.txt\n" + pick(15, suggested ? 25 : 45, 1) + "\n" + pick(3, 7.5, 2) +
                        "\n" + pick(3, 12, 1) + "\n" + pick(5, 150, 1) + "\n" + pick(0.9, 1.05, 2) + "\n";
  if (suggested) {
    answers += "2\n" + whole(1, 3) + "\n";
    answers += whole(1, 2) == "2" ? "2\n" + pick(0.4, 0.65, 2) + "\n" : "1\n";
  } else {
    answers += "1\n" + pick(0.4, 0.65, 2) + "\n";
  }
  const int count = std::uniform_int_distribution<int>(0, 4)(random);
  answers += whole(1, 2) + "\n" + std::to_string(count) + "\n\n";
  for (int i = 0; i < count; ++i) answers += pick(5, 60.0 / count, 1) + "\n";
  answers += pick(1.3, 1.7, 2) + "\n";
  for (int i = 0; i < count; ++i) answers += pick(1.3, 1.5, 2) + "\n";
  return answers + "\n";
}

// A slot the table cannot name: a key outside the table, a per-gradation
// key without its gradation, or a gradation on a figure of the whole mix.
bool slotIsKnown(const dosmo::MemoSlot& slot) {
  const int key = static_cast<int>(slot.key);
  if (key < 0 || key >= dosmo::kMemoKeyCount) return false;
  const bool perGradation = dosmo::figureInfo(slot.key).perGradation;
  return perGradation ? slot.gradation >= 1 && slot.gradation <= dosmo::kMaxGradations
                      : slot.gradation == 0;
}

TEST(Memo, EveryReportFigureEqualsTheMemos) {
  std::mt19937 random(19);
  int compared = 0;
  for (int set = 0; set < 300; ++set) {
    const std::string answers = randomAnswers(random);
    const MemoRun run = runWithMemo(answers);
    ASSERT_EQ(run.status, -1) << answers;
    compared += compareFigures(run, answers);
    for (const auto* list : {&run.record.answers(), &run.record.results()}) {
      for (const dosmo::MemoFigure& figure : *list) {
        EXPECT_TRUE(slotIsKnown(figure.slot))
            << static_cast<int>(figure.slot.key) << " " << figure.slot.gradation << "\n" << answers;
      }
    }
  }
  EXPECT_GT(compared, 300 * 10);
}

TEST(MemoFigures, EveryKeyHasExactlyOneRowAndOneName) {
  std::set<std::pair<bool, std::string_view>> names;
  for (int key = 0; key < dosmo::kMemoKeyCount; ++key) {
    const dosmo::FigureInfo& info = dosmo::figureInfo(static_cast<dosmo::MemoKey>(key));
    EXPECT_EQ(static_cast<int>(info.key), key) << info.name;
    EXPECT_FALSE(info.name.empty()) << key;
    EXPECT_TRUE(names.insert({info.perGradation, info.name}).second) << info.name;
  }
}

// An arithmetic expression as the memo prints it (decimal comma, ×, /, +, −,
// ^ and parentheses), evaluated in double precision; nullopt when the text is
// not one (a label, a symbol, a word).
class PrintedExpression {
 public:
  explicit PrintedExpression(std::string text) {
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"×", "*"}, {"−", "-"}, {",", "."}}) {
      for (std::size_t at; (at = text.find(from)) != std::string::npos;) text.replace(at, from.size(), to);
    }
    text_ = text;
  }

  std::optional<double> value() {
    std::optional<double> result = sum();
    skipBlanks();
    if (!result || at_ != text_.size()) return std::nullopt;
    return result;
  }

  // The largest magnitude among the expression's numbers.
  double largest() const { return largest_; }

 private:
  void skipBlanks() {
    while (at_ < text_.size() && text_[at_] == ' ') ++at_;
  }

  bool take(char c) {
    skipBlanks();
    if (at_ < text_.size() && text_[at_] == c) return ++at_, true;
    return false;
  }

  std::optional<double> sum() {
    std::optional<double> left = product();
    while (left) {
      if (take('+')) {
        const std::optional<double> right = product();
        left = right ? std::optional(*left + *right) : std::nullopt;
      } else if (take('-')) {
        const std::optional<double> right = product();
        left = right ? std::optional(*left - *right) : std::nullopt;
      } else {
        break;
      }
    }
    return left;
  }

  std::optional<double> product() {
    std::optional<double> left = power();
    while (left) {
      if (take('*')) {
        const std::optional<double> right = power();
        left = right ? std::optional(*left * *right) : std::nullopt;
      } else if (take('/')) {
        const std::optional<double> right = power();
        left = right ? std::optional(*left / *right) : std::nullopt;
      } else {
        break;
      }
    }
    return left;
  }

  std::optional<double> power() {
    std::optional<double> base = atom();
    if (base && take('^')) {
      const std::optional<double> exponent = atom();
      return exponent ? std::optional(std::pow(*base, *exponent)) : std::nullopt;
    }
    return base;
  }

  std::optional<double> atom() {
    if (take('(')) {
      std::optional<double> inner = sum();
      return inner && take(')') ? inner : std::nullopt;
    }
    if (take('-')) {
      const std::optional<double> negated = atom();
      return negated ? std::optional(-*negated) : std::nullopt;
    }
    skipBlanks();
    std::size_t used = 0;
    const std::string rest = text_.substr(at_);
    if (rest.empty() || !std::isdigit(static_cast<unsigned char>(rest[0]))) return std::nullopt;
    const double number = std::stod(rest, &used);
    at_ += used;
    largest_ = std::max(largest_, std::fabs(number));
    return number;
  }

  std::string text_;
  std::size_t at_ = 0;
  double largest_ = 0;
};

// Checks every equation line of a memo ("label = expression = result unit" or
// "label: expression = result"): the expression computed by hand from its
// printed numbers gives the printed result to its last digit, allowing only
// for the single precision in which the run stored each printed number.
// Returns how many equations it checked.
int checkEquations(const std::string& memo, const std::string& answers) {
  int checked = 0;
  for (const std::string& line : linesOf(memo)) {
    const std::size_t last = line.rfind(" = ");
    if (last == std::string::npos) continue;
    std::size_t before = line.rfind(" = ", last - 1);
    std::string expression = before == std::string::npos || last == 0
                                 ? line.substr(0, last)
                                 : line.substr(before + 3, last - before - 3);
    if (const std::size_t label = expression.rfind(": "); label != std::string::npos) {
      expression = expression.substr(label + 2);
    }
    PrintedExpression hand(expression);
    const std::optional<double> computed = hand.value();
    if (!computed) continue;
    const std::string result = lastNumber(line.substr(last + 3, line.find(' ', last + 3) - last - 3));
    EXPECT_FALSE(result.empty()) << line;
    if (result.empty()) continue;
    const std::size_t point = result.find('.');
    const int decimals = point == std::string::npos ? 0 : static_cast<int>(result.size() - point - 1);
    const double slack = 0.5 * std::pow(10.0, -decimals) +
                         1e-6 * std::max(std::fabs(*computed), hand.largest());
    EXPECT_LE(std::fabs(*computed - std::stod(result)), slack) << line << "\n" << answers;
    ++checked;
  }
  return checked;
}

TEST(MemoEquations, EveryPrintedEquationClosesOnItsPrintedNumbers) {
  std::mt19937 random(25);
  int checked = 0;
  for (int set = 0; set < 300; ++set) {
    const std::string answers = randomAnswers(random);
    const MemoRun run = runWithMemo(answers);
    ASSERT_EQ(run.status, -1) << answers;
    checked += checkEquations(run.memo, answers);
  }
  EXPECT_GT(checked, 300 * 12);
}

// The worked example with some answers replaced: route 1 with ratio 0.55
// unless `route` gives other route lines.
std::string workedWith(const std::string& fck, const std::string& deviation, const std::string& route,
                       const std::string& share, const std::string& sandUnitMass,
                       const std::string& coarseUnitMass) {
  return "rel.txt\n" + fck + "\n" + deviation + "\n8\n25\n1\n" + route + "1\n1\n\n" + share + "\n" +
         sandUnitMass + "\n" + coarseUnitMass + "\n\n";
}

TEST(MemoAlerts, EachConditionOnBothSidesOfItsBoundary) {
  const std::string typed = "1\n0.55\n";
  const struct {
    std::string answers;
    const char* code;
    bool raised;
  } rows[] = {
      // A gravel box of 70,02 cm is two boxes of 35,01; one of 69,97 is two of 34,99.
      {workedWith("25", "4", typed, "59", "1.59", "1.43"), "padiola_acima_de_35", true},
      {workedWith("25", "4", typed, "59", "1.59", "1.431"), "padiola_acima_de_35", false},
      // Sand boxes of 34,9976 and 35,0048 cm are within 0,01 cm of the limit; 34,9796 and 35,0156 are not.
      {workedWith("25", "4", typed, "59", "1.9440", "1.4"), "altura_no_limite", true},
      {workedWith("25", "4", typed, "59", "1.9436", "1.4"), "altura_no_limite", true},
      {workedWith("25", "4", typed, "59", "1.9450", "1.4"), "altura_no_limite", false},
      {workedWith("25", "4", typed, "59", "1.9430", "1.4"), "altura_no_limite", false},
      // Sand 41 % and gravel shares of 100 % within 0,05 points make a cubic metre.
      {workedWith("25", "4", typed, "58.9", "1.59", "1.4"), "volumes_fora_de_1000", true},
      {workedWith("25", "4", typed, "59.1", "1.59", "1.4"), "volumes_fora_de_1000", true},
      {workedWith("25", "4", typed, "59.04", "1.59", "1.4"), "volumes_fora_de_1000", false},
      {workedWith("25", "4", typed, "59", "1.59", "1.4"), "volumes_fora_de_1000", false},
      // CP32 suggests 0,55 for fc28 29,08: typing 0,56 goes above it, 0,55 does not.
      {workedWith("20", "5.5", "2\n2\n2\n0.56\n", "59", "1.59", "1.4"), "relacao_ac_acima_da_tabela", true},
      {workedWith("20", "5.5", "2\n2\n2\n0.55\n", "59", "1.59", "1.4"), "relacao_ac_acima_da_tabela", false},
      {workedWith("20", "5.5", "2\n2\n1\n", "59", "1.59", "1.4"), "relacao_ac_acima_da_tabela", false},
      {workedWith("20", "5.5", typed, "59", "1.59", "1.4"), "relacao_ac_acima_da_tabela", false},
      // CP25 reaches 38,6 MPa at most: fc28 38,6 has a row, 38,61 has none.
      {workedWith("32", "4", "2\n1\n1\n", "59", "1.59", "1.4"), "tabela_nao_atinge_fc28", false},
      {workedWith("32.01", "4", "2\n1\n0.4\n", "59", "1.59", "1.4"), "tabela_nao_atinge_fc28", true},
      // fck and fc28 99,99 fit the report's F5.2 fields; 100 is printed as asterisks.
      {workedWith("99.99", "0", typed, "59", "1.59", "1.4"), "campo_com_asteriscos", false},
      {workedWith("100", "0", typed, "59", "1.59", "1.4"), "campo_com_asteriscos", true},
      // A negative unit mass gives a negative box height.
      {workedWith("25", "4", typed, "59", "-1.59", "1.4"), "quantidade_nao_positiva", true},
      {workedWith("25", "4", typed, "59", "1.59", "1.4"), "quantidade_nao_positiva", false},
  };
  for (const auto& row : rows) {
    const MemoRun run = runWithMemo(row.answers);
    ASSERT_EQ(run.status, -1) << row.answers;
    bool raised = false;
    for (const dosmo::Alert& alert : dosmo::alertsOf(run.record)) raised |= alert.code == row.code;
    EXPECT_EQ(raised, row.raised) << row.code << "\n" << row.answers;
  }
}

TEST(MemoOrder, WorkedExampleByHand) {
  const MemoRun run = runWithMemo("rel.txt\n25\n4\n8\n25\n1\n1\n0.55\n1\n1\n\n59\n1.59\n1.4\n\n");
  ASSERT_EQ(run.status, -1);
  // 10 m³ with 5 % loss: 10,5 m³; 344,17044 kg/m³ of cement is 3613,79 kg,
  // 72,28 bags; 737,597 kg/m³ of sand is 7744,77 kg, at 1,59 kg/dm³ 4,871 m³;
  // 1085,5432 kg/m³ of gravel is 11398,20 kg, at 1,4 kg/dm³ 8,142 m³;
  // 189,29375 l/m³ of water is 1987,58 litres.
  const dosmo::Order order = dosmo::orderOf(run.record, {10, 5});
  EXPECT_EQ(order.volume, 10.5);
  EXPECT_EQ(order.cementMass, 3613.79);
  EXPECT_EQ(order.bags, 72.28);
  EXPECT_EQ(order.wholeBags, 73);
  ASSERT_EQ(order.aggregates.size(), 2u);
  EXPECT_EQ(order.aggregates[0].mass, 7744.77);
  EXPECT_EQ(order.aggregates[0].looseVolume, 4.871);
  EXPECT_EQ(order.aggregates[1].mass, 11398.2);
  EXPECT_EQ(order.aggregates[1].looseVolume, 8.142);
  EXPECT_EQ(order.water, 1987.58);
  // Whole bags are not rounded up past an exact count.
  EXPECT_EQ(dosmo::orderOf(run.record, {50 / 344.17044, 0}).wholeBags, 1);
  EXPECT_EQ(dosmo::decimalText(-0.5, 3), "-0,500");
  EXPECT_EQ(dosmo::decimalText(0.004, 2), "0,00");
}

TEST(Memo, NamedAfterTheReportWithoutItsExtension) {
  const struct {
    const char* report;
    const char* stem;
  } rows[] = {
      {"rel.txt", "rel-memorial"},           {"rel", "rel-memorial"},
      {"obra/rel.txt", "obra/rel-memorial"}, {"obra.v2/rel", "obra.v2/rel-memorial"},
      {"c:\\a.b\\rel", "c:\\a.b\\rel-memorial"}, {"rel.final.txt", "rel.final-memorial"},
      {".txt", "-memorial"},
  };
  for (const auto& row : rows) EXPECT_EQ(dosmo::memoFileStem(row.report), row.stem) << row.report;
}

TEST(Memo, NumbersReadBackAsTheStoredValues) {
  const struct {
    double value;
    bool single;
    const char* text;
  } rows[] = {
      {0.55f, true, "0.55"},          {25.0f, true, "25"},          {344.170441f, true, "344.17044"},
      {-0.5f, true, "-0.5"},          {1e-10f, true, "1e-10"},      {3e30f, true, "3e+30"},
      {1.0 / 3, false, "0.3333333333333333"}, {0.0, true, "0"},     {123456792.0f, true, "123456790"},
  };
  for (const auto& row : rows) EXPECT_EQ(dosmo::shortestDecimal(row.value, row.single), row.text);
  EXPECT_EQ(dosmo::fixedDecimal(0.549999f, 2), "0.55");
  EXPECT_EQ(dosmo::fixedDecimal(-0.125f, 2), "-0.13");  // half away from zero, as the report
  EXPECT_EQ(dosmo::jsonString("a\"b\\c\x01\xC3\xA9"), "\"a\\\"b\\\\c\\u0001\xC3\xA9\"");
}

using testing_support::RunOutcome;
using testing_support::RunSpec;
using testing_support::TempFolder;

const std::string kWorkedAnswers = "25\n4\n8\n25\n1\n1\n0.55\n1\n1\n\n59\n1.59\n1.4\n\n";

TEST(MemoProgram, NoMemoForAReportOnADevice) {
  for (const char* name : {"NUL", "'/dev/null'"}) {
    TempFolder folder;
    RunSpec setup;
    setup.input = std::string(name) + "\n" + kWorkedAnswers;
    setup.arguments = {"--memorial"};
    const RunOutcome run = testing_support::runPiped(folder, setup);
    EXPECT_EQ(run.status, 0) << name << run.err;
    EXPECT_EQ(folder.read("NUL-memorial.txt"), "<missing>");
    EXPECT_EQ(folder.read("NUL-memorial.json"), "<missing>");
    EXPECT_FALSE(std::filesystem::exists("/dev/null-memorial.txt"));
  }
}

TEST(MemoProgram, AMemoThatCannotBeWrittenFailsTheRun) {
  TempFolder folder;
  std::filesystem::create_directory(folder.file("rel-memorial.txt"));
  RunSpec setup;
  setup.input = "rel.txt\n" + kWorkedAnswers;
  setup.arguments = {"--memorial"};
  const RunOutcome run = testing_support::runPiped(folder, setup);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("rel-memorial.txt"), std::string::npos) << run.err;
  EXPECT_NE(folder.read("rel.txt"), "<missing>");  // the report itself is complete
  EXPECT_EQ(folder.read("rel-memorial.json"), "<missing>");
}

TEST(MemoProgram, AMisusedOptionIsRefusedBeforeAnyQuestion) {
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"--volume", "3"}, {"--memorial", "--volume", "-2"},
        {"--memorial", "--volume", "x"}, {"--memorial", "--perda", "5"}}) {
    TempFolder folder;
    RunSpec setup;
    setup.input = "rel.txt\n" + kWorkedAnswers;
    setup.arguments = arguments;
    const RunOutcome run = testing_support::runPiped(folder, setup);
    EXPECT_EQ(run.status, 2) << arguments.back();
    EXPECT_EQ(run.out, "") << arguments.back();
    EXPECT_EQ(run.err.rfind("dosmo: ", 0), 0u) << run.err;
    EXPECT_EQ(folder.read("rel.txt"), "<missing>");
  }
}

TEST(MemoProgram, ArgumentsAfterTheOptionStillNameTheReport) {
  TempFolder folder;
  RunSpec setup;
  setup.input = ",\n" + kWorkedAnswers;
  setup.arguments = {"--memorial", "obra.txt"};
  const RunOutcome run = testing_support::runPiped(folder, setup);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(folder.read("obra.txt"), "<missing>");
  EXPECT_NE(folder.read("obra-memorial.json").find("\"relatorio\": \"obra.txt\""), std::string::npos);
}

}  // namespace

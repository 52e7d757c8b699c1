// The calculation memo against the report of the same run: the worked
// example's figures on their memo lines, every report figure of many random
// answer sets equal to the memo's, and the memo's numbers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <fstream>
#include <iterator>
#include <map>
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
#include "recio/report_unit.h"
#include "tests/support/fake_platform.h"
#include "tests/support/worked_example.h"

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
  const MemoRun run = runWithMemo(testing_support::workedExampleInput("rel.txt"));
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
  std::uniform_int_distribution<int> volume(1, 50000);
  int checked = 0;
  for (int set = 0; set < 300; ++set) {
    const std::string answers = randomAnswers(random);
    const MemoRun run = runWithMemo(answers);
    ASSERT_EQ(run.status, -1) << answers;
    // Every other design also orders a volume, with its quantities' lines.
    const dosmo::OrderVolume order{volume(random) / 100.0, set % 13 * 0.75};
    checked += checkEquations(set % 2 == 0 ? run.memo
                                           : dosmo::memoText(run.record, {"rel.txt", "test", 0, order}),
                              answers);
  }
  EXPECT_GT(checked, 300 * 15);
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
  const MemoRun run = runWithMemo(testing_support::workedExampleInput("rel.txt"));
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

// A JSON value, parsed strictly enough to check the data memo against its schema.
struct Json {
  enum class Kind { null, boolean, number, string, array, object } kind = Kind::null;
  double number = 0;
  bool integral = false;
  std::string text;  // a string's content; true/false for a boolean
  std::vector<Json> items;
  std::vector<std::pair<std::string, Json>> members;

  const Json* member(const std::string& name) const {
    for (const auto& [key, value] : members) {
      if (key == name) return &value;
    }
    return nullptr;
  }
};

class JsonReader {
 public:
  explicit JsonReader(const std::string& text) : text_(text) {}

  // The document, or nullopt when it is not exactly one JSON value.
  std::optional<Json> document() {
    Json value;
    if (!read(value)) return std::nullopt;
    skip();
    return at_ == text_.size() ? std::optional(value) : std::nullopt;
  }

 private:
  void skip() {
    while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_]))) ++at_;
  }
  bool take(char c) {
    skip();
    return at_ < text_.size() && text_[at_] == c ? (++at_, true) : false;
  }
  bool word(const char* literal) {
    const std::string_view expected(literal);
    if (text_.compare(at_, expected.size(), expected) != 0) return false;
    at_ += expected.size();
    return true;
  }
  bool string(std::string& out) {
    if (!take('"')) return false;
    while (at_ < text_.size() && text_[at_] != '"') {
      if (static_cast<unsigned char>(text_[at_]) < 0x20) return false;
      if (text_[at_] == '\\') {
        if (++at_ >= text_.size()) return false;
        if (text_[at_] == 'u') at_ += 4;  // the memo escapes control bytes only
        out += text_[at_++];
        continue;
      }
      out += text_[at_++];
    }
    return take('"');
  }
  bool read(Json& value) {
    skip();
    if (at_ >= text_.size()) return false;
    const char c = text_[at_];
    if (c == '{') {
      value.kind = Json::Kind::object;
      ++at_;
      if (take('}')) return true;
      do {
        std::string key;
        Json member;
        if (!string(key) || !take(':') || !read(member)) return false;
        value.members.emplace_back(key, member);
      } while (take(','));
      return take('}');
    }
    if (c == '[') {
      value.kind = Json::Kind::array;
      ++at_;
      if (take(']')) return true;
      do {
        value.items.emplace_back();
        if (!read(value.items.back())) return false;
      } while (take(','));
      return take(']');
    }
    if (c == '"') return value.kind = Json::Kind::string, string(value.text);
    if (word("true") || word("false")) return value.kind = Json::Kind::boolean, true;
    if (word("null")) return true;
    static const std::regex number(R"(-?(0|[1-9]\d*)(\.\d+)?([eE][-+]?\d+)?)");
    std::smatch match;
    const std::string rest = text_.substr(at_, 64);
    if (!std::regex_search(rest, match, number, std::regex_constants::match_continuous)) return false;
    value.kind = Json::Kind::number;
    value.number = std::stod(match.str());
    value.integral = match[2].length() == 0 && match[3].length() == 0;
    at_ += match.length();
    return true;
  }

  const std::string& text_;
  std::size_t at_ = 0;
};

// The faults of `value` against `schema` (the subset of JSON Schema the
// memo's schema uses: type, const, enum, properties, required,
// additionalProperties, items and $ref to $defs), each with its path.
void schemaFaults(const Json& value, const Json& schema, const Json& root, const std::string& path,
                  std::vector<std::string>& faults) {
  if (const Json* reference = schema.member("$ref")) {
    const std::string name = reference->text.substr(reference->text.rfind('/') + 1);
    schemaFaults(value, *root.member("$defs")->member(name), root, path, faults);
    return;
  }
  const auto same = [](const Json& a, const Json& b) {
    return a.kind == b.kind && a.text == b.text && a.number == b.number;
  };
  if (const Json* wanted = schema.member("const"); wanted != nullptr && !same(value, *wanted)) {
    faults.push_back(path + ": not the constant");
  }
  if (const Json* options = schema.member("enum")) {
    bool found = false;
    for (const Json& option : options->items) found |= same(value, option);
    if (!found) faults.push_back(path + ": \"" + value.text + "\" not among the values");
  }
  if (const Json* type = schema.member("type")) {
    const std::map<std::string, bool> kinds = {
        {"object", value.kind == Json::Kind::object}, {"array", value.kind == Json::Kind::array},
        {"string", value.kind == Json::Kind::string}, {"number", value.kind == Json::Kind::number},
        {"integer", value.kind == Json::Kind::number && value.integral},
        {"boolean", value.kind == Json::Kind::boolean}};
    if (!kinds.at(type->text)) faults.push_back(path + ": not of type " + type->text);
  }
  if (const Json* required = schema.member("required")) {
    for (const Json& name : required->items) {
      if (value.member(name.text) == nullptr) faults.push_back(path + ": lacks " + name.text);
    }
  }
  const Json* properties = schema.member("properties");
  const Json* additional = schema.member("additionalProperties");
  for (const auto& [key, member] : value.members) {
    const Json* rule = properties != nullptr ? properties->member(key) : nullptr;
    if (rule == nullptr && additional != nullptr && additional->kind == Json::Kind::object) rule = additional;
    if (rule != nullptr) {
      schemaFaults(member, *rule, root, path + "." + key, faults);
    } else if (additional != nullptr) {
      faults.push_back(path + ": unknown field " + key);
    }
  }
  if (const Json* items = schema.member("items")) {
    for (std::size_t at = 0; at < value.items.size(); ++at) {
      schemaFaults(value.items[at], *items, root, path + "[" + std::to_string(at) + "]", faults);
    }
  }
}

// The data memo's schema, as the README points readers to it.
std::optional<Json> memoSchema() {
  std::ifstream file(std::string(DOSMO_SOURCE_DIR) + "/memo/memo-schema.json", std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  return JsonReader(text).document();
}

TEST(MemoJson, RandomDesignsFollowTheSchema) {
  const std::optional<Json> schema = memoSchema();
  ASSERT_TRUE(schema.has_value());
  std::mt19937 random(23);
  std::uniform_int_distribution<int> volume(1, 5000);
  int alerts = 0;
  for (int set = 0; set < 300; ++set) {
    const std::string answers = randomAnswers(random);
    const MemoRun run = runWithMemo(answers);
    ASSERT_EQ(run.status, -1) << answers;
    const std::optional<dosmo::OrderVolume> order =
        set % 2 == 0 ? std::optional(dosmo::OrderVolume{volume(random) / 10.0, set % 11 * 1.5}) : std::nullopt;
    const std::string json = dosmo::memoJson(run.record, {"rel.txt", "test", set * 86400LL, order});
    const std::optional<Json> document = JsonReader(json).document();
    ASSERT_TRUE(document.has_value()) << json;
    std::vector<std::string> faults;
    schemaFaults(*document, *schema, *schema, "$", faults);
    EXPECT_TRUE(faults.empty()) << faults.front() << "\n" << answers;
    EXPECT_EQ(document->member("quantidades") != nullptr, order.has_value());
    alerts += static_cast<int>(document->member("alertas")->items.size());
  }
  EXPECT_GT(alerts, 0);
}

// The schema's check itself: a misnamed, a mistyped and a missing field are faults.
TEST(MemoJson, SchemaCheckFindsFaults) {
  const Json schema = memoSchema().value();
  const MemoRun run = runWithMemo(testing_support::workedExampleInput("rel.txt"));
  const std::string json = dosmo::memoJson(run.record, {"rel.txt", "test", 0, std::nullopt});
  const struct {
    std::string from, to;
  } rows[] = {
      {"\"fc28\"", "\"fc_28\""},
      {"\"unidade\": \"MPa\"", "\"unidade\": \"Mpa\""},
      {"\"valor\": 31.6", "\"valor\": \"31.6\""},
      {"\"formato\": 2", "\"formato\": 1"},
      {"\"codigo\"", "\"code\""},
  };
  for (const auto& row : rows) {
    std::string changed = json;
    changed.replace(changed.find(row.from), row.from.size(), row.to);
    std::vector<std::string> faults;
    schemaFaults(*JsonReader(changed).document(), schema, schema, "$", faults);
    EXPECT_FALSE(faults.empty()) << row.to;
  }
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

}  // namespace

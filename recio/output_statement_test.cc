// Output statements: list-directed records (the 79-column split, texts joined
// back to back, the empty record), formatted records from the dialogue's own
// format texts (trailing literals and slashes, the empty last record), format
// reversion, and the run-time error reports for bad formats and items.
#include "recio/output_statement.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "recio/output.h"
#include "tests/support/fake_platform.h"

namespace {

using testing_support::FakeRun;
using Records = std::vector<std::string>;

// Collects every record it is given.
class CollectingSink : public recio::RecordSink {
 public:
  explicit CollectingSink(std::string name = "CON") : name_(std::move(name)) {}
  void beginStatement() override { ++statements; }
  void putRecord(std::string_view record) override { records.emplace_back(record); }
  std::string_view unitName() const override { return name_; }

  Records records;
  int statements = 0;

 private:
  std::string name_;
};

// One item of a statement under test.
struct Value {
  enum Kind { text, real, integer } kind;
  std::string bytes;
  float realValue = 0;
  int integerValue = 0;
};
Value T(std::string bytes) { return {Value::text, std::move(bytes)}; }
Value R(float value) { return {Value::real, {}, value}; }
Value I(int value) { return {Value::integer, {}, 0, value}; }

Records run(const char* format, const std::vector<Value>& items) {
  CollectingSink sink;
  recio::OutputStatement statement;
  statement.begin(sink, format);
  for (const Value& item : items) {
    switch (item.kind) {
      case Value::text: statement.writeText(item.bytes.data(), static_cast<int>(item.bytes.size())); break;
      case Value::real: statement.writeReal(item.realValue); break;
      case Value::integer: statement.writeInteger(item.integerValue); break;
    }
  }
  statement.end();
  return sink.records;
}

std::string chars(std::size_t count, char first = 'a') {
  std::string out;
  for (std::size_t i = 0; i < count; ++i) out += static_cast<char>(first + i % 26);
  return out;
}

struct StatementRow {
  const char* name;
  const char* format;
  std::vector<Value> items;
  Records records;
};

TEST(OutputStatement, ListDirectedRecords) {
  const std::string s78 = chars(78), s79 = chars(79), s80 = chars(80), s158 = chars(158);
  const StatementRow rows[] = {
      {"length 1", nullptr, {T("x")}, {" x"}},
      {"length 78", nullptr, {T(s78)}, {" " + s78}},
      {"length 79", nullptr, {T(s79)}, {" " + s79, " "}},
      {"length 80", nullptr, {T(s80)}, {" " + s79, " " + s80.substr(79)}},
      {"length 158", nullptr, {T(s158)}, {" " + s158.substr(0, 79), " " + s158.substr(79), " "}},
      {"empty value", nullptr, {T("")}, {" "}},
      {"blank value", nullptr, {T(" ")}, {"  "}},
      {"no items", nullptr, {}, {" "}},
      {"37 and 15", nullptr, {T(chars(37)), T(chars(15, 'A'))}, {" " + chars(37) + chars(15, 'A')}},
      {"trailing blanks kept", nullptr, {T("ab  "), T("cd  ")}, {" ab  cd  "}},
      {"split between texts", nullptr, {T(chars(40)), T(chars(40, 'A'))},
       {" " + chars(40) + chars(39, 'A'), " " + chars(40, 'A').substr(39)}},
      {"empty then text", nullptr, {T(""), T("abc")}, {" abc"}},
      {"accented bytes", nullptr, {T(" RESULTADO DOS C\xC1LCULOS:")}, {"  RESULTADO DOS C\xC1LCULOS:"}},
      {"numbers", nullptr, {T("a"), I(-42), R(2.5f), T("b")}, {" a -42 2.5 b"}},
  };
  for (const StatementRow& row : rows) {
    EXPECT_EQ(run(row.format, row.items), row.records) << row.name;
  }
}

TEST(OutputStatement, FormattedRecordsOfTheDialogue) {
  const StatementRow rows[] = {
      {"strength line and empty record",
       "(1X,' Dosmo calculado para um concreto de ',F5.2,' MPa de resist\xEAncia caracter\xEDstica',/)",
       {R(25.0f)},
       {"  Dosmo calculado para um concreto de 25.00 MPa de resist\xEAncia caracter\xEDstica", ""}},
      {"trailing literal", "(1X,' O concreto dever\xE1 ter um abatimento de ',F5.2,' cm')", {R(7.5f)},
       {"  O concreto dever\xE1 ter um abatimento de  7.50 cm"}},
      {"no leading 1X", "('  Teor de cimento = ',F6.2,' (Kg/m^3)')", {R(350.456f)},
       {"  Teor de cimento = 350.46 (Kg/m^3)"}},
      {"field first", "(F5.2)", {R(0.45f)}, {"  .45"}},
      {"negative field first", "(F5.2)", {R(-1.5f)}, {"-1.50"}},
      {"integer then real", "(1X,' brita',I2,' = ',F5.2)", {I(1), R(2.75f)}, {"  brita 1 =  2.75"}},
      {"integer too wide", "(1X,' brita',I2,' = ',F5.2)", {I(100), R(123.0f)}, {"  brita** = *****"}},
      {"F7.2", "(1X,' \xC1gua em litros p/ 1 saco de cimemto de 50 kg = ',F7.2)", {R(31.25f)},
       {"  \xC1gua em litros p/ 1 saco de cimemto de 50 kg =   31.25"}},
      {"text after the format", "(F5.2)' never'", {R(1.0f)}, {" 1.00"}},
  };
  for (const StatementRow& row : rows) {
    EXPECT_EQ(run(row.format, row.items), row.records) << row.name;
  }
}

TEST(OutputStatement, FormattedRecordRules) {
  const StatementRow rows[] = {
      {"1X alone leaves no character", "(1X)", {}, {""}},
      {"slash alone", "(/)", {}, {"", ""}},
      {"blanks before slash dropped", "('a',3X,/,2X,'b')", {}, {"a", "  b"}},
      {"stops at next data descriptor", "('a',I2,'b')", {}, {"a"}},
      {"literals after last item", "(I2,'b',/,'c',I2,'d')", {I(5)}, {" 5b", "c"}},
      {"reversion to start", "(I2)", {I(1), I(2), I(3)}, {" 1", " 2", " 3"}},
      {"reversion to last group", "('h',(I2,'.'))", {I(1), I(2)}, {"h 1.", " 2."}},
      {"group repeat", "(2(I2,'|'),'e')", {I(1), I(2)}, {" 1| 2|e"}},
      {"data repeat", "(3I2)", {I(1), I(2)}, {" 1 2"}},
      {"repeated slash", "('a',2/'b')", {}, {"a", "", "b"}},
      {"A without width", "('[',A,']')", {T("xy ")}, {"[xy ]"}},
      {"Aw wider", "('[',A4,']')", {T("xy")}, {"[  xy]"}},
      {"Aw narrower", "('[',A1,']')", {T("xy")}, {"[x]"}},
      {"no items, empty format", "()", {}, {""}},
      {"doubled delimiter", "('it''s')", {}, {"it's"}},
  };
  for (const StatementRow& row : rows) {
    EXPECT_EQ(run(row.format, row.items), row.records) << row.name;
  }
}

TEST(OutputStatement, TextIsCopiedWhenPassed) {
  CollectingSink sink;
  recio::OutputStatement statement;
  char buffer[] = "first";
  statement.begin(sink, nullptr);
  statement.writeText(buffer, 5);
  std::strcpy(buffer, "later");
  statement.writeText(buffer, -3);
  statement.end();
  EXPECT_EQ(sink.records, Records{" first"});
  EXPECT_EQ(sink.statements, 1);
}

TEST(OutputStatement, StatementsReuseOneObject) {
  CollectingSink sink;
  recio::OutputStatement statement;
  for (int round = 0; round < 3; ++round) {
    statement.begin(sink, round == 1 ? "(I2)" : nullptr);
    if (round == 1) {
      statement.writeInteger(round);
    } else {
      statement.writeText("ab", 2);
    }
    statement.end();
  }
  EXPECT_EQ(sink.records, (Records{" ab", " 1", " ab"}));
  EXPECT_EQ(sink.statements, 3);
}

struct ErrorRow {
  const char* name;
  const char* format;
  std::vector<Value> items;
  const char* report;
  Records recordsBefore;
};

TEST(OutputStatement, FormatErrorsEndTheRun) {
  const ErrorRow rows[] = {
      {"malformed", "(F5.2", {R(1)}, "\r\nrun-time error F6200: WRITE(report.txt)\r\n- error in format text\r\n", {}},
      {"unknown descriptor", "(E10.3)", {R(1)}, "\r\nrun-time error F6200: WRITE(report.txt)\r\n- error in format text\r\n", {}},
      {"F for integer", "(F5.2)", {I(1)},
       "\r\nrun-time error F6201: WRITE(report.txt)\r\n- edit descriptor does not fit the item\r\n", {}},
      {"I for real", "(I2)", {R(1)},
       "\r\nrun-time error F6201: WRITE(report.txt)\r\n- edit descriptor does not fit the item\r\n", {}},
      {"F for text", "(F5.2)", {T("a")},
       "\r\nrun-time error F6201: WRITE(report.txt)\r\n- edit descriptor does not fit the item\r\n", {}},
      {"A for real", "(A)", {R(1)},
       "\r\nrun-time error F6201: WRITE(report.txt)\r\n- edit descriptor does not fit the item\r\n", {}},
      {"second record fails", "(I2,/,I2)", {I(1), R(2)},
       "\r\nrun-time error F6201: WRITE(report.txt)\r\n- edit descriptor does not fit the item\r\n", {" 1"}},
      {"no data descriptor", "('a')", {I(1)},
       "\r\nrun-time error F6201: WRITE(report.txt)\r\n- edit descriptor does not fit the item\r\n", {}},
      {"reversion group without data", "(I2,('a'))", {I(1), I(2)},
       "\r\nrun-time error F6201: WRITE(report.txt)\r\n- edit descriptor does not fit the item\r\n", {" 1a"}},
  };
  for (const ErrorRow& row : rows) {
    FakeRun fakeRun;
    CollectingSink sink("report.txt");
    recio::OutputStatement statement;
    const int status = FakeRun::statusOf([&] {
      statement.begin(sink, row.format);
      for (const Value& item : row.items) {
        if (item.kind == Value::text) statement.writeText(item.bytes.data(), static_cast<int>(item.bytes.size()));
        if (item.kind == Value::real) statement.writeReal(item.realValue);
        if (item.kind == Value::integer) statement.writeInteger(item.integerValue);
      }
      statement.end();
    });
    statement.end();
    EXPECT_EQ(status, 1) << row.name;
    EXPECT_EQ(fakeRun.fake.error, row.report) << row.name;
    EXPECT_EQ(sink.records, row.recordsBefore) << row.name;
  }
}

TEST(OutputStatement, ConsoleStatementsThroughTheFreeFunctions) {
  FakeRun fakeRun;
  recio::beginWrite(recio::kConsole);
  recio::writeText("digite", 6);
  recio::endWrite();
  recio::beginWrite(recio::kConsole, "(F5.2)");
  recio::writeReal(0.45f);
  recio::endWrite();
  EXPECT_EQ(fakeRun.fake.output, "digite\r\n .45");

  const int status = FakeRun::statusOf([] { recio::beginWrite(recio::kConsole, "(1X,'a'"); });
  EXPECT_EQ(status, 1);
  EXPECT_EQ(fakeRun.fake.error, "\r\nrun-time error F6200: WRITE(CON)\r\n- error in format text\r\n");

  // A statement cut short by an error is not resumed, and leaves nothing
  // behind for the next one.
  recio::endWrite();
  EXPECT_EQ(fakeRun.fake.output, "digite\r\n .45");
  recio::beginWrite(recio::kConsole);
  recio::writeText("ok", 2);
  recio::endWrite();
  EXPECT_EQ(fakeRun.fake.output, "digite\r\n .45\r\nok");
}

TEST(OutputStatement, UnconnectedUnitEndsTheRun) {
  FakeRun fakeRun;
  const int status = FakeRun::statusOf([] { recio::beginWrite(7); });
  EXPECT_EQ(status, 1);
  EXPECT_EQ(fakeRun.fake.error, "\r\nrun-time error F6202: WRITE(7)\r\n- unit not connected\r\n");
}

}  // namespace

// The dialogue run in process on scripted answers: the state a whole run
// leaves behind, the screen clears, and the reactions to answers beyond the
// tables and arrays (a target above the strength table, a size above the size
// table, more gradations than the arrays hold, unknown class and air answers).
#include "dialogue/dialogue.h"

#include <string>

#include <gtest/gtest.h>

#include "recio/report_unit.h"
#include "tests/support/fake_platform.h"
#include "tests/support/worked_example.h"

namespace {

using testing_support::FakeRun;

struct Outcome {
  dosmo::MixState state;
  int status = 0;        // -1 after a normal end
  int clears = 0;        // screen clears asked of the platform
  std::string console;   // standard output
  std::string report;    // the report file rel.txt
};

// Runs the dialogue with the answers as piped input, its files in memory.
Outcome runWith(const std::string& answers) {
  Outcome outcome;
  FakeRun run(answers);
  run.fake.hostFiles = false;
  outcome.status = FakeRun::statusOf([&] { dosmo::runDialogue(outcome.state); });
  recio::closeAllUnits();
  outcome.console = run.fake.output;
  outcome.clears = static_cast<int>(run.fake.processes.size()) + run.fake.clears;
  outcome.report = run.fake.file("rel.txt").value_or("<missing>");
  return outcome;
}

int occurrences(const std::string& text, const std::string& part) {
  int count = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// The worked example's answers up to the water content (file, fck, deviation,
// slump, size, shape), with this size.
std::string upToWater(const std::string& size) {
  std::vector<std::string> answers = testing_support::workedExampleAnswers(
      {{testing_support::kReportName, "rel.txt"}, {testing_support::kSize, size}});
  answers.resize(testing_support::kSize + 2);
  return testing_support::answerFile(answers);
}

TEST(Dialogue, WorkedExampleLeavesEveryResultInTheState) {
  const Outcome out = runWith(testing_support::workedExampleInput("rel.txt"));
  ASSERT_EQ(out.status, -1) << out.console;
  const dosmo::MixState& s = out.state;
  EXPECT_EQ(s.fc28, 31.6000004f);
  EXPECT_EQ(s.cementContent, 344.170441f);
  EXPECT_EQ(s.sizeRow, 3);
  EXPECT_EQ(s.aggregateVolume, 681.445801f);
  EXPECT_EQ(s.sandMass, 737.596985f);
  EXPECT_EQ(s.cementRatio, 1.0f);
  EXPECT_EQ(s.sandRatio, 2.14311552f);
  EXPECT_EQ(s.coarseRatio[0], 3.15408611f);
  EXPECT_EQ(s.sandBoxHeight, 21.394783f);
  EXPECT_EQ(s.coarseBoxHeight[0], 35.7606125f);
  EXPECT_EQ(s.waterContent, 27.5f);  // the water per bag replaces the water content
  EXPECT_EQ(s.sharedAnswer, 1);
  EXPECT_EQ(out.clears, 11);
  EXPECT_NE(out.report.find("  Teor de cimento = 344.17 (Kg/m^3)\r\n"), std::string::npos);
  EXPECT_NE(out.report.find("\r\n  brita 1 =  3.15\r\n     \xE1gua =   .55\r\n"), std::string::npos);
  EXPECT_NE(out.report.find("\r\n  \r\n  Para areia usar 2 padiolas (45x35)cm^2 de base e altura de "
                            "21.39 (cm)\r\n  Para a brita  1 usar 2 padiolas (45x35)cm^2 de base e "
                            "altura de 35.76 (cm)\r\n"),
            std::string::npos);
  EXPECT_NE(out.console.find("Leia o relatorio contido no arquivo rel.txt        \r\n"),
            std::string::npos);
}

TEST(Dialogue, NoGradationAsksNoShareAndNoUnitMass) {
  for (const char* count : {"0", "-3"}) {
    const Outcome out = runWith(upToWater("25") + "1\n0.55\n1\n" + count + "\n\n1.59\n\n");
    ASSERT_EQ(out.status, -1) << out.console;
    EXPECT_EQ(occurrences(out.console, "digite a % do agregado"), 0);
    EXPECT_EQ(occurrences(out.console, "digite a massa unitaria da brita"), 0);
    EXPECT_EQ(occurrences(out.report, "brita"), 1);  // only the batch-box heading
    EXPECT_EQ(occurrences(out.console, "Pause - "), 2);
  }
}

TEST(Dialogue, GradationCountAboveEightIsAskedAgain) {
  const std::string question =
      "digite a quantidade de granulometrias diferentes de brita que tera o concreto";
  const Outcome out = runWith(upToWater("25") + "1\n0.55\n1\n9\n100\n2\n\n30\n29.5\n1.59\n1.4\n1.36\n\n");
  ASSERT_EQ(out.status, -1) << out.console;
  EXPECT_EQ(occurrences(out.console, question), 3);
  EXPECT_EQ(occurrences(out.console, "\r\nno maximo 8 granulometrias de brita podem ser dadas\r\n" +
                                         question),
            2);
  EXPECT_EQ(out.state.sharedAnswer, 2);
  EXPECT_EQ(out.state.coarsePercent[1], 29.5f);
  EXPECT_EQ(out.state.coarsePercent[2], 0.0f);
  EXPECT_EQ(occurrences(out.console, "digite a % do agregado"), 2);
}

TEST(Dialogue, EightGradationsFillEverySlot) {
  std::string answers = upToWater("25") + "1\n0.55\n1\n8\n\n";
  for (int i = 1; i <= 8; ++i) answers += std::to_string(i) + "\n";
  answers += "1.59\n";
  for (int i = 1; i <= 8; ++i) answers += "1.4\n";
  const Outcome out = runWith(answers + "\n");
  ASSERT_EQ(out.status, -1) << out.console;
  EXPECT_EQ(occurrences(out.console, "no maximo 8"), 0);
  EXPECT_EQ(out.state.coarsePercent[7], 8.0f);
  EXPECT_NE(out.report.find("  brita 8 = "), std::string::npos);
  EXPECT_NE(out.report.find("  Para a brita  8 usar 1 padiola"), std::string::npos);
}

TEST(Dialogue, TargetAboveTheStrengthTableAsksForATypedRatio) {
  // fck 60 with deviation 7 gives fc28 71.55, above every class's strongest row.
  for (const char* cement : {"1", "2", "3"}) {
    const Outcome out = runWith(std::string("rel.txt\n60\n7\n8\n25\n1\n2\n") + cement +
                                "\n0.38\n1\n0\n\n1.59\n\n");
    ASSERT_EQ(out.status, -1) << out.console;
    EXPECT_NE(out.console.find("digite o numero da opcao desejada\r\n"
                               "nenhuma relacao a/c da tabela atinge fc28 com este cimento\r\n"
                               "digite o valor da relacao a/c escolhido = \r\n"),
              std::string::npos)
        << out.console;
    EXPECT_EQ(occurrences(out.console, "sugerido"), 0);
    EXPECT_EQ(out.state.wcRatio, 0.38f);
    EXPECT_EQ(out.state.sharedAnswer, 0);
    EXPECT_NE(out.report.find("  O cimento utilizado foi o CP"), std::string::npos);
  }
}

TEST(Dialogue, SuggestedRatioFollowsClassAndKeepAnswer) {
  struct Case {
    const char* cement;
    const char* keep;
    float ratio;
    const char* reportLine;
  };
  // fck 25 with deviation 4 gives fc28 31.6.
  const Case cases[] = {
      {"1", "1", 0.40f, "CP25"}, {"2", "0", 0.50f, "CP32"}, {"3", "7", 0.60f, "CP40"},
      {"5", "1", 0.60f, "CP40"}, {"-1", "1", 0.60f, "CP40"}, {"2", "2\n0.62", 0.62f, "CP32"},
  };
  for (const Case& c : cases) {
    const Outcome out = runWith(upToWater("25") + "2\n" + c.cement + "\n" + c.keep + "\n1\n0\n\n1.59\n\n");
    ASSERT_EQ(out.status, -1) << out.console;
    EXPECT_EQ(out.state.wcRatio, c.ratio) << c.cement << " " << c.keep;
    EXPECT_NE(out.report.find(std::string("\r\n  \r\n  O cimento utilizado foi o ") + c.reportLine +
                              "\r\n"),
              std::string::npos)
        << c.cement;
  }
}

TEST(Dialogue, SizeAboveTheTableTakesTheLastRowWithANotice) {
  const Outcome out = runWith(upToWater("200") + "1\n0.55\n2\n0\n\n1.59\n\n");
  ASSERT_EQ(out.status, -1) << out.console;
  EXPECT_EQ(out.state.sizeRow, 7);
  EXPECT_EQ(out.state.airVolume, 30.0f);
  EXPECT_EQ(out.state.sandPercent, 24.0f);
  EXPECT_NE(out.console.find("\r\n \r\ndiametro maximo acima de 150 mm: usados os valores de 150 mm"
                             "\r\ndigite a quantidade"),
            std::string::npos);
  const Outcome at150 = runWith(upToWater("150") + "1\n0.55\n1\n0\n\n1.59\n\n");
  EXPECT_EQ(at150.state.sizeRow, 7);
  EXPECT_EQ(occurrences(at150.console, "acima de 150 mm"), 0);
}

TEST(Dialogue, AirAnswerOtherThanTwoTakesNoEntrainedAir) {
  struct Case {
    const char* air;
    float airVolume, sandPercent;
  };
  const Case cases[] = {{"1", 25, 45}, {"2", 60, 42}, {"0", 25, 45}, {"3", 25, 45}};
  for (const Case& c : cases) {
    const Outcome out = runWith(upToWater("19") + "1\n0.55\n" + c.air + "\n0\n\n1.59\n\n");
    ASSERT_EQ(out.status, -1) << out.console;
    EXPECT_EQ(out.state.airVolume, c.airVolume) << c.air;
    EXPECT_EQ(out.state.sandPercent, c.sandPercent) << c.air;
  }
}

}  // namespace

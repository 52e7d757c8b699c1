// The usage text and the version line, written as console records so they
// reach the terminal in its character set like every other text of the program.
#include "app/usage.h"

#include <string_view>

#include "recio/output.h"
#include "recio/record_sink.h"

namespace dosmo {
namespace {

constexpr std::string_view kUsage[] = {
    "Uso: dosmo [--memorial [--volume V [--perda P]]] [NOME]",
    "",
    "Calcula a dosagem de um concreto estrutural: responda as perguntas no",
    "console e os resultados vao para um arquivo de relatorio (Windows-1252,",
    "fim de linha CR LF) com o nome digitado na primeira pergunta. NOME so e",
    "usado quando esse nome fica vazio (uma virgula sozinha como resposta).",
    "Arquivo de respostas, uma por linha:  dosmo < respostas.txt",
    "Saida: 0 apos uma execucao normal; 1 apos um erro de execucao, relatado",
    "na saida de erro. Ctrl-C termina guardando o relatorio ja escrito.",
    "  --help     mostra este texto      --version  mostra a versao",
    "  --memorial grava tambem, ao lado do relatorio, o memorial de calculo:",
    "             NOME-memorial.txt (UTF-8, CR LF) e NOME-memorial.json",
    "  --volume V com --memorial: o memorial diz quanto pedir para V m3 de",
    "             concreto (sacos de cimento, areia e britas, agua)",
    "  --perda P  perda em % (0 a 100) somada a V; opcao mal usada: saida 2",
    "",
    "Usage: dosmo [--memorial [--volume V [--perda P]]] [NAME]",
    "",
    "Proportions a structural concrete mix: answer the questions on the console",
    "and the results go to a report file (Windows-1252, CR LF line ends) named",
    "by the answer to the first question. NAME is used only when that answer",
    "leaves the name empty (a lone comma).",
    "Answer file, one answer per line:  dosmo < answers.txt",
    "Exit status: 0 after a normal run; 1 after a run-time error, reported on",
    "standard error. Ctrl-C ends the run keeping the report written so far.",
    "  --help     shows this text        --version  shows the version",
    "  --memorial also writes the calculation memo beside the report:",
    "             NAME-memorial.txt (UTF-8, CR LF) and NAME-memorial.json",
    "  --volume V with --memorial: the memo says what to order for V m3 of",
    "             concrete (bags of cement, sand and gravels, water)",
    "  --perda P  loss in % (0 to 100) added to V; a misused option: status 2",
};

constexpr std::string_view kVersion = "dosmo " DOSMO_VERSION;

void writeLine(std::string_view line) {
  recio::beginWrite(recio::kConsole);
  recio::writeText(line.data(), static_cast<int>(line.size()));
  recio::endWrite();
}

int showUsage() {
  for (std::string_view line : kUsage) writeLine(line);
  return 0;
}

int showVersion() {
  writeLine(kVersion);
  return 0;
}

}  // namespace

int (*informativeRun(std::string_view argument))() {
  if (argument == "--help") return showUsage;
  if (argument == "--version") return showVersion;
  return nullptr;
}

}  // namespace dosmo

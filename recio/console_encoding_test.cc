// Console text on a terminal that shows UTF-8: every Windows-1252 byte leaves
// as its UTF-8 form, while redirected output, terminals of other character
// sets and the report file get the bytes exactly as they are.
#include <gtest/gtest.h>
#include <iconv.h>
#include <locale.h>
#include <pty.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

#include "recio/console.h"
#include "recio/record_sink.h"
#include "recio/report_unit.h"
#include "recio/shell.h"
#include "tests/support/e2e_support.h"
#include "tests/support/fake_platform.h"

namespace {

using testing_support::FakeRun;

// A run whose standard output is a terminal of the given kind.
struct TerminalRun {
  explicit TerminalRun(recio::TerminalKind kind, bool terminal = true) {
    run.fake.outputTerminal = terminal;
    run.fake.terminal = kind;
    run.restart();
  }
  FakeRun run;
};

// The UTF-8 form of one Windows-1252 byte as the C library converts it, or
// an empty string for a byte the library leaves unassigned.
std::string libraryUtf8(unsigned char byte) {
  iconv_t converter = iconv_open("UTF-8", "WINDOWS-1252");
  if (converter == reinterpret_cast<iconv_t>(-1)) return "?";
  char in[1] = {static_cast<char>(byte)};
  char out[8] = {};
  char* inPointer = in;
  char* outPointer = out;
  std::size_t inLeft = 1;
  std::size_t outLeft = sizeof out;
  std::size_t done = iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft);
  iconv_close(converter);
  if (done == static_cast<std::size_t>(-1)) return {};
  return std::string(out, sizeof out - outLeft);
}

TEST(ConsoleEncoding, EveryAssignedByteMatchesTheLibrary) {
  for (int byte = 0x01; byte <= 0xFF; ++byte) {
    std::string expected = libraryUtf8(static_cast<unsigned char>(byte));
    if (expected.empty()) continue;  // unassigned: checked below
    TerminalRun terminal(recio::TerminalKind::utf8);
    recio::writeConsoleBytes(std::string(1, static_cast<char>(byte)));
    EXPECT_EQ(terminal.run.fake.output, expected) << "byte " << byte;
  }
}

TEST(ConsoleEncoding, ChosenBytesAndUnassignedOnes) {
  struct Row {
    const char* bytes;
    const char* utf8;
  };
  const Row rows[] = {
      {" n\xFAmero", "n\xC3\xBAmero"},
      {" a\xE7\xE3o", "a\xC3\xA7\xC3\xA3o"},
      {" \x80", "\xE2\x82\xAC"},
      {" \x9F", "\xC5\xB8"},
      // The five bytes the code page leaves unassigned become C1 controls: shown as "?".
      {" \x81\x8D\x8F\x90\x9D", "?????"},
      {" \xA0\xFF", "\xC2\xA0\xC3\xBF"},
      {" plain", "plain"},
      // What the user typed in UTF-8 passes as typed; a lone letter is Windows-1252.
      {" relat\xC3\xB3rio.txt \xF3 \xC3x", "relat\xC3\xB3rio.txt \xC3\xB3 \xC3\x83x"},
  };
  for (const Row& row : rows) {
    TerminalRun terminal(recio::TerminalKind::utf8);
    recio::writeConsoleRecord(row.bytes);
    EXPECT_EQ(terminal.run.fake.output, row.utf8) << row.bytes;
  }
}

TEST(ConsoleEncoding, BytesStayWhereNoUtf8TerminalShowsThem) {
  using recio::TerminalKind;
  struct Row {
    TerminalKind kind;
    bool terminal;
  };
  const Row rows[] = {{TerminalKind::utf8, false},
                      {TerminalKind::windowsConsole, true},
                      {TerminalKind::singleByte, false}};
  for (const Row& row : rows) {
    TerminalRun terminal(row.kind, row.terminal);
    recio::writeConsoleRecord(" n\xFAmero \x80\x81");
    EXPECT_EQ(terminal.run.fake.output, "n\xFAmero \x80\x81")
        << "kind " << static_cast<int>(row.kind) << " terminal " << row.terminal;
  }
}

TEST(ConsoleEncoding, LineEndsAndPausePromptPassThrough) {
  TerminalRun terminal(recio::TerminalKind::utf8);
  terminal.run.fake.input = "\n";
  terminal.run.fake.inputTerminal = true;
  terminal.run.restart();
  recio::writeConsoleRecord(" \xE9");
  recio::pauseForUser();
  EXPECT_EQ(terminal.run.fake.output,
            "\xC3\xA9\r\nPause - Please enter a blank line (to continue) or a DOS command.\r\n");
}

TEST(ConsoleEncoding, ReportFileKeepsWindows1252Bytes) {
  testing_support::TempFolder folder;
  std::string name = folder.file("r.txt");
  {
    TerminalRun terminal(recio::TerminalKind::utf8);
    recio::openUnit(3, name.c_str(), static_cast<int>(name.size()));
    recio::unitSink(3)->putRecord(" n\xFAmero \x80");
    recio::closeAllUnits();
    EXPECT_EQ(terminal.run.fake.output, "");
  }
  EXPECT_EQ(folder.read("r.txt"), " n\xFAmero \x80\r\n");
}

// The kind of terminal the host tells for standard output while that is a
// pseudo-terminal.
recio::TerminalKind hostKindOnTerminal() {
  int master = -1;
  int terminal = -1;
  if (openpty(&master, &terminal, nullptr, nullptr, nullptr) != 0) {
    ADD_FAILURE() << "no pseudo-terminal";
    return recio::TerminalKind::none;
  }
  fflush(stdout);
  int saved = dup(STDOUT_FILENO);
  dup2(terminal, STDOUT_FILENO);
  recio::TerminalKind kind = recio::hostPlatform().terminalKind(recio::StdStream::output);
  dup2(saved, STDOUT_FILENO);
  for (int descriptor : {saved, terminal, master}) close(descriptor);
  return kind;
}

TEST(ConsoleEncoding, HostTakesTheCharacterSetFromTheLocale) {
  using recio::TerminalKind;
  struct Row {
    const char* locale;
    TerminalKind kind;
  };
  // pt_BR.utf8@euro need not be installed: the name alone tells the code set.
  const Row rows[] = {{"C.UTF-8", TerminalKind::utf8},
                      {"C", TerminalKind::singleByte},
                      {"POSIX", TerminalKind::singleByte},
                      {"pt_BR.utf8@euro", TerminalKind::utf8},
                      {"pt_BR.ISO-8859-1", TerminalKind::singleByte}};
  const char* saved = getenv("LC_ALL");
  std::string savedValue = saved ? saved : "";
  std::string before = setlocale(LC_CTYPE, nullptr);
  for (const Row& row : rows) {
    setenv("LC_ALL", row.locale, 1);
    EXPECT_EQ(hostKindOnTerminal(), row.kind) << row.locale;
    EXPECT_EQ(setlocale(LC_CTYPE, nullptr), before) << "the process locale changed";
  }
  if (saved) {
    setenv("LC_ALL", savedValue.c_str(), 1);
  } else {
    unsetenv("LC_ALL");
  }
}

}  // namespace

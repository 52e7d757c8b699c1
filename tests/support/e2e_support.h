// Runs the built program as a user would: in a fresh temporary folder, with
// its answers from a pipe (or under a pseudo-terminal), and collects the
// exact bytes of standard output, standard error, the exit status and files.
#ifndef DOSMO_TESTS_SUPPORT_E2E_SUPPORT_H_
#define DOSMO_TESTS_SUPPORT_E2E_SUPPORT_H_

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace testing_support {

// What one run of the program produced.
struct RunOutcome {
  std::string out;       // standard output (or the terminal's bytes under a pty)
  std::string err;       // standard error (empty under a pty: it shares the terminal)
  int status = -1;       // exit status, or -1 when ended by a signal
  int signalNumber = 0;  // the signal that ended it, if any
};

// A temporary folder removed with its contents when the object dies.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  // The path of `name` inside the folder.
  std::string file(const std::string& name) const { return path_ + "/" + name; }
  // The bytes of a file in the folder ("<missing>" when it does not exist).
  std::string read(const std::string& name) const;
  // Writes a file in the folder.
  void write(const std::string& name, const std::string& bytes) const;

 private:
  std::string path_;
};

// How to start the program.
struct RunSetup {
  std::string input;                       // bytes fed to standard input
  std::vector<std::string> arguments;      // command-line arguments
  std::map<std::string, std::string> environment;  // added or replaced variables
  bool closeInput = false;                 // standard input closed instead of a pipe
  std::string inputFile;                   // when set: standard input is this file, not a pipe
  bool keepInputOpen = false;              // the pipe stays open after `input` until the run ends
  std::string program;                     // the program; the built dosmo when empty
  // When set: the words that start the program instead (a host's runner and
  // the program it runs), the first found on the PATH; `arguments` follow them.
  std::vector<std::string> command;
  // Fault injection for runPiped. The signal is sent once every prompt of
  // `signalAfterPrompts` has appeared on standard output, in order, and
  // standard input stays open to the end, as a terminal would.
  std::vector<std::string> signalAfterPrompts;
  int signalToSend = 0;
  // Called once the signal is sent, with the program's process id, for what a
  // test does while the run ends; the program's output is read on afterwards.
  std::function<void(int)> afterSignal;
  // For runPipedByPrompts: called with i once prompt i has appeared, before
  // line i is written (what a test does while the program waits there).
  std::function<void(std::size_t)> beforeLine;
  bool breakOutputPipe = false;  // standard output is a pipe nobody reads (closed before start)
  bool closeOutput = false;      // standard output closed
  int userId = -1;               // when >= 0: run as this user and group, no supplementary groups
};

// A copy of the built program in `folder`, opened to every user, that
// `userId` can start: the build folder itself may lie where other users cannot
// enter. Returns its path, or an empty string with the reason in `whyNot`
// (this process cannot take that identity, or no folder above is open to it).
std::string programStartableBy(int userId, const TempFolder& folder, std::string& whyNot);

// Runs the program in `folder` with its standard streams on pipes.
RunOutcome runPiped(const TempFolder& folder, const RunSetup& setup);

// Runs the program in `folder` under a pseudo-terminal; each element of
// `lines` is typed after the terminal has shown `prompts[i]` (or at once when
// the prompt is empty). Returns everything the terminal received.
RunOutcome runOnTerminal(const TempFolder& folder, const std::vector<std::string>& prompts,
                         const std::vector<std::string>& lines, const RunSetup& setup = {});

// Runs the program in `folder` with its standard streams on pipes; each
// element of `lines` is written to standard input, with LF, once standard
// output has shown `prompts[i]` after the previous prompt; standard input is
// closed after the last line.
RunOutcome runPipedByPrompts(const TempFolder& folder, const std::vector<std::string>& prompts,
                             const std::vector<std::string>& lines, const RunSetup& setup = {});

// The bytes of a file of the source tree (for golden files).
std::string readSourceFile(const std::string& relativePath);

}  // namespace testing_support

#endif  // DOSMO_TESTS_SUPPORT_E2E_SUPPORT_H_

// Shell commands: running a command line through the host's command
// interpreter (the screen clear "cls" among them) and the pause, which shows
// its prompt, reads one line and runs it when it is a command.
#ifndef DOSMO_RECIO_SHELL_H_
#define DOSMO_RECIO_SHELL_H_

#include <cstdint>

namespace recio {

// Runs the command text (trailing blanks cut) through the command
// interpreter (COMSPEC's when it names one from the root and it is there,
// else the host's own at its fixed system place) and waits for it; 1 when the interpreter started and finished,
// 0 when it could not be started.
std::int32_t runShellCommand(const char* text, int length);

// Forgets what the screen clear found out about the interpreter, at the start
// of a run.
void resetShell();

// Writes out every report record buffered so far and shows the pause prompt.
// On a terminal it then reads one line and runs it as a command line when it
// holds at least two characters after trailing blanks are cut; a command
// longer than the command buffer is refused with a notice and not run. On
// redirected input it reads nothing, so every line goes to the questions.
void pauseForUser();

}  // namespace recio

#endif  // DOSMO_RECIO_SHELL_H_

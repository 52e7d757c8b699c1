/* The floor of a scripted run: a statically linked C program that starts,
   copies its standard input to its standard output with plain reads and
   writes, and exits. scripts/bench-runs.sh sets the program's whole runs
   beside it. */
#include <unistd.h>

int main(void) {
  char buffer[4096];
  ssize_t count;
  while ((count = read(STDIN_FILENO, buffer, sizeof buffer)) > 0) {
    ssize_t done = 0;
    while (done < count) {
      ssize_t written = write(STDOUT_FILENO, buffer + done, (size_t)(count - done));
      if (written <= 0) return 1;
      done += written;
    }
  }
  return count < 0;
}

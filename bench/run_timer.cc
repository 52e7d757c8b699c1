// Times whole runs of programs side by side: starts each program in turn, RUNS
// times over, in the current folder with standard input from a file and
// output discarded, so every program meets the same machine load; prints for
// each the median wall time per run, its CPU time and the peak resident memory
// the kernel reports for it.
// Usage: run_timer RUNS INPUT PROGRAM...; exits 1 if a run fails.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

extern char** environ;

namespace {

constexpr int kWarmUpRuns = 5;

struct RunFigures {
  double wallMicroseconds = 0.0;
  double cpuMicroseconds = 0.0;  // user and system time of the run
  long peakKilobytes = 0;
};

double nowMicroseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

double microseconds(const timeval& time) {
  return static_cast<double>(time.tv_sec) * 1e6 + static_cast<double>(time.tv_usec);
}

// One run; false when it could not start or did not exit with status 0.
bool runOnce(const char* input, char** argv, RunFigures& figures) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, input, O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  const double start = nowMicroseconds();
  pid_t child = 0;
  const int error = posix_spawn(&child, argv[0], &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) return false;
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) != child) return false;
  figures.wallMicroseconds = nowMicroseconds() - start;
  figures.cpuMicroseconds = microseconds(usage.ru_utime) + microseconds(usage.ru_stime);
  figures.peakKilobytes = usage.ru_maxrss;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

// The figures of every run of one program.
struct Series {
  std::vector<double> walls, cpus, peaks;
};

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: run_timer RUNS INPUT PROGRAM...\n");
    return 2;
  }
  const int runs = std::atoi(argv[1]);
  if (runs < 1) return 2;
  const int programs = argc - 3;
  std::vector<Series> series(static_cast<std::size_t>(programs));
  RunFigures figures;
  for (int run = -kWarmUpRuns; run < runs; ++run) {
    for (int program = 0; program < programs; ++program) {
      char* command[] = {argv[3 + program], nullptr};
      if (!runOnce(argv[2], command, figures)) {
        std::fprintf(stderr, "run_timer: %s failed on run %d\n", command[0], run);
        return 1;
      }
      if (run < 0) continue;
      Series& into = series[static_cast<std::size_t>(program)];
      into.walls.push_back(figures.wallMicroseconds);
      into.cpus.push_back(figures.cpuMicroseconds);
      into.peaks.push_back(static_cast<double>(figures.peakKilobytes));
    }
  }
  for (int program = 0; program < programs; ++program) {
    const Series& of = series[static_cast<std::size_t>(program)];
    std::printf("%s runs=%d median_wall_us=%.0f min_wall_us=%.0f max_wall_us=%.0f median_cpu_us=%.0f "
                "median_peak_rss_kb=%.0f max_peak_rss_kb=%.0f\n",
                argv[3 + program], runs, median(of.walls), *std::min_element(of.walls.begin(), of.walls.end()),
                *std::max_element(of.walls.begin(), of.walls.end()), median(of.cpus), median(of.peaks),
                *std::max_element(of.peaks.begin(), of.peaks.end()));
  }
  return 0;
}

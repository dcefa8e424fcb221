// Runs one command and prints its wall time, its peak resident memory and
// its exit status:
//
//   prefscan_timed_run [-o FILE] [-C DIR] -- COMMAND [ARG...]
//
// The command runs in DIR with standard input from /dev/null and standard
// output to FILE (default /dev/null, truncated first). Printed on one line:
// wall seconds, peak resident set in KiB (from wait4's rusage of the child,
// the same figure GNU time reports as %M), and the exit status (128 + signal
// number for a command ended by a signal).

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace {

double now_seconds() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

[[noreturn]] void usage(const char* self) {
  std::fprintf(stderr, "usage: %s [-o FILE] [-C DIR] -- COMMAND [ARG...]\n", self);
  _exit(2);
}

}  // namespace

int main(int argc, char** argv) {
  const char* out_path = "/dev/null";
  const char* dir = nullptr;
  int i = 1;
  for (; i < argc; ++i) {
    if (std::strcmp(argv[i], "--") == 0) {
      ++i;
      break;
    }
    if (i + 1 >= argc) usage(argv[0]);
    if (std::strcmp(argv[i], "-o") == 0) {
      out_path = argv[++i];
    } else if (std::strcmp(argv[i], "-C") == 0) {
      dir = argv[++i];
    } else {
      usage(argv[0]);
    }
  }
  if (i >= argc) usage(argv[0]);

  const double start = now_seconds();
  const pid_t child = fork();
  if (child < 0) {
    std::perror("fork");
    return 1;
  }
  if (child == 0) {
    const int in = open("/dev/null", O_RDONLY);
    const int out = open(out_path, O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (in < 0 || out < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0) {
      std::perror(out_path);
      _exit(127);
    }
    if (dir != nullptr && chdir(dir) != 0) {
      std::perror(dir);
      _exit(127);
    }
    execvp(argv[i], argv + i);
    std::perror(argv[i]);
    _exit(127);
  }
  int status = 0;
  rusage usage_of_child{};
  if (wait4(child, &status, 0, &usage_of_child) < 0) {
    std::perror("wait4");
    return 1;
  }
  const double wall = now_seconds() - start;
  const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  std::printf("%.6f %ld %d\n", wall, usage_of_child.ru_maxrss, code);
  return 0;
}

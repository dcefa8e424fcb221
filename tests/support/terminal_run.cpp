#include "terminal_run.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace prefscan::testing {
namespace {

// A pseudo-terminal pair; the secondary side is what the program sees.
struct Terminal {
  int primary = -1;
  int secondary = -1;

  Terminal() {
    primary = posix_openpt(O_RDWR | O_NOCTTY);
    if (primary < 0 || grantpt(primary) != 0 || unlockpt(primary) != 0) {
      throw std::runtime_error("cannot open a pseudo-terminal");
    }
    const char* name = ptsname(primary);
    if (name == nullptr) throw std::runtime_error("ptsname failed");
    secondary = open(name, O_RDWR | O_NOCTTY);
    if (secondary < 0) throw std::runtime_error("cannot open the terminal's secondary side");
    termios modes{};
    if (tcgetattr(secondary, &modes) != 0) throw std::runtime_error("tcgetattr failed");
    modes.c_lflag &= ~(ECHO | ECHONL | ISIG);
    modes.c_lflag |= ICANON;
    modes.c_iflag &= ~(ICRNL | INLCR | IGNCR);
    modes.c_oflag &= ~OPOST;
    if (tcsetattr(secondary, TCSANOW, &modes) != 0) throw std::runtime_error("tcsetattr failed");
  }
  ~Terminal() {
    if (secondary >= 0) close(secondary);
    if (primary >= 0) close(primary);
  }
  Terminal(const Terminal&) = delete;
  Terminal& operator=(const Terminal&) = delete;
};

}  // namespace

bool terminals_available() {
  const int fd = posix_openpt(O_RDWR | O_NOCTTY);
  if (fd < 0) return false;
  close(fd);
  return true;
}

RunResult run_prefscan_on_terminal(const ScratchDir& dir, const std::vector<std::string>& args,
                                   const TerminalRunOptions& options) {
  char capture_dir[] = "/tmp/prefscan-capture-XXXXXX";
  if (mkdtemp(capture_dir) == nullptr) throw std::runtime_error("mkdtemp failed");
  const std::string in_path = std::string(capture_dir) + "/stdin";
  const std::string out_path = std::string(capture_dir) + "/stdout";
  const std::string err_path = std::string(capture_dir) + "/stderr";
  if (!options.stdin_on_terminal) {
    std::ofstream f(in_path, std::ios::binary);
    f << options.input;
  }

  Terminal terminal;
  std::vector<std::string> argv_text{prefscan_binary()};
  argv_text.insert(argv_text.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : argv_text) argv.push_back(a.data());
  argv.push_back(nullptr);

  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    if (chdir(dir.path().c_str()) != 0) _exit(126);
    int in = options.stdin_on_terminal ? dup(terminal.secondary) : open(in_path.c_str(), O_RDONLY);
    int out = options.stdout_on_terminal
                  ? dup(terminal.secondary)
                  : open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (in < 0 || out < 0 || err < 0) _exit(125);
    dup2(in, STDIN_FILENO);
    dup2(out, STDOUT_FILENO);
    dup2(err, STDERR_FILENO);
    for (int fd : {in, out, err, terminal.primary, terminal.secondary}) {
      if (fd > STDERR_FILENO) close(fd);
    }
    execv(argv[0], argv.data());
    _exit(127);
  }
  // From here on only the child holds the secondary side, so the primary
  // side reports EIO once the program has ended and its output is drained.
  close(terminal.secondary);
  terminal.secondary = -1;

  if (options.stdin_on_terminal) {
    std::string_view typed = options.input;
    while (!typed.empty()) {
      const ssize_t n = write(terminal.primary, typed.data(), typed.size());
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      typed.remove_prefix(static_cast<std::size_t>(n));
    }
  }

  std::string from_terminal;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (true) {
    pollfd p{terminal.primary, POLLIN, 0};
    const int ready = poll(&p, 1, 100);
    if (ready > 0) {
      char buffer[4096];
      const ssize_t n = read(terminal.primary, buffer, sizeof buffer);
      if (n > 0) {
        from_terminal.append(buffer, static_cast<std::size_t>(n));
        continue;
      }
      if (n < 0 && errno == EINTR) continue;
      break;  // EIO: no one holds the secondary side any more
    }
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);  // a program waiting for input that never comes
      break;
    }
  }
  int status = 0;
  waitpid(pid, &status, 0);

  RunResult r;
  r.out = options.stdout_on_terminal ? from_terminal : read_file(out_path);
  r.err = read_file(err_path);
  r.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  std::error_code ignored;
  std::filesystem::remove_all(capture_dir, ignored);
  return r;
}

}  // namespace prefscan::testing

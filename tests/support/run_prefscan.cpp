#include "run_prefscan.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace prefscan::testing {

ScratchDir::ScratchDir() {
  char pattern[] = "/tmp/prefscan-test-XXXXXX";
  if (mkdtemp(pattern) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
  // World-writable so that a run as an unprivileged user may create files.
  chmod(path_.c_str(), 0777);
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void ScratchDir::write(const std::string& name, const std::string& bytes) const {
  std::ofstream f(file(name), std::ios::binary | std::ios::trunc);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!f) throw std::runtime_error("cannot write " + name);
}

std::string ScratchDir::read(const std::string& name) const { return read_file(file(name)); }

bool ScratchDir::exists(const std::string& name) const {
  struct stat st;
  return lstat(file(name).c_str(), &st) == 0;
}

const char* prefscan_binary() { return PREFSCAN_BINARY; }

std::string read_file(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

RunResult run_prefscan(const ScratchDir& dir, const std::vector<std::string>& args,
                       const RunOptions& options) {
  char capture_dir[] = "/tmp/prefscan-capture-XXXXXX";
  if (mkdtemp(capture_dir) == nullptr) throw std::runtime_error("mkdtemp failed");
  const std::string in_path = std::string(capture_dir) + "/stdin";
  const std::string out_path =
      options.stdout_path.empty() ? std::string(capture_dir) + "/stdout" : options.stdout_path;
  const std::string err_path = std::string(capture_dir) + "/stderr";
  {
    std::ofstream f(in_path, std::ios::binary);
    f << options.stdin_bytes;
  }

  std::vector<std::string> argv_text;
  if (options.unprivileged) {
    argv_text = {"setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups", "--"};
  }
  argv_text.push_back(prefscan_binary());
  argv_text.insert(argv_text.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : argv_text) argv.push_back(a.data());
  argv.push_back(nullptr);

  int closed_pipe[2] = {-1, -1};
  if (options.stdout_closed_pipe) {
    if (pipe(closed_pipe) != 0) throw std::runtime_error("pipe failed");
    close(closed_pipe[0]);
  }
  const pid_t pid = fork();
  if (pid == 0) {
    if (chdir(dir.path().c_str()) != 0) _exit(126);
    if (options.no_stdin) {
      close(STDIN_FILENO);
    } else {
      int in = open(in_path.c_str(), O_RDONLY);
      dup2(in, STDIN_FILENO);
      close(in);
    }
    int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    dup2(options.stdout_closed_pipe ? closed_pipe[1] : out, STDOUT_FILENO);
    dup2(err, STDERR_FILENO);
    close(out);
    close(err);
    if (options.unprivileged) {
      execvp("setpriv", argv.data());
    } else {
      execv(argv[0], argv.data());
    }
    _exit(127);
  }
  if (options.stdout_closed_pipe) close(closed_pipe[1]);
  int status = 0;
  waitpid(pid, &status, 0);

  RunResult r;
  if (options.stdout_path.empty()) r.out = read_file(out_path);
  r.err = read_file(err_path);
  r.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  std::error_code ignored;
  std::filesystem::remove_all(capture_dir, ignored);
  return r;
}

std::string concat(const std::vector<std::string>& blocks) {
  std::string all;
  for (const auto& b : blocks) all += b;
  return all;
}

}  // namespace prefscan::testing

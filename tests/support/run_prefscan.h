// Runs the prefscan binary as a separate process in a scratch directory and
// captures every byte it writes, for end-to-end tests.
#pragma once

#include <string>
#include <vector>

namespace prefscan::testing {

// A fresh working directory, removed with everything in it at the end.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }
  void write(const std::string& name, const std::string& bytes) const;
  std::string read(const std::string& name) const;
  bool exists(const std::string& name) const;

 private:
  std::string path_;
};

struct RunOptions {
  // Bytes fed to standard input; with `no_stdin` standard input is closed
  // instead (as when CI runs with none).
  std::string stdin_bytes;
  bool no_stdin = false;
  // Standard output goes to this file instead of being captured.
  std::string stdout_path;
  // Standard output is a pipe whose reading end is already closed.
  bool stdout_closed_pipe = false;
  // Run as the unprivileged user nobody (through setpriv), so permission
  // bits apply even when the tests run as root.
  bool unprivileged = false;
};

struct RunResult {
  std::string out;
  std::string err;
  int exit_status = -1;  // as a shell reports it: 128 + n after signal n
};

// The path of the prefscan binary under test.
const char* prefscan_binary();

RunResult run_prefscan(const ScratchDir& dir, const std::vector<std::string>& args,
                       const RunOptions& options = {});

// The whole content of a file ("" when it cannot be read).
std::string read_file(const std::string& path);

// Bytes of an input file made of the given 4096-byte blocks.
std::string concat(const std::vector<std::string>& blocks);

}  // namespace prefscan::testing

// Routine frames: which routines are active and the line each one is at.
//
// The fatal error report lists the active routines, innermost first, each
// with the source position it was executing. A routine registers itself for
// as long as it runs with a RoutineFrame; positions are recorded only where
// they matter: before a call into another routine and at the statement that
// fails, so the hot path pays nothing for a frame but its push and pop.
#pragma once

#include <cstdint>
#include <source_location>
#include <span>

namespace prefscan {

struct FramePosition {
  const char* routine;  // nullptr for the main program
  const char* file;     // as the compiler names the source file
  std::uint_least32_t line;
};

class RoutineFrame {
 public:
  // A routine name of nullptr registers the main program.
  explicit RoutineFrame(const char* routine,
                        std::source_location where = std::source_location::current());
  ~RoutineFrame();
  RoutineFrame(const RoutineFrame&) = delete;
  RoutineFrame& operator=(const RoutineFrame&) = delete;

  // Records that the routine is now executing the statement at `where`.
  void at(std::source_location where = std::source_location::current());

 private:
  int depth_;
};

// Records `where` as the position of the innermost active routine.
void set_current_position(std::source_location where);

// The active frames, main program first, innermost last.
std::span<const FramePosition> active_frames();

// Drops every frame; for tests that run the program more than once in a process.
void reset_frames();

}  // namespace prefscan

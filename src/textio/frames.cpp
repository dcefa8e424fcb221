#include "textio/frames.h"

#include <cstdlib>

namespace prefscan {
namespace {

// The deepest chain in the system is the main program with PREFCH on top;
// the headroom is for tests that stack their own frames.
constexpr int kMaxFrames = 8;

FramePosition frames[kMaxFrames];
int frame_count = 0;

}  // namespace

RoutineFrame::RoutineFrame(const char* routine, std::source_location where)
    : depth_(frame_count) {
  if (frame_count == kMaxFrames) std::abort();  // a design fault, not a run-time one
  frames[frame_count++] = {routine, where.file_name(), where.line()};
}

RoutineFrame::~RoutineFrame() { frame_count = depth_; }

void RoutineFrame::at(std::source_location where) {
  frames[depth_].file = where.file_name();
  frames[depth_].line = where.line();
}

void set_current_position(std::source_location where) {
  if (frame_count == 0) return;
  frames[frame_count - 1].file = where.file_name();
  frames[frame_count - 1].line = where.line();
}

std::span<const FramePosition> active_frames() { return {frames, static_cast<std::size_t>(frame_count)}; }

void reset_frames() { frame_count = 0; }

}  // namespace prefscan

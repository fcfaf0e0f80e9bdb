#pragma once

// What differs between the platforms the quiz runs on, behind one interface.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "console/streams.h"

namespace platform {

// The text line end of the platform's console.
#ifdef _WIN32
inline constexpr std::string_view LINE_END = "\r\n";
#else
inline constexpr std::string_view LINE_END = "\n";
#endif

// Console input on Windows ends where Ctrl-Z is typed at the start of a line,
// as it ends on a POSIX terminal where Ctrl-D is. Given each read of console
// input in turn, this finds that end.
class ConsoleInput {
 public:
  // How many of the bytes that arrived come before the end; none once it has
  // come.
  std::size_t bytes_before_end(std::string_view arrived);
  bool ended() const { return ended_; }

 private:
  bool at_line_start_ = true;
  bool ended_ = false;
};

// Milliseconds since the system started, wrapping at 32 bits.
std::uint32_t millisecond_tick();

// The process's standard streams, set up on first use to carry raw bytes.
console::Streams& standard_streams();

}  // namespace platform

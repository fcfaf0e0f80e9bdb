#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace console {

// The outcome of one read of standard input: the number of bytes that arrived
// (0 at end of input), or the error number if the read failed.
struct ReadResult {
  std::size_t count;
  int error;
};

// The standard streams and the process exit, as the console operations see
// them. The program runs on the platform's own; tests put fakes behind this.
class Streams {
 public:
  virtual ~Streams() = default;

  // Waits for input and reads what has arrived, at most buffer.size() bytes.
  virtual ReadResult read_input(std::span<char> buffer) = 0;

  // Writes all of bytes to standard output; returns 0, or the error number.
  virtual int write_output(std::string_view bytes) = 0;

  // Writes a diagnostic to standard error as well as it can.
  virtual void write_error(std::string_view text) = 0;

  // Whether standard output is a terminal someone is watching.
  virtual bool output_is_terminal() = 0;

  // Ends the process with status.
  [[noreturn]] virtual void exit(int status) = 0;
};

}  // namespace console

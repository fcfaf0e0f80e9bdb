#pragma once

// The real review-quiz program, run as a child process: on pipes and files,
// or, on POSIX, in a pseudo-terminal as a person would use it.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

enum class InputFrom { Pipe, File, Terminal };
enum class OutputTo { Pipe, File, FullDevice, ClosedStream, PipeWithoutReader };

// Whether the platform has a device that is always full, as Linux's /dev/full.
bool has_full_device();

struct Finished {
  int status;  // the exit status, or on POSIX 128 plus the signal that ended it
  std::string output;
  std::string errors;
  long peak_kib;  // the most memory the program held, in KiB, or 0 if not known
};

// Input that is given as a file, made without holding it in memory: head, then
// filler_count times filler, then tail.
struct GeneratedInput {
  std::string head;
  char filler;
  std::size_t filler_count;
  std::string tail;
};

// Runs the program to its end on input, with arguments after its name.
Finished run_quiz(const std::string& input, InputFrom from, OutputTo to,
                  const std::vector<std::string>& arguments = {});
Finished run_quiz(const GeneratedInput& input, OutputTo to);

#ifndef _WIN32
#include <sys/types.h>

// The program on a pseudo-terminal: what it writes is read from the terminal,
// what is typed goes to the terminal or, if asked, to a pipe as its input.
class TerminalSession {
 public:
  explicit TerminalSession(InputFrom from_pipe_or_terminal);
  ~TerminalSession();
  TerminalSession(const TerminalSession&) = delete;
  TerminalSession& operator=(const TerminalSession&) = delete;

  // Reads output until what arrived since the last keys typed satisfies done;
  // false if that takes longer than a few seconds.
  bool wait_for(const std::function<bool(std::string_view)>& done);
  bool wait_for_end(std::string_view text);

  void type(std::string_view keys);
  // Ctrl-D at the terminal, or closing the input pipe.
  void end_input();
  // Waits for the program to end; its status as in Finished.
  int wait();

  std::string seen;  // all output so far
 private:
  pid_t child_ = -1;
  int terminal_ = -1;
  int input_pipe_ = -1;
  std::size_t typed_at_ = 0;
};
#endif

#include "console/platform.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#include <time.h>
#include <unistd.h>
#endif

namespace platform {
namespace {

constexpr char CTRL_Z = '\x1A';

#ifdef _WIN32

using IoCount = long;

constexpr bool CTRL_Z_ENDS_CONSOLE_INPUT = true;

// The standard streams are used through their handles: ReadFile and WriteFile
// move bytes as they are, with none of the C runtime's text mode (no CR added,
// no Ctrl-Z taken for the end of a file).
HANDLE standard_handle(int fd) {
  return GetStdHandle(fd == 0 ? STD_INPUT_HANDLE : fd == 1 ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
}

// The error number that says what a Windows error says, so that a failure
// ends with the same status as on POSIX.
int error_number(DWORD error) {
  switch (error) {
    case ERROR_BROKEN_PIPE:
    case ERROR_NO_DATA:
      return EPIPE;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_INVALID_HANDLE:
      return EBADF;
    case ERROR_ACCESS_DENIED:
      return EACCES;
    default:
      return EIO;
  }
}

DWORD chunk_size(std::size_t size) {
  return static_cast<DWORD>(std::min<std::size_t>(size, 1 << 30));
}

IoCount read_some(int fd, char* buffer, std::size_t size) {
  DWORD count = 0;
  if (ReadFile(standard_handle(fd), buffer, chunk_size(size), &count, nullptr) != 0) return count;
  const DWORD error = GetLastError();
  // A pipe whose writer has gone has come to its end.
  if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF) return 0;
  errno = error_number(error);
  return -1;
}

IoCount write_some(int fd, const char* bytes, std::size_t size) {
  DWORD count = 0;
  if (WriteFile(standard_handle(fd), bytes, chunk_size(size), &count, nullptr) != 0) return count;
  errno = error_number(GetLastError());
  return -1;
}

// A console, and not a device such as NUL that the C runtime also calls a
// terminal.
bool is_terminal(int fd) {
  DWORD mode = 0;
  return GetConsoleMode(standard_handle(fd), &mode) != 0;
}

// Nothing to set up: the streams are used as they come.
void prepare_process() {}

std::uint32_t tick_count() { return GetTickCount(); }

#else

using IoCount = ssize_t;

// A terminal here ends input by itself, on Ctrl-D.
constexpr bool CTRL_Z_ENDS_CONSOLE_INPUT = false;

IoCount read_some(int fd, char* buffer, std::size_t size) { return ::read(fd, buffer, size); }

IoCount write_some(int fd, const char* bytes, std::size_t size) { return ::write(fd, bytes, size); }

bool is_terminal(int fd) { return ::isatty(fd) == 1; }

// A write to a pipe whose reader has gone must fail with EPIPE like any other
// write, not kill the process without a word.
void prepare_process() { ::signal(SIGPIPE, SIG_IGN); }

// The monotonic clock counts from system start.
std::uint32_t tick_count() {
  timespec now{};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  const auto milliseconds = static_cast<std::uint64_t>(now.tv_sec) * 1000 +
                            static_cast<std::uint64_t>(now.tv_nsec) / 1000000;
  return static_cast<std::uint32_t>(milliseconds);
}

#endif

// Writes all of bytes to fd, completing short writes and retrying
// interrupted ones; returns 0 or the error number.
int write_all(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const IoCount written = write_some(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return written < 0 && errno != 0 ? errno : EIO;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

// Reads what has arrived on fd, retrying interrupted reads.
console::ReadResult read_arrived(int fd, std::span<char> buffer) {
  for (;;) {
    const IoCount count = read_some(fd, buffer.data(), buffer.size());
    if (count >= 0) return {static_cast<std::size_t>(count), 0};
    if (errno != EINTR) return {0, errno != 0 ? errno : EIO};
  }
}

class StandardStreams final : public console::Streams {
 public:
  StandardStreams() : input_is_console_(CTRL_Z_ENDS_CONSOLE_INPUT && is_terminal(0)) {
    prepare_process();
  }

  console::ReadResult read_input(std::span<char> buffer) override {
    if (!input_is_console_) return read_arrived(0, buffer);
    if (console_input_.ended()) return {0, 0};
    const console::ReadResult read = read_arrived(0, buffer);
    return {console_input_.bytes_before_end({buffer.data(), read.count}), read.error};
  }

  int write_output(std::string_view bytes) override { return write_all(1, bytes); }

  void write_error(std::string_view text) override { write_all(2, text); }

  bool output_is_terminal() override { return is_terminal(1); }

  [[noreturn]] void exit(int status) override { std::exit(status); }

 private:
  bool input_is_console_;
  ConsoleInput console_input_;
};

}  // namespace

std::size_t ConsoleInput::bytes_before_end(std::string_view arrived) {
  if (ended_) return 0;
  for (std::size_t at = 0; at < arrived.size(); ++at) {
    if (at_line_start_ && arrived[at] == CTRL_Z) {
      ended_ = true;
      return at;
    }
    at_line_start_ = arrived[at] == '\n' || arrived[at] == '\r';
  }
  return arrived.size();
}

std::uint32_t millisecond_tick() { return tick_count(); }

console::Streams& standard_streams() {
  static StandardStreams streams;
  return streams;
}

}  // namespace platform

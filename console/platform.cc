#include "console/platform.h"

#include <cerrno>
#include <cstdlib>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <signal.h>
#include <time.h>
#include <unistd.h>
#endif

namespace platform {
namespace {

#ifdef _WIN32

using IoCount = int;

// The C runtime takes an unsigned int count on Windows.
IoCount read_some(int fd, char* buffer, std::size_t size) {
  return _read(fd, buffer, static_cast<unsigned int>(size));
}

IoCount write_some(int fd, const char* bytes, std::size_t size) {
  return _write(fd, bytes, static_cast<unsigned int>(size));
}

bool is_terminal(int fd) { return _isatty(fd) != 0; }

// Binary mode: no CR is added on output, and nothing is translated or taken
// as the end of a file on input.
void prepare_process() {
  _setmode(0, _O_BINARY);
  _setmode(1, _O_BINARY);
  _setmode(2, _O_BINARY);
}

std::uint32_t tick_count() { return GetTickCount(); }

#else

using IoCount = ssize_t;

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

class StandardStreams final : public console::Streams {
 public:
  StandardStreams() { prepare_process(); }

  console::ReadResult read_input(std::span<char> buffer) override {
    for (;;) {
      const IoCount count = read_some(0, buffer.data(), buffer.size());
      if (count >= 0) return {static_cast<std::size_t>(count), 0};
      if (errno != EINTR) return {0, errno != 0 ? errno : EIO};
    }
  }

  int write_output(std::string_view bytes) override { return write_all(1, bytes); }

  void write_error(std::string_view text) override { write_all(2, text); }

  bool output_is_terminal() override { return is_terminal(1); }

  [[noreturn]] void exit(int status) override { std::exit(status); }
};

}  // namespace

std::uint32_t millisecond_tick() { return tick_count(); }

console::Streams& standard_streams() {
  static StandardStreams streams;
  return streams;
}

}  // namespace platform

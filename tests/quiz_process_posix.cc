#include "tests/quiz_process.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <utility>

namespace {

constexpr auto PATIENCE = std::chrono::seconds(10);

void check(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(what);
}

int status_of(int wait_status) {
  if (WIFEXITED(wait_status)) return WEXITSTATUS(wait_status);
  return 128 + WTERMSIG(wait_status);
}

// A file holding input, opened for reading from its start. The filler is
// written a small block at a time: this process's memory is part of what a
// child it forks starts with, and so of the child's peak.
int file_holding(const GeneratedInput& input) {
  std::FILE* file = std::tmpfile();
  check(file != nullptr, "tmpfile");
  char block[16384];
  std::fill(std::begin(block), std::end(block), input.filler);
  std::fwrite(input.head.data(), 1, input.head.size(), file);
  for (std::size_t left = input.filler_count; left > 0;) {
    const std::size_t count = std::min(left, sizeof block);
    std::fwrite(block, 1, count, file);
    left -= count;
  }
  std::fwrite(input.tail.data(), 1, input.tail.size(), file);
  check(std::fflush(file) == 0 && !std::ferror(file), "writing the input file");
  const int fd = ::fcntl(::fileno(file), F_DUPFD_CLOEXEC, 0);
  std::fclose(file);
  ::lseek(fd, 0, SEEK_SET);
  return fd;
}

int file_holding(const std::string& bytes) { return file_holding(GeneratedInput{bytes, 0, 0, ""}); }

std::string read_file(int fd) {
  std::string bytes;
  char chunk[4096];
  ::lseek(fd, 0, SEEK_SET);
  for (ssize_t count; (count = ::read(fd, chunk, sizeof chunk)) > 0;) bytes.append(chunk, count);
  return bytes;
}

void make_pipe(int ends[2]) { check(::pipe2(ends, O_CLOEXEC) == 0, "pipe"); }

// In the child: fd becomes target, or target is closed if fd is negative.
void place(int fd, int target) {
  if (fd < 0) {
    ::close(target);
  } else if (::dup2(fd, target) < 0) {
    ::_exit(126);
  }
}

[[noreturn]] void exec_quiz(const std::vector<std::string>& arguments) {
  // The program itself must survive a pipe without a reader; give it the
  // default action, not the one this test process has.
  ::signal(SIGPIPE, SIG_DFL);
  std::vector<char*> argv = {const_cast<char*>(REVIEW_QUIZ_PROGRAM)};
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  ::execv(REVIEW_QUIZ_PROGRAM, argv.data());
  ::_exit(127);
}

// Feeds input to one pipe while collecting two others, until both close.
void exchange(int to_child, const std::string& input, int from_output, int from_errors,
              std::string& output, std::string& errors) {
  std::size_t sent = 0;
  if (to_child >= 0 && input.empty()) ::close(std::exchange(to_child, -1));
  while (from_output >= 0 || from_errors >= 0) {
    pollfd watched[3] = {
        {to_child, POLLOUT, 0}, {from_output, POLLIN, 0}, {from_errors, POLLIN, 0}};
    check(::poll(watched, 3, -1) > 0, "poll");
    if (watched[0].revents != 0) {
      const ssize_t count = ::write(to_child, input.data() + sent, input.size() - sent);
      if (count > 0) sent += static_cast<std::size_t>(count);
      if (count < 0 || sent == input.size()) ::close(std::exchange(to_child, -1));
    }
    int* sources[] = {&from_output, &from_errors};
    std::string* sinks[] = {&output, &errors};
    for (int index = 0; index < 2; ++index) {
      if (watched[index + 1].revents == 0) continue;
      char chunk[65536];
      const ssize_t count = ::read(*sources[index], chunk, sizeof chunk);
      if (count > 0) {
        sinks[index]->append(chunk, static_cast<std::size_t>(count));
      } else {
        ::close(std::exchange(*sources[index], -1));
      }
    }
  }
  if (to_child >= 0) ::close(to_child);
}

// Runs the program with child_input as its input; if feed is open, input is
// written to it while the program runs.
Finished run_quiz_reading(int child_input, int feed, const std::string& input, OutputTo to,
                          const std::vector<std::string>& arguments) {
  ::signal(SIGPIPE, SIG_IGN);
  int output_pipe[2] = {-1, -1};
  int error_pipe[2] = {-1, -1};
  int child_output = -1;
  make_pipe(error_pipe);
  switch (to) {
    case OutputTo::Pipe:
    case OutputTo::PipeWithoutReader:
      make_pipe(output_pipe);
      child_output = output_pipe[1];
      if (to == OutputTo::PipeWithoutReader) ::close(std::exchange(output_pipe[0], -1));
      break;
    case OutputTo::File:
      child_output = file_holding("");
      break;
    case OutputTo::FullDevice:
      child_output = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
      break;
    case OutputTo::ClosedStream:
      break;
  }
  const pid_t child = ::fork();
  check(child >= 0, "fork");
  if (child == 0) {
    place(child_input, 0);
    place(child_output, 1);
    place(error_pipe[1], 2);
    exec_quiz(arguments);
  }
  ::close(child_input);
  ::close(error_pipe[1]);
  if (to != OutputTo::File && child_output >= 0) ::close(child_output);
  Finished finished{};
  exchange(feed, input, output_pipe[0], error_pipe[0], finished.output, finished.errors);
  int wait_status = 0;
  rusage usage{};
  check(::wait4(child, &wait_status, 0, &usage) == child, "wait4");
  finished.status = status_of(wait_status);
  finished.peak_kib = usage.ru_maxrss;
  if (to == OutputTo::File) {
    finished.output = read_file(child_output);
    ::close(child_output);
  }
  return finished;
}

}  // namespace

bool has_full_device() { return true; }

Finished run_quiz(const std::string& input, InputFrom from, OutputTo to,
                  const std::vector<std::string>& arguments) {
  if (from == InputFrom::File) return run_quiz_reading(file_holding(input), -1, "", to, arguments);
  int input_pipe[2] = {-1, -1};
  make_pipe(input_pipe);
  return run_quiz_reading(input_pipe[0], input_pipe[1], input, to, arguments);
}

Finished run_quiz(const GeneratedInput& input, OutputTo to) {
  return run_quiz_reading(file_holding(input), -1, "", to, {});
}

TerminalSession::TerminalSession(InputFrom from) {
  ::signal(SIGPIPE, SIG_IGN);
  int input_pipe[2] = {-1, -1};
  if (from == InputFrom::Pipe) make_pipe(input_pipe);
  child_ = ::forkpty(&terminal_, nullptr, nullptr, nullptr);
  check(child_ >= 0, "forkpty");
  if (child_ == 0) {
    if (from == InputFrom::Pipe) place(input_pipe[0], 0);
    exec_quiz({});
  }
  if (from == InputFrom::Pipe) {
    ::close(input_pipe[0]);
    input_pipe_ = input_pipe[1];
  }
}

TerminalSession::~TerminalSession() {
  if (child_ > 0) {
    ::kill(child_, SIGKILL);
    ::waitpid(child_, nullptr, 0);
  }
  if (input_pipe_ >= 0) ::close(input_pipe_);
  ::close(terminal_);
}

bool TerminalSession::wait_for(const std::function<bool(std::string_view)>& done) {
  const auto give_up = std::chrono::steady_clock::now() + PATIENCE;
  while (!done(std::string_view{seen}.substr(typed_at_))) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        give_up - std::chrono::steady_clock::now());
    pollfd watched = {terminal_, POLLIN, 0};
    if (left.count() <= 0 || ::poll(&watched, 1, static_cast<int>(left.count())) <= 0) return false;
    char chunk[4096];
    const ssize_t count = ::read(terminal_, chunk, sizeof chunk);
    if (count <= 0) return done(std::string_view{seen}.substr(typed_at_));
    seen.append(chunk, static_cast<std::size_t>(count));
  }
  return true;
}

bool TerminalSession::wait_for_end(std::string_view text) {
  return wait_for([&](std::string_view shown) { return shown.ends_with(text); });
}

void TerminalSession::type(std::string_view keys) {
  typed_at_ = seen.size();
  const int target = input_pipe_ >= 0 ? input_pipe_ : terminal_;
  check(::write(target, keys.data(), keys.size()) == static_cast<ssize_t>(keys.size()), "type");
}

void TerminalSession::end_input() {
  if (input_pipe_ >= 0) {
    typed_at_ = seen.size();
    ::close(std::exchange(input_pipe_, -1));
  } else {
    type("\x04");
  }
}

int TerminalSession::wait() {
  wait_for([](std::string_view) { return false; });  // drain until the terminal closes
  int wait_status = 0;
  check(::waitpid(child_, &wait_status, 0) == child_, "waitpid");
  child_ = -1;
  return status_of(wait_status);
}

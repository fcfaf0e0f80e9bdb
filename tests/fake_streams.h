#pragma once

// In-memory standard streams for running the console, or a whole test, in
// process.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "console/streams.h"

// Thrown by FakeStreams::exit in place of ending the process.
struct FakeExit {
  int status;
};

class FakeStreams final : public console::Streams {
 public:
  explicit FakeStreams(std::string input = "") : input(std::move(input)) {}

  console::ReadResult read_input(std::span<char> buffer) override;
  int write_output(std::string_view bytes) override;
  void write_error(std::string_view text) override { errors += text; }
  bool output_is_terminal() override { return terminal; }
  [[noreturn]] void exit(int status) override { throw FakeExit{status}; }

  // Set up before use.
  std::string input;
  std::size_t bytes_per_read = 1 << 20;  // as a terminal gives one line, a pipe a block
  bool terminal = false;
  int read_failure = 0;   // once input is used up, reads fail with this error
  int write_failure = 0;  // every write fails with this error

  // What happened.
  std::size_t read_position = 0;
  std::string output;
  std::string errors;
  std::vector<std::string> calls;  // "read" and "write" in the order they came
};

// Runs body with streams as the console; returns the exit status it ended
// with, or -1 if it returned.
int run_on(FakeStreams& streams, const std::function<void()>& body);

#include "tests/fake_streams.h"

#include <algorithm>
#include <cstring>

#include "console/console_io.h"

console::ReadResult FakeStreams::read_input(std::span<char> buffer) {
  calls.emplace_back("read");
  const std::size_t left = input.size() - read_position;
  if (left == 0 && read_failure != 0) return {0, read_failure};
  const std::size_t count = std::min({left, buffer.size(), bytes_per_read});
  std::memcpy(buffer.data(), input.data() + read_position, count);
  read_position += count;
  return {count, 0};
}

int FakeStreams::write_output(std::string_view bytes) {
  calls.emplace_back("write");
  if (write_failure != 0) return write_failure;
  output += bytes;
  return 0;
}

int run_on(FakeStreams& streams, const std::function<void()>& body) {
  console::use_streams(streams);
  try {
    body();
    console::flush_output();
  } catch (const FakeExit& exit) {
    return exit.status;
  }
  return -1;
}

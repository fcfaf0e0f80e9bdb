// Fuzzes the reading of answers and pauses: any bytes as standard input, read
// in chunks of any size, by any sequence of READANSWER and WAITENTER that the
// program could make. Every answer must be the one that a plain reading of
// the whole input gives, and the run must end at the end of input.
//
// Input: a byte for the chunk size, a byte whose bits choose the operations,
// a byte of flags, then standard input.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "console/console_io.h"
#include "fuzz/fuzz_check.h"
#include "tests/fake_streams.h"
#include "tests/transcript.h"

namespace {

constexpr char LF = '\n';
constexpr char CR = '\r';
constexpr char CTRL_Z = '\x1A';

// The line discipline written plainly over the whole input at once: lines end
// in LF, CR LF or a lone CR; an answer is a line's first byte, or the first
// byte of its line end if it is empty; skipping a line stops in front of a
// Ctrl-Z.
class PlainReading {
 public:
  explicit PlainReading(std::string_view input) : input_(input) {}

  std::optional<char> answer() {
    if (!at_a_line()) return std::nullopt;
    const char answer = input_[at_++];
    if (answer == CR) {
      after_cr_ = true;
    } else if (answer != LF) {
      skip_line();
    }
    return answer;
  }

  bool pause() {
    if (!at_a_line()) return false;
    skip_line();
    return true;
  }

  bool at_end() { return !at_a_line(); }

 private:
  // Drops the LF of a CR LF; false at the end of input.
  bool at_a_line() {
    if (after_cr_ && at_ < input_.size() && input_[at_] == LF) ++at_;
    after_cr_ = false;
    return at_ < input_.size();
  }

  void skip_line() {
    for (; at_ < input_.size() && input_[at_] != CTRL_Z; ++at_) {
      if (input_[at_] == LF || input_[at_] == CR) {
        after_cr_ = input_[at_++] == CR;
        return;
      }
    }
  }

  std::string_view input_;
  std::size_t at_ = 0;
  bool after_cr_ = false;
};

struct Run {
  std::size_t bytes_per_read;
  std::uint8_t operations;  // bit n set: operation n, modulo 8, reads an answer
  bool terminal;
  bool end_expected;  // input may end at a pause
  std::string input;
};

Run run_from(const std::uint8_t* data, std::size_t size) {
  Run run{std::size_t{1} << 20, 0x55, false, false, ""};
  if (size >= 3) {
    run.bytes_per_read = data[0] == 0 ? run.bytes_per_read : data[0];
    run.operations = data[1];
    run.terminal = (data[2] & 1) != 0;
    run.end_expected = (data[2] & 2) != 0;
    data += 3;
    size -= 3;
  }
  run.input.assign(reinterpret_cast<const char*>(data), size);
  return run;
}

// The program never pauses more than three times in a row, and a pause in
// front of a Ctrl-Z takes nothing: the fourth operation then reads an answer.
bool reads_answer(const Run& run, int operation, int pauses_in_a_row) {
  return pauses_in_a_row == 3 || ((run.operations >> (operation % 8)) & 1) != 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Run run = run_from(data, size);
  FakeStreams streams(run.input);
  streams.bytes_per_read = run.bytes_per_read;
  streams.terminal = run.terminal;

  PlainReading plain(run.input);
  std::vector<char> answers;
  std::vector<char> expected;
  // Every four operations take at least one byte, or the end of input.
  const int most_operations = 4 * static_cast<int>(run.input.size()) + 8;
  int operations = 0;
  const int status = run_on(streams, [&] {
    if (run.end_expected) console::expect_end_of_input();
    int pauses_in_a_row = 0;
    for (; operations < most_operations; ++operations) {
      if (reads_answer(run, operations, pauses_in_a_row)) {
        pauses_in_a_row = 0;
        const std::optional<char> answer = plain.answer();
        if (answer) expected.push_back(*answer);
        answers.push_back(READANSWER());
      } else {
        ++pauses_in_a_row;
        const bool paused = plain.pause();
        WAITENTER();
        require(paused || run.end_expected, "a pause at the end of input returned");
      }
    }
  });

  require(operations < most_operations, "the operations kept going without taking input");
  require(status == console::UNFINISHED_STATUS, "the run did not stop at the end of input");
  require(streams.errors == UNFINISHED_LINE, "the end of input was not reported in one line");
  require(answers == expected, "the answers differ from a plain reading of the input");
  require(plain.at_end(), "the run stopped before the end of input");
  require(streams.read_position <= run.input.size(), "more was read than the input holds");
  require(streams.output.empty(), "reading wrote output");
  return 0;
}

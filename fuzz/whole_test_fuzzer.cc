// Fuzzes a whole test in process: any bytes as standard input, read in chunks
// of any size, with any seed, on a terminal or not, and with reads or writes
// that may fail. At every read the test state must make sense, and the run
// must end with the verdict, at the end of input, or with the diagnostic of
// the failure.
//
// Input: four bytes of seed, a byte for the chunk size, a byte of flags, then
// standard input.

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>

#include "console/console_io.h"
#include "console/platform.h"
#include "fuzz/fuzz_check.h"
#include "quiz/test_driver.h"
#include "tests/fake_streams.h"
#include "tests/fresh_state.h"
#include "tests/transcript.h"

namespace {

enum class Fault { None, ReadFails, WriteFails };

struct Run {
  std::uint32_t seed = 0;
  std::size_t bytes_per_read = std::size_t{1} << 20;
  bool terminal = false;
  Fault fault = Fault::None;
  std::string input;
};

Run run_from(const std::uint8_t* data, std::size_t size) {
  Run run;
  if (size >= 6) {
    for (int byte = 0; byte < 4; ++byte) run.seed |= std::uint32_t{data[byte]} << (8 * byte);
    run.bytes_per_read = data[4] == 0 ? run.bytes_per_read : data[4];
    run.terminal = (data[5] & 1) != 0;
    run.fault = static_cast<Fault>(((data[5] >> 1) & 3) % 3);
    data += 6;
    size -= 6;
  }
  run.input.assign(reinterpret_cast<const char*>(data), size);
  return run;
}

int questions_asked() { return static_cast<int>(std::count(ASKED.begin(), ASKED.end(), 1)); }

// The rules the test state keeps whenever the program waits for input.
void check_state(std::array<std::int32_t, 11>& question_of_turn) {
  require(SCORE >= 0 && SCORE <= 30, "SCORE is out of 0 to 30");
  require(questions_asked() <= 10, "more than ten questions were asked");
  if (COUNTER < 1 || COUNTER > 10) return;  // start-up or report
  require(ATT >= 1, "ATT is below 1 in a question");
  require(QUESTION >= 1 && QUESTION <= 15 && ASKED[QUESTION] == 1, "QUESTION was not marked asked");
  require(questions_asked() == COUNTER, "a question was asked twice, or one went unmarked");
  require(SCORE <= 3 * (COUNTER - 1), "SCORE is more than the questions before could earn");
  std::int32_t& question = question_of_turn[COUNTER];
  require(question == 0 || question == QUESTION, "the question changed within a turn");
  question = QUESTION;
}

// In-memory streams that check the test state at every read, and fail a read
// or every write if asked.
class CheckedStreams final : public console::Streams {
 public:
  explicit CheckedStreams(const Run& run) : fake_(run.input) {
    fake_.bytes_per_read = run.bytes_per_read;
    fake_.terminal = run.terminal;
    fake_.read_failure = run.fault == Fault::ReadFails ? EIO : 0;
    fake_.write_failure = run.fault == Fault::WriteFails ? ENOSPC : 0;
  }

  console::ReadResult read_input(std::span<char> buffer) override {
    check_state(question_of_turn_);
    return fake_.read_input(buffer);
  }
  int write_output(std::string_view bytes) override { return fake_.write_output(bytes); }
  void write_error(std::string_view text) override { fake_.write_error(text); }
  bool output_is_terminal() override { return fake_.output_is_terminal(); }
  [[noreturn]] void exit(int status) override { fake_.exit(status); }

  const FakeStreams& fake() const { return fake_; }

 private:
  FakeStreams fake_;
  std::array<std::int32_t, 11> question_of_turn_{};
};

// The most output any consumed input can bring: a screen per byte, and the
// start-up and the report.
bool output_is_bounded(std::size_t output, std::size_t consumed) {
  constexpr std::size_t LARGEST_SCREEN = 2048;
  return output <= LARGEST_SCREEN * (consumed + 4);
}

bool ends_with_verdict(std::string_view output) {
  const std::string line_end(platform::LINE_END);
  const char* const verdicts[] = {"Oof... Better study!", "Good job!",
                                  "WOW! PERFECT! You must be a wizard!"};
  return std::any_of(std::begin(verdicts), std::end(verdicts),
                     [&](const char* verdict) { return output.ends_with(verdict + line_end); });
}

void check_ending(const Run& run, int status, const FakeStreams& streams) {
  const std::string_view errors = streams.errors;
  if (status == 0) {
    require(COUNTER == 11 && questions_asked() == 10, "the test ended before ten questions");
    require(ends_with_verdict(streams.output), "a completed test did not end with its verdict");
  } else if (status == console::UNFINISHED_STATUS) {
    require(errors == UNFINISHED_LINE, "the end of input was not reported in one line");
  } else {
    const int expected = run.fault == Fault::ReadFails ? EIO : ENOSPC;
    require(run.fault != Fault::None && status == expected, "the status is no error that occurred");
    require(errors.starts_with("Runtime error " + std::to_string(expected) + " at $"),
            "a failure was not reported with its error number");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Run run = run_from(data, size);
  use_fresh_state();
  CheckedStreams streams(run);
  console::use_streams(streams);
  int status = 0;
  try {
    run_test(run.seed);
  } catch (const FakeExit& exit) {
    status = exit.status;
  }
  const FakeStreams& fake = streams.fake();
  require(fake.read_position <= run.input.size(), "more was read than the input holds");
  require(output_is_bounded(fake.output.size(), fake.read_position), "output outgrew the input");
  check_ending(run, status, fake);
  return 0;
}

#include "console/console_io.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <limits>
#include <regex>
#include <string>

#include "console/platform.h"
#include "tests/fake_streams.h"
#include "tests/transcript.h"

namespace {

using std::string_literals::operator""s;

const std::string CTRL_Z = "\x1A";

// Input, the reads done on it ('A' READANSWER, 'W' WAITENTER), the answers
// READANSWER gives, and the status the run ends with (-1: it just returns).
struct LineCase {
  const char* name;
  std::string input;
  std::string reads;
  std::string answers;
  int status;
};

const LineCase LINE_CASES[] = {
    {"first byte of a line, rest discarded", "cab\nx\n", "AA", "cx", -1},
    {"leading space is the answer", " c\nd\n", "AA", " d", -1},
    {"CR LF lines one at a time", "c\r\n\r\nd\r\n", "AWA", "cd", -1},
    {"empty CR LF line gives its CR", "\r\nc\r\n", "AA", "\rc", -1},
    {"empty LF line ends at its LF", "\nc\n", "AA", "\nc", -1},
    {"lone CR ends an empty line", "\rc\n", "AA", "\rc", -1},
    {"lone CR ends a line", "ab\rc\n", "AA", "ac", -1},
    {"pauses take one line each", "abc\r\nd\rx\n\ny\n", "WWWWA", "y", -1},
    {"ctrl-z is an answer byte", CTRL_Z + "\nc\n", "AA", CTRL_Z + "c", -1},
    {"skip stops in front of ctrl-z", "a" + CTRL_Z + "b\nc\n", "AAA", "a" + CTRL_Z + "c", -1},
    {"pause stops in front of ctrl-z", CTRL_Z + "c\n", "WWA", CTRL_Z, -1},
    {"a long line costs one answer", std::string(300000, 'x') + "\nc\n", "AA", "xc", -1},
    {"a long line costs one pause", "\n" + std::string(300000, 'x') + "\r\nc", "WWA", "c", -1},
    {"no input at an answer", "", "A", "", console::UNFINISHED_STATUS},
    {"no input at a pause", "", "W", "", console::UNFINISHED_STATUS},
    {"last line without a line end", "c", "AA", "c", console::UNFINISHED_STATUS},
    {"pause on a last line without a line end", "abc", "WA", "", console::UNFINISHED_STATUS},
    {"input ends after the pause's line", "abc", "WW", "", console::UNFINISHED_STATUS},
    {"input ends after a CR", "\r", "AA", "\r", console::UNFINISHED_STATUS},
};

std::string run_reads(FakeStreams& streams, const LineCase& line_case, int& status) {
  std::string answers;
  status = run_on(streams, [&] {
    for (const char read : line_case.reads) {
      if (read == 'A') {
        answers += READANSWER();
      } else {
        WAITENTER();
      }
    }
  });
  return answers;
}

TEST(ConsoleInput, LinesAreReadAsTyped) {
  for (const LineCase& line_case : LINE_CASES) {
    // A terminal delivers little at a time, a file a lot: neither may matter.
    for (const std::size_t bytes_per_read : {std::size_t{1}, std::size_t{1} << 20}) {
      SCOPED_TRACE(line_case.name + " with reads of "s + std::to_string(bytes_per_read));
      FakeStreams streams(line_case.input);
      streams.bytes_per_read = bytes_per_read;
      int status = 0;
      EXPECT_EQ(run_reads(streams, line_case, status), line_case.answers);
      EXPECT_EQ(status, line_case.status);
    }
  }
}

TEST(ConsoleInput, LoneCrEndsALineWithoutWaitingForMore) {
  FakeStreams streams("c\r\nd\n");
  streams.bytes_per_read = 2;
  std::string answers;
  run_on(streams, [&] {
    answers += READANSWER();
    EXPECT_EQ(streams.calls.size(), 1U);
    answers += READANSWER();
  });
  EXPECT_EQ(answers, "cd");
}

TEST(ConsoleInput, EndOfInputStopsWithOneLine) {
  FakeStreams streams("");
  EXPECT_EQ(run_on(streams,
                   [] {
                     WRITEPROMPT("Ready?");
                     WAITENTER();
                   }),
            console::UNFINISHED_STATUS);
  EXPECT_EQ(streams.output, "Ready?");
  EXPECT_EQ(streams.errors, UNFINISHED_LINE);
}

TEST(ConsoleInput, ExpectedEndOfInputEndsAPauseQuietly) {
  FakeStreams streams("c");
  EXPECT_EQ(run_on(streams,
                   [] {
                     READANSWER();
                     console::expect_end_of_input();
                     WAITENTER();
                     WAITENTER();
                   }),
            -1);
  EXPECT_EQ(streams.errors, "");
}

TEST(ConsoleOutput, NumbersInDecimal) {
  const struct {
    std::int32_t value;
    const char* digits;
  } cases[] = {{0, "0"},
               {30, "30"},
               {7, "7"},
               {-1, "-1"},
               {std::numeric_limits<std::int32_t>::max(), "2147483647"},
               {std::numeric_limits<std::int32_t>::min(), "-2147483648"}};
  for (const auto& number : cases) {
    FakeStreams streams;
    run_on(streams, [&] { WRITENUMBER(number.value); });
    EXPECT_EQ(streams.output, number.digits);
  }
}

TEST(ConsoleOutput, TextsGoOutByteForByte) {
  FakeStreams streams;
  run_on(streams, [] {
    WRITEPROMPT("earned ");
    WRITENUMBER(24);
    WRITELINE(" points");
    WRITELINE("");
    WRITELINE("\x87\x9D\xA4\xB9\xC3 ");
  });
  const std::string line_end(platform::LINE_END);
  EXPECT_EQ(streams.output,
            "earned 24 points" + line_end + line_end + "\x87\x9D\xA4\xB9\xC3 " + line_end);
}

TEST(ConsoleOutput, ClearingIs300LineEndsAndNothingElse) {
  FakeStreams streams;
  run_on(streams, [] { CLEARSCREEN(); });
  std::string expected;
  for (int line = 0; line < 300; ++line) expected += platform::LINE_END;
  EXPECT_EQ(streams.output, expected);
}

TEST(ConsoleOutput, TerminalSeesAWholeScreenInOneWriteBeforeEachWait) {
  FakeStreams streams("c\n\n");
  streams.terminal = true;
  streams.bytes_per_read = 2;
  run_on(streams, [] {
    CLEARSCREEN();
    WRITELINE("Module 4c");
    WRITEPROMPT("Answer?");
    READANSWER();
    WRITELINE("That's correct!");
    WAITENTER();
  });
  const std::vector<std::string> expected = {"write", "read", "write", "read"};
  EXPECT_EQ(streams.calls, expected);
}

TEST(ConsoleOutput, PipeIsWrittenWhenTheBufferFillsAndAtTheEnd) {
  FakeStreams streams("\n");
  const std::string line(200, 'x');
  run_on(streams, [&] {
    WRITEPROMPT("Ready?");
    WAITENTER();
    for (int count = 0; count < 1000; ++count) WRITELINE(line);
  });
  EXPECT_EQ(streams.calls.front(), "read");
  EXPECT_GT(streams.calls.size(), 2U);
  EXPECT_LT(streams.calls.size(), 10U);
  EXPECT_EQ(streams.output.size(), 6 + 1000 * (200 + platform::LINE_END.size()));
}

// A named caller, so that the trace can be seen to name it.
void show_prompt_and_wait() {
  WRITEPROMPT("Ready?");
  WAITENTER();
}

struct FailureCase {
  const char* name;
  bool terminal;
  int read_error;
  int write_error;
  int status;
  const char* trace;
};

const FailureCase FAILURE_CASES[] = {
    {"read fails", false, EIO, 0, EIO,
     "  reading standard input failed in WAITENTER: Input/output error\n"
     "  WAITENTER was called by show_prompt_and_wait\n"},
    {"terminal write before the wait fails", true, 0, EBADF, EBADF,
     "  writing standard output failed in WAITENTER: Bad file descriptor\n"
     "  WAITENTER was called by show_prompt_and_wait\n"},
    {"pipe write at the end fails", false, 0, ENOSPC, ENOSPC,
     "  writing standard output failed in flush_output: No space left on device\n"
     "  flush_output was called by run_on\n"},
    {"error numbers beyond a status", false, 300, 0, 255, "  reading standard input failed"},
};

TEST(ConsoleFailure, EndsWithTheErrorNumberAndATrace) {
  for (const FailureCase& failure : FAILURE_CASES) {
    SCOPED_TRACE(failure.name);
    FakeStreams streams(failure.read_error != 0 ? "" : "\n");
    streams.terminal = failure.terminal;
    streams.read_failure = failure.read_error;
    streams.write_failure = failure.write_error;
    EXPECT_EQ(run_on(streams, show_prompt_and_wait), failure.status);
    const int error = failure.read_error + failure.write_error;
    EXPECT_TRUE(streams.errors.starts_with("Runtime error " + std::to_string(error) + " at $"))
        << streams.errors;
    EXPECT_NE(streams.errors.find(failure.trace), std::string::npos) << streams.errors;
  }
}

TEST(ConsoleFailure, AddressIsSixteenHexDigits) {
  FakeStreams streams;
  streams.read_failure = EIO;
  run_on(streams, [] { READANSWER(); });
  const std::string first_line = streams.errors.substr(0, streams.errors.find('\n'));
  EXPECT_TRUE(std::regex_match(first_line, std::regex("Runtime error 5 at \\$[0-9A-F]{16}")))
      << first_line;
}

TEST(ConsoleFailure, ReadFailureStillDeliversWhatWasWritten) {
  FakeStreams streams;
  streams.read_failure = EIO;
  run_on(streams, show_prompt_and_wait);
  EXPECT_EQ(streams.output, "Ready?");
}

}  // namespace

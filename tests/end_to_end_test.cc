// The real program on pipes and files.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <regex>
#include <string>

#include "console/platform.h"
#include "tests/quiz_process.h"
#include "tests/transcript.h"

namespace {

// Texts as the program writes them on this platform.
std::string shown(std::string_view text) { return with_line_end(text, platform::LINE_END); }

const std::string BANNER = shown(BANNER_LINE);
const std::string UNFINISHED(UNFINISHED_LINE);

// Answers without knowing the draw: the letters a to d in turn, each followed
// by a pause line. Every question is right within four answers, and the turn
// of letters carries on into the next question, so forty answers always do.
std::string any_draw_answers(std::string_view line_end) {
  std::string lines;
  for (int line = 0; line < 3; ++line) lines += line_end;
  for (int answer = 0; answer < 40; ++answer) {
    lines += static_cast<char>('a' + answer % 4);
    lines += line_end;
    lines += line_end;
  }
  return lines;
}

int count_of(std::string_view text, std::string_view part) {
  int count = 0;
  for (std::size_t at = text.find(part); at != std::string_view::npos; at = text.find(part, at + 1))
    ++count;
  return count;
}

// Whether output is a whole test: ten questions and a report with a verdict,
// and every line end the platform's own.
bool is_whole_test(const std::string& output) {
  static const std::regex report(
      shown("The test is over\\. You earned ([0-9]|[12][0-9]|30) points out of 30!\n"
            "(Oof\\.\\.\\. Better study!|Good job!|WOW! PERFECT! You must be a wizard!)\n$"));
  return output.starts_with(BANNER) && count_of(output, shown(RIGHT_LINE)) == 10 &&
         count_of(output, "\n") == count_of(output, platform::LINE_END) &&
         std::regex_search(output, report);
}

enum class Expect { WholeTest, BannerOnly, StopsInAQuestion, Anything };

struct ProcessCase {
  const char* name;
  std::string input;
  InputFrom from;
  OutputTo to;
  int status;
  std::string errors;  // a regular expression for all of standard error
  Expect output;
  std::vector<std::string> arguments = {};
};

const std::string WHOLE = any_draw_answers("\n");

// A whole test whose first question first gets a Ctrl-Z and a 0xFF as wrong
// answers: bytes a C runtime in text mode would take as end of file or mangle.
const std::string WHOLE_WITH_RAW_BYTES = "\n\n\n\x1A\n\n\xFF\n\n" + WHOLE.substr(3);

// The diagnostic of a failed write, with error as its reason.
std::string write_failure(int error) {
  return "Runtime error " + std::to_string(error) +
         " at \\$[0-9A-F]{16}\n  writing standard output failed in [A-Za-z_]+: " +
         std::strerror(error) + "\n(.|\n)*";
}

const ProcessCase PROCESS_CASES[] = {
    {"whole test through pipes", WHOLE, InputFrom::Pipe, OutputTo::Pipe, 0, "", Expect::WholeTest},
    {"whole test from and to files", WHOLE, InputFrom::File, OutputTo::File, 0, "",
     Expect::WholeTest},
    {"CR LF input lines", any_draw_answers("\r\n"), InputFrom::Pipe, OutputTo::Pipe, 0, "",
     Expect::WholeTest},
    {"CR LF input lines from a file", any_draw_answers("\r\n"), InputFrom::File, OutputTo::File, 0,
     "", Expect::WholeTest},
    {"arguments are ignored",
     WHOLE,
     InputFrom::Pipe,
     OutputTo::Pipe,
     0,
     "",
     Expect::WholeTest,
     {"--help", "-x"}},
    {"no input at all", "", InputFrom::Pipe, OutputTo::Pipe, 2, UNFINISHED, Expect::BannerOnly},
    {"empty input file", "", InputFrom::File, OutputTo::File, 2, UNFINISHED, Expect::BannerOnly},
    {"input ends in a question", "\n\n\n", InputFrom::Pipe, OutputTo::Pipe, 2, UNFINISHED,
     Expect::StopsInAQuestion},
    {"input ends in a question, from a file", "\n\n\nq\n\n", InputFrom::File, OutputTo::File, 2,
     UNFINISHED, Expect::StopsInAQuestion},
    {"ctrl-z and 0xFF through pipes", WHOLE_WITH_RAW_BYTES, InputFrom::Pipe, OutputTo::Pipe, 0, "",
     Expect::WholeTest},
    {"ctrl-z and 0xFF from a file", WHOLE_WITH_RAW_BYTES, InputFrom::File, OutputTo::File, 0, "",
     Expect::WholeTest},
    {"output on a full disk", WHOLE, InputFrom::Pipe, OutputTo::FullDevice, ENOSPC,
     write_failure(ENOSPC), Expect::Anything},
    {"output full when input ends", "", InputFrom::Pipe, OutputTo::FullDevice, ENOSPC,
     write_failure(ENOSPC), Expect::Anything},
    {"output closed", WHOLE, InputFrom::File, OutputTo::ClosedStream, EBADF, write_failure(EBADF),
     Expect::Anything},
    {"output pipe without a reader", WHOLE, InputFrom::Pipe, OutputTo::PipeWithoutReader, EPIPE,
     write_failure(EPIPE), Expect::Anything},
};

TEST(EndToEnd, PipesAndFiles) {
  for (const ProcessCase& process : PROCESS_CASES) {
    if (process.to == OutputTo::FullDevice && !has_full_device()) continue;
    SCOPED_TRACE(process.name);
    const Finished finished = run_quiz(process.input, process.from, process.to, process.arguments);
    EXPECT_EQ(finished.status, process.status);
    EXPECT_TRUE(std::regex_match(finished.errors, std::regex(process.errors))) << finished.errors;
    switch (process.output) {
      case Expect::WholeTest:
        EXPECT_TRUE(is_whole_test(finished.output)) << finished.output;
        break;
      case Expect::BannerOnly:
        EXPECT_EQ(finished.output, BANNER);
        break;
      case Expect::StopsInAQuestion:
        EXPECT_NE(question_ending(finished.output, platform::LINE_END), 0) << finished.output;
        break;
      case Expect::Anything:
        break;
    }
  }
}

TEST(EndToEnd, OutputIsByteExact) {
  // Seeded from the clock, the draw is unknown: each question on screen is
  // compared with the one expected, high bytes and line ends included.
  const Finished finished = run_quiz(WHOLE, InputFrom::Pipe, OutputTo::Pipe);
  ASSERT_EQ(finished.status, 0);
  const std::string cleared = shown(cleared_screen());
  int compared = 0;
  for (std::size_t at = finished.output.find(cleared); at != std::string::npos;
       at = finished.output.find(cleared, at + 1)) {
    const std::string_view rest = std::string_view{finished.output}.substr(at + cleared.size());
    for (int number = 1; number <= 15; ++number) {
      if (rest.starts_with(shown(expected_question(number).screen))) ++compared;
    }
  }
  EXPECT_GE(compared, 10);
}

TEST(EndToEnd, TraceNamesTheOperationAndItsCaller) {
  const Finished finished = run_quiz(WHOLE, InputFrom::Pipe, OutputTo::PipeWithoutReader);
  EXPECT_NE(finished.errors.find(std::string("in flush_output: ") + std::strerror(EPIPE) +
                                 "\n"
                                 "  flush_output was called by report\n"),
            std::string::npos)
      << finished.errors;
}

TEST(EndToEnd, ALongLineCostsNoMoreMemoryThanAShortOne) {
  // The line is typed at the first pause, and a whole test follows.
  const Finished short_line = run_quiz(GeneratedInput{"", 'x', 1, WHOLE}, OutputTo::Pipe);
  const Finished long_line = run_quiz(GeneratedInput{"", 'x', 64 << 20, WHOLE}, OutputTo::Pipe);
  EXPECT_EQ(short_line.status, 0);
  EXPECT_EQ(long_line.status, 0);
  EXPECT_TRUE(is_whole_test(long_line.output));
  if (short_line.peak_kib <= 0) {
    GTEST_SKIP() << "the peak memory of an ended program is not known here (Wine reports none)";
  }
  EXPECT_LT(long_line.peak_kib, short_line.peak_kib + 1024)
      << short_line.peak_kib << " KiB for a short line";
}

}  // namespace

// The real program, on pipes, files and a terminal.

#include <gtest/gtest.h>

#include <cerrno>
#include <regex>
#include <string>

#include "tests/quiz_process.h"
#include "tests/transcript.h"

namespace {

const std::string BANNER = "Program to review programing by Quennavirth v1.0 6/1/17\n";
const std::string UNFINISHED = "review-quiz: input ended before the test was finished\n";

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

// Whether output is a whole test: ten questions and a report with a verdict.
bool is_whole_test(const std::string& output) {
  static const std::regex report(
      "The test is over\\. You earned ([0-9]|[12][0-9]|30) points out of 30!\n"
      "(Oof\\.\\.\\. Better study!|Good job!|WOW! PERFECT! You must be a wizard!)\n$");
  return output.starts_with(BANNER) && count_of(output, RIGHT_LINE) == 10 &&
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
const std::string RUNTIME_ERROR =
    "Runtime error [0-9]+ at \\$[0-9A-F]{16}\n  writing standard output failed in [A-Za-z_]+: ";

const ProcessCase PROCESS_CASES[] = {
    {"whole test through pipes", WHOLE, InputFrom::Pipe, OutputTo::Pipe, 0, "", Expect::WholeTest},
    {"whole test from and to files", WHOLE, InputFrom::File, OutputTo::File, 0, "",
     Expect::WholeTest},
    {"CR LF input lines", any_draw_answers("\r\n"), InputFrom::Pipe, OutputTo::Pipe, 0, "",
     Expect::WholeTest},
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
    {"output on a full disk", WHOLE, InputFrom::Pipe, OutputTo::FullDevice, ENOSPC,
     RUNTIME_ERROR + "No space left on device\n(.|\n)*", Expect::Anything},
    {"output full when input ends", "", InputFrom::Pipe, OutputTo::FullDevice, ENOSPC,
     RUNTIME_ERROR + "No space left on device\n(.|\n)*", Expect::Anything},
    {"output closed", WHOLE, InputFrom::File, OutputTo::ClosedStream, EBADF,
     RUNTIME_ERROR + "Bad file descriptor\n(.|\n)*", Expect::Anything},
    {"output pipe without a reader", WHOLE, InputFrom::Pipe, OutputTo::PipeWithoutReader, EPIPE,
     RUNTIME_ERROR + "Broken pipe\n(.|\n)*", Expect::Anything},
};

TEST(EndToEnd, PipesAndFiles) {
  for (const ProcessCase& process : PROCESS_CASES) {
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
        EXPECT_NE(question_ending(finished.output, "\n"), 0) << finished.output;
        break;
      case Expect::Anything:
        break;
    }
  }
}

TEST(EndToEnd, TraceNamesTheOperationAndItsCaller) {
  const Finished finished = run_quiz(WHOLE, InputFrom::Pipe, OutputTo::FullDevice);
  EXPECT_NE(finished.errors.find("in flush_output: No space left on device\n"
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
  EXPECT_LT(long_line.peak_kib, short_line.peak_kib + 1024)
      << short_line.peak_kib << " KiB for a short line";
}

// On a terminal a line ends in CR LF: the terminal adds the CR.
std::string on_terminal(std::string_view text) { return with_line_end(text, "\r\n"); }

// Gives the right answer to each of the ten questions as it appears.
void answer_every_question(TerminalSession& session) {
  for (int turn = 1; turn <= 10; ++turn) {
    int number = 0;
    ASSERT_TRUE(session.wait_for([&](std::string_view shown) {
      number = question_ending(shown, "\r\n");
      return number != 0;
    })) << "no question on screen in turn "
        << turn << ":\n"
        << session.seen;
    session.type(std::string(1, expected_question(number).right_letter) + "\r");
    ASSERT_TRUE(session.wait_for_end(on_terminal(RIGHT_LINE)));
    session.type("\r");
  }
}

const std::string PERFECT_REPORT = on_terminal(
    "The test is over. You earned 30 points out of 30!\nWOW! PERFECT! You must be a wizard!\n");

// Goes through the start-up as a person would: each reply is typed only once
// its prompt is on screen, and nothing is typed ahead.
void start_up(TerminalSession& session) {
  ASSERT_TRUE(session.wait_for_end(on_terminal(BANNER)));
  session.type("\r");
  ASSERT_TRUE(session.wait_for_end("\r\n\r\nReady to begin?"));
  session.type("no\r");
  ASSERT_TRUE(session.wait_for_end("no\r\nAll right, let's go!"));
  session.type("\r");
}

TEST(EndToEnd, WholeTestAtTheTerminal) {
  for (const char* last_key : {"\r", "\x04"}) {
    SCOPED_TRACE(last_key[0] == '\r' ? "Enter at the last pause" : "Ctrl-D at the last pause");
    TerminalSession session(InputFrom::Terminal);
    ASSERT_NO_FATAL_FAILURE(start_up(session));
    ASSERT_NO_FATAL_FAILURE(answer_every_question(session));
    ASSERT_TRUE(session.wait_for_end(PERFECT_REPORT)) << session.seen;
    session.type(last_key);
    EXPECT_EQ(session.wait(), 0);
    EXPECT_TRUE(session.seen.ends_with(PERFECT_REPORT + (last_key[0] == '\r' ? "\r\n" : "")));
  }
}

TEST(EndToEnd, InputPipeEndingAtTheLastPauseEndsTheTest) {
  TerminalSession session(InputFrom::Pipe);
  session.type("\n\n\n");
  ASSERT_NO_FATAL_FAILURE(answer_every_question(session));
  ASSERT_TRUE(session.wait_for_end(PERFECT_REPORT));
  session.end_input();
  EXPECT_EQ(session.wait(), 0);
  EXPECT_TRUE(session.seen.ends_with(PERFECT_REPORT));
}

TEST(EndToEnd, CtrlDInAQuestionStopsTheTest) {
  TerminalSession session(InputFrom::Terminal);
  session.type("\r\r\r");
  ASSERT_TRUE(
      session.wait_for([](std::string_view shown) { return question_ending(shown, "\r\n") != 0; }));
  session.end_input();
  EXPECT_EQ(session.wait(), 2);
  EXPECT_TRUE(session.seen.ends_with(on_terminal(UNFINISHED))) << session.seen;
}

}  // namespace

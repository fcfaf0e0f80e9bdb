// The real program at a terminal, as a person uses it.

#include <gtest/gtest.h>

#include <string>

#include "tests/quiz_process.h"
#include "tests/transcript.h"

namespace {

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
  ASSERT_TRUE(session.wait_for_end(on_terminal(BANNER_LINE)));
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
  EXPECT_TRUE(session.seen.ends_with(on_terminal(UNFINISHED_LINE))) << session.seen;
}

}  // namespace

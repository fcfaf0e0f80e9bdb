#include "quiz/questions.h"

#include <gtest/gtest.h>

#include <string>

#include "console/platform.h"
#include "tests/fake_streams.h"
#include "tests/fresh_state.h"
#include "tests/transcript.h"

namespace {

using Question = void (*)();
const Question QUESTIONS[] = {Q1, Q2, Q3, Q4, Q5, Q6, Q7, Q8, Q9, Q10, Q11, Q12, Q13, Q14, Q15};

// Asks question number as the driver does, on input; returns what it showed.
std::string ask(int number, const std::string& input) {
  use_fresh_state();
  ATT = 1;
  FakeStreams streams(input);
  EXPECT_EQ(run_on(streams, QUESTIONS[number - 1]), -1) << streams.errors;
  return streams.output;
}

std::string shown_for(int number, int attempts) {
  return with_line_end(question_screens(number, attempts), platform::LINE_END);
}

TEST(Questions, EachShowsItsScreenUntilItsLetterIsTyped) {
  for (int number = 1; number <= 15; ++number) {
    SCOPED_TRACE("Q" + std::to_string(number));
    const int attempts = expected_question(number).right_letter - 'a' + 1;
    EXPECT_EQ(ask(number, "a\n\nb\n\nc\n\nd\n\n"), shown_for(number, attempts));
    EXPECT_EQ(ATT, attempts);
    EXPECT_EQ(NINTENDA, 1);
    EXPECT_EQ(ASKED[number], 1);
    for (int other = 1; other <= 15; ++other) EXPECT_EQ(ASKED[other], other == number);
  }
}

TEST(Questions, RightLetterCountsInEitherCase) {
  for (int number = 1; number <= 15; ++number) {
    const char upper = static_cast<char>(expected_question(number).right_letter - 'a' + 'A');
    ask(number, std::string(1, upper) + "\n\n");
    EXPECT_EQ(ATT, 1) << "Q" << number;
  }
}

TEST(Questions, OnlyTheFirstByteOfTheRightLetterIsRight) {
  const struct {
    const char* line;
    int attempts;
  } answer_lines[] = {
      {"c", 1}, {"C", 1}, {"cat", 1}, {"b", 2},    {" c", 2},
      {"3", 2}, {"", 2},  {"\r", 2},  {"\x1A", 2}, {"\xE3", 2},
  };
  for (const auto& answer : answer_lines) {
    SCOPED_TRACE(std::string("answer line \"") + answer.line + "\"");
    EXPECT_EQ(ask(1, std::string(answer.line) + "\n\nc\n\n"), shown_for(1, answer.attempts));
    EXPECT_EQ(ATT, answer.attempts);
  }
}

TEST(Questions, TrueOrFalseTakeOnlyTheirLetter) {
  ask(12, "t\n\nT\n\nb\n\na\n\n");
  EXPECT_EQ(ATT, 4);
  ask(15, "f\n\nF\n\na\n\nb\n\n");
  EXPECT_EQ(ATT, 4);
}

TEST(Questions, LineAtThePauseIsNeverTheNextAnswer) {
  EXPECT_EQ(ask(1, "b\nc\nc\n\n"), shown_for(1, 2));
  EXPECT_EQ(ATT, 2);
}

TEST(Questions, ManyWrongAnswersKeepCounting) {
  std::string input;
  for (int wrong = 0; wrong < 1000; ++wrong) input += "x\n\n";
  ask(7, input + "B\n\n");
  EXPECT_EQ(ATT, 1001);
}

}  // namespace

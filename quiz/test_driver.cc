#include "quiz/test_driver.h"

#include <random>
#include <string_view>

#include "console/console_io.h"
#include "quiz/questions.h"

char ANSWER = 0;
std::int32_t QUESTION = 0;
std::int32_t NINTENDA = 0;
std::int32_t COUNTER = 0;
std::int32_t ATT = 0;
std::int32_t SCORE = 0;
std::array<std::int32_t, 16> ASKED{};

namespace {

constexpr std::int32_t BANK_SIZE = 15;
constexpr std::int32_t TURNS = 10;

// Question number to procedure; entry 0 is unused, as in ASKED.
constexpr void (*const QUESTIONS[])() = {
    nullptr, Q1, Q2, Q3, Q4, Q5, Q6, Q7, Q8, Q9, Q10, Q11, Q12, Q13, Q14, Q15,
};

std::mt19937 random_source;

// Maps the next 32-bit output onto 0 to 14 by multiplying and shifting.
std::int32_t draw_below_bank_size() {
  const std::uint64_t output = random_source();
  return static_cast<std::int32_t>((output * BANK_SIZE) >> 32);
}

// The banner and the three pauses before the first question.
void start_up() {
  WRITELINE("Program to review programing by Quennavirth v1.0 6/1/17");
  WAITENTER();
  WRITELINE("");
  WRITELINE("");
  WRITEPROMPT("Ready to begin?");
  WAITENTER();
  WRITEPROMPT("All right, let's go!");
  WAITENTER();
  CLEARSCREEN();
  for (COUNTER = 1; COUNTER <= BANK_SIZE; ++COUNTER) ASKED[COUNTER] = 0;
}

// Draws until it finds a question not yet asked in this test.
void draw_question() {
  do {
    QUESTION = draw_below_bank_size() + 1;
    NINTENDA = ASKED[QUESTION] == 1 ? 0 : 1;
  } while (NINTENDA != 1);
}

void take_turn() {
  ATT = 1;
  draw_question();
  NINTENDA = 0;
  QUESTIONS[QUESTION]();
  POINTS();
}

std::string_view verdict() {
  if (SCORE <= 15) return "Oof... Better study!";
  if (SCORE == 30) return "WOW! PERFECT! You must be a wizard!";
  return "Good job!";
}

// The total and the verdict, and a last pause; input may end at that pause.
void report() {
  CLEARSCREEN();
  WRITEPROMPT("The test is over. You earned ");
  WRITENUMBER(SCORE);
  WRITELINE(" points out of 30!");
  WRITELINE(verdict());
  console::expect_end_of_input();
  WAITENTER();
  console::flush_output();
}

}  // namespace

void POINTS() {
  switch (ATT) {
    case 1:
      SCORE += 3;
      break;
    case 2:
      SCORE += 2;
      break;
    case 3:
      SCORE += 1;
      break;
    default:
      break;
  }
}

void run_test(std::uint32_t seed) {
  random_source.seed(seed);
  start_up();
  for (COUNTER = 1; COUNTER <= TURNS; ++COUNTER) take_turn();
  report();
}

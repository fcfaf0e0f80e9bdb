#pragma once

// The course of one test, its scoring, and the test state it shares with the
// questions. The state is zero when the process starts.

#include <array>
#include <cstdint>

// The answer byte last read.
extern char ANSWER;
// Number of the question drawn for the current turn, 1 to 15.
extern std::int32_t QUESTION;
// During the draw: 1 if the drawn question is new. During a question: 1 once
// it has been answered correctly.
extern std::int32_t NINTENDA;
// Loop counter of the test.
extern std::int32_t COUNTER;
// Attempt number of the current question: 1, plus 1 for each wrong answer.
extern std::int32_t ATT;
// Points earned so far, 0 to 30.
extern std::int32_t SCORE;
// Entry n is 1 once question n has been asked; entry 0 is unused.
extern std::array<std::int32_t, 16> ASKED;

// Adds the points the current question earned, by its attempts, to SCORE.
void POINTS();

// Gives one whole test, from the banner to the pause after the verdict, with
// the questions drawn by a random source seeded with seed.
void run_test(std::uint32_t seed);

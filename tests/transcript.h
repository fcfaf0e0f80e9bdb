#pragma once

// What the quiz must show, written out independently of the program: the bank
// as its screens read, and the screens of a test put together from it. Texts
// use "\n" for the line end; with_line_end() turns them into another.

#include <string>
#include <string_view>
#include <vector>

// One question as the user sees it.
struct ExpectedQuestion {
  char right_letter;
  std::string_view screen;  // its lines, each ending in "\n"
};

// Question number (1 to 15) to its screen and right letter.
const ExpectedQuestion& expected_question(int number);

// The question whose whole screen shown ends with, or 0.
int question_ending(std::string_view shown, std::string_view line_end);

inline constexpr std::string_view BANNER_LINE =
    "Program to review programing by Quennavirth v1.0 6/1/17\n";
inline constexpr std::string_view RIGHT_LINE = "That's correct! Press 'enter' to continue.\n";
inline constexpr std::string_view WRONG_LINE = "Sorry. Incorrect. Press 'enter' to try again.\n";

// What standard error says when input ends before the test is over.
inline constexpr std::string_view UNFINISHED_LINE =
    "review-quiz: input ended before the test was finished\n";

// 300 empty lines.
std::string cleared_screen();

// The banner, the readiness prompts and the first clearing.
std::string start_up_screens();

// All that one question shows when it is answered right at attempt attempts.
std::string question_screens(int number, int attempts);

// The score line and verdict, after a clearing.
std::string report_screen(int score, std::string_view verdict);

// Input lines that answer question number right at attempt attempts, each
// answer followed by the line for its pause.
std::string answers(int number, int attempts);

// Input for a test drawn in order, each question answered at its attempts.
std::string test_input(const std::vector<int>& order, const std::vector<int>& attempts);

// text with each "\n" replaced by line_end.
std::string with_line_end(std::string_view text, std::string_view line_end);

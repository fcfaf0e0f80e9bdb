#include "quiz/questions.h"

#include <cstdint>
#include <span>
#include <string_view>

#include "console/console_io.h"
#include "quiz/test_driver.h"

namespace {

using Lines = std::span<const std::string_view>;

constexpr std::string_view RIGHT_FEEDBACK = "That's correct! Press 'enter' to continue.";
constexpr std::string_view WRONG_FEEDBACK = "Sorry. Incorrect. Press 'enter' to try again.";

// The right letter counts in either case; every other byte is wrong.
bool is_right(char answer, char right_letter) {
  const char upper_case = static_cast<char>(right_letter - 'a' + 'A');
  return answer == right_letter || answer == upper_case;
}

// The shape all questions share: show the screen, read an answer, and say
// whether it was right, until it is.
void ask_until_right(std::int32_t number, Lines lines, char right_letter) {
  ASKED[number] = 1;
  do {
    CLEARSCREEN();
    for (const std::string_view line : lines) WRITELINE(line);
    ANSWER = READANSWER();
    if (is_right(ANSWER, right_letter)) {
      WRITELINE(RIGHT_FEEDBACK);
      WAITENTER();
      NINTENDA = 1;
    } else {
      ATT += 1;
      WRITELINE(WRONG_FEEDBACK);
      WAITENTER();
    }
  } while (NINTENDA != 1);
}

}  // namespace

void Q1() {
  static constexpr std::string_view LINES[] = {
      "Module 4c",
      "An array is a _____",
      "a. Group of writeln's",
      "b. Group of functions",
      "c. Group of variables",
      "d. group of people",
  };
  ask_until_right(1, LINES, 'c');
}

void Q2() {
  static constexpr std::string_view LINES[] = {
      "Module 4a", "Can you change a counter inside loop.",      "a. Yes",
      "b. No",     "c. Only in While do and repeat until loops", "d. Only during a blue moon",
  };
  ask_until_right(2, LINES, 'c');
}

void Q3() {
  static constexpr std::string_view LINES[] = {
      "Module 2a",
      "What does the 'mod' function do?",
      "a. Figures out the remainder from a division problem.",
      "b. Calls a Moderator.",
      "c. Modifies the program in some way.",
      "d. Tells the computer that you are bad at spelling 'Monday'.",
  };
  ask_until_right(3, LINES, 'a');
}

void Q4() {
  static constexpr std::string_view LINES[] = {
      "Module 5b",
      "What is a switch?",
      "a. How you control the lights.",
      "b. The thing train people use to swap track.",
      "c. A slender flexible shoot cut from a tree.",
      "d. A longint variable used to simulate 'on' and 'off'.",
  };
  ask_until_right(4, LINES, 'd');
}

// Options c of Q5 and Q6, d of Q6 and the character in Q7 are single bytes
// above 0x7F, written as they are: their look is the console code page's.

void Q5() {
  static constexpr std::string_view LINES[] = {
      "Module 3a",
      "What is this character? (You may pull up the ASCII chart)",
      "char(ord(4)+70);",
      "a. J",
      "b. b",
      "c. \xC3\x87",
      "d. z",
  };
  ask_until_right(5, LINES, 'd');
}

void Q6() {
  static constexpr std::string_view LINES[] = {
      "Module 3a",
      "What is this character? (You may pull up the ASCII chart)",
      "char(ord(h)-29);",
      "a. L",
      "b. K",
      "c. \xB9",
      "d. \xA4",
  };
  ask_until_right(6, LINES, 'b');
}

// The answer rests on the byte's value: 157 - 67 is 90.
void Q7() {
  static constexpr std::string_view LINES[] = {
      "Module 3a",
      "What is this number? (You may pull up the ASCII chart)",
      "ord(\x9D)-ord(C);",
      "a. 87",
      "b. 90",
      "c. 63",
      "d. 157",
  };
  ask_until_right(7, LINES, 'b');
}

void Q8() {
  static constexpr std::string_view LINES[] = {
      "Module 3e",
      "What does the delete function do?",
      "a. Causes the program to delete between slected letters",
      "b. Causes the program to delete a word",
      "c. Causes the computer to explode",
      "d. Causes the program to delete a variable",
  };
  ask_until_right(8, LINES, 'a');
}

void Q9() {
  static constexpr std::string_view LINES[] = {
      "Module 5c", "What is this number in decimal?", "01101011", "a. 1738", "b. 107", "c. 21",
      "d. '76",
  };
  ask_until_right(9, LINES, 'b');
}

void Q10() {
  static constexpr std::string_view LINES[] = {
      "Module 5e", "Which of the following is a factorial?", "a. nCr", "b. X!", "c. nPr ",
      "d. V=lwh",
  };
  ask_until_right(10, LINES, 'b');
}

void Q11() {
  static constexpr std::string_view LINES[] = {
      "Module 5c",   "What is this number in binary?",
      "186",         "a. 01010101",
      "b. 11111111", "c. 10111010",
      "d. 00011111",
  };
  ask_until_right(11, LINES, 'c');
}

void Q12() {
  static constexpr std::string_view LINES[] = {
      "Module 5d",
      "Is this the correct code for a King of the Hill?",
      "FOR counter:=1TO 10DO",
      "begin",
      "   IF(king<nums[counter])THEN",
      "   begin",
      "      king:=nums[counter];",
      "      nums[counter]:=0;",
      "   end;",
      "end;",
      "",
      "a. True",
      "b. False",
  };
  ask_until_right(12, LINES, 'a');
}

void Q13() {
  static constexpr std::string_view LINES[] = {
      "Module 7c",           "What is does 'crt' stand for?", "a. Crappy Rally Tires",
      "b. Cathode Ray Tube", "c. Circuit Redesign Terminal",  "d. Computer Readln Task",
  };
  ask_until_right(13, LINES, 'b');
}

void Q14() {
  static constexpr std::string_view LINES[] = {
      "Module 7c",
      "Uses crt; allows you to do what 2 things?",
      "a. Display color and play sound",
      "b. Listen to the user and see them",
      "c. Go to a mental asylum and feel at home",
      "d. Be a big annoyance and not know it",
  };
  ask_until_right(14, LINES, 'a');
}

void Q15() {
  static constexpr std::string_view LINES[] = {
      "Module 6c",
      "True or False: Formal Paramaters are categorized into Conflicts, Amounts, and Annonymi",
      "a. True",
      "b. False",
  };
  ask_until_right(15, LINES, 'b');
}

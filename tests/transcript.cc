#include "tests/transcript.h"

#include <array>

namespace {

const std::array<ExpectedQuestion, 15> BANK = {{
    {'c',
     "Module 4c\n"
     "An array is a _____\n"
     "a. Group of writeln's\n"
     "b. Group of functions\n"
     "c. Group of variables\n"
     "d. group of people\n"},
    {'c',
     "Module 4a\n"
     "Can you change a counter inside loop.\n"
     "a. Yes\n"
     "b. No\n"
     "c. Only in While do and repeat until loops\n"
     "d. Only during a blue moon\n"},
    {'a',
     "Module 2a\n"
     "What does the 'mod' function do?\n"
     "a. Figures out the remainder from a division problem.\n"
     "b. Calls a Moderator.\n"
     "c. Modifies the program in some way.\n"
     "d. Tells the computer that you are bad at spelling 'Monday'.\n"},
    {'d',
     "Module 5b\n"
     "What is a switch?\n"
     "a. How you control the lights.\n"
     "b. The thing train people use to swap track.\n"
     "c. A slender flexible shoot cut from a tree.\n"
     "d. A longint variable used to simulate 'on' and 'off'.\n"},
    {'d',
     "Module 3a\n"
     "What is this character? (You may pull up the ASCII chart)\n"
     "char(ord(4)+70);\n"
     "a. J\n"
     "b. b\n"
     "c. \xC3\x87\n"
     "d. z\n"},
    {'b',
     "Module 3a\n"
     "What is this character? (You may pull up the ASCII chart)\n"
     "char(ord(h)-29);\n"
     "a. L\n"
     "b. K\n"
     "c. \xB9\n"
     "d. \xA4\n"},
    {'b',
     "Module 3a\n"
     "What is this number? (You may pull up the ASCII chart)\n"
     "ord(\x9D)-ord(C);\n"
     "a. 87\n"
     "b. 90\n"
     "c. 63\n"
     "d. 157\n"},
    {'a',
     "Module 3e\n"
     "What does the delete function do?\n"
     "a. Causes the program to delete between slected letters\n"
     "b. Causes the program to delete a word\n"
     "c. Causes the computer to explode\n"
     "d. Causes the program to delete a variable\n"},
    {'b',
     "Module 5c\n"
     "What is this number in decimal?\n"
     "01101011\n"
     "a. 1738\n"
     "b. 107\n"
     "c. 21\n"
     "d. '76\n"},
    {'b',
     "Module 5e\n"
     "Which of the following is a factorial?\n"
     "a. nCr\n"
     "b. X!\n"
     "c. nPr \n"
     "d. V=lwh\n"},
    {'c',
     "Module 5c\n"
     "What is this number in binary?\n"
     "186\n"
     "a. 01010101\n"
     "b. 11111111\n"
     "c. 10111010\n"
     "d. 00011111\n"},
    {'a',
     "Module 5d\n"
     "Is this the correct code for a King of the Hill?\n"
     "FOR counter:=1TO 10DO\n"
     "begin\n"
     "   IF(king<nums[counter])THEN\n"
     "   begin\n"
     "      king:=nums[counter];\n"
     "      nums[counter]:=0;\n"
     "   end;\n"
     "end;\n"
     "\n"
     "a. True\n"
     "b. False\n"},
    {'b',
     "Module 7c\n"
     "What is does 'crt' stand for?\n"
     "a. Crappy Rally Tires\n"
     "b. Cathode Ray Tube\n"
     "c. Circuit Redesign Terminal\n"
     "d. Computer Readln Task\n"},
    {'a',
     "Module 7c\n"
     "Uses crt; allows you to do what 2 things?\n"
     "a. Display color and play sound\n"
     "b. Listen to the user and see them\n"
     "c. Go to a mental asylum and feel at home\n"
     "d. Be a big annoyance and not know it\n"},
    {'b',
     "Module 6c\n"
     "True or False: Formal Paramaters are categorized into Conflicts, Amounts, and Annonymi\n"
     "a. True\n"
     "b. False\n"},
}};

// A wrong letter for question number, different from one attempt to the next.
char wrong_letter(int number, int attempt) {
  const char right = expected_question(number).right_letter;
  char letter = static_cast<char>('a' + attempt % 4);
  return letter == right ? static_cast<char>('a' + (attempt + 1) % 4) : letter;
}

}  // namespace

const ExpectedQuestion& expected_question(int number) { return BANK.at(number - 1); }

int question_ending(std::string_view shown, std::string_view line_end) {
  for (int number = 1; number <= 15; ++number) {
    if (shown.ends_with(with_line_end(expected_question(number).screen, line_end))) return number;
  }
  return 0;
}

std::string cleared_screen() { return std::string(300, '\n'); }

std::string start_up_screens() {
  return std::string(BANNER_LINE) +
         "\n"
         "\n"
         "Ready to begin?All right, let's go!" +
         cleared_screen();
}

std::string question_screens(int number, int attempts) {
  std::string shown;
  for (int attempt = 1; attempt <= attempts; ++attempt) {
    shown += cleared_screen();
    shown += expected_question(number).screen;
    shown += attempt < attempts ? WRONG_LINE : RIGHT_LINE;
  }
  return shown;
}

std::string report_screen(int score, std::string_view verdict) {
  return cleared_screen() + "The test is over. You earned " + std::to_string(score) +
         " points out of 30!\n" + std::string(verdict) + "\n";
}

std::string answers(int number, int attempts) {
  std::string lines;
  for (int attempt = 1; attempt < attempts; ++attempt) {
    lines += wrong_letter(number, attempt);
    lines += "\n\n";
  }
  lines += expected_question(number).right_letter;
  lines += "\n\n";
  return lines;
}

std::string test_input(const std::vector<int>& order, const std::vector<int>& attempts) {
  std::string lines = "\n\n\n";
  for (std::size_t turn = 0; turn < order.size(); ++turn) {
    lines += answers(order[turn], attempts[turn]);
  }
  return lines + "\n";
}

std::string with_line_end(std::string_view text, std::string_view line_end) {
  std::string converted;
  for (const char byte : text) {
    if (byte == '\n') {
      converted += line_end;
    } else {
      converted += byte;
    }
  }
  return converted;
}

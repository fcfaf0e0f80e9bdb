#include "quiz/test_driver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/platform.h"
#include "tests/fake_streams.h"
#include "tests/fresh_state.h"
#include "tests/transcript.h"

namespace {

// The order in which a seed draws the questions: a standard MT19937 seeded
// with it, each output x taken to (x * 15 >> 32) + 1, repeats drawn again.
struct Draw {
  std::uint32_t seed;
  std::vector<int> order;
};

const Draw SEED_2017 = {2017, {1, 13, 12, 11, 7, 2, 14, 10, 5, 3}};
const Draw DRAWS[] = {
    SEED_2017,
    {5489, {13, 3, 14, 2, 15, 4, 10, 5, 9, 11}},  // twelve repeats drawn again
    {0, {9, 11, 13, 10, 7, 6, 5, 14, 1, 15}},
    {4294967295, {2, 14, 9, 12, 8, 1, 5, 15, 11, 3}},
};

struct TestRun {
  int status;
  std::string output;
  std::string errors;
};

TestRun take_test(std::uint32_t seed, const std::string& input) {
  use_fresh_state();
  FakeStreams streams(input);
  const int status = run_on(streams, [&] { run_test(seed); });
  return {status, streams.output, streams.errors};
}

std::string transcript(const Draw& draw, const std::vector<int>& attempts, int score,
                       std::string_view verdict) {
  std::string shown = start_up_screens();
  for (std::size_t turn = 0; turn < draw.order.size(); ++turn) {
    shown += question_screens(draw.order[turn], attempts[turn]);
  }
  return with_line_end(shown + report_screen(score, verdict), platform::LINE_END);
}

TEST(Points, ByAttempts) {
  const struct {
    std::int32_t attempts;
    std::int32_t points;
  } cases[] = {{1, 3}, {2, 2}, {3, 1}, {4, 0}, {5, 0}, {1000, 0}, {0, 0}, {-1, 0}};
  for (const auto& turn : cases) {
    SCORE = 10;
    ATT = turn.attempts;
    POINTS();
    EXPECT_EQ(SCORE, 10 + turn.points) << "ATT " << turn.attempts;
  }
}

TEST(WholeTest, EachSeedDrawsTenDistinctQuestionsInItsOrder) {
  const std::vector<int> first_time(10, 1);
  for (const Draw& draw : DRAWS) {
    SCOPED_TRACE("seed " + std::to_string(draw.seed));
    const TestRun run = take_test(draw.seed, test_input(draw.order, first_time));
    EXPECT_EQ(run.status, -1) << run.errors;
    EXPECT_EQ(run.output, transcript(draw, first_time, 30, "WOW! PERFECT! You must be a wizard!"));
    int asked = 0;
    for (int number = 1; number <= 15; ++number) asked += ASKED[number];
    EXPECT_EQ(asked, 10);
  }
}

TEST(WholeTest, ScoresAndVerdicts) {
  const struct {
    std::vector<int> attempts;
    int score;
    const char* verdict;
  } cases[] = {
      {{1, 2, 3, 4, 5, 1, 1, 2, 1, 3}, 18, "Good job!"},
      {{1, 1, 1, 1, 1, 1, 1, 1, 2, 1}, 29, "Good job!"},
      {{1, 1, 1, 1, 1, 3, 4, 4, 4, 4}, 16, "Good job!"},
      {{4, 1, 4, 1, 4, 1, 4, 1, 4, 1}, 15, "Oof... Better study!"},
      {{4, 4, 4, 4, 4, 4, 4, 4, 4, 9}, 0, "Oof... Better study!"},
  };
  for (const auto& scoring : cases) {
    SCOPED_TRACE(scoring.score);
    const TestRun run = take_test(SEED_2017.seed, test_input(SEED_2017.order, scoring.attempts));
    EXPECT_EQ(run.status, -1) << run.errors;
    EXPECT_EQ(run.output, transcript(SEED_2017, scoring.attempts, scoring.score, scoring.verdict));
    EXPECT_EQ(SCORE, scoring.score);
  }
}

TEST(WholeTest, InputMayEndAtTheLastPause) {
  std::string input = test_input(SEED_2017.order, std::vector<int>(10, 1));
  input.pop_back();
  const TestRun run = take_test(SEED_2017.seed, input);
  EXPECT_EQ(run.status, -1);
  EXPECT_EQ(run.errors, "");
  EXPECT_TRUE(run.output.ends_with(
      with_line_end("You earned 30 points out of 30!\nWOW! PERFECT! You must be a wizard!\n",
                    platform::LINE_END)));
}

TEST(WholeTest, InputEndingEarlierStopsTheTestAtOnce) {
  const std::string whole = test_input(SEED_2017.order, std::vector<int>(10, 2));
  for (const std::size_t length : {std::size_t{0}, std::size_t{2}, std::size_t{3}, std::size_t{4},
                                   whole.size() / 2, whole.size() - 2}) {
    SCOPED_TRACE("input cut to " + std::to_string(length) + " bytes");
    const TestRun run = take_test(SEED_2017.seed, whole.substr(0, length));
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.errors, UNFINISHED_LINE);
    EXPECT_EQ(run.output.find("The test is over."), std::string::npos);
  }
}

}  // namespace

// The striking report dialog after a touch rung by the real engine on a tower
// written by the test, with the user's blows on the tenor as synthetic taps:
// backstrokes late, handstrokes wandering either side, one place missed and
// one blow badly late. It saves a screenshot.
#include <gtest/gtest.h>

#include <QApplication>

#include <cmath>
#include <filesystem>
#include <sstream>

#include "engine/ringing_control.h"
#include "engine/striking_text.h"
#include "tests/engine/engine_fixture.h"
#include "tools/ring/headless_ringer.h"
#include "views/striking_chart.h"
#include "views/striking_dialog.h"

namespace clangor::testing {
namespace {

using StrikingDialogTest = EngineTest;

TEST_F(StrikingDialogTest, ATouchRungWithTapsShowsItsFiguresAndPicture) {
  WriteTower(8);
  StrikingAnalyser striking;
  ring::RingPlan plan;
  plan.tower = "Test";
  plan.roundsRows = 60;
  plan.ownBell = 7;
  plan.striking = &striking;
  plan.begin = [](RingingControl& control, int) {
    control.Start();
    return true;
  };
  std::ostringstream err;
  const ring::RingResult rung = ring::RingHeadless(plan, {}, err);
  ASSERT_EQ(rung.status, 0) << err.str();

  // The taps fall about where the tenor's blows belonged.
  const std::vector<DueBlow> due = striking.Due();
  const int places = static_cast<int>(due.size());
  ASSERT_GE(places, 60);
  for (int r = 0; r < places; ++r) {
    if (r == 22) continue;  // never struck
    double errorMs = due[r].handstroke ? 12 * std::sin(r * 0.7) - 4 : 30 + 10 * std::cos(r * 1.3);
    if (r == 39) errorMs = 75;
    striking.ownBlowStruck(7, due[r].instant + errorMs / 1000.0);
  }
  const StrikingAnalysis analysis = striking.Analyse();
  EXPECT_EQ(analysis.whole.missed, 1);
  EXPECT_EQ(analysis.whole.blows, places - 1);
  ASSERT_TRUE(analysis.worst.has_value());
  EXPECT_EQ(analysis.worst->row, 40);
  EXPECT_GT(analysis.back.meanMs, analysis.hand.meanMs + 20);

  StrikingDialog dialog;
  dialog.SetAnalysis(analysis, "Rounds on Test");
  dialog.show();
  QApplication::processEvents();
  EXPECT_TRUE(dialog.figuresText().contains("backstroke"));
  EXPECT_TRUE(dialog.figuresText().contains("Worst blow: row 40 backstroke"));
  EXPECT_GE(dialog.chart()->ScaleMs(), 80.0);  // the worst blow stays in the picture
  std::filesystem::create_directories(CLANGOR_SCREENSHOT_DIR);
  EXPECT_TRUE(dialog.grab().save(QString(CLANGOR_SCREENSHOT_DIR) + "/striking_report.png", "PNG"));
}

}  // namespace
}  // namespace clangor::testing

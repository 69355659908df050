#include <gtest/gtest.h>

#include "driver/Form1.h"
#include "support/fake_platform.h"

namespace {

TEST(WaitWindowDesign, IsTitledWithTheScenarioAndKeepsTheLabelOfTheDesign) {
  testing_support::fake_platform platform("/opt/sim");
  const Form1 shipped(platform);
  EXPECT_EQ(shipped.design.caption, "Brisena_Tarvo 47306");
  EXPECT_EQ(shipped.design.label_caption, "Attendere");
  EXPECT_EQ(shipped.design.label_font, "MS Sans Serif");

  const Form1 other(platform, model::scenario_identity{"Linea_Prova", "1234"});
  EXPECT_EQ(other.design.caption, "Linea_Prova 1234");
}

}  // namespace

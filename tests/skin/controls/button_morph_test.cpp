// The cross-fade between the normal and the hot face over virtual time, the rules that force
// its factor, and the frame animation.
#include "button_fixture.h"

#include <cmath>

#include "skin/draw/effect_bmp.h"

namespace lumoa::skin::button_test {
namespace {

class ButtonMorph : public ButtonTest {
 protected:
  // One 20 ms step of the morph timer.
  void Step() { Wait(20, 20); }
};

TEST_F(ButtonMorph, FiveStepsEachWay) {
  MakeButton("搜索");
  ASSERT_TRUE(Record().morphing);
  Hover();
  EXPECT_TRUE(button->MorphTimerRunning());
  EXPECT_EQ(button->MorphFactor(), 0);
  for (int i = 1; i <= 5; ++i) {
    Step();
    EXPECT_NEAR(button->MorphFactor(), 0.2 * i, 1e-9) << "step " << i;
  }
  EXPECT_EQ(button->MorphFactor(), 1.0);
  Step();  // the tick that finds nothing more to do stops the timer
  EXPECT_FALSE(button->MorphTimerRunning());
  EXPECT_EQ(button->MorphFactor(), 1.0);

  Leave();
  for (int i = 1; i <= 5; ++i) {
    Step();
    EXPECT_NEAR(button->MorphFactor(), 1 - 0.2 * i, 1e-9) << "step " << i;
  }
  EXPECT_EQ(button->MorphFactor(), 0.0);
  Step();
  EXPECT_FALSE(button->MorphTimerRunning());
}

TEST_F(ButtonMorph, IntermediateFrameIsTheBlendOfBothFaces) {
  MakeButton("搜索");
  TBitmap normal, hot;
  button->LoadSkinRecord();
  button->ComposeFace(&normal, Record().skinrect, false, false);
  button->ComposeFace(&hot, Record().activeskinrect, true, false);
  Hover();
  Step();
  Step();
  const double x = button->MorphFactor();
  ASSERT_NEAR(x, 0.4, 1e-9);
  const Picture shown = Shown(button);
  const Picture a = PictureOf(normal), b = PictureOf(hot);
  int checked = 0, differing = 0;
  for (size_t i = 0; i < shown.rgb.size(); ++i) {
    uint32_t want = 0;
    for (int shift : {0, 8, 16}) {
      const double c = (a.rgb[i] >> shift) & 0xFF, t = (b.rgb[i] >> shift) & 0xFF;
      want |= static_cast<uint32_t>(std::nearbyint((1 - x) * c + x * t)) << shift;
    }
    ASSERT_EQ(shown.rgb[i], want) << "pixel " << i % 59 << "," << i / 59;
    ++checked;
    differing += a.rgb[i] != b.rgb[i];
  }
  EXPECT_EQ(checked, 59 * 21);
  EXPECT_GT(differing, 100);  // the faces do differ, so the blend is seen
}

TEST_F(ButtonMorph, PressDuringAMorphForcesFactorOne) {
  MakeButton();
  Hover();
  Step();
  ASSERT_TRUE(button->MorphTimerRunning());
  Press();
  EXPECT_EQ(button->MorphFactor(), 1.0);
  EXPECT_FALSE(button->MorphTimerRunning());
  Release();
  // Released over the button: factor 1, and the fade has nothing more to do.
  EXPECT_EQ(button->MorphFactor(), 1.0);
  Step();
  Step();
  EXPECT_FALSE(button->MorphTimerRunning());
}

TEST_F(ButtonMorph, DisablingResetsAndSkinChangeRestoresForAHotButton) {
  MakeButton();
  Hover();
  Step();
  button->SetEnabled(false);
  EXPECT_EQ(button->MorphFactor(), 0.0);
  EXPECT_FALSE(button->MorphTimerRunning());
  button->SetEnabled(true);
  Leave();  // a button re-enabled under the pointer lights up at the next entry
  Hover();
  Wait(200);
  ASSERT_EQ(button->MorphFactor(), 1.0);
  button->ApplySkin();
  EXPECT_EQ(button->MorphFactor(), 1.0);  // hot: restored at once, no fade
  EXPECT_FALSE(button->MorphTimerRunning());
  Leave();
  Wait(200);
  button->ApplySkin();
  EXPECT_EQ(button->MorphFactor(), 0.0);
}

TEST_F(ButtonMorph, NoMorphWithEffectsOff) {
  MakeButton();
  skin->EnableSkinEffects = false;
  Hover();
  EXPECT_FALSE(button->MorphTimerRunning());
  const Picture shown = Shown(button);
  TBitmap hot;
  button->ComposeFace(&hot, Record().activeskinrect, true, false);
  EXPECT_EQ(FirstDifference(shown, PictureOf(hot)), -1);
}

TEST_F(ButtonMorph, FrameAnimationRunsForwardOnEnterAndBackOnLeave) {
  MakeButton();
  auto& r = const_cast<TksDataSkinButtonControl&>(Record());
  // Three frames stacked under the record's own faces: the normal, hot and pressed images.
  const int top = r.skinrect.top;
  r.animateskinrect = RECT{r.skinrect.left, top, r.skinrect.right, top + 3 * 21};
  r.framecount = 3;
  r.animateinterval = 40;
  r.morphing = false;
  button->LoadSkinRecord();
  Hover();
  ASSERT_TRUE(button->AnimationRunning());
  EXPECT_EQ(button->AnimationFrame(), 1);
  EXPECT_EQ(button->ButtonSkin().ActiveRect.top, top);
  EXPECT_EQ(button->ButtonSkin().ActiveRect.bottom, top + 21);
  Wait(40, 40);
  EXPECT_EQ(button->AnimationFrame(), 2);
  EXPECT_EQ(button->ButtonSkin().ActiveRect.top, top + 21);
  Wait(80, 40);
  EXPECT_FALSE(button->AnimationRunning());
  EXPECT_EQ(button->ButtonSkin().ActiveRect.top, r.activeskinrect.top);  // the record's own again

  Leave();
  ASSERT_TRUE(button->AnimationRunning());
  EXPECT_EQ(button->AnimationFrame(), 3);
  EXPECT_EQ(button->ButtonSkin().NormalRect.top, top + 42);
  Wait(120, 40);
  EXPECT_FALSE(button->AnimationRunning());

  Hover();
  ASSERT_TRUE(button->AnimationRunning());
  Press();  // a press stops it
  EXPECT_FALSE(button->AnimationRunning());
  Release();
}

}  // namespace
}  // namespace lumoa::skin::button_test

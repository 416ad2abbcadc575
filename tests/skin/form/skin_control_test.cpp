// The skin control base on the headless back end with the shipped skin 0 and hand-made records.
#include "skin/form/skin_control.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/draw/bitmap_target.h"
#include "skin/draw/record_geometry.h"
#include "skin_fixture.h"

namespace {

using namespace lumoa::skin;
using lumoa::skin::test::SkinTest;
using lumoa::skin::test::SolidPicture;

uint32_t Rgb(COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

class SkinControlTest : public SkinTest {
 protected:
  void SetUp() override {
    SkinTest::SetUp();
    LoadSkin(0);
    form_ = MakeForm(50, 50, 300, 200);
    form_->SetColor(0x00FF00);
  }
  TksSkinCustomControl* Bound(const char* name, int x, int y, int w, int h) {
    auto* c = new TksSkinCustomControl(form_);
    c->SetSkinDataName(name);
    c->SetParent(form_);
    c->SetBounds(x, y, w, h);
    c->SetSkinData(data());
    Pump();
    return c;
  }
  // A nine-part-less record of its own picture: `skin` x `skinH`, split as the points say.
  TksDataSkinCustomControl* Record(const char* name, int w, int h, POINT rt, POINT lb, POINT rb,
                                   COLORREF color = 0x3366CC) {
    auto* r = AddRecord<TksDataSkinCustomControl>(name);
    r->pictureindex = AddPicture(SolidPicture(w, h, color));
    r->skinrect = RECT{0, 0, w, h};
    r->lefttoppoint = POINT{2, 2};
    r->righttoppoint = rt;
    r->leftbottompoint = lb;
    r->rightbottompoint = rb;
    r->clientrect = RECT{2, 2, w - 2, h - 2};
    return r;
  }
  TForm* form_ = nullptr;
};

// The size a bound control may take follows from its record's composition mode, whatever size
// is stored or asked for later.
TEST_F(SkinControlTest, CompositionModeDecidesWhichSidesAreFree) {
  // skin 0's "button": right-top point set, right-bottom (0, 0): free width, height 21.
  auto* button = Bound("button", 10, 10, 59, 17);
  EXPECT_EQ(button->Skin().CompositionMode, cmHorizontal);
  EXPECT_EQ(button->Height(), 21);
  EXPECT_EQ(button->Width(), 59);
  button->SetBounds(10, 10, 90, 40);
  EXPECT_EQ(button->Width(), 90);
  EXPECT_EQ(button->Height(), 21);

  Record("fixed", 30, 12, POINT{}, POINT{}, POINT{});
  auto* fixed = Bound("fixed", 10, 40, 80, 80);
  EXPECT_EQ(fixed->Skin().CompositionMode, cmFixed);
  EXPECT_EQ(fixed->Width(), 30);
  EXPECT_EQ(fixed->Height(), 12);
  fixed->SetBounds(0, 0, 5, 5);
  EXPECT_EQ(fixed->Width(), 30);
  EXPECT_EQ(fixed->Height(), 12);

  Record("vert", 14, 40, POINT{}, POINT{2, 30}, POINT{});
  auto* vert = Bound("vert", 10, 60, 50, 70);
  EXPECT_EQ(vert->Skin().CompositionMode, cmVertical);
  EXPECT_EQ(vert->Width(), 14);
  EXPECT_EQ(vert->Height(), 70);

  Record("nine", 20, 20, POINT{18, 2}, POINT{2, 18}, POINT{18, 18});
  auto* nine = Bound("nine", 10, 80, 77, 33);
  EXPECT_EQ(nine->Skin().CompositionMode, cmNinePart);
  EXPECT_EQ(nine->Width(), 77);
  EXPECT_EQ(nine->Height(), 33);
  EXPECT_EQ(nine->Skin().NewRightBottom.x, 18 + 57);
  EXPECT_EQ(nine->Skin().NewClientRect.bottom, 18 + 13);

  auto* none = Record("none", 20, 20, POINT{18, 2}, POINT{2, 18}, POINT{18, 18});
  none->skinrect = RECT{5, 5, 5, 20};
  auto* empty = Bound("none", 10, 100, 41, 9);
  EXPECT_GE(empty->SkinIndex(), 0);
  EXPECT_EQ(empty->Skin().CompositionMode, cmNone);
  EXPECT_EQ(empty->Width(), 41);
  EXPECT_EQ(empty->Height(), 9);
}

// Without a record the control keeps its stored size, or takes DefaultWidth / DefaultHeight
// when they are above 0; the plain look is a button-face fill.
TEST_F(SkinControlTest, UnboundControlsKeepTheirSizeAndPaintThePlainLook) {
  auto* c = Bound("no such record", 20, 20, 40, 30);
  EXPECT_EQ(c->SkinIndex(), -1);
  c->SetDefaultWidth(0);
  c->SetDefaultHeight(0);
  c->ApplySkin();
  EXPECT_EQ(c->Width(), 40);
  EXPECT_EQ(c->Height(), 30);
  c->SetDefaultWidth(55);
  EXPECT_EQ(c->Width(), 55);
  c->SetDefaultHeight(12);
  EXPECT_EQ(c->Height(), 12);
  Pump();
  EXPECT_EQ(PixelAt(c, 3, 3), Rgb(GetSysColor(COLOR_BTNFACE)));
}

TEST_F(SkinControlTest, RenamingToAMissingRecordPaintsThePlainLookAtTheNextPaint) {
  auto* c = Bound("button", 20, 20, 59, 21);
  TBitmap* picture = data()->ActivePicture(0);
  const uint32_t skinned = PixelAt(c, 30, 10);
  EXPECT_EQ(skinned, Rgb(picture->PixelRGB(30, 10)));
  c->SetSkinDataName("nothing");
  EXPECT_GE(c->SkinIndex(), 0) << "the name alone binds nothing";
  c->Invalidate();
  Pump();
  EXPECT_EQ(c->SkinIndex(), -1);
  EXPECT_EQ(PixelAt(c, 30, 10), Rgb(GetSysColor(COLOR_BTNFACE)));
}

TEST_F(SkinControlTest, FreeingTheSkinDataClearsTheReference) {
  auto* c = Bound("button", 20, 20, 59, 21);
  ASSERT_EQ(c->SkinData(), data());
  delete data();
  EXPECT_EQ(c->SkinData(), nullptr);
  EXPECT_EQ(c->SkinIndex(), -1);
  Pump();
  EXPECT_EQ(PixelAt(c, 30, 10), Rgb(GetSysColor(COLOR_BTNFACE)));
}

// Every paint composes the whole control off screen: the skin image at the control's size
// equals the composition routine's output, and no pixel of the green parent shows through.
TEST_F(SkinControlTest, PaintCoversEveryPixelWithTheComposedImage) {
  auto* c = Bound("button", 20, 20, 97, 21);
  const auto& rec = static_cast<const TksDataSkinCustomControl&>(*c->SkinRecord());
  TBitmap expected;
  const SkinGeometry g = GeometryOf(rec);
  ComposeHorzSkinImage(g.leftTop.x, 76 - g.rightTop.x, &expected, rec.stretcheffect, 97,
                       data()->ActivePicture(0), rec.skinrect);
  for (int y = 0; y < 21; ++y)
    for (int x = 0; x < 97; ++x) {
      ASSERT_EQ(PixelAt(c, x, y), Rgb(expected.PixelRGB(x, y))) << x << "," << y;
      ASSERT_NE(PixelAt(c, x, y), 0x00FF00u);
    }
}

// A mask gives the window a region: pixels outside it keep the parent's colour and a click
// there reaches the parent, not the control.
TEST_F(SkinControlTest, MaskRegionClipsPaintingAndInput) {
  auto* r = Record("masked", 20, 10, POINT{}, POINT{}, POINT{}, 0x0000FF);
  auto mask = SolidPicture(20, 10, 0xFFFFFF);
  mask->Canvas()->Brush().SetColor(clBlack);
  mask->Canvas()->FillRect(TRect{0, 0, 10, 10});  // only the left half belongs to the shape
  r->maskpictureindex = AddPicture(std::move(mask));
  auto* c = Bound("masked", 30, 30, 20, 10);
  EXPECT_TRUE(c->HasSkinRegion());
  EXPECT_EQ(PixelAt(c, 5, 5), 0xFF0000u);
  EXPECT_EQ(PixelAt(c, 15, 5), 0x00FF00u) << "outside the mask shows the parent";

  int controlClicks = 0, formClicks = 0;
  c->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++controlClicks; };
  form_->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++formClicks; };
  ClickAt(c, 5, 5);
  ClickAt(c, 15, 5);
  EXPECT_EQ(controlClicks, 1);
  EXPECT_EQ(formClicks, 1);

  // Renamed to a record without mask, the region goes.
  c->SetSkinDataName("button");
  c->ApplySkin();
  EXPECT_FALSE(c->HasSkinRegion());
}

// A region asked for before the window exists is set when the window is made.
TEST_F(SkinControlTest, RegionWaitsForTheWindow) {
  auto* r = Record("masked", 8, 8, POINT{}, POINT{}, POINT{});
  r->maskpictureindex = AddPicture(SolidPicture(8, 8, 0x000000));
  auto* c = new TksSkinCustomControl(form_);
  c->SetSkinDataName("masked");
  c->SetSkinData(data());
  EXPECT_FALSE(c->HasSkinRegion());
  c->SetParent(form_);
  c->HandleNeeded();
  EXPECT_TRUE(c->HasSkinRegion());
}

class Windowless : public TksGraphicSkinCustomControl {
 public:
  using TksGraphicSkinCustomControl::TksGraphicSkinCustomControl;
  int paints = 0;

 protected:
  void Paint() override {
    ++paints;
    TksGraphicSkinCustomControl::Paint();
  }
};

TEST_F(SkinControlTest, WindowlessControlsFitAndRepaintWithoutRegion) {
  auto* c = new Windowless(form_);
  c->SetSkinDataName("button");
  c->SetParent(form_);
  c->SetBounds(40, 40, 70, 30);
  c->SetSkinData(data());
  EXPECT_EQ(c->Height(), 21);
  EXPECT_EQ(c->Width(), 70);
  Pump();
  EXPECT_GT(c->paints, 0);
  const TPoint p = c->ClientToScreen(Point(35, 10));
  const TPoint f = form_->ScreenToClient(p);
  EXPECT_EQ(PixelAt(form_, f.x, f.y), Rgb(data()->ActivePicture(0)->PixelRGB(35, 10)));
  const int before = c->paints;
  c->SetBounds(40, 40, 80, 30);
  Pump();
  EXPECT_GT(c->paints, before);
  EXPECT_EQ(c->Height(), 21);
}

// Records the walk's visits in order.
class Probe : public TksSkinCustomControl {
 public:
  Probe(TComponent* owner, std::vector<std::string>& log) : TksSkinCustomControl(owner), log_(log) {}
  void ApplySkin() override {
    log_.push_back("apply " + std::string(Name().c_str()));
    TksSkinCustomControl::ApplySkin();
  }
  void ReleaseSkin() override {
    log_.push_back("release " + std::string(Name().c_str()));
    TksSkinCustomControl::ReleaseSkin();
  }

 private:
  std::vector<std::string>& log_;
};

class GraphicProbe : public TksGraphicSkinControl {
 public:
  GraphicProbe(TComponent* owner, std::vector<std::string>& log)
      : TksGraphicSkinControl(owner), log_(log) {}
  void ApplySkin() override { log_.push_back("apply " + std::string(Name().c_str())); }
  void ReleaseSkin() override { log_.push_back("release " + std::string(Name().c_str())); }

 private:
  std::vector<std::string>& log_;
};

TEST_F(SkinControlTest, TreeWalkVisitsNestedChildrenInChildOrder) {
  std::vector<std::string> log;
  auto make = [&](auto* c, const char* name, TWinControl* parent, TksSkinData* data) {
    c->SetName(name);
    c->SetParent(parent);
    c->SetSkinDataName("button");
    if (data) c->SetSkinData(data);
    return c;
  };
  auto* other = new TksSkinData(Application);
  auto* a = make(new Probe(form_, log), "a", form_, data());
  make(new Probe(form_, log), "a1", a, data());
  make(new GraphicProbe(form_, log), "g", a, data());
  auto* a2 = make(new Probe(form_, log), "a2", a, data());
  make(new Probe(form_, log), "a21", a2, other);
  make(new Probe(form_, log), "b", form_, data());
  log.clear();

  ReleaseSkinControls(form_, data());
  EXPECT_EQ(log, (std::vector<std::string>{"release a", "release a1", "release a2", "release b"}));
  log.clear();
  ApplySkinControls(form_, data());
  EXPECT_EQ(log, (std::vector<std::string>{"apply a", "apply a1", "apply g", "apply a2", "apply b"}));
  log.clear();
  ReleaseSkinControls(form_, nullptr);
  EXPECT_EQ(log, (std::vector<std::string>{"release a", "release a1", "release a2", "release a21",
                                           "release b"}));
}

class Transparent : public TksSkinCustomControl {
 public:
  using TksSkinCustomControl::TksSkinCustomControl;
  void ParentBackgroundChanged() override { ++notified; }
  int notified = 0;
};

// A stretched background tells the children it moved.
TEST_F(SkinControlTest, StretchedBackgroundNotifiesChildren) {
  auto* r = Record("panel", 20, 20, POINT{18, 2}, POINT{2, 18}, POINT{18, 18});
  r->stretcheffect = true;
  auto* panel = Bound("panel", 10, 10, 100, 60);
  auto* child = new Transparent(form_);
  child->SetParent(panel);
  panel->SetBounds(10, 10, 120, 60);
  EXPECT_EQ(child->notified, 1);
}

// The force-background path lays the client part tiled between the border strips.
class ForcedPanel : public TksSkinCustomControl {
 public:
  explicit ForcedPanel(TComponent* owner) : TksSkinCustomControl(owner) { FForceBackground = true; }
};

TEST_F(SkinControlTest, ForcedBackgroundTilesTheClientPartInsideTheStrips) {
  auto* r = Record("forced", 12, 12, POINT{10, 2}, POINT{2, 10}, POINT{10, 10}, 0x000000);
  TBitmap* pic = data()->ActivePicture(r->pictureindex);
  pic->Canvas()->Brush().SetColor(0x0000FF);
  pic->Canvas()->FillRect(TRect{2, 2, 6, 10});  // client part: red left half, black right
  auto* c = new ForcedPanel(form_);
  c->SetSkinDataName("forced");
  c->SetParent(form_);
  c->SetBounds(10, 10, 30, 20);
  c->SetSkinData(data());
  Pump();
  EXPECT_EQ(PixelAt(c, 0, 0), 0x000000u);
  EXPECT_EQ(PixelAt(c, 2, 5), 0xFF0000u);
  EXPECT_EQ(PixelAt(c, 6, 5), 0x000000u);
  EXPECT_EQ(PixelAt(c, 10, 5), 0xFF0000u) << "the client part repeats every 8 pixels";
  EXPECT_EQ(PixelAt(c, 29, 19), 0x000000u);
}

}  // namespace

// Pixels of the skinned page control: the strip over the parent's background, the plain look,
// button-style tabs, the sheets' backgrounds and the skin change.
#include "page_control_fixture.h"

#include "skin/data/control_records.h"
#include "ui/image_list.h"

namespace lumoa::skin::test {
namespace {

// A parent that paints a pattern of its own (so its pixels can be told from anything else).
class PatternPanel : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;

 protected:
  void Paint() override {
    for (int y = 0; y < Height(); ++y)
      for (int x = 0; x < Width(); ++x)
        Canvas()->SetPixel(x, y, static_cast<TColor>(RGB((x * 7) & 0xFF, (y * 11) & 0xFF, (x + y) & 0xFF)));
  }
};

// Counts the background-change notifications it gets.
class Listener : public TWinControl {
 public:
  using TWinControl::TWinControl;
  int notified = 0;
  void Dispatch(TMessage& m) override {
    if (m.Msg == WM_PARENTBACKGROUNDCHANGE) ++notified;
    TWinControl::Dispatch(m);
  }
};

using lumoa::ui::test::Str;

class PageControlPaint : public PageControlTest {};

TEST_F(PageControlPaint, TransparentStripShowsExactlyTheParentsPixels) {
  TksSkinPageControl* pc = MakeLauncherPages(0);
  auto* panel = new PatternPanel(form_);
  panel->SetParent(form_);
  panel->SetBounds(0, 0, 402, 55);
  pc->SetParent(panel);
  pc->SetAlign(alNone);
  pc->SetBounds(30, 0, 346, 55);
  Pump();
  const int last = pc->GetTabRect(6).right;
  std::vector<POINT> strip;
  for (int y = 0; y < 20; ++y) {
    strip.push_back({0, y});
    for (int x = last; x < 346; x += 5) strip.push_back({x, y});
  }
  std::vector<uint32_t> shown;
  for (POINT p : strip) shown.push_back(PixelAt(pc, p.x, p.y));
  pc->Hide();
  Pump();
  int differ = 0;
  for (size_t i = 0; i < strip.size(); ++i)
    differ += shown[i] != PixelAt(panel, strip[i].x + 30, strip[i].y) ? 1 : 0;
  EXPECT_EQ(differ, 0);
  // Not the plain form colour: the pattern really came through.
  EXPECT_NE(shown[1], shown[strip.size() - 1]);

  // Opaque, the strip is the skin's piece tiled.
  pc->Show();
  pc->SetTabsBGTransparent(false);
  Pump();
  const RECT bg = pc->TabSkin().TabsBGRect;
  TBitmap* pic = pc->TabSkin().Page.Picture;
  const int pw = bg.right - bg.left;
  for (int y : {0, 7, 19}) {
    EXPECT_EQ(PixelAt(pc, 340, y), Rgb(pic->PixelRGB(bg.left + 340 % pw, bg.top + y)));
  }
}

TEST_F(PageControlPaint, PlainLookWithoutSkin) {
  TksSkinPageControl* pc = MakeLauncherPages(-1);
  const uint32_t face = Rgb(ColorToRGB(clBtnFace)), shadow = Rgb(ColorToRGB(clBtnShadow));
  const TRect active = pc->GetTabRect(0), other = pc->GetTabRect(2);
  // Active (focus elsewhere): frame 0x800000 (red-low order) around 0xD2BDB6.
  EXPECT_EQ(PixelAt(pc, active.left, active.top + 5), Rgb(0x800000));
  EXPECT_EQ(PixelAt(pc, active.left + 2, active.top + 2), Rgb(0xD2BDB6));
  EXPECT_EQ(PixelAt(pc, other.left + 2, other.top + 2), face);
  MoveTo(pc, other.left + 2, other.top + 2);
  EXPECT_EQ(PixelAt(pc, other.left + 2, other.top + 2), Rgb(0xD2BDB6));
  pc->SetFocus();
  Pump();
  EXPECT_EQ(PixelAt(pc, active.left + 2, active.top + 2), Rgb(0xB59385));
  // The page frame: one pixel of button shadow around the page area grown by one.
  const TRect area = pc->PageArea();
  EXPECT_EQ(PixelAt(pc, area.left - 1, area.top + 5), shadow);
  EXPECT_EQ(PixelAt(pc, area.right, area.top + 5), shadow);
  EXPECT_EQ(PixelAt(pc, 200, area.bottom), shadow);
}

TEST_F(PageControlPaint, ButtonStyleTabsUseTheButtonRecord) {
  TksSkinPageControl* pc = MakeLauncherPages(0);
  pc->SetStyle(tsButtons);
  Pump();
  const int i = data()->GetControlIndex("resizetoolbutton");
  ASSERT_GE(i, 0);
  const auto* r = dynamic_cast<const TksDataSkinButtonControl*>(data()->ControlRecords[size_t(i)].get());
  ASSERT_NE(r, nullptr);
  TBitmap* pic = data()->ActivePicture(r->pictureindex);
  const TRect active = pc->GetTabRect(0), other = pc->GetTabRect(2);
  // Corners are copied at their own size: the top-left pixels of each state image.
  EXPECT_EQ(PixelAt(pc, active.left + 2, active.top + 2), Rgb(pic->PixelRGB(r->downskinrect.left + 2, r->downskinrect.top + 2)));
  EXPECT_EQ(PixelAt(pc, other.left + 2, other.top + 2), Rgb(pic->PixelRGB(r->skinrect.left + 2, r->skinrect.top + 2)));
  MoveTo(pc, other.left + 10, other.top + 10);
  EXPECT_EQ(PixelAt(pc, other.left + 2, other.top + 2), Rgb(pic->PixelRGB(r->activeskinrect.left + 2, r->activeskinrect.top + 2)));
}

TEST_F(PageControlPaint, SheetBackgroundFromTheSkinOrItsWallPaper) {
  TksSkinPageControl* pc = MakeLauncherPages(0);
  const TksSkinRecordData& p = pc->TabSkin().Page;
  ASSERT_TRUE(p.StretchEffect);
  TksSkinTabSheet* s = sheets_[0];
  // The client piece stretched over the page control's size, seen from the sheet's origin.
  const RECT c{p.SkinRect.left + p.ClientRect.left, p.SkinRect.top + p.ClientRect.top,
               p.SkinRect.left + p.ClientRect.right, p.SkinRect.top + p.ClientRect.bottom};
  const int pw = c.right - c.left, ph = c.bottom - c.top;
  for (POINT q : {POINT{0, 0}, POINT{100, 10}, POINT{339, 28}}) {
    const int sx = c.left + q.x * pw / pc->Width(), sy = c.top + q.y * ph / pc->Height();
    EXPECT_EQ(PixelAt(s, q.x, q.y), Rgb(p.Picture->PixelRGB(sx, sy)));
  }
  TBitmap wall(2, 2, pf24bit);
  wall.Canvas()->SetPixel(0, 0, static_cast<TColor>(RGB(255, 0, 0)));
  wall.Canvas()->SetPixel(1, 0, static_cast<TColor>(RGB(0, 255, 0)));
  wall.Canvas()->SetPixel(0, 1, static_cast<TColor>(RGB(0, 0, 255)));
  wall.Canvas()->SetPixel(1, 1, static_cast<TColor>(RGB(255, 255, 255)));
  s->SetWallPaper(&wall);
  Pump();
  EXPECT_EQ(PixelAt(s, 10, 10), 0xFF0000u);
  EXPECT_EQ(PixelAt(s, 11, 10), 0x00FF00u);
  EXPECT_EQ(PixelAt(s, 10, 11), 0x0000FFu);

  // A resize of a sheet on a stretched background tells its windowed children.
  auto* child = new Listener(form_);
  child->SetParent(s);
  child->SetBounds(5, 5, 20, 10);
  Pump();
  const int before = child->notified;
  form_->SetClientHeight(70);
  Pump();
  EXPECT_GT(child->notified, before);
}

TEST_F(PageControlPaint, SkinChangeRereadsTheRecord) {
  TksSkinPageControl* pc = MakeLauncherPages(0);
  TBitmap* old = pc->TabSkin().Page.Picture;
  LoadSkin(1);
  SendMessageW(pc->Handle(), WM_CHANGESKINDATA, reinterpret_cast<WPARAM>(data()), 1000);
  Pump();
  ASSERT_TRUE(pc->TabSkin().Skinned());
  EXPECT_NE(pc->TabSkin().Page.Picture, old);
  EXPECT_EQ(pc->Font()->Height(), pc->TabSkin().FontHeight);
  EXPECT_EQ(pc->Font()->Color(), pc->TabSkin().FontColor);
  const RECT n = pc->TabSkin().TabRect;
  const TRect r = pc->GetTabRect(2);
  EXPECT_EQ(r.bottom - r.top, n.bottom - n.top);
  EXPECT_EQ(PixelAt(pc, r.left + 2, 10), Rgb(pc->TabSkin().Page.Picture->PixelRGB(n.left + 2, n.top + 10)));
  // Released, the next paint finds the record again.
  pc->ReleaseSkin();
  EXPECT_FALSE(pc->TabSkin().Skinned());
  pc->Invalidate();
  Pump();
  EXPECT_TRUE(pc->TabSkin().Skinned());
}

TEST_F(PageControlPaint, DrawSkinTabEventDrawsTheContent) {
  TksSkinPageControl* pc = MakeLauncherPages(0);
  std::vector<std::string> calls;
  pc->OnDrawSkinTab = [&](int index, const TRect& r, bool active, bool /*mouseIn*/, TCanvas* c) {
    calls.push_back(std::to_string(index) + (active ? " active " : " ") + Str(r));
    c->Brush().SetStyle(bsSolid);
    c->Brush().SetColor(static_cast<TColor>(RGB(1, 2, 3)));
    c->FillRect(TRect{4, 4, 8, 8});
  };
  pc->Invalidate();
  Pump();
  ASSERT_EQ(calls.size(), 7u);
  EXPECT_EQ(calls.back(), "0 active " + Str(TRect{0, 0, pc->GetTabRect(0).right - 1, 21}));
  EXPECT_EQ(PixelAt(pc, pc->GetTabRect(3).left + 5, 5), 0x010203u);
}

TEST_F(PageControlPaint, GlyphsFromImagesBesideTheCaption) {
  TksSkinPageControl* pc = MakeLauncherPages(0);
  const int plain = pc->GetTabRect(2).right - pc->GetTabRect(2).left;
  auto* images = new TImageList(form_);
  images->SetSize(8, 8);
  TBitmap glyph(8, 8, pf24bit);
  glyph.Canvas()->Brush().SetColor(static_cast<TColor>(RGB(250, 0, 250)));
  glyph.Canvas()->FillRect(TRect{0, 0, 8, 8});
  images->Add(&glyph, nullptr);
  pc->SetImages(images);
  sheets_[2]->SetImageIndex(0);
  Pump();
  // Every tab reserves the glyph's width; the sheet with a glyph shows it, centred with its
  // caption as one group.
  const TRect r = pc->GetTabRect(2);
  EXPECT_GE(r.right - r.left, plain + 8);
  int glyphPixels = 0, left = 1 << 20;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (PixelAt(pc, x, y) == 0xFA00FAu) {
        ++glyphPixels;
        left = std::min(left, x);
      }
  EXPECT_EQ(glyphPixels, 64);
  EXPECT_LT(left - r.left, (r.right - r.left) / 2 - 8);
  // The same with the glyph-and-text layout routine, glyph at the margin.
  pc->SetTabExtededDraw(true);
  pc->SetTabMargin(3);
  Pump();
  EXPECT_EQ(PixelAt(pc, r.left + 3, (r.top + r.bottom) / 2), 0xFA00FAu);
  EXPECT_NE(PixelAt(pc, r.left + 2, (r.top + r.bottom) / 2), 0xFA00FAu);
}

TEST_F(PageControlPaint, FocusMarkWhenTheSkinAsksForIt) {
  TksSkinPageControl* pc = MakeLauncherPages(0);
  auto* rec = dynamic_cast<TksDataSkinTabControl*>(
      data()->ControlRecords[size_t(data()->GetControlIndex("tab"))].get());
  ASSERT_NE(rec, nullptr);
  rec->showfocus = true;
  const TRect r = pc->GetTabRect(0);
  const uint32_t before = PixelAt(pc, r.left + 3 + 1, r.top + 3);
  pc->SetFocus();
  Pump();
  // A dotted frame in the focus colour, inset by the skin's offsets.
  const uint32_t mark = Rgb(static_cast<COLORREF>(rec->focusfontcolor));
  EXPECT_EQ(PixelAt(pc, r.left + 3 + 1, r.top + 3), mark);
  EXPECT_NE(before, mark);
}

TEST_F(PageControlPaint, AcceleratorCharacterSelectsItsPage) {
  TksSkinPageControl* pc = MakeLauncherPages(0);
  sheets_[3]->SetCaption("&Video");
  int changes = 0;
  pc->OnChange = [&](TObject*) { ++changes; };
  EXPECT_EQ(pc->Perform(CM_DIALOGCHAR, 'v', 0), 1);
  EXPECT_EQ(pc->ActivePage(), sheets_[3]);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(pc->Perform(CM_DIALOGCHAR, 'q', 0), 0);
}

}  // namespace
}  // namespace lumoa::skin::test

// The launcher's page control on the headless back end: a 402 x 55 borderless form with the
// page control aligned right (346 x 55) and the seven category sheets, stored values as the
// main form keeps them.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "skin/controls/page_control.h"
#include "skin/form/skin_fixture.h"

namespace lumoa::skin::test {

inline const std::vector<std::string>& LauncherCaptions() {
  static const std::vector<std::string> captions = {"集成搜索", " 新闻 ", " 音乐 ", " 视频 ",
                                                    "地图", "更多", "关闭"};
  return captions;
}

// A COLORREF (red low) as PixelAt reports pixels (0xRRGGBB).
inline uint32_t Rgb(COLORREF c) {
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

class PageControlTest : public SkinTest {
 protected:
  // The main form's page control; skin `skin` loaded and bound unless it is -1.
  // With Before, called on the new form before it is first shown (a form skinner).
  TksSkinPageControl* MakeLauncherPages(int skin = 0, int width = 346,
                                        const std::function<void(TForm*)>& Before = {}) {
    if (Before) {
      if (skin >= 0) LoadSkin(skin);
      form_ = new TForm(Application);
      form_->SetBorderStyle(bsNone);
      form_->SetBounds(100, 100, 56 + width, 55);
      Before(form_);
      form_->Show();
      Pump();
    } else {
      form_ = MakeForm(100, 100, 56 + width, 55);
    }
    auto* pc = new TksSkinPageControl(form_);
    pc->SetParent(form_);
    pc->SetBounds(56, 0, width, 55);
    pc->SetAlign(alRight);
    pc->SetSkinDataName("tab");
    pc->SetButtonTabSkinDataName("resizetoolbutton");
    pc->SetTabSpacing(1);
    pc->SetTabsBGTransparent(true);
    pc->SetDefaultItemHeight(20);
    for (TFont* f : {pc->Font(), pc->DefaultFont()}) {
      f->SetName("Arial");
      f->SetHeight(14);
      f->SetColor(clBtnText);
    }
    for (const std::string& caption : LauncherCaptions()) {
      auto* s = new TksSkinTabSheet(form_);
      s->SetPageControl(pc);
      s->SetCaption(Utf8ToAnsi(caption));
      sheets_.push_back(s);
    }
    pc->SetActivePage(sheets_[0]);
    if (skin >= 0) {
      LoadSkin(skin);
      pc->SetSkinData(data());
    }
    Pump();
    return pc;
  }

  // Moves the pointer to a client point of the control.
  void MoveTo(TControl* c, int x, int y) {
    const TPoint p = c->ClientToScreen(Point(x, y));
    hb().MoveMouse(p.x, p.y);
    Pump();
  }

  // Rows of a tab (top row) that hold caption ink: pixels that differ from the tab's own
  // background at its left middle column (the image is the same across its middle).
  std::pair<int, int> InkRows(TWinControl* c, const TRect& r) {
    int top = -1, bottom = -1;
    for (int y = r.top; y < r.top + 20; ++y) {
      const uint32_t bg = PixelAt(c, r.left + 5, y);
      for (int x = r.left + 6; x < r.right - 6; ++x) {
        if (PixelAt(c, x, y) == bg) continue;
        if (top < 0) top = y;
        bottom = y;
        break;
      }
    }
    return {top, bottom};
  }

  TForm* form_ = nullptr;
  std::vector<TksSkinTabSheet*> sheets_;
};

}  // namespace lumoa::skin::test

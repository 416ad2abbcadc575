#include "app/logo_view.h"

#include <algorithm>

namespace lumoa::app {

namespace {

constexpr TColor kBackground = 0x8A5A1E;  // deep blue (red in the low byte)
constexpr TColor kRing = 0xFFFFFF;
constexpr TColor kHandle = 0x30B0F0;  // amber

}  // namespace

TLogoView::TLogoView(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyle{csOpaque});
  SetBounds(0, 0, 55, 55);
}

void TLogoView::Paint() {
  TCanvas* c = Canvas();
  const int w = Width(), h = Height();
  c->Brush().SetStyle(bsSolid);
  c->Brush().SetColor(kBackground);
  c->FillRect(Rect(0, 0, w, h));

  // A magnifier: a white ring with an amber handle toward the lower right.
  const int side = std::min(w, h);
  const int r = side * 3 / 10;
  const int cx = w / 2 - side / 10, cy = h / 2 - side / 10;
  c->Pen().SetColor(kHandle);
  c->Pen().SetWidth(std::max(2, side / 9));
  c->MoveTo(cx + r * 7 / 10, cy + r * 7 / 10);
  c->LineTo(cx + r * 7 / 10 + side / 5, cy + r * 7 / 10 + side / 5);
  // The ring as two filled discs, so its width does not depend on how wide pens are drawn.
  const int ring = std::max(2, side / 14);
  c->Pen().SetWidth(1);
  c->Pen().SetColor(kRing);
  c->Brush().SetColor(kRing);
  c->Ellipse(cx - r, cy - r, cx + r, cy + r);
  c->Pen().SetColor(kBackground);
  c->Brush().SetColor(kBackground);
  c->Ellipse(cx - r + ring, cy - r + ring, cx + r - ring, cy + r - ring);
}

}  // namespace lumoa::app

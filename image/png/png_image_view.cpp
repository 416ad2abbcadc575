#include "image/png/png_image_view.h"

#include <utility>

#include "image/png/png_storage.h"
#include "image/png/png_storage_list.h"
#include "skin/draw/ks_bitmap.h"
#include "skin/draw/parent_background.h"
#include "skin/draw/png_to_bitmap.h"
#include "ui/bitmap.h"

namespace {

// Runs the framework's own handling of a message with one event held back, so the view can
// decide itself whether the event fires.
class HeldEvent {
 public:
  explicit HeldEvent(TNotifyEvent& event) : FEvent(event), FHeld(std::move(event)) {
    FEvent = nullptr;
  }
  ~HeldEvent() {
    if (!FEvent) FEvent = std::move(FHeld);
  }
  HeldEvent(const HeldEvent&) = delete;
  HeldEvent& operator=(const HeldEvent&) = delete;
  const TNotifyEvent& Held() const { return FHeld; }

 private:
  TNotifyEvent& FEvent;
  TNotifyEvent FHeld;
};

constexpr int kEnabledDivisor = 3;
constexpr int kDisabledDivisor = 4;

}  // namespace

TksPngImageView::TksPngImageView(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(Left(), Top(), 50, 50);
}

TksPngImageView::~TksPngImageView() { BeforeDestruction(); }

TksPngImageView::Source TksPngImageView::CurrentSource() const {
  if (FPngImageStorage) {
    TksPngStorageImageItems* items = FPngImageStorage->PngImages();
    if (FImageIndex >= 0 && FImageIndex < items->Count()) {
      const TksPngStorageImageItem* item = items->Items(FImageIndex);
      return {item->PngImage(), item->PngWidth(), item->PngHeight(), true};
    }
  }
  if (FPngImageList && FPngImageList->Count() > 0 && FPngImageList->Width() > 0 &&
      FPngImageList->Height() > 0) {
    TksPngImageItems* items = FPngImageList->PngImages();
    if (FImageIndex >= 0 && FImageIndex < items->Count())
      return {items->Items(FImageIndex)->PngImage(), FPngImageList->Width(),
              FPngImageList->Height(), false};
  }
  return {};
}

void TksPngImageView::BuildReflection() {
  FReflection.reset();
  if (!FReflectionEffect) return;
  const Source src = CurrentSource();
  if (!src.Png) return;
  auto bitmap = std::make_unique<TksBitmap>();
  if (!lumoa::skin::PngToBitmap(*bitmap, *src.Png)) return;
  bitmap->MakeReflection(Enabled() ? kEnabledDivisor : kDisabledDivisor);
  // Even an opaque image leaves a reflection of partial alphas.
  bitmap->AlphaBlend = true;
  FReflection = std::move(bitmap);
}

void TksPngImageView::ApplyAutoSize() {
  if (!FAutoSize) return;
  const Source src = CurrentSource();
  int w = 0, h = 0;
  if (src.FromStorage) {
    w = src.Width, h = src.Height;
  } else if (FPngImageList) {
    w = FPngImageList->Width(), h = FPngImageList->Height();
  } else {
    return;
  }
  if (FReflectionEffect) h += h / 2 + 5;
  SetBounds(Left(), Top(), w, h);
}

void TksPngImageView::SourceChanged() {
  const TComponentState state = ComponentState();
  if (state.Contains(csLoading) || state.Contains(csDestroying)) return;
  BuildReflection();
  ApplyAutoSize();
  Invalidate();
}

void TksPngImageView::Loaded() {
  TGraphicControl::Loaded();
  SourceChanged();
}

void TksPngImageView::SetDoubleBuffered(bool Value) {
  if (FDoubleBuffered == Value) return;
  FDoubleBuffered = Value;
  TControlStyle style = ControlStyle();
  if (Value) {
    style.Include(csOpaque);
  } else {
    style.Exclude(csOpaque);
  }
  SetControlStyle(style);
  Invalidate();
}

void TksPngImageView::SetReflectionEffect(bool Value) {
  if (FReflectionEffect == Value) return;
  FReflectionEffect = Value;
  SourceChanged();
}

void TksPngImageView::SetAutoSize(bool Value) {
  if (FAutoSize == Value) return;
  FAutoSize = Value;
  if (Value && !ComponentState().Contains(csLoading)) ApplyAutoSize();
}

void TksPngImageView::SetPngImageList(TksPngImageList* Value) {
  if (FPngImageList == Value) return;
  if (FPngImageList) FPngImageList->RemoveFreeNotification(this);
  FPngImageList = Value;
  if (Value) Value->FreeNotification(this);
  SourceChanged();
}

void TksPngImageView::SetPngImageStorage(TksPngImageStorage* Value) {
  if (FPngImageStorage == Value) return;
  if (FPngImageStorage) FPngImageStorage->RemoveFreeNotification(this);
  FPngImageStorage = Value;
  if (Value) Value->FreeNotification(this);
  SourceChanged();
}

void TksPngImageView::SetImageIndex(int Value) {
  if (Value >= -1) FImageIndex = Value;
  if (FPngImageStorage || FPngImageList) SourceChanged();
}

void TksPngImageView::SetCenter(bool Value) {
  if (FCenter == Value) return;
  FCenter = Value;
  Invalidate();
}

void TksPngImageView::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FPngImageStorage) {
    FPngImageStorage = nullptr;
    SourceChanged();
  } else if (AComponent == FPngImageList) {
    FPngImageList = nullptr;
    SourceChanged();
  }
}

void TksPngImageView::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_ENABLEDCHANGED:
      if (!ComponentState().Contains(csLoading)) BuildReflection();
      break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: {
      TNotifyEvent& event = Message.Msg == CM_MOUSEENTER ? OnMouseEnter : OnMouseLeave;
      TNotifyEvent handler;
      {
        HeldEvent held(event);
        TGraphicControl::Dispatch(Message);
        handler = held.Held();
      }
      if (handler && !Designing() && Enabled()) handler(this);
      return;
    }
  }
  TGraphicControl::Dispatch(Message);
}

void TksPngImageView::Paint() {
  const int w = Width(), h = Height();
  if (w <= 0 || h <= 0) return;
  TCanvas* target = Canvas();
  std::unique_ptr<TBitmap> buffer;
  if (FDoubleBuffered) {
    buffer = std::make_unique<TBitmap>(w, h, pf32bit);
    lumoa::skin::PaintParentBackground(this, buffer->Canvas());
    target = buffer->Canvas();
  }

  if (const Source src = CurrentSource(); src.Png) {
    int x = 0, y = 0;
    if (FCenter) {
      const int total = src.Height + (FReflection ? src.Height / 2 : 0);
      x = w / 2 - src.Width / 2;
      y = h / 2 - total / 2;
    }
    lumoa::png::DrawPng(target, Bounds(x, y, src.Width, src.Height), *src.Png, Enabled());
    if (FReflection) FReflection->Draw(target, x, y + src.Height);
  }

  if (Designing()) {
    target->Pen().SetStyle(psDash);
    target->Pen().SetColor(clBlack);
    target->Brush().SetStyle(bsClear);
    target->Rectangle(0, 0, w, h);
  }

  if (buffer) BitBlt(Canvas()->Handle(), 0, 0, w, h, buffer->Canvas()->Handle(), 0, 0, SRCCOPY);
}

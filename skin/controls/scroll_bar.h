// TksSkinScrollBar: the skinned scroll bar that stands in for the platform's own bars in the
// skinned list. Three parts (thumb, the "up" button that raises Position, the "down" button
// that lowers it), each hot and pressed on its own; buttons and track repeat while held
// (500 ms, then 50 ms); the thumb is dragged proportionally.
#pragma once

#include "skin/form/skin_control.h"

enum TksScrollBarKind { sbHorizontal, sbVertical };

// What the bar copies from its "scrollbar" record beyond the control-image data. State
// images that are absent fall back as the record's keys say.
struct TksScrollBarSkin {
  RECT TrackArea{};
  RECT UpButtonRect{};
  RECT ActiveUpButtonRect{};
  RECT DownUpButtonRect{};
  RECT DownButtonRect{};
  RECT ActiveDownButtonRect{};
  RECT DownDownButtonRect{};
  RECT ThumbRect{};
  RECT ActiveThumbRect{};
  RECT DownThumbRect{};
  int ThumbOffset1 = 0;
  int ThumbOffset2 = 0;
  bool ThumbTransparent = false;
  COLORREF ThumbTransparentColor = 0;
  bool ThumbStretchEffect = false;
  int ThumbMinSize = 0;
  int ThumbMinPageSize = 0;
  RECT GlyphRect{};
  RECT ActiveGlyphRect{};
  RECT DownGlyphRect{};
  bool GlyphTransparent = false;
  COLORREF GlyphTransparentColor = 0;
};

class TksSkinScrollBar : public TksSkinCustomControl {
 public:
  enum Part { ThumbPart = 0, UpPart = 1, DownPart = 2 };

  explicit TksSkinScrollBar(TComponent* AOwner);
  ~TksSkinScrollBar() override;

  TksScrollBarKind Kind() const { return FKind; }
  void SetKind(TksScrollBarKind Value);
  int Min() const { return FMin; }
  void SetMin(int Value) { SetRange(Value, FMax, FPageSize, FPosition); }
  int Max() const { return FMax; }
  void SetMax(int Value) { SetRange(FMin, Value, FPageSize, FPosition); }
  int PageSize() const { return FPageSize; }
  void SetPageSize(int Value) { SetRange(FMin, FMax, Value, FPosition); }
  int Position() const { return FPosition; }
  // Clamped to the range; only an actual change repaints and fires OnChange.
  void SetPosition(int Value);
  // Minimum, maximum, page size and position at once; fires no OnChange.
  void SetRange(int AMin, int AMax, int APageSize, int APosition);
  int SmallChange = 1;
  int LargeChange = 1;
  bool Both() const { return FBoth; }
  void SetBoth(bool Value);
  int BothMarkerWidth = 19;
  AnsiString BothSkinDataName = "bothhscrollbar";
  bool CanFocused() const { return FCanFocused; }
  void SetCanFocused(bool Value);

  TNotifyEvent OnChange;
  TNotifyEvent OnLastChange;
  TNotifyEvent OnUpButtonClick;
  TNotifyEvent OnDownButtonClick;
  TNotifyEvent OnPageUp;
  TNotifyEvent OnPageDown;

  // Part rectangles in client coordinates, as last laid out.
  TRect PartRect(Part P) const { return FParts[P].R; }
  bool PartHot(Part P) const { return FParts[P].Hot; }
  bool PartDown(Part P) const { return FParts[P].Down; }
  TRect TrackRect() const { return FTrack; }
  bool Dragging() const { return FDragging; }

  void LoadSkinRecord() override;
  void PaintDefaultImage(TBitmap* B) override;
  void PaintSkinImage(TBitmap* B) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

 protected:
  void Dispatch(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;

 private:
  struct PartState {
    TRect R{0, 0, 0, 0};
    bool Hot = false;
    bool Down = false;
  };
  enum class Repeat { None, Up, Down, PageUp, PageDown };

  bool Vertical() const { return FKind == sbVertical; }
  // Lays out track, buttons and thumb for the current size, range and skin.
  void CalcRects();
  int ThumbLength(int TrackLength) const;
  // The part under a client point, or -1.
  int PartAt(TPoint P) const;
  void SetHot(int Index);
  void Step(Repeat What);
  void StartRepeat(Repeat What);
  void StopRepeat();
  void RepeatTick(UINT_PTR Id);
  // The track side of the thumb the point lies on (PageUp before, PageDown after), or None.
  Repeat TrackSide(TPoint P) const;
  void DragTo(TPoint P);
  void DrawThumb(TBitmap* B, const PartState& Thumb);
  void DrawPiece(TBitmap* B, TBitmap* Picture, const RECT& Source, const TRect& Dest,
                 bool Transparent, COLORREF Key);

  TksScrollBarKind FKind = sbHorizontal;
  int FMin = 0;
  int FMax = 100;
  int FPosition = 0;
  int FPageSize = 0;
  bool FBoth = false;
  bool FCanFocused = false;
  TksScrollBarSkin FBar;
  bool FBarSkinned = false;
  PartState FParts[3];
  TRect FTrack{0, 0, 0, 0};
  // Thumb travel: its centre runs from FTravelStart to FTravelStart + FTravelLength.
  int FTravelStart = 0;
  int FTravelLength = 0;
  bool FDragging = false;
  bool FDragged = false;
  bool FReleasing = false;
  int FDragStart = 0;       // pointer coordinate along the bar at the press
  int FDragThumbStart = 0;  // thumb centre offset from the travel start at the press
  Repeat FRepeat = Repeat::None;
  int FCaptured = -1;  // part held by the left button
  TPoint FLastPoint{0, 0};
};

// nearest(x) of the scroll arithmetic: ties go to the even integer.
int RoundHalfEven(double X);

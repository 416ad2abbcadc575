// The soft border a skin's [LAYERFRAME] puts around a skinned form outside its window: four
// borderless layered windows (top, bottom, left, right) with per-pixel alpha, which follow the
// form, change their look and opacity with its activation, and resize or move it when dragged.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "skin/data/skin_data.h"
#include "skin/draw/ks_bitmap.h"
#include "ui/forms.h"

class TksMarluneForm;
class TksFormLayerBorder;

enum TksLayerSide { lsLeft = 0, lsTop = 1, lsRight = 2, lsBottom = 3 };

// Hit modes of a border window.
enum TksLayerHit {
  lhNone = 0, lhLeft, lhTop, lhRight, lhBottom, lhTopLeft, lhTopRight, lhBottomLeft,
  lhBottomRight, lhCaption, lhObject
};

// One of the four windows: a form of its own (no parent, hidden, no border, layered, stay on
// top exactly when the skinned form is, click-through when the border has no hit area).
class TksFormLayerWindow : public TCustomForm {
 public:
  TksFormLayerWindow(TksFormLayerBorder* Border, TksLayerSide Side);
  ~TksFormLayerWindow() override;
  TksLayerSide Side() const { return FSide; }
  int HitMode() const { return FHitMode; }
  bool Pressed() const { return FPressed; }
  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;

 private:
  friend class TksFormLayerBorder;
  TksFormLayerBorder* FBorder;
  TksLayerSide FSide;
  bool FPressed = false;
  POINT FOldCursor{};
  POINT FStartCursor{};
  int FHitMode = lhNone;
};

class TksFormLayerBorder {
 public:
  explicit TksFormLayerBorder(TksMarluneForm* Skinner);
  ~TksFormLayerBorder();
  TksFormLayerBorder(const TksFormLayerBorder&) = delete;
  TksFormLayerBorder& operator=(const TksFormLayerBorder&) = delete;

  // Takes the layer frame of Data (nothing when the skin has none) and builds the images.
  void Prepare(TksSkinData* Data, TCustomForm* Form);
  bool Prepared() const { return FFrame != nullptr; }
  void Show();
  void Update();
  void Move();
  void Hide();
  void SetOpacity(BYTE Value, bool Repaint);
  void SetActive(bool Active, bool MoveToo);
  // Shows at opacity 0 and raises it in steps of target div 15 whenever more than 5 ms passed.
  void FadeIn();
  void FadeStep();
  bool Fading() const { return FFading; }

  bool Shown() const { return FShown; }
  bool Active() const { return FActive; }
  TksFormLayerWindow* Window(TksLayerSide Side) const { return FWindows[Side].get(); }
  const TksBitmap* Strip(TksLayerSide Side) const { return FStrips[Side].get(); }
  BYTE ActiveOpacity() const { return FActiveOpacity; }
  BYTE InActiveOpacity() const { return FInActiveOpacity; }
  BYTE CurrentOpacity() const { return FActive ? FActiveOpacity : FInActiveOpacity; }
  const TksDataSkinLayerFrame* Frame() const { return FFrame; }
  // Outer bounds (screen) for the form's current bounds.
  RECT OuterBounds() const;
  // Hit mode of a screen point over a border window.
  int HitTest(TksLayerSide Side, POINT Screen) const;
  int ActiveObject() const { return FActiveObject; }
  // Composition blur: available where the platform reports it (never here).
  bool BlurAvailable = false;
  bool BlurRegionsBuilt() const { return FBlurBuilt; }
  int LeftSize() const { return FLeftSize; }
  int TopSize() const { return FTopSize; }
  int RightSize() const { return FRightSize; }
  int BottomSize() const { return FBottomSize; }

 private:
  friend class TksFormLayerWindow;
  void Compose(int Width, int Height);
  void Push();
  void Place(bool Push);
  void BuildBlur(int Width, int Height);
  void FreeBlur();
  // With a full border the caption objects sit on the top strip (strip coordinates).
  void PlaceObjects();
  void DrawObjects(TksBitmap& Top);
  int ObjectAt(POINT Strip) const;
  void TrackObject(POINT Strip);
  void MouseDown(TksFormLayerWindow* W, POINT Screen);
  void MouseMove(TksFormLayerWindow* W, POINT Screen);
  void MouseUp(TksFormLayerWindow* W, POINT Screen);
  void DblClick(TksFormLayerWindow* W, POINT Screen);
  void Timer(TksFormLayerWindow* W, UINT_PTR Id);
  const TksBitmap* Source() const;

  TksMarluneForm* FSkinner;
  TCustomForm* FForm = nullptr;
  TksSkinData* FData = nullptr;
  const TksDataSkinLayerFrame* FFrame = nullptr;
  std::unique_ptr<TksBitmap> FActiveImage;
  std::unique_ptr<TksBitmap> FInActiveImage;
  std::array<std::unique_ptr<TksBitmap>, 4> FStrips;
  std::array<TComponentPtr<TksFormLayerWindow>, 4> FWindows;
  std::vector<TComponentPtr<TksFormLayerWindow>> FRetired;
  std::array<HRGN, 4> FBlur{};
  std::unique_ptr<TksBitmap> FBlurMask;
  bool FBlurBuilt = false;
  bool FShown = false;
  bool FActive = true;
  BYTE FActiveOpacity = 255;
  BYTE FInActiveOpacity = 255;
  int FLeftSize = 0, FTopSize = 0, FRightSize = 0, FBottomSize = 0;
  POINT FHitLT{}, FHitRT{}, FHitLB{}, FHitRB{};
  RECT FOuter{};
  bool FFading = false;
  BYTE FFadeValue = 255;
  DWORD FFadeLast = 0;
  TRect FDragBounds{};
  int FActiveObject = -1;
  int FPressedObject = -1;
};

// TksSkinButton: the skinned push button. It draws one of its record's state images (normal,
// hot, pressed, focused, disabled), cross-fades between normal and hot, plays the record's
// frame animation, shows a layered glow around itself while hovered, lays out a glyph or an
// image-list image beside its caption, and also serves as toggle, radio-like group member and
// auto-repeat button.
#pragma once

#include <functional>
#include <memory>

#include "skin/draw/glyph_draw.h"
#include "skin/form/skin_control.h"
#include "ui/forms.h"

class TksLayerManager;

enum TksButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
using TksNumGlyphs = int;  // 1 to 4

// Custom drawing of a face: set DrawDefault false to draw nothing more.
using TksButtonPaintEvent = std::function<void(TObject* Sender, TCanvas* Cnvs, TRect R,
                                               bool ADown, bool AMouseIn, bool& DrawDefault)>;

// Posted to the button itself on mouse enter and leave.
constexpr UINT WM_SHOWGLOWFRAME = WM_USER + 400;
constexpr UINT WM_HIDEGLOWFRAME = WM_USER + 401;

// What the button copies from its record beyond the control-image data.
struct TksButtonSkin {
  AnsiString FontName = "Arial";
  int FontHeight = 14;
  TFontStyles FontStyle;
  COLORREF FontColor = 0;
  COLORREF ActiveFontColor = 0;
  COLORREF DownFontColor = 0;
  COLORREF DisabledFontColor = 0;
  RECT NormalRect{};  // skinrect, or the current frame while animating backward
  RECT ActiveRect{};
  RECT DownRect{};
  RECT FocusedRect{};
  RECT DisabledRect{};
  bool Morphing = false;
  int MorphKind = 0;
  RECT AnimateRect{};
  int FrameCount = 0;
  int AnimateInterval = 25;
  bool ShowFocus = false;
  RECT MenuMarkerFlatRect{};
  RECT MenuMarkerRect{};
  RECT MenuMarkerActiveRect{};
  RECT MenuMarkerDownRect{};
  COLORREF MenuMarkerTransparentColor = 0;
  int GlowPictureIndex = -1;
  int GlowMaskPictureIndex = -1;
  int GlowOffsetLeft = 0;
  int GlowOffsetTop = 0;
  int GlowOffsetRight = 0;
  int GlowOffsetBottom = 0;
  int GlowShowOffsetX = 0;
  int GlowShowOffsetY = 0;
  int GlowAlphaBlendValue = 255;
};

class TksSkinButton : public TksSkinCustomControl {
 public:
  explicit TksSkinButton(TComponent* AOwner);
  ~TksSkinButton() override;

  // --- properties ---
  bool CheckedMode() const { return FCheckedMode; }
  void SetCheckedMode(bool Value);
  TImageList* ImageList() const { return FImageList; }
  void SetImageList(TImageList* Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  bool AlwaysShowLayeredFrame = false;
  bool UseSkinSize() const { return FUseSkinSize; }
  void SetUseSkinSize(bool Value);
  bool UseSkinFontColor() const { return FUseSkinFontColor; }
  void SetUseSkinFontColor(bool Value);
  bool RepeatMode = false;
  int RepeatInterval = 100;
  bool AllowAllUp = false;
  bool CanFocused() const { return FCanFocused; }
  void SetCanFocused(bool Value);
  bool Down() const { return FDown; }
  void SetDown(bool Value);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value);
  // Owned; assigning copies the picture.
  TBitmap* Glyph() { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value);
  TksNumGlyphs NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(TksNumGlyphs Value);
  int Margin() const { return FMargin; }
  // Values below -1 are ignored.
  void SetMargin(int Value);
  int Spacing() const { return FSpacing; }
  void SetSpacing(int Value);
  TksButtonLayout Layout() const { return FLayout; }
  void SetLayout(TksButtonLayout Value);
  bool Cancel = false;
  bool Default() const { return FDefault; }
  void SetDefault(bool Value);
  TModalResult ModalResult = mrNone;
  TksButtonPaintEvent OnPaint;

  // --- state, for those who look at the button from outside ---
  bool MouseIn() const { return FMouseIn; }
  bool ActiveDefault() const { return FActiveDefault; }
  double MorphFactor() const { return FMorphFactor; }
  bool MorphTimerRunning() const { return FMorphTimer; }
  bool AnimationRunning() const { return FAnimTimer; }
  int AnimationFrame() const { return FAnimFrame; }
  bool Repeating() const { return FRepeatTimer; }
  TksLayerManager* GlowLayer() const { return FGlow.get(); }
  const TksButtonSkin& ButtonSkin() const { return FButtonSkin; }

  // The one operation behind every way of pressing the button.
  void Click() override;

  void LoadSkinRecord() override;
  void PaintDefaultImage(TBitmap* B) override;
  void PaintSkinImage(TBitmap* B) override;
  void ApplySkin() override;
  void ReleaseSkin() override;
  void FitSizeToSkin(int& AWidth, int& AHeight) override;

  // Composes one face (source rectangle of the picture, hot, down) into B at the button's
  // size with its content; public so that the faces can be compared with what is shown.
  void ComposeFace(TBitmap* B, const RECT& Source, bool Hot, bool Down);
  // The caption colour of a face.
  TColor CaptionColor(bool Hot, bool Down);

 protected:
  void Dispatch(TMessage& Message) override;
  void CreateWnd() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  // button.cpp
  bool HasRecord() const { return SkinIndex() != -1 && FSkin.Picture; }
  bool MorphActive() const;
  bool EffectsOn() const;
  bool IsFocused();
  // Rule 2 of the face: the button shows pressed.
  bool ShowsDown();
  void FocusChanged(TWinControl* NewFocus);
  bool IsAccel(WCHAR Char);

  // button_paint.cpp
  void PaintFace(TBitmap* B);
  void PaintContent(TCanvas* C, const TRect& TextRect, bool Hot, bool Down, TColor Color);
  void PrepareFont(TCanvas* C, bool FromSkin);
  int GlyphNumber(bool Hot, bool Down);

  // button_input.cpp
  void PointerEntered();
  void PointerLeft();
  void MouseEntered();
  void MouseLeft();
  void LeftButtonDown(TMessage& Message);
  void LeftButtonUp(TMessage& Message);
  void KeyPressed(TMessage& Message, bool KeyDown);
  void DialogKey(TMessage& Message);
  void FocusGained();
  void FocusLost();
  void EnabledChanged();
  bool MouseOver(int X, int Y);

  // button_effects.cpp: morph, frame animation, repeat and glow
  void StartMorph();
  void MorphTick();
  void StopMorph();
  void MorphOrRepaint() { MorphActive() ? StartMorph() : Invalidate(); }
  void StartAnimation(bool Forward);
  void AnimationTick();
  void StopAnimation();
  bool AnimationPossible() const;
  void StartRepeat();
  void RepeatTick();
  void StopRepeat();
  void ShowGlow();
  void HideGlow();
  bool GlowAllowed() const;
  void TimerFired(UINT_PTR Id);
  bool SetButtonTimer(UINT_PTR Id, UINT Interval);
  void KillButtonTimer(UINT_PTR Id);

  bool FCheckedMode = false;
  TImageList* FImageList = nullptr;
  int FImageIndex = -1;
  bool FUseSkinSize = true;
  bool FUseSkinFontColor = true;
  bool FCanFocused = true;
  bool FDown = false;
  int FGroupIndex = 0;
  std::unique_ptr<TBitmap> FGlyph;
  TksNumGlyphs FNumGlyphs = 1;
  int FMargin = -1;
  int FSpacing = 1;
  TksButtonLayout FLayout = blGlyphLeft;
  bool FDefault = false;

  TksButtonSkin FButtonSkin;
  bool FMouseIn = false;          // hot
  bool FPointerInside = false;    // the pointer is over the button
  bool FMousePressed = false;     // between a left press and its release
  bool FToggledByPress = false;   // toggle mode: this press set it down
  bool FDownAtPress = false;      // groups: it was down already when pressed
  bool FActiveDefault = false;
  bool FSpaceDown = false;
  double FMorphFactor = 0;
  bool FMorphTimer = false;
  bool FAnimTimer = false;
  bool FAnimForward = true;
  int FAnimFrame = 0;
  bool FRepeatTimer = false;
  bool FRepeatFirst = false;
  std::unique_ptr<TksLayerManager> FGlow;
};

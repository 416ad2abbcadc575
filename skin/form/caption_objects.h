// The objects of a skinned form's frame, one per object record of the skin: the caption, the
// caption buttons, plain frame buttons and animations. Each knows its images, its place on the
// form, hovering (with a morph between its normal and hot images and a glow layer), pressing
// and, for the standard buttons, the command it runs.
#pragma once

#include <memory>

#include "skin/data/skin_data.h"
#include "ui/bitmap.h"
#include "ui/messages.h"

class TksMarluneForm;

namespace lumoa::skin {
class PixelBuffer;
struct PixelMap;
}

class TksActiveSkinObject {
 public:
  TksActiveSkinObject(TksMarluneForm* Parent, TksDataSkinObject* Data);
  virtual ~TksActiveSkinObject();
  TksActiveSkinObject(const TksActiveSkinObject&) = delete;
  TksActiveSkinObject& operator=(const TksActiveSkinObject&) = delete;

  TksDataSkinObject* Data() const { return FData; }
  const AnsiString& IDName() const { return FName; }
  AnsiString Hint;

  // The record's pictures: the normal image's (the form picture unless the record keeps
  // skinrect in its active picture), the active picture for the other states, its mask.
  TBitmap* Picture = nullptr;
  TBitmap* ActivePicture = nullptr;
  TBitmap* ActiveMask = nullptr;
  RECT SkinRect{};
  RECT ActiveSkinRect{};
  RECT InActiveSkinRect{};
  bool Morphing = false;
  TksMorphKind MorphKind = mkDefault;
  int GlowLayerPictureIndex = -1;
  int GlowLayerMaskPictureIndex = -1;
  int GlowLayerOffsetX = 0;
  int GlowLayerOffsetY = 0;
  int GlowLayerAlphaBlendValue = 255;

  // Place on the form, in window coordinates.
  RECT ObjectRect{};
  bool Visible = true;
  bool Enabled = true;
  // Hot (under the mouse, or pressed with the mouse still over it).
  bool Active = false;
  bool MouseIn = false;
  bool FormActive = true;
  // 0 shows the normal image, 1 the hot one; between them the morph.
  double MorphFactor = 0;
  // 1 shows the active form's look, 0 the inactive one; between them the activation fade.
  double ActiveFade = 1;

  // In its place and, with an active mask, on a black mask pixel.
  virtual bool PointIn(POINT P) const;
  // Draws at its place minus Origin onto Target (a frame strip whose top-left lies at Origin);
  // text goes through Canvas, which draws on the same pixels.
  virtual void Draw(const lumoa::skin::PixelMap& Target, TCanvas* Canvas, POINT Origin);
  void Draw(TBitmap* Target, POINT Origin);

  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual void MouseDown(TMouseButton Button, POINT P);
  virtual void MouseUp(TMouseButton Button, POINT P);
  virtual void MouseMove(POINT P);
  virtual void DblClick() {}
  // Follows the form's activation; with Fade the look changes over FadeStep calls.
  virtual void SetFormActive(bool Value, bool Fade = false);
  // One activation-fade step; true while the object still fades.
  bool FadeStep();
  // One morph step; true while the object still morphs.
  bool MorphStep();
  bool MorphDone() const;
  // Timer step of animated objects; true while they still change.
  virtual bool AnimationStep() { return false; }

 protected:
  // The image rectangle for the state, and the picture it lies in.
  virtual RECT StateRect(bool Hot, TBitmap*& Source) const;
  // The object's look in its current state (hovered, morphing, form active or not).
  void ComposeLook(lumoa::skin::PixelBuffer& Out);
  // Composes Rect of Source fitted to the object's place.
  void ComposeImage(TBitmap* Source, const RECT& Rect, lumoa::skin::PixelBuffer& Out) const;
  void ShowGlow();
  void HideGlow();
  void Redraw();

  TksMarluneForm* FParent;
  TksDataSkinObject* FData;
  AnsiString FName;
  int FMorphDirection = 0;
};

// The caption band: its images and the form's caption text.
class TksSkinCaptionObject : public TksActiveSkinObject {
 public:
  TksSkinCaptionObject(TksMarluneForm* Parent, TksDataSkinCaption* Data);
  void Draw(const lumoa::skin::PixelMap& Target, TCanvas* Canvas, POINT Origin) override;
  // Right end of the text area: left of the visible buttons that sit in the band.
  int TextRight = 0;

 private:
  void DrawCaptionText(TCanvas* Canvas, POINT Origin);
  TksDataSkinCaption* FCaption;
};

class TksSkinButtonObject : public TksActiveSkinObject {
 public:
  TksSkinButtonObject(TksMarluneForm* Parent, TksDataSkinButton* Data);
  void MouseDown(TMouseButton Button, POINT P) override;
  void MouseUp(TMouseButton Button, POINT P) override;
  void MouseMove(POINT P) override;
  void MouseLeave() override;
  bool Down() const { return FDown; }

 protected:
  RECT StateRect(bool Hot, TBitmap*& Source) const override;
  RECT DownRect{};
  bool FDown = false;
};

// close, maximize, minimize, system menu, roll up, minimize to tray.
class TksSkinStdButtonObject : public TksSkinButtonObject {
 public:
  TksSkinStdButtonObject(TksMarluneForm* Parent, TksDataSkinStdButton* Data);
  TksStdCommand Command() const { return FCommand; }
  void MouseDown(TMouseButton Button, POINT P) override;
  void MouseUp(TMouseButton Button, POINT P) override;
  void DblClick() override;
  // Shows the restore images and hint (a maximized, minimized or rolled-up form).
  bool RestoreState() const;
  // The hint for the current state: the restore hint where it applies and is set.
  AnsiString CurrentHint() const;
  AnsiString RestoreHint;

 protected:
  RECT StateRect(bool Hot, TBitmap*& Source) const override;

 private:
  TksStdCommand FCommand;
  TksDataSkinStdButton* FStd;
};

// Frames side by side from skinrect, played forward while hot and back when left; with a
// command it acts like the standard button of that command.
class TksSkinAnimateObject : public TksActiveSkinObject {
 public:
  TksSkinAnimateObject(TksMarluneForm* Parent, TksDataSkinAnimate* Data);
  TksStdCommand Command() const { return FAnim->command; }
  void MouseEnter() override;
  void MouseLeave() override;
  void MouseDown(TMouseButton Button, POINT P) override;
  void MouseUp(TMouseButton Button, POINT P) override;
  bool AnimationStep() override;
  int Frame() const { return FFrame; }
  AnsiString RestoreHint;

 protected:
  RECT StateRect(bool Hot, TBitmap*& Source) const override;

 private:
  TksDataSkinAnimate* FAnim;
  int FFrame = 0;
  bool FDown = false;
};

// A user object: a named rectangle that raises the mouse events and draws nothing itself.
class TksSkinUserObject : public TksActiveSkinObject {
 public:
  using TksActiveSkinObject::TksActiveSkinObject;
  void Draw(const lumoa::skin::PixelMap&, TCanvas*, POINT) override {}
};

// The object a record makes, or null for records the frame does not show (menu items, menu
// bar items and buttons).
std::unique_ptr<TksActiveSkinObject> MakeSkinObject(TksMarluneForm* Parent,
                                                    TksDataSkinObject* Data);

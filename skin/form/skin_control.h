// The base classes of every skinned control: the binding to a skin data component and to one
// control record in it found by name, off-screen painting from that record (or a plain look
// without one), size fitting and window region from the record, and the reaction to skin
// changes. Windowed (TksSkinControl, TksSkinCustomControl) and windowless
// (TksGraphicSkinControl, TksGraphicSkinCustomControl) variants.
#pragma once

#include <memory>

#include "skin/data/skin_data.h"
#include "skin/form/skin_record_data.h"
#include "ui/image_list.h"
#include "ui/win_control.h"

// Sent to the children of a control whose stretched background moved under them.
constexpr UINT WM_PARENTBACKGROUNDCHANGE = WM_USER + 260;

// What the skin-change walk of a form needs of a skinned control, whichever framework class
// it extends (the page control, edit and list box extend the framework's own controls).
class IksSkinClient {
 public:
  virtual ~IksSkinClient() = default;
  virtual TksSkinData* SkinData() const = 0;
  virtual void ApplySkin() = 0;
  virtual void ReleaseSkin() = 0;
};

// The walk of the skin-change protocol over Root's control tree: each control, then the
// children of each windowed child, depth first in child order. Sender null means every
// skinned control. Release reaches only windowed controls.
void ReleaseSkinControls(TWinControl* Root, TksSkinData* Sender);
void ApplySkinControls(TWinControl* Root, TksSkinData* Sender);

// The binding shared by all four bases: the skin data reference, the record name and the
// index of the record found last.
class TksSkinBinding {
 public:
  TksSkinData* SkinData = nullptr;
  AnsiString SkinDataName;
  int Index = -1;

  // Index of SkinDataName in a loaded skin, else -1.
  void LookUp();
  TksDataSkinControl* Record() const;
};

class TksSkinControl : public TCustomControl, public IksSkinClient {
 public:
  explicit TksSkinControl(TComponent* AOwner);
  ~TksSkinControl() override;

  AnsiString HintTitle;
  int HintImageIndex = 0;
  TImageList* HintImageList = nullptr;

  TksSkinData* SkinData() const override { return FBinding.SkinData; }
  // Stores the reference; applies the skin at once when the data holds one.
  virtual void SetSkinData(TksSkinData* Value);
  const AnsiString& SkinDataName() const { return FBinding.SkinDataName; }
  // Stores the name only; the record is found at the next lookup (every paint runs one).
  virtual void SetSkinDataName(const AnsiString& Value);
  // The bound record's index in SkinData's control records, -1 when none.
  int SkinIndex() const { return FBinding.Index; }
  TksDataSkinControl* SkinRecord() const { return FBinding.Record(); }

  virtual void LoadSkinRecord();
  virtual void PaintDefaultImage(TBitmap* B);
  virtual void PaintSkinImage(TBitmap* B);
  void ApplySkin() override;
  void ReleaseSkin() override;
  virtual void SkinApplied() {}
  virtual void ParentBackgroundChanged() {}

 protected:
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // True only inside the control's own WM_PAINT handling (not when drawing into another DC
  // on request).
  bool InPaint() const { return FInPaint; }
  // Paints B (sized to the control) from the record or in the plain look, and draws it.
  void PaintOffScreen();

  TksSkinBinding FBinding;

 private:
  bool FInPaint = false;
};

// What the custom bases add to a windowed or a windowless skinned control: the font and size
// of a control without record, and the data copied from its control-image record.
template <class Base>
class TksSkinCustomBase : public Base {
 public:
  explicit TksSkinCustomBase(TComponent* AOwner);
  ~TksSkinCustomBase() override;

  TFont* DefaultFont() { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value);
  int DefaultWidth() const { return FDefaultWidth; }
  void SetDefaultWidth(int Value);
  int DefaultHeight() const { return FDefaultHeight; }
  void SetDefaultHeight(int Value);
  bool UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value);

  void LoadSkinRecord() override;
  void PaintDefaultImage(TBitmap* B) override;
  void PaintSkinImage(TBitmap* B) override;
  virtual void DefaultFontChanged() {}
  // Fits a proposed size to the record and computes the resized geometry for it.
  virtual void FitSizeToSkin(int& AWidth, int& AHeight);

  // Composes Source (the record's skinrect or one of its state images) of Picture into B,
  // fitted to the control's size the way the composition mode says.
  void BuildSkinImage(TBitmap* B, TBitmap* Picture, const RECT& Source);

  // The data copied from the bound control-image record.
  const TksSkinRecordData& Skin() const { return FSkin; }

 protected:
  TksSkinRecordData FSkin;
  // For containers that paint a tiled or stretched client area of their own (windowed only).
  bool FForceBackground = false;

 private:
  std::unique_ptr<TFont> FDefaultFont;
  int FDefaultWidth = 0;
  int FDefaultHeight = 0;
  bool FUseSkinFont = true;
};

extern template class TksSkinCustomBase<TksSkinControl>;

class TksSkinCustomControl : public TksSkinCustomBase<TksSkinControl> {
 public:
  using TksSkinCustomBase::TksSkinCustomBase;

  void ApplySkin() override;
  virtual void UpdateSkinRegion();
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  // True while a window region from the mask is set on the window.
  bool HasSkinRegion() const { return FRegionSet; }

 protected:
  void Paint() override;
  void CreateWnd() override;
  // Sends WM_PARENTBACKGROUNDCHANGE to every child control.
  void NotifyChildrenOfBackground();

  bool FDrawBackground = true;

 private:
  void ForcedBackgroundPaint();

  bool FRegionSet = false;
  bool FRegionPending = false;
};

class TksGraphicSkinControl : public TGraphicControl, public IksSkinClient {
 public:
  explicit TksGraphicSkinControl(TComponent* AOwner);
  ~TksGraphicSkinControl() override;

  AnsiString HintTitle;
  int HintImageIndex = 0;
  TImageList* HintImageList = nullptr;

  TksSkinData* SkinData() const override { return FBinding.SkinData; }
  virtual void SetSkinData(TksSkinData* Value);
  const AnsiString& SkinDataName() const { return FBinding.SkinDataName; }
  void SetSkinDataName(const AnsiString& Value) { FBinding.SkinDataName = Value; }
  int SkinIndex() const { return FBinding.Index; }
  TksDataSkinControl* SkinRecord() const { return FBinding.Record(); }

  virtual void LoadSkinRecord();
  virtual void PaintDefaultImage(TBitmap* B);
  virtual void PaintSkinImage(TBitmap* B);
  void ApplySkin() override;
  void ReleaseSkin() override;

 protected:
  void Paint() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  TksSkinBinding FBinding;
};

extern template class TksSkinCustomBase<TksGraphicSkinControl>;

class TksGraphicSkinCustomControl : public TksSkinCustomBase<TksGraphicSkinControl> {
 public:
  using TksSkinCustomBase::TksSkinCustomBase;

  void ApplySkin() override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

 protected:
  void Paint() override;
};

// The plain look of a control without a record: normal, hot, and pressed (or active and
// focused).
enum class TksPlainState { Normal, Hot, Pressed };
void PaintPlainLook(TCanvas* Canvas, const TRect& R, TksPlainState State);

// TksMarluneForm: the component that makes a form belong to the skin. It takes over the form's
// window procedure and, from the skin's [FORMINFO] section and object records, draws the frame
// and caption, answers hit testing, shapes the window from the mask, drives the caption
// objects, rolls the form up, opens the system menu, fades the form in, keeps a minimum size,
// paints the client background and relays the skin-change messages to the form's controls.
// A borderless form gets the background, hit testing and relay, but no frame and no region.
#pragma once

#include <memory>
#include <vector>

#include "skin/data/skin_data.h"
#include "skin/form/caption_objects.h"
#include "ui/forms.h"
#include "ui/image_list.h"
#include "ui/menus.h"

class TksFormLayerBorder;
class TksLayerManager;

// Shows a skinned form's system menu drawn from the skin; the skinned controls' layer, which
// draws menus, installs it. Without one the framework's plain menu shows.
using TksSkinMenuPresenter = void (*)(TPopupMenu* Menu, TksSkinData* SkinData, int X, int Y);
void SetSkinMenuPresenter(TksSkinMenuPresenter Presenter);
TksSkinMenuPresenter SkinMenuPresenter();

enum class TksBorderIcon { biSystemMenu, biMinimize, biMaximize, biRollUp, biMinimizeToTray };
using TksBorderIcons = TSet<TksBorderIcon>;
enum TksClientInActiveEffectType { ksieSemiTransparent, ksieBlur };
enum TksPositionInMonitor { kspDefault, kspScreenCenter, kspDesktopCenter };

// The code a hit test answers over frame objects and the outer band: the platform does nothing
// there and the skinner tracks its objects.
constexpr int HTSKINOBJECT = 19;

// Identification and suppression messages of skinned forms.
constexpr UINT WM_SKINFORMQUERY = 45490;       // answers kSkinnedFormAnswer or kPlainFormAnswer
constexpr UINT WM_SUPPRESSLAYEREDBORDER = 45491;
constexpr UINT WM_RESUMELAYEREDBORDER = 45492;
constexpr UINT WM_SKINIDENTIFY = 45513;        // paints the frame into wParam's DC; 12851
constexpr UINT WM_PAINTFRAMETODC = 48203;      // with lParam kPaintFrameTag
constexpr UINT WM_BRINGSTAYONTOPFORMS = 0x0400 + 402;
constexpr LRESULT kSkinnedFormAnswer = 12853;
constexpr LRESULT kPlainFormAnswer = 12852;
constexpr LRESULT kSkinIdentifyAnswer = 12851;
constexpr LPARAM kPaintFrameTag = 16802;
// Timers on the form's window.
constexpr UINT_PTR kShowTimer = 1;
constexpr UINT_PTR kTrackTimer = 2;
constexpr UINT_PTR kMorphTimer = 3;
constexpr UINT_PTR kActivateTimer = 4;

using TksObjectMouseEvent = std::function<void(const AnsiString& IDName, TMouseButton Button,
                                               int X, int Y, int ObjectLeft, int ObjectTop)>;
using TksObjectMoveEvent = std::function<void(const AnsiString& IDName, int X, int Y,
                                              int ObjectLeft, int ObjectTop)>;
using TksObjectNotifyEvent = std::function<void(const AnsiString& IDName)>;
using TksCaptionPaintEvent = std::function<void(TCanvas* Canvas, const TRect& R)>;

// The frame geometry for the form's current size.
struct TksFormGeometry {
  POINT NewLTPoint{}, NewRTPoint{}, NewLBPoint{}, NewRBPoint{};
  RECT NewClRect{};
  RECT NewCaptionRect{};
  RECT NewButtonsRect{};
  bool ButtonsInLeft = false;
  POINT NewHitTestLTPoint{}, NewHitTestRTPoint{}, NewHitTestLBPoint{}, NewHitTestRBPoint{};
  RECT NewMaskRectArea{};
  int ButtonsOffset = 0;
};

class TksMarluneForm : public TComponent {
 public:
  // AOwner must be a form (EInvalidCast otherwise).
  explicit TksMarluneForm(TComponent* AOwner);
  ~TksMarluneForm() override;
  void Destroying() override;

  TksSkinData* SkinData() const { return FSkinData; }
  void SetSkinData(TksSkinData* Value);
  TksSkinData* MenusSkinData() const { return FMenusSkinData; }
  void SetMenusSkinData(TksSkinData* Value);
  TksBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TksBorderIcons Value);
  TWindowState WindowState() const;
  void SetWindowState(TWindowState Value);

  bool QuickButtonsShowHint = false;
  bool QuickButtonsShowDivider = true;
  TImageList* QuickImageList = nullptr;
  bool ClientInActiveEffect = false;
  TksClientInActiveEffectType ClientInActiveEffectType = ksieSemiTransparent;
  bool DisableSystemMenu = false;
  bool UseDefaultSysMenu = true;
  // A menu of the user's; the skinner's own menu is used when none.
  TPopupMenu* SystemMenu = nullptr;
  bool AlwaysResize = false;
  TksPositionInMonitor PositionInMonitor = kspDefault;
  bool UseFormCursorInNCArea = false;
  int MaxMenuItemsInWindow = 0;
  int ClientWidth = 0;
  int ClientHeight = 0;
  bool HideCaptionButtons = false;
  bool ShowIcon = false;
  bool AlwaysShowInTray = false;
  bool AlwaysMinimizeToTray = false;
  TComponent* TrayIcon = nullptr;
  TBitmap* LogoBitMap() { return FLogoBitMap.get(); }
  bool LogoBitMapTransparent = false;
  bool UseSkinFontInMenu = true;
  bool MaximizeOnFullScreen = false;
  bool AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool Value);
  bool AlphaBlendAnimation = false;
  BYTE AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(BYTE Value);
  bool MenusAlphaBlend = false;
  bool MenusAlphaBlendAnimation = false;
  BYTE MenusAlphaBlendValue = 200;
  TComponent* SkinHint = nullptr;
  bool ShowObjectHint = false;
  bool UseDefaultObjectHint = true;
  TFont* DefCaptionFont() { return &FDefCaptionFont; }
  void SetDefCaptionFont(TFont* Value);
  TFont* DefInActiveCaptionFont() { return &FDefInActiveCaptionFont; }
  void SetDefInActiveCaptionFont(TFont* Value);
  int DefMenuItemHeight = 20;
  TFont* DefMenuItemFont() { return &FDefMenuItemFont; }
  int MinWidth = 0;
  int MinHeight = 0;
  int MaxWidth = 0;
  int MaxHeight = 0;
  bool Magnetic = false;
  BYTE MagneticSize = 5;
  TComponent* SkinRibbon = nullptr;
  TComponent* StatusBar = nullptr;
  TComponent* MainMenuBar = nullptr;
  TComponent* MDITabsBar = nullptr;

  TksCaptionPaintEvent OnCaptionPaint;
  TNotifyEvent OnChangeSkinData;
  TNotifyEvent OnBeforeChangeSkinData;
  TNotifyEvent OnAfterChangeSkinData;
  TksObjectMouseEvent OnMouseUpEvent;
  TksObjectMouseEvent OnMouseDownEvent;
  TksObjectMoveEvent OnMouseMoveEvent;
  TksObjectNotifyEvent OnMouseEnterEvent;
  TksObjectNotifyEvent OnMouseLeaveEvent;
  TNotifyEvent OnPaintEvent;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeActivate;
  TNotifyEvent OnSkinMenuOpen;
  TNotifyEvent OnSkinMenuClose;
  TNotifyEvent OnChangeRollUpState;
  TNotifyEvent OnMainMenuEnter;
  TNotifyEvent OnMainMenuExit;
  TNotifyEvent OnMinimizeToTray;
  TNotifyEvent OnRestoreFromTray;
  TksObjectNotifyEvent OnActivateCustomObject;
  TNotifyEvent OnMinimize;
  TNotifyEvent OnRestore;
  TNotifyEvent OnMaximize;
  TNotifyEvent OnShortCut;
  TNotifyEvent OnAcceptToMDITabsBar;
  // Shows the system menu at a screen point; a layer that has a skinned popup menu sets it.
  // Without it the framework's menu opens.
  std::function<void(TPopupMenu* Menu, int X, int Y)> OnPopupMenu;

  // --- State the frame objects, the layered border and tests read ---
  TCustomForm* Form() const { return FForm; }
  bool Skinnable() const { return FSkinnable; }
  bool Skinned() const { return FSkinned; }
  bool HasBorder() const;
  bool Sizeable() const;
  bool FormActive() const { return FFormActive; }
  bool RollUpState() const { return FRollUp; }
  void SetRollUpState(bool Value);
  bool IsMaximized() const { return FWindowState == wsMaximized; }
  bool IsMinimized() const;
  const TksFormGeometry& Geometry() const { return FGeometry; }
  int ObjectCount() const { return static_cast<int>(FObjects.size()); }
  TksActiveSkinObject* Objects(int Index) const { return FObjects[static_cast<size_t>(Index)].get(); }
  TksActiveSkinObject* FindObject(const AnsiString& IDName) const;
  int ActiveObject() const { return FActiveObject; }
  TksFormLayerBorder* LayerBorder() const { return FLayerBorder.get(); }
  TPopupMenu* SkinSystemMenu() const { return FSysMenu; }
  TksLayerManager* GlowLayer() const { return FGlow1; }
  bool LayeredWindowsAvailable() const { return FLayeredAvailable; }
  // True when the layered border draws around the form (the conditions of its use).
  bool LayeredBorderInUse() const;
  bool LayeredBorderSuppressed() const { return FSuppressLayered; }
  BYTE FadeOpacity() const { return FFadeValue; }
  bool Fading() const { return FFading; }

  // The smallest and largest size the form may take now.
  void GetMinSize(int& W, int& H) const;
  void GetMaxSize(int& W, int& H) const;
  // Recomputes the frame geometry and object places for the form's current size.
  void UpdateGeometry();
  // Geometry, object places and the window region for the current size.
  void UpdateGeometryAndRegion();
  // The skinned hit test at a point in window coordinates.
  int SkinHitTest(POINT P);
  // Index of the visible, enabled object at P (window coordinates) that takes the mouse.
  int ObjectAt(POINT P) const;
  // Paints the client background into DC (client coordinates).
  void PaintBackground(HDC DC);
  // Paints frame, caption and objects into a window DC (window coordinates).
  void PaintFrame(HDC DC);
  // Composes the four frame strips for the current size and state (objects drawn on them).
  bool ComposeFrameStrips(TBitmap& Top, TBitmap& Bottom, TBitmap& Left, TBitmap& Right);
  // The system menu, rebuilt, opened at the screen point.
  void ShowSystemMenu(int X, int Y);
  void BuildSystemMenu();
  // The standard command of a caption button.
  void DoStdCommand(TksStdCommand Command);
  void Maximize();
  void Restore();
  void Minimize();
  // What the frame objects need of their form.
  bool EffectsEnabled() const;
  TBitmap* MainPicture() const;
  void RedrawObject(TksActiveSkinObject* Object);
  void StartMorphTimer();
  void ShowObjectGlow(TksActiveSkinObject* Object);
  void HideObjectGlow(TksActiveSkinObject* Object);
  void RaiseObjectEvent(int Kind, TksActiveSkinObject* Object, TMouseButton Button, POINT P);
  // Sets caption button and animation hints from the resource strings (or built-in texts).
  void UpdateObjectHints();
  // Screen position of the window's top-left.
  POINT WindowOrigin() const;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TksFormLayerBorder;
  void NewWndProc(TMessage& M);
  void CallOld(TMessage& M);
  void ApplySkin();
  void CreateObjects();
  void SetObjectsVisibility();
  // With Fade the caption objects change their look over the activation timer.
  void SetObjectsFormActive(bool Fade);
  void EnforceMinimumSize();
  void NudgeWidth();
  void SetRegion();
  void RemoveRegion();
  void ApplyFrameStyle(bool Own);
  int BuiltInHitTest(POINT P);
  void PaintBuiltInFrame(HDC DC);
  void NCCalcSize(TMessage& M);
  void NCActivate(bool Active);
  void NCMouse(TMessage& M);
  void ClientMouse(TMessage& M);
  void TrackObjects(POINT P);
  void LeaveObjects();
  void EndPress(POINT P, bool Released);
  // Moves R (a dragged window rectangle) onto screen edges and other forms within
  // MagneticSize pixels.
  void Dock(RECT& R) const;
  void StartSizing(int Hit, POINT Screen);
  void Sizing(POINT Screen);
  void OnTimer(UINT_PTR Id);
  void PrepareFadeIn();
  void FadeStep();
  void SetLayeredStyle(bool On, BYTE Alpha);
  void StopTimers();
  void HideGlows();
  void ShowLayeredBorder(bool Fade);
  void HideLayeredBorder();
  HWND Handle() const;
  AnsiString ResText(const char* Key, const char* BuiltIn) const;

  TCustomForm* FForm = nullptr;
  TWndMethod FOldWindowProc;
  TksSkinData* FSkinData = nullptr;
  TksSkinData* FMenusSkinData = nullptr;
  TksBorderIcons FBorderIcons{TksBorderIcon::biSystemMenu, TksBorderIcon::biMinimize,
                              TksBorderIcon::biMaximize, TksBorderIcon::biRollUp};
  bool FSkinnable = true;
  bool FSkinned = false;
  bool FFormActive = true;
  int FFormWidth = 0;
  int FFormHeight = 0;
  TksFormGeometry FGeometry;
  std::vector<std::unique_ptr<TksActiveSkinObject>> FObjects;
  int FActiveObject = -1;
  int FPressedObject = -1;
  bool FRollUp = false;
  int FOldHeight = 0;
  bool FRegionSet = false;
  HRGN FHitRegion = nullptr;  // a copy of the window region for the edge test
  TWindowState FWindowState = wsNormal;
  TRect FRestoreBounds{};
  bool FAlphaBlend = false;
  BYTE FAlphaBlendValue = 200;
  TFont FDefCaptionFont;
  TFont FDefInActiveCaptionFont;
  TFont FDefMenuItemFont;
  std::unique_ptr<TBitmap> FLogoBitMap;
  TksLayerManager* FGlow1 = nullptr;
  TksLayerManager* FGlow2 = nullptr;
  TksActiveSkinObject* FGlowObject = nullptr;
  std::unique_ptr<TksFormLayerBorder> FLayerBorder;
  TPopupMenu* FSysMenu = nullptr;
  std::vector<TMenuItem*> FAddedSysItems;
  bool FLayeredAvailable = false;
  bool FVistaOrLater = false;
  bool FSuppressLayered = false;
  int FSizing = 0;  // hit code of a resize by the frame in progress
  POINT FSizeStart{};
  TRect FSizeBounds{};
  bool FFading = false;
  BYTE FFadeValue = 255;
  BYTE FFadeTarget = 255;
  DWORD FFadeLast = 0;
  bool FMorphTimer = false;
  bool FInApply = false;
};

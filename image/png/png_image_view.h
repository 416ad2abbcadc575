// TksPngImageView: a windowless control that shows one image of a PNG storage (or of a PNG
// image list) with full alpha over whatever lies beneath it, optionally with a reflection
// that fades out below it.
#pragma once

#include <memory>

#include "ui/controls.h"

class TksBitmap;
class TksPngImage;
class TksPngImageList;
class TksPngImageStorage;

class TksPngImageView : public TGraphicControl {
 public:
  explicit TksPngImageView(TComponent* AOwner);
  ~TksPngImageView() override;

  // Paints into an off-screen bitmap that first receives what lies beneath; the control
  // is then opaque to its parent.
  bool DoubleBuffered() const { return FDoubleBuffered; }
  void SetDoubleBuffered(bool Value);
  bool ReflectionEffect() const { return FReflectionEffect; }
  void SetReflectionEffect(bool Value);
  // Sizes the control to the image (plus room for the reflection).
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value);
  TksPngImageList* PngImageList() const { return FPngImageList; }
  void SetPngImageList(TksPngImageList* Value);
  TksPngImageStorage* PngImageStorage() const { return FPngImageStorage; }
  void SetPngImageStorage(TksPngImageStorage* Value);
  // -1 shows nothing; values below -1 are ignored.
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  bool Center() const { return FCenter; }
  void SetCenter(bool Value);

  // The reflection as last built, or null.
  const TksBitmap* ReflectionBitmap() const { return FReflection.get(); }

  void Loaded() override;
  void Dispatch(TMessage& Message) override;

 protected:
  void Paint() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  // The image shown and the size it is drawn in, from the storage first, else the list.
  struct Source {
    const TksPngImage* Png = nullptr;
    int Width = 0;
    int Height = 0;
    bool FromStorage = false;
  };
  Source CurrentSource() const;
  void BuildReflection();
  void ApplyAutoSize();
  // Reflection, size and repaint after the image shown may have changed.
  void SourceChanged();
  bool Designing() const { return ComponentState().Contains(csDesigning); }

  bool FDoubleBuffered = false;
  bool FReflectionEffect = false;
  bool FAutoSize = true;
  TksPngImageList* FPngImageList = nullptr;
  TksPngImageStorage* FPngImageStorage = nullptr;
  int FImageIndex = -1;
  bool FCenter = false;
  std::unique_ptr<TksBitmap> FReflection;
};

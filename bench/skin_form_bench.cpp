// The paint path of a skinned control (record lookup, size fitting, off-screen composition and
// the copy onto the window's DC) against the bare composition routine of the same size in the
// same run: a 402 x 55 nine-part panel and a 59 x 21 button of the shipped skin 0.
#include <benchmark/benchmark.h>

#include "platform/backend/headless/headless_backend.h"
#include "platform/user/window.h"
#include "skin/data/compressed_skin.h"
#include "skin/draw/bitmap_target.h"
#include "skin/draw/record_geometry.h"
#include "skin/form/skin_control.h"
#include "skins/stored_skins.h"
#include "ui/forms.h"
#include "ui/streams.h"

using namespace lumoa::skin;

namespace {

struct Scene {
  Scene() {
    lumoa::platform::SetBackend(std::make_unique<lumoa::platform::HeadlessBackend>());
    Application = new TApplication(nullptr);
    Screen = new TScreen(nullptr);
    const auto bytes = lumoa::skins::StoredSkin(0);
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    std::vector<uint8_t> compressed;
    ReadStoredFormA(stream, compressed);
    stored = new TksCompressedStoredSkin(Application);
    stored->SetCompressedData(std::move(compressed));
    data = new TksSkinData(Application);
    data->SetCompressedStoredSkin(stored);
    form = new TForm(Application);
    form->SetBorderStyle(bsNone);
    form->SetBounds(0, 0, 500, 100);
    form->Show();
    Application->ProcessMessages();
  }
  TksSkinCustomControl* Control(const char* name, int w, int h) {
    auto* c = new TksSkinCustomControl(form);
    c->SetSkinDataName(name);
    c->SetParent(form);
    c->SetBounds(0, 0, w, h);
    c->SetSkinData(data);
    c->HandleNeeded();
    return c;
  }
  const TksDataSkinCustomControl& Record(const char* name) {
    return static_cast<const TksDataSkinCustomControl&>(
        *data->ControlRecords[static_cast<size_t>(data->GetControlIndex(name))]);
  }
  TksCompressedStoredSkin* stored = nullptr;
  TksSkinData* data = nullptr;
  TForm* form = nullptr;
};

Scene& TheScene() {
  static Scene scene;
  return scene;
}

// Paints the control into its window's DC the way WM_PAINT does.
void PaintPath(benchmark::State& state, const char* name, int w, int h) {
  TksSkinCustomControl* c = TheScene().Control(name, w, h);
  HDC dc = GetDC(c->Handle());
  for (auto _ : state) {
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    benchmark::ClobberMemory();
  }
  ReleaseDC(c->Handle(), dc);
  delete c;
}

void BM_PanelPaint(benchmark::State& state) { PaintPath(state, "panel", 402, 55); }
BENCHMARK(BM_PanelPaint)->Unit(benchmark::kMicrosecond);

void BM_PanelComposeReference(benchmark::State& state) {
  Scene& s = TheScene();
  const TksDataSkinCustomControl& r = s.Record("panel");
  TBitmap* picture = s.data->ActivePicture(r.pictureindex);
  const SkinGeometry g = GeometryOf(r);
  const ResizedGeometry n = ResizeSkinGeometry(g, 402, 55);
  for (auto _ : state) {
    TBitmap out;
    ComposeSkinImage(picture, g, n, 402, 55, true, StretchModesOf(r), &out);
    benchmark::DoNotOptimize(out.ScanLine(0));
  }
}
BENCHMARK(BM_PanelComposeReference)->Unit(benchmark::kMicrosecond);

void BM_ButtonPaint(benchmark::State& state) { PaintPath(state, "button", 59, 21); }
BENCHMARK(BM_ButtonPaint)->Unit(benchmark::kMicrosecond);

void BM_ButtonComposeReference(benchmark::State& state) {
  Scene& s = TheScene();
  const TksDataSkinCustomControl& r = s.Record("button");
  TBitmap* picture = s.data->ActivePicture(r.pictureindex);
  const int skinW = r.skinrect.right - r.skinrect.left;
  for (auto _ : state) {
    TBitmap out;
    ComposeHorzSkinImage(r.lefttoppoint.x, skinW - r.righttoppoint.x, &out, r.stretcheffect, 59,
                         picture, r.skinrect);
    benchmark::DoNotOptimize(out.ScanLine(0));
  }
}
BENCHMARK(BM_ButtonComposeReference)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

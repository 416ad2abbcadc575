#include "platform/gdi/gdi_object.h"

#include <unordered_set>

#include "platform/gdi/brush_pen.h"
#include "platform/text/stock_font.h"
#include "platform/winfont.h"
#include "platform/wingdi.h"

namespace lumoa::platform {
namespace {

std::unordered_set<const GdiObject*>& LiveObjects() {
  static auto* live = new std::unordered_set<const GdiObject*>();  // outlives static destructors
  return *live;
}

template <class T>
T* MakeStock(T* object) {
  object->stock = true;
  return object;
}

Brush* StockBrush(COLORREF c) { return MakeStock(new Brush(BS_SOLID, c)); }

}  // namespace

size_t LiveGdiObjectCount() {
  size_t n = 0;
  for (const GdiObject* o : LiveObjects()) n += o->stock ? 0 : 1;
  return n;
}

GdiObject::GdiObject(DWORD type) : type_(type) { LiveObjects().insert(this); }

GdiObject::~GdiObject() { LiveObjects().erase(this); }

GdiObject* LookupGdiObject(HGDIOBJ h) {
  if (!h) return nullptr;
  auto* o = static_cast<GdiObject*>(h);
  return LiveObjects().count(o) ? o : nullptr;
}

}  // namespace lumoa::platform

using namespace lumoa::platform;

HGDIOBJ GetStockObject(int i) {
  static Brush* const brushes[] = {StockBrush(RGB(255, 255, 255)), StockBrush(RGB(192, 192, 192)),
                                   StockBrush(RGB(128, 128, 128)), StockBrush(RGB(64, 64, 64)),
                                   StockBrush(RGB(0, 0, 0)), MakeStock(new Brush(BS_NULL, 0))};
  static Pen* const pens[] = {MakeStock(new Pen(PS_SOLID, 0, RGB(255, 255, 255))),
                              MakeStock(new Pen(PS_SOLID, 0, RGB(0, 0, 0))),
                              MakeStock(new Pen(PS_NULL, 0, 0))};
  static Brush* const dc_brush = [] {
    Brush* b = StockBrush(RGB(255, 255, 255));
    b->dc_brush = true;
    return b;
  }();
  static Pen* const dc_pen = [] {
    Pen* p = MakeStock(new Pen(PS_SOLID, 0, 0));
    p->dc_pen = true;
    return p;
  }();
  switch (i) {
    case WHITE_BRUSH:
    case LTGRAY_BRUSH:
    case GRAY_BRUSH:
    case DKGRAY_BRUSH:
    case BLACK_BRUSH:
    case NULL_BRUSH:
      return brushes[i]->handle();
    case WHITE_PEN:
    case BLACK_PEN:
    case NULL_PEN:
      return pens[i - WHITE_PEN]->handle();
    case DC_BRUSH:
      return dc_brush->handle();
    case DC_PEN:
      return dc_pen->handle();
    case OEM_FIXED_FONT:
    case ANSI_FIXED_FONT:
    case ANSI_VAR_FONT:
    case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT:
    case SYSTEM_FIXED_FONT:
    case DEFAULT_GUI_FONT:
      return StockFont(i);
    default:
      return nullptr;
  }
}

DWORD GetObjectType(HGDIOBJ h) {
  const GdiObject* o = LookupGdiObject(h);
  return o ? o->type() : 0;
}

int GetObjectW(HANDLE h, int c, LPVOID pv) {
  const GdiObject* o = LookupGdiObject(h);
  if (!o || c < 0) return 0;
  return o->Describe(pv ? c : 0, pv);
}

int GetObjectA(HANDLE h, int c, LPVOID pv) {
  const GdiObject* o = LookupGdiObject(h);
  if (!o || c < 0) return 0;
  if (o->type() != OBJ_FONT) return o->Describe(pv ? c : 0, pv);
  if (!pv) return sizeof(LOGFONTA);
  LOGFONTW w{};
  if (o->Describe(sizeof w, &w) != static_cast<int>(sizeof w)) return 0;
  LOGFONTA a{};
  std::memcpy(&a, &w, offsetof(LOGFONTW, lfFaceName));
  // Face names are ASCII in practice; anything else would need the ANSI code page.
  for (int i = 0; i < LF_FACESIZE - 1 && w.lfFaceName[i]; ++i)
    a.lfFaceName[i] = w.lfFaceName[i] < 0x80 ? static_cast<CHAR>(w.lfFaceName[i]) : '?';
  const int n = std::min<int>(c, sizeof a);
  std::memcpy(pv, &a, static_cast<size_t>(n));
  return n;
}

BOOL DeleteObject(HGDIOBJ ho) {
  GdiObject* o = LookupGdiObject(ho);
  if (!o) return FALSE;
  if (o->stock) return TRUE;  // deleting a stock object is harmless and does nothing
  if (o->selected > 0) return FALSE;
  const DWORD t = o->type();
  if (t == OBJ_DC || t == OBJ_MEMDC) return FALSE;
  delete o;
  return TRUE;
}

BOOL GdiFlush() { return TRUE; }

#include "platform/window/paint.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <utility>

#include "platform/draw/gdi.h"
#include "platform/system/clock.h"
#include "platform/window/backend.h"
#include "platform/window/window.h"
#include "platform/window/window_internal.h"
#include "platform/window/window_picture.h"

namespace platform {

using internal::CallProcedure;
using internal::FindWindowRecord;
using internal::Window;

namespace {

// Pictures of windows are shown at most this often while the loop stays busy.
constexpr uint32_t kPresentIntervalMs = 15;
uint32_t g_last_present_ms = 0;

bool IsEmpty(const RECT& rect) { return rect.left >= rect.right || rect.top >= rect.bottom; }

RECT Intersect(const RECT& a, const RECT& b) {
  return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
}

RECT Union(const RECT& a, const RECT& b) {
  return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom)};
}

bool Covers(const RECT& outer, const RECT& inner) {
  return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
         outer.bottom >= inner.bottom;
}

std::shared_ptr<Window> FindOwnWindow(HWND hwnd) {
  auto window = FindWindowRecord(hwnd);
  if (!window || window->queue->thread != std::this_thread::get_id()) return nullptr;
  return window;
}

void AddInvalid(Window& window, const RECT& area, bool erase) {
  const RECT client{0, 0, window.client_width, window.client_height};
  const RECT clipped = Intersect(area, client);
  if (IsEmpty(clipped)) return;
  window.update_rect = window.update_pending ? Union(window.update_rect, clipped) : clipped;
  window.update_pending = true;
  window.erase_pending = window.erase_pending || erase;
}

void Validate(Window& window) {
  window.update_pending = false;
  window.erase_pending = false;
  window.update_rect = RECT{0, 0, 0, 0};
}

// Sends the erase message for the invalid area; true when the procedure (or the default) erased.
bool SendErase(const std::shared_ptr<Window>& window) {
  window->erase_pending = false;
  const HDC dc = internal::WindowDC(*window);
  const LRESULT erased = CallProcedure(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  return erased != 0;
}

Surface& ScreenPicture() {
  static Surface picture(1, 1);
  return picture;
}

}  // namespace

namespace internal {

HDC WindowDC(Window& window) {
  if (window.dc == nullptr) window.dc = CreateSurfaceDC(window.surface.get());
  return window.dc;
}

HDC MenuBandDC(Window& window) {
  if (window.band_dc == nullptr && window.menu_band) window.band_dc = CreateSurfaceDC(window.menu_band.get());
  return window.band_dc;
}

void ReleaseWindowDCs(Window& window) {
  if (window.dc != nullptr) DeleteDC(window.dc);
  if (window.band_dc != nullptr) DeleteDC(window.band_dc);
  window.dc = nullptr;
  window.band_dc = nullptr;
}

bool EraseWithClassBrush(Window& window, HDC dc) {
  const HBRUSH brush = window.window_class->wc.hbrBackground;
  if (brush == nullptr || dc == nullptr) return false;
  const RECT area = window.update_pending ? window.update_rect : RECT{0, 0, window.client_width, window.client_height};
  FillRect(dc, &area, brush);
  return true;
}

void InvalidateAll(Window& window, bool erase) {
  AddInvalid(window, RECT{0, 0, window.client_width, window.client_height}, erase);
}

void ResizePictures(Window& window, int32_t band_height) {
  if (!window.surface) window.surface = std::make_unique<Surface>();
  Surface& picture = *window.surface;
  if (picture.width != window.client_width || picture.height != window.client_height) {
    // The picture object stays where it is (drawing contexts point at it); its pixels are
    // replaced, keeping what the old and new sizes share.
    Surface resized(window.client_width, window.client_height);
    const int32_t rows = std::min(picture.height, resized.height);
    const size_t bytes = static_cast<size_t>(std::min(picture.width, resized.width)) * 3;
    for (int32_t row = 0; row < rows; ++row) std::memcpy(resized.Row(row), picture.Row(row), bytes);
    picture = std::move(resized);
    picture.MarkAllDrawn();
  }
  if (band_height > 0 || window.menu_band) {
    if (!window.menu_band) window.menu_band = std::make_unique<Surface>();
    Surface& band = *window.menu_band;
    if (band.width != window.client_width || band.height != band_height) {
      band.width = window.client_width;
      band.height = band_height;
      band.pixels.assign(static_cast<size_t>(band.width) * band.height * 3, 0);
      band.MarkAllDrawn();
    }
  }
}

void PaintWindowNow(const std::shared_ptr<Window>& window) {
  if (!window->update_pending || window->destroying) return;
  if (window->erase_pending) {
    SendErase(window);
    if (!IsWindow(window->handle)) return;
  }
  window->begin_paint_seen = false;
  CallProcedure(window, WM_PAINT, 0, 0);
  // A procedure that never calls BeginPaint would otherwise be sent WM_PAINT for ever.
  if (IsWindow(window->handle) && !window->begin_paint_seen) Validate(*window);
}

void MarkPictureDirty(Window& window) {
  if (const auto top = TopLevelOf(FindWindowRecord(window.handle))) top->picture_dirty = true;
}

namespace {

// Rows composed at a time: the scratch picture stays small whatever the size of the windows.
constexpr int32_t kComposeChunkRows = 64;

void Widen(std::optional<RowRange>* range, int32_t row) {
  if (!*range) {
    *range = RowRange{row, row + 1};
    return;
  }
  (*range)->first = std::min((*range)->first, row);
  (*range)->end = std::max((*range)->end, row + 1);
}

// Composes the rows `rows` of the window's picture (with its menu band), a chunk at a time, and
// copies each row that differs from `shown` into it. Returns the band of rows that changed.
std::optional<RowRange> UpdateShownRows(const Window& window, RowRange rows, Surface* shown) {
  static Surface chunk;
  if (chunk.width < shown->width) chunk = Surface(shown->width, kComposeChunkRows);
  const size_t stride = shown->Stride();
  std::optional<RowRange> changed;
  for (int32_t first = std::max(rows.first, 0); first < std::min(rows.end, shown->height); first += kComposeChunkRows) {
    const int32_t end = std::min({first + kComposeChunkRows, rows.end, shown->height});
    std::memset(chunk.pixels.data(), 0, static_cast<size_t>(end - first) * chunk.Stride());
    ComposeWindowRows(window, true, RowRange{first, end}, &chunk);
    for (int32_t row = first; row < end; ++row) {
      const uint8_t* fresh = std::as_const(chunk).Row(row - first);
      if (std::memcmp(std::as_const(*shown).Row(row), fresh, stride) == 0) continue;
      std::memcpy(shown->Row(row), fresh, stride);
      Widen(&changed, row);
    }
  }
  return changed;
}

}  // namespace

void PresentPictures(bool force) {
  Backend& backend = GetBackend();
  if (!backend.ShowsPictures()) return;
  const uint32_t now = GetTickCount();
  if (!force && static_cast<uint32_t>(now - g_last_present_ms) < kPresentIntervalMs) return;
  g_last_present_ms = now;
  for (HWND hwnd : WindowTable::Get().ZOrder()) {
    const auto window = FindWindowRecord(hwnd);
    if (!window || window->destroying || !window->visible || window->minimized) continue;
    // What the screen shows of the window: kept, so that a present composes and compares only the
    // rows drawn since the last one.
    if (!window->shown) window->shown = std::make_unique<Surface>();
    Surface& shown = *window->shown;
    const std::optional<RowRange> drawn = TakeDrawnRows(*window, true);
    const int32_t height = window->client_height + (window->menu_band ? window->menu_band->height : 0);
    const bool resized = shown.width != window->client_width || shown.height != height;
    const bool layout = window->picture_dirty || resized;
    window->picture_dirty = false;
    // Nothing drawn and nothing moved: the screen shows this picture already.
    if (!force && !layout && !drawn) continue;
    if (resized) shown = Surface(window->client_width, height);
    std::optional<RowRange> changed;
    if (layout) {
      changed = UpdateShownRows(*window, RowRange{0, height}, &shown);
    } else if (drawn) {
      changed = UpdateShownRows(*window, *drawn, &shown);
    }
    if (force || resized) changed = RowRange{0, height};
    if (changed && changed->first < changed->end) backend.Present(*window, shown, *changed, force || resized);
  }
}

}  // namespace internal

bool InvalidateRect(HWND hwnd, const RECT* rect, bool erase) {
  const auto window = FindOwnWindow(hwnd);
  if (!window || window->destroying) return false;
  if (rect == nullptr) {
    internal::InvalidateAll(*window, erase);
  } else {
    AddInvalid(*window, *rect, erase);
  }
  return true;
}

bool ValidateRect(HWND hwnd, const RECT* rect) {
  const auto window = FindOwnWindow(hwnd);
  if (!window) return false;
  if (rect == nullptr || Covers(*rect, window->update_rect)) Validate(*window);
  return true;
}

bool GetUpdateRect(HWND hwnd, RECT* rect, bool erase) {
  const auto window = FindOwnWindow(hwnd);
  if (!window) return false;
  if (rect != nullptr) *rect = window->update_pending ? window->update_rect : RECT{0, 0, 0, 0};
  return window->update_pending;
}

bool UpdateWindow(HWND hwnd) {
  const auto window = FindOwnWindow(hwnd);
  if (!window) return false;
  if (window->update_pending && IsWindowVisible(hwnd)) internal::PaintWindowNow(window);
  return true;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint) {
  const auto window = FindOwnWindow(hwnd);
  if (!window || paint == nullptr) return nullptr;
  paint->fErase = false;
  if (window->erase_pending) paint->fErase = !SendErase(window);
  if (!IsWindow(hwnd)) return nullptr;
  paint->rcPaint = window->update_pending ? window->update_rect : RECT{0, 0, 0, 0};
  paint->hdc = internal::WindowDC(*window);
  Validate(*window);
  window->begin_paint_seen = true;
  return paint->hdc;
}

bool EndPaint(HWND hwnd, const PAINTSTRUCT* paint) {
  return FindOwnWindow(hwnd) != nullptr;
}

HDC GetDC(HWND hwnd) {
  if (hwnd == nullptr) {
    static HDC screen_dc = CreateSurfaceDC(&ScreenPicture());
    return screen_dc;
  }
  const auto window = FindOwnWindow(hwnd);
  if (!window || window->destroying) return nullptr;
  return internal::WindowDC(*window);
}

int ReleaseDC(HWND hwnd, HDC dc) {
  return 1;
}

}  // namespace platform

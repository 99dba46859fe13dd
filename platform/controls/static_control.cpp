#include "platform/controls/static_control.h"

#include <string>

#include "platform/controls/control_base.h"
#include "platform/controls/control_look.h"

namespace platform::controls {

namespace {

class Static : public ControlBase {
 public:
  Static(HWND hwnd, const CREATESTRUCT&) : ControlBase(hwnd) {}

  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_PAINT: Paint(); return 0;
      case WM_SETTEXT: return DefaultThenRedraw(message, wParam, lParam);
      case WM_GETDLGCODE: return DLGC_STATIC;
      case STM_SETICON: return SetImage(IMAGE_ICON, wParam);
      case STM_GETICON: return reinterpret_cast<LRESULT>(icon_);
      case STM_SETIMAGE: return SetImage(static_cast<uint32_t>(wParam), static_cast<WPARAM>(lParam));
      case STM_GETIMAGE:
        return wParam == IMAGE_ICON ? reinterpret_cast<LRESULT>(icon_) : reinterpret_cast<LRESULT>(bitmap_);
      default: return DefWindowProc(hwnd_, message, wParam, lParam);
    }
  }

 private:
  // Keeps the picture (the program's; never deleted here) and returns the one it replaces.
  LRESULT SetImage(uint32_t type, WPARAM handle) {
    LRESULT old_image = 0;
    if (type == IMAGE_ICON) {
      old_image = reinterpret_cast<LRESULT>(icon_);
      icon_ = reinterpret_cast<HICON>(handle);
    } else if (type == IMAGE_BITMAP) {
      old_image = reinterpret_cast<LRESULT>(bitmap_);
      bitmap_ = reinterpret_cast<HBITMAP>(handle);
    }
    Redraw();
    return old_image;
  }

  void Paint() {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(hwnd_, &paint);
    if (dc == nullptr) return;
    const RECT client = Client();
    look::Fill(dc, client, look::Face());
    switch (style() & SS_TYPEMASK) {
      case SS_ICON:
        if (icon_ != nullptr) DrawIcon(dc, 0, 0, icon_);
        break;
      case SS_BITMAP: PaintBitmap(dc); break;
      default: PaintText(dc, client); break;
    }
    EndPaint(hwnd_, &paint);
  }

  void PaintBitmap(HDC dc) {
    BITMAP info{};
    if (bitmap_ == nullptr || GetObject(bitmap_, sizeof(info), &info) == 0) return;
    const HDC source = CreateCompatibleDC(dc);
    const HBITMAP old_bitmap = SelectObject(source, bitmap_);
    BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
    SelectObject(source, old_bitmap);
    DeleteDC(source);
  }

  void PaintText(HDC dc, const RECT& client) {
    const int length = GetWindowTextLength(hwnd_);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowText(hwnd_, text.data(), length + 1)));
    uint32_t format = DT_WORDBREAK;
    switch (style() & SS_TYPEMASK) {
      case SS_CENTER: format |= DT_CENTER; break;
      case SS_RIGHT: format |= DT_RIGHT; break;
      default: break;
    }
    look::Label(dc, FontOrDefault(font_), text, client, format, enabled() ? look::Text() : look::GreyText());
  }

  HICON icon_ = nullptr;
  HBITMAP bitmap_ = nullptr;
};

}  // namespace

void RegisterStaticClass() { RegisterControlClass(WC_STATIC, ControlProcedure<Static>, 0); }

}  // namespace platform::controls

#include "platform/controls/button.h"

#include <algorithm>
#include <string>

#include "platform/controls/control_base.h"
#include "platform/controls/control_look.h"
#include "platform/window/input.h"

namespace platform::controls {

namespace {

constexpr int kBoxSize = 13;    // check box square
constexpr int kRadioSize = 12;  // radio circle
constexpr int kLabelGap = 4;    // between the box and its text

class Button : public ControlBase {
 public:
  Button(HWND hwnd, const CREATESTRUCT&) : ControlBase(hwnd) {}

  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_PAINT: Paint(); return 0;
      case WM_LBUTTONDOWN: OnMouseDown(); return 0;
      case WM_MOUSEMOVE: OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); return 0;
      case WM_LBUTTONUP: OnMouseUp(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); return 0;
      case WM_CAPTURECHANGED:
        tracking_ = false;
        SetPushed(false);
        return 0;
      case WM_KEYDOWN:
        if (wParam == static_cast<WPARAM>(VK_SPACE) && !IsGroupBox()) {
          space_down_ = true;
          SetPushed(true);
        }
        return 0;
      case WM_KEYUP:
        if (wParam == static_cast<WPARAM>(VK_SPACE) && space_down_) {
          space_down_ = false;
          SetPushed(false);
          Click();
        }
        return 0;
      case WM_SETFOCUS:
        Redraw();
        NotifyFocus(BN_SETFOCUS);
        return 0;
      case WM_KILLFOCUS:
        space_down_ = false;
        SetPushed(false);
        Redraw();
        Notify(BN_KILLFOCUS);
        return 0;
      case WM_SETTEXT: return DefaultThenRedraw(message, wParam, lParam);
      case WM_GETDLGCODE: return DialogCode();
      case BM_GETCHECK: return checked_ ? BST_CHECKED : BST_UNCHECKED;
      case BM_SETCHECK:
        if (Kind() != BS_GROUPBOX && !IsPushButton()) {
          checked_ = wParam == BST_CHECKED;
          Redraw();
        }
        return 0;
      case BM_GETSTATE:
        return (checked_ ? BST_CHECKED : 0) | (pushed_ ? BST_PUSHED : 0) | (focused() ? BST_FOCUS : 0);
      case BM_SETSTATE: SetPushed(wParam != 0); return 0;
      case BM_SETSTYLE: SetKind(static_cast<uint32_t>(wParam) & BS_TYPEMASK); return 0;
      case BM_CLICK:
        if (enabled()) Click();
        return 0;
      case BM_GETIMAGE: return reinterpret_cast<LRESULT>(image_);
      case BM_SETIMAGE: {
        if (wParam != IMAGE_BITMAP) return 0;
        const HBITMAP old_image = image_;
        image_ = reinterpret_cast<HBITMAP>(lParam);
        Redraw();
        return reinterpret_cast<LRESULT>(old_image);
      }
      default: return DefWindowProc(hwnd_, message, wParam, lParam);
    }
  }

 private:
  uint32_t Kind() const { return style() & BS_TYPEMASK; }
  bool IsPushButton() const { return Kind() == BS_PUSHBUTTON || Kind() == BS_DEFPUSHBUTTON; }
  bool IsGroupBox() const { return Kind() == BS_GROUPBOX; }
  bool IsRadio() const { return Kind() == BS_RADIOBUTTON; }

  std::string Caption() const {
    const int length = GetWindowTextLength(hwnd_);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowText(hwnd_, text.data(), length + 1)));
    return text;
  }

  LRESULT DialogCode() const {
    switch (Kind()) {
      case BS_PUSHBUTTON: return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
      case BS_DEFPUSHBUTTON: return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
      case BS_RADIOBUTTON: return DLGC_BUTTON | DLGC_RADIOBUTTON;
      case BS_GROUPBOX: return DLGC_STATIC;
      default: return DLGC_BUTTON;
    }
  }

  void SetKind(uint32_t kind) {
    const uint32_t old_style = style();
    if ((old_style & BS_TYPEMASK) == kind) return;
    SetWindowLongPtr(hwnd_, GWL_STYLE, static_cast<LONG_PTR>((old_style & ~BS_TYPEMASK) | kind));
    Redraw();
  }

  void SetPushed(bool pushed) {
    if (pushed_ == pushed) return;
    pushed_ = pushed;
    Redraw();
  }

  bool Inside(int x, int y) const {
    const RECT client = Client();
    return x >= 0 && y >= 0 && x < client.right && y < client.bottom;
  }

  void OnMouseDown() {
    if (IsGroupBox()) return;
    SetFocus(hwnd_);
    if (!alive()) return;
    tracking_ = true;
    SetCapture(hwnd_);
    SetPushed(true);
  }

  void OnMouseMove(int x, int y) {
    if (tracking_) SetPushed(Inside(x, y));
  }

  void OnMouseUp(int x, int y) {
    if (!tracking_) return;
    tracking_ = false;
    if (GetCapture() == hwnd_) ReleaseCapture();
    SetPushed(false);
    if (Inside(x, y)) Click();
  }

  void Click() {
    if (IsGroupBox()) return;
    if (Kind() == BS_AUTOCHECKBOX) {
      checked_ = !checked_;
      Redraw();
    }
    Notify(BN_CLICKED);
  }

  // ---- Drawing -------------------------------------------------------------------------------

  void Paint() {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(hwnd_, &paint);
    if (dc == nullptr) return;
    const RECT client = Client();
    look::Fill(dc, client, look::Face());
    switch (Kind()) {
      case BS_GROUPBOX: PaintGroupBox(dc, client); break;
      case BS_CHECKBOX:
      case BS_AUTOCHECKBOX:
      case BS_RADIOBUTTON: PaintCheck(dc, client); break;
      default: PaintPushButton(dc, client); break;
    }
    EndPaint(hwnd_, &paint);
  }

  COLORREF LabelColour() const { return enabled() ? look::Text() : look::GreyText(); }

  void PaintPushButton(HDC dc, const RECT& client) {
    RECT frame = client;
    if (Kind() == BS_DEFPUSHBUTTON) {
      look::Ring(dc, frame, look::DarkShadow(), look::DarkShadow());
      frame = RECT{frame.left + 1, frame.top + 1, frame.right - 1, frame.bottom - 1};
    }
    RECT inside = pushed_ ? look::PushedEdge(dc, frame) : look::RaisedEdge(dc, frame);
    if (pushed_) {
      inside.left += 1;
      inside.top += 1;
    }
    if ((style() & BS_BITMAP) != 0 && image_ != nullptr) {
      PaintImage(dc, inside);
    } else {
      PaintCaption(dc, inside);
    }
    if (focused()) {
      look::FocusMark(dc, RECT{client.left + 4, client.top + 4, client.right - 4, client.bottom - 4});
    }
  }

  // One centred line; a caption too wide for that (a bitmap button whose picture is missing shows
  // its words instead) breaks between words and is centred as a block.
  void PaintCaption(HDC dc, const RECT& inside) {
    const HFONT font = FontOrDefault(font_);
    const std::string caption = Caption();
    if (look::Measure(font, caption).cx <= inside.right - inside.left) {
      look::Label(dc, font, caption, inside, DT_CENTER | DT_VCENTER | DT_SINGLELINE, LabelColour());
      return;
    }
    RECT measured = inside;
    const HFONT old_font = SelectObject(dc, font);
    DrawText(dc, caption.c_str(), -1, &measured, DT_CALCRECT | DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old_font);
    const int height = measured.bottom - measured.top;
    RECT text = inside;
    text.top = std::max(inside.top, (inside.top + inside.bottom - height) / 2);
    text.bottom = std::min(inside.bottom, text.top + height);
    look::Label(dc, font, caption, text, DT_CENTER | DT_WORDBREAK, LabelColour());
  }

  void PaintImage(HDC dc, const RECT& area) {
    BITMAP info{};
    if (GetObject(image_, sizeof(info), &info) == 0) return;
    const HDC source = CreateCompatibleDC(dc);
    const HBITMAP old_bitmap = SelectObject(source, image_);
    const int x = area.left + ((area.right - area.left) - info.bmWidth) / 2;
    const int y = area.top + ((area.bottom - area.top) - info.bmHeight) / 2;
    // Only the inside of the edge shows the picture.
    const HRGN clip = CreateRectRgnIndirect(&area);
    SelectClipRgn(dc, clip);
    BitBlt(dc, x, y, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
    SelectClipRgn(dc, nullptr);
    DeleteObject(clip);
    SelectObject(source, old_bitmap);
    DeleteDC(source);
  }

  void PaintCheck(HDC dc, const RECT& client) {
    const int middle = (client.top + client.bottom) / 2;
    if (IsRadio()) {
      const int top = middle - kRadioSize / 2;
      look::Disc(dc, client.left, top, kRadioSize, look::Shadow());
      look::Disc(dc, client.left + 1, top + 1, kRadioSize - 2, enabled() ? look::Field() : look::Face());
      if (checked_) look::Disc(dc, client.left + 4, top + 4, kRadioSize - 8, LabelColour());
    } else {
      const int top = middle - kBoxSize / 2;
      const RECT box{client.left, top, client.left + kBoxSize, top + kBoxSize};
      const RECT inside = look::SunkenEdge(dc, box);
      look::Fill(dc, inside, enabled() && !pushed_ ? look::Field() : look::Face());
      if (checked_) look::Tick(dc, inside, LabelColour());
    }
    const HFONT font = FontOrDefault(font_);
    const std::string caption = Caption();
    const int text_left = client.left + kBoxSize + kLabelGap;
    RECT text{text_left, client.top, client.right, client.bottom};
    RECT measured = text;
    const HDC measure_dc = dc;
    const HFONT old_font = SelectObject(measure_dc, font);
    DrawText(measure_dc, caption.c_str(), -1, &measured, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(measure_dc, old_font);
    const int height = measured.bottom - measured.top;
    text.top = std::max(client.top, middle - height / 2);
    text.bottom = std::min(client.bottom, text.top + height);
    look::Label(dc, font, caption, text, DT_LEFT | DT_WORDBREAK, LabelColour());
    if (focused()) {
      const int right = std::min(client.right, text_left + static_cast<int>(measured.right - measured.left) + 2);
      look::FocusMark(dc, RECT{text_left - 2, text.top - 1, right, std::min(client.bottom, text.bottom + 1)});
    }
  }

  void PaintGroupBox(HDC dc, const RECT& client) {
    const HFONT font = FontOrDefault(font_);
    const std::string caption = Caption();
    const SIZE text = look::Measure(font, caption);
    const int line_y = client.top + text.cy / 2;
    // An etched frame: a shadow ring with a lit ring one pixel inside it.
    const RECT outer{client.left, line_y, client.right - 1, client.bottom - 1};
    look::Ring(dc, outer, look::Shadow(), look::Shadow());
    look::Ring(dc, RECT{outer.left + 1, outer.top + 1, outer.right + 1, outer.bottom + 1}, look::Light(),
               look::Light());
    look::Ring(dc, outer, look::Shadow(), look::Shadow());
    if (caption.empty()) return;
    const RECT label{client.left + 6, client.top, std::min(client.right - 6, client.left + 10 + text.cx),
                     client.top + text.cy};
    look::Fill(dc, label, look::Face());
    look::Label(dc, font, caption, RECT{label.left + 2, label.top, label.right, label.bottom},
                DT_LEFT | DT_SINGLELINE, LabelColour());
  }

  bool checked_ = false;
  bool pushed_ = false;
  bool tracking_ = false;
  bool space_down_ = false;
  HBITMAP image_ = nullptr;  // the program's; never deleted here
};

}  // namespace

void RegisterButtonClass() { RegisterControlClass(WC_BUTTON, ControlProcedure<Button>, 0); }

}  // namespace platform::controls

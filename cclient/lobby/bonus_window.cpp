// The pending bonus and bonus history windows: one window of each kind at a time, drawn into a
// 620 x 500 work bitmap over the kind's background picture.
#include <cstdio>
#include <cstring>
#include <utility>

#include "cclient/base/debug_log.h"
#include "cclient/lobby/bonus_records.h"
#include "cclient/lobby/history_bonus_window.h"
#include "cclient/lobby/lobby_neighbours.h"
#include "cclient/lobby/pending_bonus_window.h"
#include "cclient/net/packet_frame.h"
#include "cclient/net/packet_types.h"
#include "cclient/widgets/bitmap_file.h"
#include "cclient/widgets/button_list.h"
#include "cclient/widgets/jpeg_file.h"
#include "platform/controls/control_messages.h"
#include "platform/controls/control_types.h"
#include "platform/controls/scroll_bar.h"
#include "platform/draw/gdi.h"
#include "platform/system/paths.h"
#include "platform/text/text.h"
#include "platform/window/activation.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"

namespace {

constexpr int32_t kWidth = 620;
constexpr int32_t kHeight = 500;
constexpr platform::RECT kRowArea{24, 62, 585, 447};
constexpr platform::RECT kScrollBarArea{596, 61, 612, 447};
constexpr uint32_t kPendingRequest = 1100;
constexpr uint32_t kPendingAction = 1103;
constexpr uint32_t kHistoryRequest = 1104;
constexpr int kCloseButton = 1;
constexpr int kHistoryButton = 2;
constexpr int kUpButtons = 100;
constexpr int kDownButtons = 200;
constexpr int kMoreButtons = 300;
constexpr int kLine = 38;

struct BonusWindow {
  explicit BonusWindow(BonusKind k) : kind(k) {}
  const BonusKind kind;
  platform::HWND window = nullptr;
  platform::HWND scroll_bar = nullptr;
  platform::HDC work_dc = nullptr;
  platform::HBITMAP work_bitmap = nullptr;
  platform::HDC clean_dc = nullptr;
  platform::HBITMAP clean_bitmap = nullptr;
  BitmapFile frame, first_frame, strip, expired, completed;
  BitmapFile pictures[kBonusPictures];
  platform::HFONT font12 = nullptr, font18 = nullptr, font24 = nullptr;
  platform::HBRUSH brush = nullptr;
  BonusRecord records[kBonusMaxRows] = {};
  int32_t count = 0;
  int32_t offset = 0;
  bool refreshing = false;
  char details[1024] = {};
  bool repaint = false;
  PendingBonusClock clock;
  ButtonList row_buttons;
  ButtonList frame_buttons;

  bool pending() const { return kind == BonusKind::kPending; }
  const char* class_name() const { return pending() ? "PendingBonusWindow" : "HistoryBonusWindow"; }
};

BonusWindow g_Pending(BonusKind::kPending);
BonusWindow g_History(BonusKind::kHistory);

BonusWindow* FindWindowState(platform::HWND hwnd) {
  if (hwnd != nullptr && hwnd == g_Pending.window) return &g_Pending;
  if (hwnd != nullptr && hwnd == g_History.window) return &g_History;
  return nullptr;
}

void SendU32(uint32_t type, uint32_t value) {
  const uint32_t wire = ByteSwap32(value);
  (void)Lobby_GetNeighbours().SendLobbyPacket(type, &wire, sizeof wire);
}

// The base line of a row's title: the row's frame and picture start 60 pixels above it.
int32_t RowLine(const BonusWindow& w, int32_t row) {
  return 122 - w.offset + kBonusRowHeight * row;
}

// The top of a row's frame, where its buttons are placed from.
int32_t RowTop(const BonusWindow& w, int32_t row) { return RowLine(w, row) - 60; }

void UpdateRowButtons(BonusWindow& w) {
  const int32_t rows = BonusMaxRows(w.kind);
  for (int32_t row = 0; row < rows; ++row) {
    const BonusRowButtons shown = Bonus_RowButtons(w.kind, w.records, w.count, w.refreshing, row);
    shown.more ? w.row_buttons.ShowButton(kMoreButtons + row) : w.row_buttons.HideButton(kMoreButtons + row);
    if (w.pending()) {
      shown.up ? w.row_buttons.ShowButton(kUpButtons + row) : w.row_buttons.HideButton(kUpButtons + row);
      shown.down ? w.row_buttons.ShowButton(kDownButtons + row) : w.row_buttons.HideButton(kDownButtons + row);
    }
  }
}

void UpdateScrollBar(BonusWindow& w) {
  if (w.scroll_bar == nullptr) return;
  platform::SCROLLINFO info;
  info.fMask = platform::SIF_RANGE | platform::SIF_PAGE | platform::SIF_POS;
  info.nMin = 0;
  info.nMax = kBonusRowHeight * w.count;
  info.nPage = kBonusPageHeight;
  info.nPos = w.offset;
  platform::SetScrollInfo(w.scroll_bar, platform::SB_CTL, &info, true);
}

void DrawPicture(platform::HDC dc, const BitmapFile& picture, int32_t x, int32_t y, int32_t width, int32_t height) {
  if (picture.dc == nullptr) return;
  platform::BitBlt(dc, x, y, width, height, picture.dc, 0, 0, platform::SRCCOPY);
}

void DrawTextIn(platform::HDC dc, const char* text, platform::HFONT font, platform::RECT rect, uint32_t format) {
  platform::SelectObject(dc, font);
  platform::DrawText(dc, text, -1, &rect, format);
}

void DrawRow(BonusWindow& w, int32_t row) {
  const BonusRecord& r = w.records[row];
  const int32_t y = RowLine(w, row);
  platform::HDC dc = w.work_dc;
  const bool first_earning = w.pending() && row == 0 && r.state == kBonusEarning;
  DrawPicture(dc, first_earning && w.first_frame.dc != nullptr ? w.first_frame : w.frame, 126, y - 60, 459, 96);
  DrawPicture(dc, w.pictures[Bonus_PictureIndex(r.image_index)], 24, y - 60, 103, 114);
  DrawTextIn(dc, r.title, w.font24, {128, y - 28, 426, y}, platform::DT_SINGLELINE | platform::DT_VCENTER);
  DrawTextIn(dc, r.value_text, std::strlen(r.value_text) <= 7 ? w.font24 : w.font18, {326, y - 28, 524, y},
             platform::DT_SINGLELINE | platform::DT_VCENTER | platform::DT_RIGHT);
  const platform::RECT word_box{326, y + 2, 524, y + 20};
  const uint32_t centred = platform::DT_SINGLELINE | platform::DT_CENTER | platform::DT_VCENTER;
  char text[96];
  switch (r.state) {
    case kBonusEarning:
    case kBonusFrozen:
      if (r.required > 0 && r.earned > 0) {
        DrawPicture(dc, w.strip, 328, y + 4, Bonus_StripWidth(r.earned, r.required), 13);
      }
      if (r.state == kBonusEarning) {
        Bonus_ProgressText(r.earned, r.required, text, sizeof text);
        DrawTextIn(dc, text, w.font18, word_box, centred);
      } else {
        DrawTextIn(dc, "Frozen", w.font18, word_box, centred);
      }
      break;
    case kBonusCancelled:
      DrawTextIn(dc, "Cancelled", w.font18, word_box, centred);
      break;
    case kBonusExpired:
      DrawPicture(dc, w.expired, 328, y + 4, kBonusStripWidth, 13);
      break;
    case kBonusCompleted:
      DrawPicture(dc, w.completed, 328, y + 4, kBonusStripWidth, 13);
      break;
    default:
      break;
  }
  const platform::RECT under{126, y + 2, 326, y + 21};
  if (!w.pending()) {
    DrawTextIn(dc, r.note, w.font12, under, centred);
  } else if (r.state == kBonusEarning || r.state == kBonusFrozen) {
    Bonus_TimeLeftText(r.seconds_left, text, sizeof text);
    DrawTextIn(dc, text, w.font12, under, centred);
  }
  // A pending row in another state has no time left to show: the line stays empty.
  const int32_t top = RowTop(w, row);
  w.row_buttons.MoveButton(kMoreButtons + row, 409, top);
  if (w.pending()) {
    w.row_buttons.MoveButton(kUpButtons + row, 529, top + 34);
    w.row_buttons.MoveButton(kDownButtons + row, 529, top + 57);
  }
}

void DrawMessage(BonusWindow& w) {
  const char* text = nullptr;
  if (w.refreshing) {
    text = "Refreshing List.  Please Wait...";
  } else if (w.details[0] != '\0') {
    text = w.details;
  } else if (w.count == 0) {
    text = w.pending() ? "Currently, You do not have any Pending Bonuses." : "Your Bonus History Is Empty.";
  }
  if (text == nullptr) return;
  platform::HDC dc = w.work_dc;
  platform::SelectObject(dc, w.font18);
  platform::RECT measured{0, 0, 480, 440};
  platform::DrawText(dc, text, -1, &measured, platform::DT_WORDBREAK | platform::DT_CALCRECT);
  const int32_t width = measured.right - measured.left;
  const int32_t height = measured.bottom - measured.top;
  const int32_t left = (kWidth - width) / 2;
  const int32_t top = (kHeight - height) / 2;
  const platform::RECT shadow{left - 4, top - 4, left + width + 28, top + height + 28};
  platform::HBRUSH grey = platform::CreateSolidBrush(platform::RGB(64, 64, 64));
  platform::FillRect(dc, &shadow, grey);
  platform::DeleteObject(grey);
  const platform::RECT panel{shadow.left - 12, shadow.top - 12, shadow.right - 12, shadow.bottom - 12};
  platform::FillRect(dc, &panel, w.brush);
  platform::RECT inside{panel.left + 16, panel.top + 16, panel.right - 16, panel.bottom - 16};
  platform::DrawText(dc, text, -1, &inside, platform::DT_WORDBREAK);
  if (text == w.details) {
    const platform::COLORREF colour = platform::SetTextColor(dc, platform::RGB(0, 0, 0));
    platform::RECT corner{inside.left, inside.top, inside.right, inside.top + 20};
    platform::DrawText(dc, "X", -1, &corner, platform::DT_RIGHT | platform::DT_SINGLELINE);
    platform::SetTextColor(dc, colour);
  }
}

// Draws the window into the work bitmap.
void Render(BonusWindow& w) {
  platform::HDC dc = w.work_dc;
  platform::BitBlt(dc, 0, 0, kWidth, kHeight, w.clean_dc, 0, 0, platform::SRCCOPY);
  platform::IntersectClipRect(dc, kRowArea.left, kRowArea.top, kRowArea.right, kRowArea.bottom);
  platform::SetBkMode(dc, platform::TRANSPARENT);
  platform::SetTextColor(dc, w.pending() ? 0x800000 : 0xFF0000);
  for (int32_t row = 0; row < w.count; ++row) DrawRow(w, row);
  w.row_buttons.Draw(dc, nullptr, true, nullptr);
  platform::SelectClipRgn(dc, nullptr);
  w.frame_buttons.Draw(dc, nullptr, true, nullptr);
  DrawMessage(w);
}

void CopyToWindow(BonusWindow& w, platform::HDC window_dc) {
  platform::ExcludeClipRect(window_dc, kScrollBarArea.left, kScrollBarArea.top, kScrollBarArea.right,
                            kScrollBarArea.bottom);
  platform::BitBlt(window_dc, 0, 0, kWidth, kHeight, w.work_dc, 0, 0, platform::SRCCOPY);
  platform::SelectClipRgn(window_dc, nullptr);
}

void Repaint(BonusWindow& w) {
  w.repaint = false;
  if (w.window == nullptr) return;
  Render(w);
  platform::HDC dc = platform::GetDC(w.window);
  CopyToWindow(w, dc);
  platform::ReleaseDC(w.window, dc);
}

void ScrollTo(BonusWindow& w, int32_t offset) {
  w.offset = Bonus_ClampOffset(offset, w.count);
  UpdateScrollBar(w);
  Repaint(w);
}

void OnClick(BonusWindow& w, int id) {
  if (id == kCloseButton) {
    platform::DestroyWindow(w.window);
  } else if (id == kHistoryButton) {
    (void)HistoryBonusWindow_Open();
  } else if (id >= kMoreButtons && id < kMoreButtons + w.count) {
    Bonus_DetailsText(w.kind, w.records[id - kMoreButtons], w.details, sizeof w.details);
    Repaint(w);
  } else if (w.pending() && ((id >= kUpButtons && id < kUpButtons + w.count) ||
                             (id >= kDownButtons && id < kDownButtons + w.count))) {
    const bool up = id < kDownButtons;
    const BonusRecord& record = w.records[id - (up ? kUpButtons : kDownButtons)];
    uint8_t payload[4 + sizeof record.key + 4] = {};
    const size_t key_length = strnlen(record.key, sizeof record.key - 1);
    std::memcpy(payload + 4, record.key, key_length);
    const uint32_t step = ByteSwap32(up ? 1u : 0xFFFFFFFFu);
    std::memcpy(payload + 4 + key_length + 1, &step, 4);
    w.refreshing = true;
    (void)Lobby_GetNeighbours().SendLobbyPacket(kPendingAction, payload, static_cast<uint32_t>(key_length + 9));
    w.clock.countdown = 60.0f;
    UpdateRowButtons(w);
    Repaint(w);
  }
}

void FreeWindowResources(BonusWindow& w) {
  w.row_buttons.Clear();
  w.frame_buttons.Clear();
  if (w.scroll_bar != nullptr && platform::IsWindow(w.scroll_bar)) platform::DestroyWindow(w.scroll_bar);
  w.scroll_bar = nullptr;
  for (BitmapFile* picture : {&w.frame, &w.first_frame, &w.strip, &w.expired, &w.completed}) ReleaseBitmapFile(picture);
  for (BitmapFile& picture : w.pictures) ReleaseBitmapFile(&picture);
  for (platform::HFONT* font : {&w.font12, &w.font18, &w.font24}) {
    if (*font != nullptr) platform::DeleteObject(*font);
    *font = nullptr;
  }
  if (w.brush != nullptr) platform::DeleteObject(w.brush);
  w.brush = nullptr;
  if (w.work_dc != nullptr) platform::DeleteDC(w.work_dc);
  if (w.work_bitmap != nullptr) platform::DeleteObject(w.work_bitmap);
  if (w.clean_dc != nullptr) platform::DeleteDC(w.clean_dc);
  if (w.clean_bitmap != nullptr) platform::DeleteObject(w.clean_bitmap);
  w.work_dc = w.clean_dc = nullptr;
  w.work_bitmap = w.clean_bitmap = nullptr;
}

platform::LRESULT BonusWndProc(platform::HWND hwnd, platform::UINT message, platform::WPARAM wParam,
                               platform::LPARAM lParam) {
  BonusWindow* state = FindWindowState(hwnd);
  if (state == nullptr) return platform::DefWindowProc(hwnd, message, wParam, lParam);
  BonusWindow& w = *state;
  const int x = platform::GET_X_LPARAM(lParam);
  const int y = platform::GET_Y_LPARAM(lParam);
  const bool in_rows = x >= kRowArea.left && x < kRowArea.right && y >= kRowArea.top && y < kRowArea.bottom;
  ButtonList& list = in_rows ? w.row_buttons : w.frame_buttons;
  ButtonList& other = in_rows ? w.frame_buttons : w.row_buttons;
  switch (message) {
    case platform::WM_LBUTTONDOWN:
      w.row_buttons.CancelPress();
      w.frame_buttons.CancelPress();
      if (w.details[0] != '\0') {
        w.details[0] = '\0';
        Repaint(w);
        return 0;
      }
      list.OnMouseDown(x, y);
      break;
    case platform::WM_LBUTTONUP: {
      other.CancelPress();
      const int id = list.OnMouseUp(x, y);
      if (id >= 0) {
        OnClick(w, id);
        if (FindWindowState(hwnd) == nullptr) return 0;
      }
      break;
    }
    case platform::WM_MOUSEMOVE:
      other.CancelPress();
      list.OnMouseMove(x, y, (wParam & platform::MK_LBUTTON) != 0);
      break;
    case platform::WM_MOUSEWHEEL:
      ScrollTo(w, w.offset - platform::GET_WHEEL_DELTA_WPARAM(wParam) / 4);
      return 0;
    case platform::WM_VSCROLL:
      switch (platform::LOWORD(wParam)) {
        case platform::SB_LINEUP: ScrollTo(w, w.offset - kLine); break;
        case platform::SB_LINEDOWN: ScrollTo(w, w.offset + kLine); break;
        case platform::SB_PAGEUP: ScrollTo(w, w.offset - kBonusPageHeight); break;
        case platform::SB_PAGEDOWN: ScrollTo(w, w.offset + kBonusPageHeight); break;
        case platform::SB_THUMBTRACK: ScrollTo(w, platform::HIWORD(wParam)); break;
        default: break;
      }
      return 0;
    case platform::WM_ERASEBKGND:
      return 1;
    case platform::WM_PAINT: {
      platform::PAINTSTRUCT paint;
      platform::HDC dc = platform::BeginPaint(hwnd, &paint);
      Render(w);
      CopyToWindow(w, dc);
      platform::EndPaint(hwnd, &paint);
      return 0;
    }
    case platform::WM_CLOSE:
      platform::DestroyWindow(hwnd);
      return 0;
    case platform::WM_DESTROY:
      FreeWindowResources(w);
      w.count = 0;
      w.window = nullptr;
      return 0;
    default:
      return platform::DefWindowProc(hwnd, message, wParam, lParam);
  }
  if (w.row_buttons.IsAnyDirty() || w.frame_buttons.IsAnyDirty()) Repaint(w);
  return 0;
}

void LoadPicture(const char* name, BitmapFile* picture) { (void)LoadBitmapFile(name, picture); }

void AddButtons(BonusWindow& w) {
  const bool p = w.pending();
  (void)w.frame_buttons.Add(kCloseButton, 583, 12, 23, 21, nullptr, p ? "pbcloseo.b" : "pbclosho.b",
                            p ? "pbclosed.b" : "pbcloshd.b", nullptr);
  if (p) (void)w.frame_buttons.Add(kHistoryButton, 424, 461, 164, 33, "pboldb.b", "pboldo.b", "pboldd.b", nullptr);
  for (int32_t row = 0; row < BonusMaxRows(w.kind); ++row) {
    const int32_t y = RowTop(w, row);
    if (p) {
      (void)w.row_buttons.Add(kUpButtons + row, 529, y + 34, 46, 26, "pbupb.b", "pbupo.b", "pbupd.b", nullptr);
      (void)w.row_buttons.Add(kDownButtons + row, 529, y + 57, 46, 26, "pbdob.b", "pbdoo.b", "pbdod.b", nullptr);
    }
    (void)w.row_buttons.Add(kMoreButtons + row, 409, y, 161, 31, nullptr, "pbmoreo.b", "pbmored.b", nullptr);
  }
}

int OpenWindow(BonusWindow& w) {
  if (w.window != nullptr && platform::IsWindow(w.window)) {
    if (platform::IsWindowVisible(w.window)) platform::ShowWindow(w.window, platform::SW_SHOW);
    platform::SetForegroundWindow(w.window);
    return 0;
  }
  FreeWindowResources(w);
  w.count = 0;
  w.offset = 0;
  w.details[0] = '\0';
  w.refreshing = false;
  LoadPicture("pbinfo.b", &w.frame);
  if (w.pending()) LoadPicture("pbinfo2.b", &w.first_frame);
  LoadPicture("pbprog.b", &w.strip);
  LoadPicture("pbexp.b", &w.expired);
  LoadPicture("pbcom.b", &w.completed);
  for (int32_t i = 0; i < kBonusPictures; ++i) {
    char name[24];
    std::snprintf(name, sizeof name, "pbh%03ld.b", static_cast<long>(i));
    LoadPicture(name, &w.pictures[i]);
  }

  int32_t width = 0, height = 0, bits = 0;
  uint8_t* pixels = nullptr;
  const char* background = w.pending() ? "pbback.a" : "pbbackhy.a";
  if (DecodeJpegFile(platform::NativePath(background).c_str(), &width, &height, &bits, &pixels) != nullptr) {
    return 1;
  }
  if (width != kWidth || height != kHeight || bits != 24) {
    FreeDecodedImage(&pixels);
    return 1;
  }
  SwapRedBlue(pixels, kWidth * kHeight);
  platform::BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(platform::BITMAPINFOHEADER);
  info.bmiHeader.biWidth = kWidth;
  info.bmiHeader.biHeight = -kHeight;  // rows top-down, as decoded
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = platform::BI_RGB;
  w.clean_dc = platform::CreateCompatibleDC(nullptr);
  w.work_dc = platform::CreateCompatibleDC(nullptr);
  w.clean_bitmap = platform::CreateCompatibleBitmap(w.clean_dc, kWidth, kHeight);
  w.work_bitmap = platform::CreateCompatibleBitmap(w.work_dc, kWidth, kHeight);
  platform::SelectObject(w.clean_dc, w.clean_bitmap);
  platform::SelectObject(w.work_dc, w.work_bitmap);
  platform::SetDIBits(w.clean_dc, w.clean_bitmap, 0, kHeight, pixels, &info, platform::DIB_RGB_COLORS);
  platform::BitBlt(w.work_dc, 0, 0, kWidth, kHeight, w.clean_dc, 0, 0, platform::SRCCOPY);
  FreeDecodedImage(&pixels);

  for (auto [font, size] : {std::pair{&w.font12, 12}, {&w.font18, 18}, {&w.font24, 24}}) {
    *font = platform::CreateFont(size, 0, 0, 0, platform::FW_BOLD, 0, 0, 0, platform::ANSI_CHARSET, 0, 0, 0,
                                 platform::VARIABLE_PITCH, "MS Sans Serif");
  }
  w.brush = platform::CreateSolidBrush(0x00ADD6D6);
  AddButtons(w);
  UpdateRowButtons(w);

  platform::WNDCLASS window_class;
  window_class.lpfnWndProc = BonusWndProc;
  window_class.hCursor = platform::LoadCursor(nullptr, platform::IDC_ARROW);
  window_class.lpszClassName = w.class_name();
  (void)platform::RegisterClass(&window_class);

  const int screen_width = platform::GetSystemMetrics(platform::SM_CXSCREEN);
  const int screen_height = platform::GetSystemMetrics(platform::SM_CYSCREEN);
  const int x = screen_width > kWidth ? (screen_width - kWidth) / 2 - 10 : 0;
  const int y = screen_height > kHeight ? (screen_height - kHeight) / 2 - 10 : 0;
  w.window = platform::CreateWindowEx(platform::WS_EX_TOPMOST, w.class_name(),
                                      w.pending() ? "Pending Bonuses" : "Bonus History", platform::WS_POPUP, x, y,
                                      kWidth, kHeight, nullptr, nullptr, nullptr, nullptr);
  if (w.window == nullptr) {
    FreeWindowResources(w);
    return 1;
  }
  w.scroll_bar = platform::CreateWindowEx(0, platform::WC_SCROLLBAR, "",
                                          platform::WS_CHILD | platform::WS_VISIBLE | platform::SBS_VERT,
                                          kScrollBarArea.left, kScrollBarArea.top, 16, 386, w.window, nullptr,
                                          nullptr, nullptr);
  platform::SCROLLINFO scroll;
  scroll.fMask = platform::SIF_RANGE | platform::SIF_PAGE | platform::SIF_POS;
  scroll.nMax = 100;
  scroll.nPage = 10;
  if (w.scroll_bar != nullptr) platform::SetScrollInfo(w.scroll_bar, platform::SB_CTL, &scroll, true);
  platform::ShowWindow(w.window, platform::SW_SHOW);
  platform::UpdateWindow(w.window);

  if (w.pending()) {
    SendU32(kPendingRequest, 1);
    w.clock = PendingBonusClock{};
  } else {
    w.refreshing = true;
    UpdateRowButtons(w);
    SendU32(kHistoryRequest, 0);
  }
  Repaint(w);
  return 0;
}

int OnData(BonusWindow& w, const uint8_t* payload, uint32_t length) {
  w.refreshing = true;
  const int result = Bonus_ReadRecords(w.kind, payload, length, w.records, &w.count);
  // A short packet ends the refresh too: the rows read so far are shown instead of the
  // "Refreshing" box staying up for good.
  w.refreshing = false;
  w.offset = Bonus_ClampOffset(w.offset, w.count);
  if (w.window == nullptr) return result;  // a closed window has no controls to update
  UpdateRowButtons(w);
  UpdateScrollBar(w);
  w.repaint = true;
  Repaint(w);
  return result;
}

}  // namespace

int PendingBonusWindow_OnData(uint32_t type, const uint8_t* payload, uint32_t length) {
  if (type != PACKETTYPE_PENDINGBONUSDATA) return 0;
  return OnData(g_Pending, payload, length);
}

int HistoryBonusWindow_OnData(uint32_t type, const uint8_t* payload, uint32_t length) {
  if (type != PACKETTYPE_BONUSHISTORYDATA) return 0;
  return OnData(g_History, payload, length);
}

int PendingBonusWindow_Open() { return OpenWindow(g_Pending); }
int HistoryBonusWindow_Open() { return OpenWindow(g_History); }

void PendingBonusWindow_Close() {
  if (g_Pending.window != nullptr) platform::DestroyWindow(g_Pending.window);
}

void HistoryBonusWindow_Close() {
  if (g_History.window != nullptr) platform::DestroyWindow(g_History.window);
}

void HistoryBonusWindow_Redraw(float elapsed_seconds) {
  if (g_History.window != nullptr && g_History.repaint) Repaint(g_History);
}

void PendingBonusWindow_Tick(float elapsed_seconds) {
  BonusWindow& w = g_Pending;
  if (w.window == nullptr) return;
  const PendingBonusStep step = PendingBonus_Step(&w.clock, elapsed_seconds, w.records, w.count);
  if (step.send_refresh) SendU32(kPendingRequest, 0);
  if (step.time_changed || w.repaint) Repaint(w);
}

platform::HWND PendingBonusWindow_GetWindow() { return g_Pending.window; }
platform::HWND HistoryBonusWindow_GetWindow() { return g_History.window; }
int32_t PendingBonusWindow_GetCount() { return g_Pending.count; }
const BonusRecord* PendingBonusWindow_GetRecords() { return g_Pending.records; }
int32_t PendingBonusWindow_GetOffset() { return g_Pending.offset; }
const char* PendingBonusWindow_GetDetails() { return g_Pending.details; }
bool HistoryBonusWindow_IsRefreshing() { return g_History.refreshing; }

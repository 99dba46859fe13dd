// Message numbers of the window core.
//
// The window core's own messages live below 0x0200. 0x0200-0x03FF is left to the other pieces of the
// platform layer (controls, sound notices); WM_USER and WM_APP start where programs expect them,
// so a program's private numbers (table messages in the thousands, WM_APP + n) never meet ours.
#pragma once

#include "platform/window/window_types.h"

namespace platform {

constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_CREATE = 0x0001;      // lParam: CREATESTRUCT*; return -1 to refuse the window
constexpr UINT WM_DESTROY = 0x0002;     // the window is going; its children still exist
constexpr UINT WM_NCDESTROY = 0x0003;   // last message a window receives; children are gone
constexpr UINT WM_MOVE = 0x0004;        // lParam: client origin (in the parent's client or screen)
constexpr UINT WM_SIZE = 0x0005;        // wParam: SIZE_*, lParam: client width | height << 16
constexpr UINT WM_ACTIVATE = 0x0006;    // wParam low word: WA_*, lParam: the other window
constexpr UINT WM_SETFOCUS = 0x0007;    // wParam: window that lost the focus
constexpr UINT WM_KILLFOCUS = 0x0008;   // wParam: window that receives the focus
constexpr UINT WM_ENABLE = 0x0009;      // wParam: new enabled state
constexpr UINT WM_SETTEXT = 0x000A;     // lParam: const char*
constexpr UINT WM_GETTEXT = 0x000B;     // wParam: buffer size, lParam: char* buffer; returns length
constexpr UINT WM_GETTEXTLENGTH = 0x000C;
constexpr UINT WM_PAINT = 0x000D;
constexpr UINT WM_CLOSE = 0x000E;       // default: DestroyWindow
constexpr UINT WM_QUIT = 0x000F;        // wParam: exit code; never dispatched
constexpr UINT WM_ERASEBKGND = 0x0010;  // wParam: HDC; nonzero result = erased
constexpr UINT WM_SHOWWINDOW = 0x0011;  // wParam: shown
constexpr UINT WM_SETCURSOR = 0x0012;   // wParam: window under the pointer; default applies the class cursor
constexpr UINT WM_NCCREATE = 0x0013;
constexpr UINT WM_NCPAINT = 0x0014;     // the menu band of a top-level window needs drawing
constexpr UINT WM_CAPTURECHANGED = 0x0015;
constexpr UINT WM_SETFONT = 0x0016;
constexpr UINT WM_GETFONT = 0x0017;
constexpr UINT WM_TIMER = 0x0018;       // wParam: timer id
constexpr UINT WM_COMMAND = 0x0019;
constexpr UINT WM_NOTIFY = 0x001A;
constexpr UINT WM_HSCROLL = 0x001B;
constexpr UINT WM_VSCROLL = 0x001C;
constexpr UINT WM_INITDIALOG = 0x001D;
constexpr UINT WM_HELP = 0x001E;
constexpr UINT WM_GETDLGCODE = 0x001F;
constexpr UINT WM_SYSCOMMAND = 0x0020;

// Keyboard. wParam: virtual-key code (VK_*). lParam bits 0-15: repeat count; bits 16-23: the
// character the key produces with the modifiers held at the time (0: none), which
// TranslateMessage turns into WM_CHAR; bit 29: Alt held; bit 31: key released.
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;        // wParam: character code 1-255 (control characters included)
constexpr UINT WM_SYSKEYDOWN = 0x0104;  // a key pressed with Alt held
constexpr UINT WM_SYSKEYUP = 0x0105;
constexpr UINT WM_SYSCHAR = 0x0106;

// Mouse. wParam: MK_* flags; lParam: client coordinates as x | y << 16 (signed halves).
constexpr UINT WM_MOUSEMOVE = 0x0140;
constexpr UINT WM_LBUTTONDOWN = 0x0141;
constexpr UINT WM_LBUTTONUP = 0x0142;
constexpr UINT WM_LBUTTONDBLCLK = 0x0143;  // only to windows whose class has CS_DBLCLKS
constexpr UINT WM_RBUTTONDOWN = 0x0144;
constexpr UINT WM_RBUTTONUP = 0x0145;
constexpr UINT WM_RBUTTONDBLCLK = 0x0146;
// wParam: MK_* flags in the low word, wheel delta (multiples of WHEEL_DELTA, away from the user
// positive) in the high word; lParam: client coordinates of the window that receives it (the focus).
constexpr UINT WM_MOUSEWHEEL = 0x0147;

// Mouse in the menu band of a top-level window (wParam: HTMENU; lParam: band coordinates).
constexpr UINT WM_NCMOUSEMOVE = 0x0160;
constexpr UINT WM_NCLBUTTONDOWN = 0x0161;
constexpr UINT WM_NCLBUTTONUP = 0x0162;

constexpr UINT WM_USER = 0x0400;
constexpr UINT WM_APP = 0x8000;

// WM_SIZE kinds.
constexpr WPARAM SIZE_RESTORED = 0;
constexpr WPARAM SIZE_MINIMIZED = 1;

// WM_ACTIVATE states.
constexpr WPARAM WA_INACTIVE = 0;
constexpr WPARAM WA_ACTIVE = 1;
constexpr WPARAM WA_CLICKACTIVE = 2;

// Mouse key flags.
constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;
constexpr WPARAM MK_SHIFT = 0x0004;
constexpr WPARAM MK_CONTROL = 0x0008;

// Hit-test codes: client area and menu band.
constexpr WPARAM HTCLIENT = 1;
constexpr WPARAM HTMENU = 5;

// WM_SYSCOMMAND commands.
constexpr WPARAM SC_MINIMIZE = 0xF020;
constexpr WPARAM SC_CLOSE = 0xF060;
constexpr WPARAM SC_RESTORE = 0xF120;

}  // namespace platform

#pragma once
// Message numbers, key codes and the codes that travel with them, as the editor's dispatch method,
// its key macros and its host window use them. The numbers are fixed: recorded macros keep them.
#include <cstdint>

namespace quillon {

using TMessage = std::uint32_t;
using TWParam = std::uintptr_t;
using TLParam = std::intptr_t;
using TLResult = std::intptr_t;

// Window messages.
constexpr TMessage WM_SETFOCUS = 0x0007;
constexpr TMessage WM_KILLFOCUS = 0x0008;
constexpr TMessage WM_SIZE = 0x0005;
constexpr TMessage WM_SETTEXT = 0x000C;
constexpr TMessage WM_GETTEXT = 0x000D;
constexpr TMessage WM_GETTEXTLENGTH = 0x000E;
constexpr TMessage WM_GETDLGCODE = 0x0087;
constexpr TMessage WM_KEYDOWN = 0x0100;
constexpr TMessage WM_KEYUP = 0x0101;
constexpr TMessage WM_CHAR = 0x0102;
constexpr TMessage WM_DEADCHAR = 0x0103;
constexpr TMessage WM_SYSDEADCHAR = 0x0107;
constexpr TMessage WM_KEYLAST = 0x0108;
constexpr TMessage WM_IME_NOTIFY = 0x0282;
constexpr TMessage WM_IME_CHAR = 0x0286;
constexpr TMessage WM_IME_COMPOSITION = 0x010F;
constexpr TMessage WM_HSCROLL = 0x0114;
constexpr TMessage WM_VSCROLL = 0x0115;
constexpr TMessage WM_MOUSEMOVE = 0x0200;
constexpr TMessage WM_LBUTTONDOWN = 0x0201;
constexpr TMessage WM_LBUTTONUP = 0x0202;
constexpr TMessage WM_LBUTTONDBLCLK = 0x0203;
constexpr TMessage WM_MOUSEWHEEL = 0x020A;
constexpr TMessage WM_CUT = 0x0300;
constexpr TMessage WM_COPY = 0x0301;
constexpr TMessage WM_PASTE = 0x0302;
constexpr TMessage WM_CLEAR = 0x0303;

// Edit-control messages.
constexpr TMessage EM_GETSEL = 0x00B0;
constexpr TMessage EM_SETSEL = 0x00B1;
constexpr TMessage EM_SCROLLCARET = 0x00B7;
constexpr TMessage EM_GETMODIFY = 0x00B8;
constexpr TMessage EM_SETMODIFY = 0x00B9;
constexpr TMessage EM_GETLINECOUNT = 0x00BA;
constexpr TMessage EM_LINEINDEX = 0x00BB;
constexpr TMessage EM_LINELENGTH = 0x00C1;
constexpr TMessage EM_REPLACESEL = 0x00C2;
constexpr TMessage EM_GETLINE = 0x00C4;
constexpr TMessage EM_CANUNDO = 0x00C6;
constexpr TMessage EM_UNDO = 0x00C7;
constexpr TMessage EM_LINEFROMCHAR = 0x00C9;
constexpr TMessage EM_EMPTYUNDOBUFFER = 0x00CD;
constexpr TMessage EM_GETFIRSTVISIBLELINE = 0x00CE;
constexpr TMessage EM_SETREADONLY = 0x00CF;
constexpr TMessage EM_POSFROMCHAR = 0x00D6;
constexpr TMessage EM_CHARFROMPOS = 0x00D7;

// Scroll-bar codes (low word of WM_HSCROLL / WM_VSCROLL).
constexpr int SB_LINEUP = 0, SB_LINELEFT = 0;
constexpr int SB_LINEDOWN = 1, SB_LINERIGHT = 1;
constexpr int SB_PAGEUP = 2, SB_PAGELEFT = 2;
constexpr int SB_PAGEDOWN = 3, SB_PAGERIGHT = 3;
constexpr int SB_THUMBPOSITION = 4;
constexpr int SB_THUMBTRACK = 5;
constexpr int SB_TOP = 6, SB_LEFT = 6;
constexpr int SB_BOTTOM = 7, SB_RIGHT = 7;

// Dialog codes of WM_GETDLGCODE.
constexpr TLResult DLGC_WANTARROWS = 0x0001;
constexpr TLResult DLGC_WANTTAB = 0x0002;
constexpr TLResult DLGC_WANTALLKEYS = 0x0004;
constexpr TLResult DLGC_WANTCHARS = 0x0080;

// Input method.
constexpr TLParam GCS_RESULTSTR = 0x0800;
constexpr TWParam IMN_CLOSECANDIDATE = 4;
constexpr TWParam IMN_OPENCANDIDATE = 5;

// Key-state bits of the mouse messages' wParam.
constexpr TWParam MK_LBUTTON = 0x0001;
constexpr TWParam MK_SHIFT = 0x0004;
constexpr TWParam MK_CONTROL = 0x0008;

// Bit 30 of a key message's lParam: the key was already down (auto-repeat).
constexpr TLParam KF_REPEAT_BIT = TLParam{1} << 30;

// Virtual-key codes.
constexpr int VK_LBUTTON = 0x01;
constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_PRIOR = 0x21;
constexpr int VK_NEXT = 0x22;
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_DELETE = 0x2E;

// Packing of two 16-bit values into one parameter, and unpacking (signed, as client points are).
constexpr TLParam MakeLParam(int Low, int High) {
    return static_cast<TLParam>(static_cast<std::uint32_t>(static_cast<std::uint16_t>(Low)) |
                                (static_cast<std::uint32_t>(static_cast<std::uint16_t>(High)) << 16));
}
constexpr int LowWord(TLParam Value) { return static_cast<std::int16_t>(Value & 0xFFFF); }
constexpr int HighWord(TLParam Value) { return static_cast<std::int16_t>((Value >> 16) & 0xFFFF); }

} // namespace quillon

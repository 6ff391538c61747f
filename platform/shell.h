// The shell's folder browse dialog, its item lists and the few window functions that the
// program uses, with the Windows names and signatures. Behind them stands a Qt dialog of our
// own (shelldialog.h) and the widgets of this process.
//
// Item lists. An item list names one item of the folder tree: either the virtual Desktop
// (an empty list, as on Windows) or a file-system path. The lists handed out here are heap
// blocks that the caller frees with CoTaskMemFree.
//
// Special folders (SHGetSpecialFolderLocation), mapped onto a Linux desktop:
//   CSIDL_DESKTOP           0x00  the virtual Desktop, which holds the home folder and "/"
//   CSIDL_PERSONAL          0x05  ~/Documents (the XDG documents folder) if it exists, else home
//   CSIDL_MYMUSIC           0x0d  the XDG music folder if it exists
//   CSIDL_MYVIDEO           0x0e  the XDG videos folder if it exists
//   CSIDL_DESKTOPDIRECTORY  0x10  ~/Desktop (the XDG desktop folder) if it exists, else home
//   CSIDL_DRIVES            0x11  the file-system root "/"
//   CSIDL_MYPICTURES        0x27  the XDG pictures folder if it exists
//   CSIDL_PROFILE           0x28  the home folder
// Every other number gives E_FAIL and no list. The flag bits (CSIDL_FLAG_*) are ignored.
//
// Window handles. An HWND stands for a QWidget of this process. HwndFromWidget hands out a
// handle that stays the same for the widget's life; once the widget is destroyed the handle
// is dead: WidgetFromHwnd gives nullptr and the window functions fail (FALSE, 0).
#pragma once

#include "platform/windows.h"

#include <cstddef>

class QWidget;

// ---- Item lists -----------------------------------------------------------------------------

struct SHITEMID {
    USHORT cb;    // size of this item in bytes, cb included
    BYTE abID[1]; // the item's data, cb - sizeof(USHORT) bytes
};
using LPSHITEMID = SHITEMID*;
using LPCSHITEMID = const SHITEMID*;

// A run of SHITEMIDs ended by one whose cb is 0.
struct ITEMIDLIST {
    SHITEMID mkid;
};
using LPITEMIDLIST = ITEMIDLIST*;
using LPCITEMIDLIST = const ITEMIDLIST*;
using PIDLIST_ABSOLUTE = ITEMIDLIST*;
using PCIDLIST_ABSOLUTE = const ITEMIDLIST*;

constexpr int CSIDL_DESKTOP = 0x0000;
constexpr int CSIDL_PERSONAL = 0x0005;
constexpr int CSIDL_MYMUSIC = 0x000d;
constexpr int CSIDL_MYVIDEO = 0x000e;
constexpr int CSIDL_DESKTOPDIRECTORY = 0x0010;
constexpr int CSIDL_DRIVES = 0x0011;
constexpr int CSIDL_MYPICTURES = 0x0027;
constexpr int CSIDL_PROFILE = 0x0028;
constexpr int CSIDL_FLAG_MASK = 0xff00;

// The item list of a special folder, in *ppidl (nullptr when there is none). S_OK, or E_FAIL
// for a number that names nothing here; E_INVALIDARG when ppidl is null.
HRESULT SHGetSpecialFolderLocation(HWND hwnd, int csidl, PIDLIST_ABSOLUTE* ppidl);

// The longest file-system path in bytes, its NUL included: what the kernel accepts.
constexpr DWORD MAX_FS_PATH = 4096;

// Writes the file-system path of an item list into pszPath (MAX_PATH bytes, local 8-bit
// encoding). FALSE, with "" written, for the Desktop, a null or foreign list, or a path that
// does not fit.
BOOL SHGetPathFromIDListA(PCIDLIST_ABSOLUTE pidl, LPSTR pszPath);

// The same into a buffer of cchPath bytes, for paths longer than MAX_PATH; MAX_FS_PATH bytes
// hold every path the file system can open. uOpts must be GPFIDL_DEFAULT.
using GPFIDL_FLAGS = int;
constexpr GPFIDL_FLAGS GPFIDL_DEFAULT = 0;
BOOL SHGetPathFromIDListEx(PCIDLIST_ABSOLUTE pidl, LPSTR pszPath, DWORD cchPath,
                           GPFIDL_FLAGS uOpts);

LPVOID CoTaskMemAlloc(std::size_t cb);
void CoTaskMemFree(LPVOID pv); // null is allowed

// ---- The folder browse dialog ---------------------------------------------------------------

// Callback messages, from the dialog to the caller's BFFCALLBACK.
constexpr UINT BFFM_INITIALIZED = 1;     // set up, not yet shown; lParam 0
constexpr UINT BFFM_SELCHANGED = 2;      // lParam: item list of the new selection
constexpr UINT BFFM_VALIDATEFAILEDA = 3; // lParam: the typed text; nonzero result keeps it open
constexpr UINT BFFM_VALIDATEFAILEDW = 4;

// Messages to the dialog, sent with SendMessageA.
constexpr UINT BFFM_SETSTATUSTEXTA = WM_USER + 100; // lParam: text of the status line
constexpr UINT BFFM_ENABLEOK = WM_USER + 101;       // lParam nonzero enables OK
constexpr UINT BFFM_SETSELECTIONA = WM_USER + 102;  // wParam TRUE: lParam a path; FALSE: a list

#define BFFM_SETSTATUSTEXT BFFM_SETSTATUSTEXTA
#define BFFM_SETSELECTION BFFM_SETSELECTIONA
#define BFFM_VALIDATEFAILED BFFM_VALIDATEFAILEDA

// Request bits (ulFlags).
constexpr UINT BIF_RETURNONLYFSDIRS = 0x0001;  // OK only for items with a file-system path
constexpr UINT BIF_DONTGOBELOWDOMAIN = 0x0002; // no network here: no effect
constexpr UINT BIF_STATUSTEXT = 0x0004;        // a status line below the instruction
constexpr UINT BIF_RETURNFSANCESTORS = 0x0008; // no effect
constexpr UINT BIF_EDITBOX = 0x0010;           // an edit box for a typed path
constexpr UINT BIF_VALIDATE = 0x0020;          // report unresolvable typed paths (message 3)
constexpr UINT BIF_NEWDIALOGSTYLE = 0x0040;    // resizable, with "Neuen Ordner erstellen"
constexpr UINT BIF_USENEWUI = BIF_NEWDIALOGSTYLE | BIF_EDITBOX;
constexpr UINT BIF_NONEWFOLDERBUTTON = 0x0200;  // new style without the new-folder button
constexpr UINT BIF_BROWSEINCLUDEFILES = 0x4000; // files are listed and can be chosen

using BFFCALLBACK = int (*)(HWND hwnd, UINT uMsg, LPARAM lParam, LPARAM lpData);

struct BROWSEINFOA {
    HWND hwndOwner;             // owner window, or null
    PCIDLIST_ABSOLUTE pidlRoot; // root of the tree; null: the Desktop
    LPSTR pszDisplayName;       // receives the chosen item's name (MAX_PATH bytes)
    LPCSTR lpszTitle;           // instruction above the tree, or null
    UINT ulFlags;               // BIF_* bits
    BFFCALLBACK lpfn;           // callback, or null
    LPARAM lParam;              // handed to the callback as lpData
    int iImage;                 // receives 0 when an item is chosen
};
using LPBROWSEINFOA = BROWSEINFOA*;
using BROWSEINFO = BROWSEINFOA;
using LPBROWSEINFO = LPBROWSEINFOA;

// Shows the modal folder dialog and returns the chosen item's list (free it with
// CoTaskMemFree), or null when the user cancels. Needs a running QApplication; without one,
// or without a request, it returns null at once.
PIDLIST_ABSOLUTE SHBrowseForFolderA(LPBROWSEINFOA lpbi);

#define SHBrowseForFolder SHBrowseForFolderA
#define SHGetPathFromIDList SHGetPathFromIDListA

// ---- Windows --------------------------------------------------------------------------------

HWND HwndFromWidget(QWidget* widget); // null for null
QWidget* WidgetFromHwnd(HWND hwnd);   // null for null, unknown or dead handles

// Z-order positions for SetWindowPos.
inline const HWND HWND_TOP = nullptr;
inline const HWND HWND_BOTTOM = reinterpret_cast<HWND>(1);

// Sends a message to a window and returns its result. Only the folder dialog answers
// messages (the BFFM_* ones above); anything else gives 0.
LRESULT SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);

// Sets the window title of the widget.
BOOL SetWindowTextA(HWND hWnd, LPCSTR lpString);

// The window's rectangle in screen pixels: the frame of a top-level window, the widget's own
// rectangle for a child.
BOOL GetWindowRect(HWND hWnd, LPRECT lpRect);

// Moves and sizes a window: X, Y is the frame's top-left corner (in the parent's coordinates
// for a child), cx, cy the frame's size. SWP_NOMOVE, SWP_NOSIZE and SWP_NOZORDER leave the
// position, the size and the stacking order alone; otherwise HWND_TOP raises the window and
// HWND_BOTTOM lowers it.
BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags);

#define SendMessage SendMessageA
#define SetWindowText SetWindowTextA

// ---- Strings --------------------------------------------------------------------------------

int lstrlenA(LPCSTR lpString);                     // 0 for null
LPSTR lstrcpyA(LPSTR lpString1, LPCSTR lpString2); // null when either is null

#define lstrlen lstrlenA
#define lstrcpy lstrcpyA

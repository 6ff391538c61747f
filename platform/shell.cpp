#include "platform/shell.h"

#include "platform/itemlist.h"
#include "platform/shelldialog.h"

#include <QApplication>
#include <QDir>
#include <QMargins>
#include <QPointer>
#include <QStandardPaths>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <unordered_map>

namespace {

// ---- Window handles -------------------------------------------------------------------------

// The handle table of this process: what the window manager keeps on Windows. Handles are
// never reused, so a handle outlived by its widget stays dead.
struct HandleTable {
    std::unordered_map<std::uintptr_t, QPointer<QWidget>> widgets;
    std::uintptr_t next = 0x10010;
};

HandleTable& handleTable() {
    static HandleTable table;
    return table;
}

constexpr char kHandleProperty[] = "tesselWindowHandle";

QMargins marginsOf(const QWidget* window) {
    const QRect frame = window->frameGeometry();
    const QRect inner = window->geometry();
    return QMargins(inner.left() - frame.left(), inner.top() - frame.top(),
                    frame.right() - inner.right(), frame.bottom() - inner.bottom());
}

// The frame around a top-level window. A window that has not been shown yet has no frame so
// far; it will get one like the other windows of the process, so theirs stands in for it
// (its owner's first). Thus a window can be placed correctly before it is first shown.
QMargins frameMargins(const QWidget* window) {
    if (window->isVisible())
        return marginsOf(window);
    QWidgetList others = QApplication::topLevelWidgets();
    if (const QWidget* owner = window->parentWidget())
        others.prepend(owner->window());
    for (const QWidget* other : others)
        if (other != window && other->isVisible() && other->isWindow())
            return marginsOf(other);
    return QMargins();
}

// The frame rectangle of a top-level window in screen pixels.
QRect frameRect(const QWidget* window) {
    if (window->isVisible())
        return window->frameGeometry();
    return QRect(window->pos(), window->size().grownBy(frameMargins(window)));
}

QString existingFolderOr(QStandardPaths::StandardLocation location, const QString& fallback) {
    const QString path = QStandardPaths::writableLocation(location);
    if (!path.isEmpty() && path != QDir::homePath() && QDir(path).exists())
        return QDir::cleanPath(path);
    return fallback;
}

// The path of a special folder; "" for the Desktop, nothing when there is none.
std::optional<QString> specialFolderPath(int csidl) {
    const int folder = csidl & ~CSIDL_FLAG_MASK;
    switch (folder) {
    case CSIDL_DESKTOP:
        return QString();
    case CSIDL_PERSONAL:
        return existingFolderOr(QStandardPaths::DocumentsLocation, QDir::homePath());
    case CSIDL_DESKTOPDIRECTORY:
        return existingFolderOr(QStandardPaths::DesktopLocation, QDir::homePath());
    case CSIDL_MYMUSIC:
    case CSIDL_MYVIDEO:
    case CSIDL_MYPICTURES: {
        const auto location = folder == CSIDL_MYMUSIC   ? QStandardPaths::MusicLocation
                              : folder == CSIDL_MYVIDEO ? QStandardPaths::MoviesLocation
                                                        : QStandardPaths::PicturesLocation;
        const QString path = existingFolderOr(location, QString());
        return path.isEmpty() ? std::nullopt : std::optional<QString>(path);
    }
    case CSIDL_DRIVES:
        return QStringLiteral("/");
    case CSIDL_PROFILE:
        return QDir::homePath();
    default:
        return std::nullopt;
    }
}

} // namespace

HWND HwndFromWidget(QWidget* widget) {
    if (!widget)
        return nullptr;
    const QVariant known = widget->property(kHandleProperty);
    if (known.isValid())
        return reinterpret_cast<HWND>(known.value<quintptr>());
    HandleTable& table = handleTable();
    const std::uintptr_t id = table.next;
    table.next += 4;
    table.widgets.emplace(id, widget);
    widget->setProperty(kHandleProperty, QVariant::fromValue(quintptr(id)));
    QObject::connect(widget, &QObject::destroyed, [id] { handleTable().widgets.erase(id); });
    return reinterpret_cast<HWND>(id);
}

QWidget* WidgetFromHwnd(HWND hwnd) {
    if (!hwnd)
        return nullptr;
    const auto& widgets = handleTable().widgets;
    const auto found = widgets.find(reinterpret_cast<std::uintptr_t>(hwnd));
    return found == widgets.end() ? nullptr : found->second.data();
}

LRESULT SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (auto* dialog = qobject_cast<platform::ShellDialog*>(WidgetFromHwnd(hWnd)))
        return dialog->handleMessage(Msg, wParam, lParam);
    return 0;
}

BOOL SetWindowTextA(HWND hWnd, LPCSTR lpString) {
    QWidget* widget = WidgetFromHwnd(hWnd);
    if (!widget)
        return FALSE;
    widget->setWindowTitle(QString::fromLocal8Bit(lpString));
    return TRUE;
}

BOOL GetWindowRect(HWND hWnd, LPRECT lpRect) {
    const QWidget* widget = WidgetFromHwnd(hWnd);
    if (!widget || !lpRect)
        return FALSE;
    const QRect frame = widget->isWindow()
                            ? frameRect(widget)
                            : QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
    *lpRect =
        RECT{frame.left(), frame.top(), frame.left() + frame.width(), frame.top() + frame.height()};
    return TRUE;
}

BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags) {
    QWidget* widget = WidgetFromHwnd(hWnd);
    if (!widget)
        return FALSE;
    const QMargins frame = widget->isWindow() ? frameMargins(widget) : QMargins();
    if (!(uFlags & SWP_NOMOVE))
        widget->move(X, Y); // a window's position is its frame's
    if (!(uFlags & SWP_NOSIZE))
        widget->resize(std::max(0, cx - frame.left() - frame.right()),
                       std::max(0, cy - frame.top() - frame.bottom()));
    if (!(uFlags & SWP_NOZORDER)) {
        if (hWndInsertAfter == HWND_TOP)
            widget->raise();
        else if (hWndInsertAfter == HWND_BOTTOM)
            widget->lower();
    }
    return TRUE;
}

// ---- Item lists and the dialog --------------------------------------------------------------

LPVOID CoTaskMemAlloc(std::size_t cb) {
    return std::malloc(cb ? cb : 1);
}

void CoTaskMemFree(LPVOID pv) {
    std::free(pv);
}

HRESULT SHGetSpecialFolderLocation(HWND, int csidl, PIDLIST_ABSOLUTE* ppidl) {
    if (!ppidl)
        return E_INVALIDARG;
    *ppidl = nullptr;
    const std::optional<QString> path = specialFolderPath(csidl);
    if (!path)
        return E_FAIL;
    platform::ItemListPtr list =
        path->isEmpty() ? platform::desktopItemList() : platform::pathItemList(*path);
    if (!list)
        return E_FAIL;
    *ppidl = list.release();
    return S_OK;
}

BOOL SHGetPathFromIDListA(PCIDLIST_ABSOLUTE pidl, LPSTR pszPath) {
    return SHGetPathFromIDListEx(pidl, pszPath, MAX_PATH, GPFIDL_DEFAULT);
}

BOOL SHGetPathFromIDListEx(PCIDLIST_ABSOLUTE pidl, LPSTR pszPath, DWORD cchPath,
                           GPFIDL_FLAGS uOpts) {
    if (!pszPath || cchPath == 0)
        return FALSE;
    pszPath[0] = '\0';
    if (uOpts != GPFIDL_DEFAULT)
        return FALSE;
    const std::optional<QString> path = platform::itemListPath(pidl);
    if (!path || path->isEmpty())
        return FALSE;
    const QByteArray bytes = path->toLocal8Bit();
    if (std::size_t(bytes.size()) >= cchPath)
        return FALSE;
    std::memcpy(pszPath, bytes.constData(), std::size_t(bytes.size()) + 1);
    return TRUE;
}

PIDLIST_ABSOLUTE SHBrowseForFolderA(LPBROWSEINFOA lpbi) {
    if (!lpbi || !qobject_cast<QApplication*>(QCoreApplication::instance()))
        return nullptr;
    return platform::ShellDialog::browse(*lpbi);
}

// ---- Strings --------------------------------------------------------------------------------

int lstrlenA(LPCSTR lpString) {
    return lpString ? int(std::strlen(lpString)) : 0;
}

LPSTR lstrcpyA(LPSTR lpString1, LPCSTR lpString2) {
    if (!lpString1 || !lpString2)
        return nullptr;
    return std::strcpy(lpString1, lpString2);
}

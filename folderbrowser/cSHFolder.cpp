#include "folderbrowser/cSHFolder.h"

#include "folderbrowser/likematch.h"
#include "resources/screen.h"

#include <QObject>
#include <QVariant>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

const QString kDefaultTitle = QStringLiteral("Wählen Sie einen Ordner aus");

// True as the shell's messages expect it.
constexpr LPARAM kTrue = -1;

struct ItemListFree {
    void operator()(ITEMIDLIST* list) const { CoTaskMemFree(list); }
};
using ItemList = std::unique_ptr<ITEMIDLIST, ItemListFree>;

// Text of a buffer before its first NUL (all of it without one).
QString bufferText(const char* begin, const char* end) {
    return QString::fromLocal8Bit(begin, std::find(begin, end, '\0') - begin);
}

// Ends the run of a dialog however BrowseForFolder is left.
class RunGuard {
public:
    explicit RunGuard(HWND& window) : m_window(window) {}
    RunGuard(const RunGuard&) = delete;
    RunGuard& operator=(const RunGuard&) = delete;
    ~RunGuard() {
        modSHFolder::ClearActiveBrowser();
        m_window = nullptr;
    }

private:
    HWND& m_window;
};

} // namespace

void cSHFolder::setDefaultPath(const QString& value) {
    m_DefaultPath = value;
    if (!m_hWnd)
        return;
    const QByteArray path = value.toLocal8Bit();
    SendMessageA(m_hWnd, BFFM_SETSELECTIONA, static_cast<WPARAM>(kTrue),
                 reinterpret_cast<LPARAM>(path.constData()));
}

void cSHFolder::setDefaultPIDL(std::int32_t value) {
    m_DefaultPIDL = value;
    if (!m_hWnd)
        return;
    PIDLIST_ABSOLUTE found = nullptr;
    SHGetSpecialFolderLocation(m_hWnd, static_cast<std::int16_t>(value), &found);
    const ItemList list(found);
    SendMessageA(m_hWnd, BFFM_SETSELECTIONA, 0, reinterpret_cast<LPARAM>(list.get()));
}

void cSHFolder::setOKEnabled(bool value) {
    if (m_hWnd)
        SendMessageA(m_hWnd, BFFM_ENABLEOK, 0, value ? kTrue : 0);
}

void cSHFolder::setStatusText(const QString& value) {
    if (!m_hWnd) {
        m_StatusText = value;
        return;
    }
    if (m_StatusTextArea) {
        const QByteArray text = value.toLocal8Bit();
        SendMessageA(m_hWnd, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(text.constData()));
    }
}

void cSHFolder::setCaption(const QString& value) {
    m_Caption = value;
    if (m_hWnd)
        SetWindowTextA(m_hWnd, value.toLocal8Bit().constData());
}

void cSHFolder::setCenterDialog(bool value) {
    m_CenterDialog = value;
    if (m_hWnd && value)
        CenterNow();
}

void cSHFolder::CenterNow() const {
    RECT frame{};
    GetWindowRect(m_hWnd, &frame);
    const auto perPixelX = static_cast<long>(std::nearbyint(ui::Screen::TwipsPerPixelX()));
    const auto perPixelY = static_cast<long>(std::nearbyint(ui::Screen::TwipsPerPixelY()));
    if (perPixelX <= 0 || perPixelY <= 0)
        return;
    const long screenWidth = static_cast<long>(std::nearbyint(ui::Screen::Width())) / perPixelX;
    const long screenHeight = static_cast<long>(std::nearbyint(ui::Screen::Height())) / perPixelY;
    const long x = (screenWidth - frame.right + frame.left) / 2;
    const long y = (screenHeight - frame.bottom + frame.top) / 2;
    SetWindowPos(m_hWnd, nullptr, int(x), int(y), 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

UINT cSHFolder::BrowseFlags() const {
    UINT flags =
        m_IncludeFiles ? BIF_BROWSEINCLUDEFILES | BIF_RETURNONLYFSDIRS : BIF_RETURNONLYFSDIRS;
    if (m_StatusTextArea)
        flags += BIF_STATUSTEXT;
    if (m_EditBox)
        flags += BIF_EDITBOX | BIF_VALIDATE | BIF_DONTGOBELOWDOMAIN;
    if (m_NewDialog)
        flags += BIF_NEWDIALOGSTYLE;
    return flags;
}

std::shared_ptr<cSHFolder> cSHFolder::ActiveReference() {
    if (std::shared_ptr<cSHFolder> owned = weak_from_this().lock())
        return owned;
    return std::shared_ptr<cSHFolder>(this, [](cSHFolder*) {}); // a local object: not owned
}

QString cSHFolder::BrowseForFolder(const QObject* Parent, std::optional<QString> Title,
                                   std::int32_t RootFolder) {
    // Keeps an object owned by shared_ptrs alive until this call has returned, even when its
    // owner lets go of it from inside an event.
    const std::shared_ptr<cSHFolder> self = ActiveReference();

    HWND owner = nullptr;
    if (Parent) {
        const QVariant handle = Parent->property("hWnd");
        if (handle.isValid())
            owner = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(handle.toULongLong()));
    }
    const QByteArray title = Title.value_or(kDefaultTitle).toLocal8Bit();

    PIDLIST_ABSOLUTE rootFound = nullptr;
    SHGetSpecialFolderLocation(owner, static_cast<std::int16_t>(RootFolder), &rootFound);
    const ItemList root(rootFound);

    std::array<char, MAX_PATH> displayName;
    displayName.fill(' ');

    BROWSEINFOA request{};
    request.hwndOwner = owner;
    request.pidlRoot = root.get();
    request.pszDisplayName = displayName.data();
    request.lpszTitle = title.constData();
    request.ulFlags = BrowseFlags();
    request.lpfn = &modSHFolder::BrowseCallback;
    request.lParam = 0;

    ItemList chosen;
    {
        modSHFolder::SetActiveBrowser(self);
        const RunGuard run(m_hWnd);
        chosen.reset(SHBrowseForFolderA(&request));
    }

    const QString path = PathFromPidl(chosen.get());
    if (!path.isEmpty())
        m_DisplayName = bufferText(displayName.data(), displayName.data() + displayName.size());
    return path;
}

std::int32_t cSHFolder::HandleBrowseMessage(HWND window, UINT message, LPARAM lParam, LPARAM) {
    switch (message) {
    case BFFM_INITIALIZED:
        m_hWnd = window;
        if (!m_Caption.isEmpty())
            setCaption(m_Caption);
        if (!m_StatusText.isEmpty())
            setStatusText(m_StatusText);
        if (m_DefaultPIDL != 0)
            setDefaultPIDL(m_DefaultPIDL);
        if (!m_DefaultPath.isEmpty())
            setDefaultPath(m_DefaultPath);
        if (m_CenterDialog)
            setCenterDialog(true);
        if (Initialized)
            Initialized();
        return 0;
    case BFFM_SELCHANGED: {
        const auto selected = reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam);
        if (!m_ValidFolder.isEmpty())
            setOKEnabled(
                folderbrowser::likeMatch(PathFromPidl(selected), QLatin1Char('*') + m_ValidFolder));
        if (SelectionChanged)
            SelectionChanged(PathFromPidl(selected));
        return 0;
    }
    case BFFM_VALIDATEFAILEDA: {
        bool cancel = false;
        if (ValidationFailed)
            ValidationFailed(StringFromAnsiPointer(reinterpret_cast<LPCSTR>(lParam)), cancel);
        return cancel ? 0 : -1; // nonzero keeps the dialog open
    }
    default:
        return 0;
    }
}

QString cSHFolder::PathFromPidl(PCIDLIST_ABSOLUTE pidl) {
    if (!pidl)
        return QString();
    // Room for every path the file system can open, not just MAX_PATH bytes: a deep folder
    // must come back as itself, not as an empty path that looks like a cancel.
    std::array<char, MAX_FS_PATH> buffer{};
    SHGetPathFromIDListEx(pidl, buffer.data(), DWORD(buffer.size()), GPFIDL_DEFAULT);
    return bufferText(buffer.data(), buffer.data() + buffer.size());
}

QString cSHFolder::StringFromAnsiPointer(LPCSTR address) {
    const int length = lstrlenA(address);
    std::vector<char> buffer(std::size_t(length) + 1, '\0');
    lstrcpyA(buffer.data(), address);
    return QString::fromLocal8Bit(buffer.data(), length);
}

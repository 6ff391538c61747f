// The folder browser: runs the shell's folder dialog with a set of options and lets its owner
// steer the open dialog (status line, OK button, caption, selection, position).
//
// Options are set through the write-only setters; the values carry over from one run to the
// next. While the dialog is open (between its set-up and its closing; hWnd() is not null
// then), most setters also act on it at once. The owner hears of the dialog through three
// events, plain callables that are called synchronously from inside the dialog and may use
// the setters:
//   Initialized        the dialog is set up, before it is shown
//   SelectionChanged   the selection changed; the new item's path, "" for an item without one
//   ValidationFailed   a path typed into the edit box names no folder; set Cancel to true to
//                      let the dialog close (nothing is chosen then), leave it false to keep
//                      the dialog open for a correction
// An event nobody handles is simply not raised. A handler stored in the object should not
// hold a shared_ptr to it (that would keep the object alive for ever); capture it weakly.
//
// While its dialog is open, the object is the module's active browser (modSHFolder.h). When
// it is owned by a std::shared_ptr, that reference keeps it alive for the run; otherwise
// (a local object) the reference does not own it, and the object outlives its own run.
#pragma once

#include "folderbrowser/modSHFolder.h"
#include "platform/shell.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QObject;

class cSHFolder : public std::enable_shared_from_this<cSHFolder> {
public:
    cSHFolder() = default;
    cSHFolder(const cSHFolder&) = delete;
    cSHFolder& operator=(const cSHFolder&) = delete;

    // Events.
    std::function<void()> Initialized;
    std::function<void(const QString& PathSelected)> SelectionChanged;
    std::function<void(const QString& InvalidPath, bool& Cancel)> ValidationFailed;

    // Display name of the item chosen in the last run that gave a path.
    QString DisplayName() const { return m_DisplayName; }
    // Folder selected when the dialog opens; while open, selected at once.
    void setDefaultPath(const QString& value);
    // Special folder (CSIDL number) selected when the dialog opens, 0 for none; while open,
    // selected at once. DefaultPath wins when both are set.
    void setDefaultPIDL(std::int32_t value);
    // Enables or disables OK of the open dialog; does nothing while it is closed.
    void setOKEnabled(bool value);
    // Status line text shown when the dialog opens. While open it is shown at once (with a
    // status line) and not kept.
    void setStatusText(const QString& value);
    // The open dialog's window; null while no dialog is open.
    HWND hWnd() const { return m_hWnd; }
    void setNewDialog(bool value) { m_NewDialog = value; }
    void setStatusTextArea(bool value) { m_StatusTextArea = value; }
    // When not empty, OK is enabled only for selections whose path ends with this wildcard
    // pattern (see likematch.h), in any letter case.
    void setValidFolder(const QString& value) { m_ValidFolder = value; }
    // Window title of the dialog; empty keeps the dialog's own. While open, set at once.
    void setCaption(const QString& value);

    // Runs the modal dialog and returns the chosen path without a trailing separator, or ""
    // when the user cancels. Parent's window handle is read from its property "hWnd" (an
    // HWND held as an integer); without a Parent (or that property) the dialog has no owner.
    // Title is the instruction above the tree, by default "Wählen Sie einen Ordner aus".
    // RootFolder is the special folder (CSIDL number) at the top of the tree; 0 the Desktop.
    QString BrowseForFolder(const QObject* Parent = nullptr,
                            std::optional<QString> Title = std::nullopt,
                            std::int32_t RootFolder = 0);

    // Centres the dialog on the screen once it is shown; while open and true, centres it now.
    void setCenterDialog(bool value);
    void setEditBox(bool value) { m_EditBox = value; }
    void setIncludeFiles(bool value) { m_IncludeFiles = value; }

private:
    friend int modSHFolder::BrowseCallback(HWND hwnd, UINT uMsg, LPARAM lParam, LPARAM lpData);

    std::int32_t HandleBrowseMessage(HWND window, UINT message, LPARAM lParam, LPARAM lpData);
    static QString PathFromPidl(PCIDLIST_ABSOLUTE pidl);
    static QString StringFromAnsiPointer(LPCSTR address);

    UINT BrowseFlags() const;
    void CenterNow() const;
    std::shared_ptr<cSHFolder> ActiveReference();

    bool m_CenterDialog = false;
    bool m_EditBox = false;
    bool m_IncludeFiles = false;
    bool m_NewDialog = false;
    bool m_StatusTextArea = false;
    QString m_Caption;
    QString m_ValidFolder;
    QString m_DefaultPath;
    QString m_StatusText;
    QString m_DisplayName;
    HWND m_hWnd = nullptr;
    std::int32_t m_DefaultPIDL = 0;
};

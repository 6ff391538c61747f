// The folder dialog behind SHBrowseForFolderA: a modal Qt dialog with the instruction text,
// the folder tree, an optional status line and edit box, and the buttons "OK" and
// "Abbrechen" (plus "Neuen Ordner erstellen" in the new, resizable style).
//
// It calls the request's callback with BFFM_INITIALIZED once it is set up and before it is
// shown, then with BFFM_SELCHANGED for the selection it opens with (unless the callback has
// already moved it) and at every later change, and with BFFM_VALIDATEFAILEDA when a path
// typed into the edit box does not name an existing folder (or file, when files are listed).
// The lists handed to the callback are freed when it returns.
//
// A typed path may be absolute, start with "~", or be relative to the selected folder. When
// it does not resolve: with BIF_VALIDATE the callback decides (nonzero keeps the dialog open,
// zero closes it and nothing is chosen); without it the dialog stays open for a correction.
//
// Besides the edit box, every dialog takes a typed or pasted path in its location field
// (Ctrl+L, or "/" or "~" typed in the tree): Return on an existing folder selects it in the
// tree and accepts it as if it had been chosen there; anything else is refused in the status
// line and the dialog stays open. Escape hides the field, a second one cancels. Ctrl+H (also
// in the tree's context menu) shows or hides hidden folders; F2 renames the selected one.
//
// An item the program cannot open (a name that is no valid text, a path longer than the file
// system takes) can be selected but not chosen: OK is disabled and the status line says why.
// Without BIF_STATUSTEXT such notes get a line of their own.
//
// Child widgets carry object names for tests: "instruction", "folderTree", "statusText",
// "noteText", "locationEdit", "pathEdit", "newFolderButton", "okButton", "cancelButton".
#pragma once

#include "platform/itemlist.h"
#include "platform/shell.h"

#include <QDialog>

class QAction;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidgetItem;

namespace platform {

class FolderTree;
class StatusLine;
class LocationField;

class ShellDialog : public QDialog {
    Q_OBJECT
public:
    // Runs the whole dialog for a request and gives the chosen item's list, or null.
    static PIDLIST_ABSOLUTE browse(BROWSEINFOA& request);

    ShellDialog(const BROWSEINFOA& request, QWidget* owner);
    ~ShellDialog() override;

    // Answers the BFFM_* messages sent to the dialog.
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    UINT flags() const { return m_flags; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    int callback(UINT message, LPARAM lParam);
    void initialize();
    void selectPath(const QString& path);
    void onCurrentChanged(QTreeWidgetItem* item);
    void notifySelection(QTreeWidgetItem* item);
    void showNote(const QString& text); // the dialog's own word on the selection or the input
    void setDesktopRoot();
    void addKeysAndMenu();
    void showLocation(const QString& text, bool selectAll);
    void acceptTyped(const QString& text);
    void confirm();
    void createFolder();
    std::optional<QString> resolveTyped(const QString& typed) const;
    void choose(ItemListPtr list, const QString& name);

    const BFFCALLBACK m_callback;
    const LPARAM m_callbackData;
    const UINT m_flags;
    FolderTree* m_tree = nullptr;        // children of the dialog
    StatusLine* m_status = nullptr;      // only with BIF_STATUSTEXT
    StatusLine* m_note = nullptr;        // without it: a line for the dialog's own notes
    QLineEdit* m_edit = nullptr;         // only with BIF_EDITBOX
    LocationField* m_location = nullptr; // shown on Ctrl+L, "/" or "~"
    QPushButton* m_newFolder = nullptr;  // only in the new style
    QAction* m_createAction = nullptr;   // its entry in the tree's menu
    QPushButton* m_ok = nullptr;
    bool m_initialized = false; // callbacks flow once BFFM_INITIALIZED is out
    bool m_noteShown = false;   // the status line holds a note of the dialog's own
    int m_selectionReports = 0; // BFFM_SELCHANGED messages sent so far
    ItemListPtr m_chosen;       // the accepted item
    QString m_chosenName;
};

} // namespace platform

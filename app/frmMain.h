// The main window's logic: start-up, choosing and loading a skin folder, saving
// and the save question, the nudge pad, the keyboard and the pointer reset.
#pragma once

#include "app/savedfile.h"
#include "resources/mainform.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class cSHFolder;

class frmMain : public ui::MainForm {
    Q_OBJECT

public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // State of the window (read by tests).
    const QString& skinFolder() const { return SkinFolder; }
    bool loaded() const { return bLoaded; }
    std::int16_t nudgeMode() const { return NudgeMode; }
    cSHFolder* folderBrowser() const { return SHFolder.get(); }

    // The handlers, as the window's controls raise them.
    void Form_Load();
    void Form_Terminate(bool& Cancel);
    void Form_KeyDown(int KeyCode, int Shift);
    void Form_MouseMove(int Button, int Shift, float X, float Y);
    void Image1_MouseMove(int Button, int Shift, float X, float Y);
    void BTNLoad_Click();
    void BTNSave_Click();
    void ComboAnsicht_Click();
    void ChkInfobar_Click();
    void BTNpos_Click();
    void MoveN_Click();
    void MoveO_Click();
    void MoveS_Click();
    void MoveW_Click();
    void SHFolder_SelectionChanged(const QString& PathSelected);
    void SHFolder_ValidationFailed(const QString& InvalidPath, bool& Cancel);

    void SetTheControls();
    // Loads this skin folder in the chosen view, as after a choice in the folder
    // dialog; with remember it also becomes the settings file's last folder.
    void openSkinFolder(const QString& folder, bool remember = true);
    // Loads a folder the user chose (in the folder dialog or elsewhere): first the
    // question about unsaved changes; false when it was cancelled or the save failed,
    // and the folder is then not opened.
    bool openChosenFolder(const QString& folder);

signals:
    // A folder was chosen; its layout is loaded next.
    void folderOpened();
    // A chosen folder is about to become the settings file's last folder, in place of
    // the one the file names now.
    void rememberingFolder(const QString& folder);
    // A load is about to read the layout files of the skin folder.
    void loadBegins();
    // The canvas shows the layout just loaded (a load or a reload).
    void layoutLoaded();
    // A save is about to write the layout files from the canvas; whoever is told may
    // still bring the canvas up to date with the files.
    void saveBegins();
    // The save has its new texts ready; whoever is told says what keeps it from writing
    // them: a file still being written (the save fails), or one changed since the canvas
    // was brought up to date (the save starts over, a few times, then fails).
    void saveReady(SaveHold& hold);
    // A save wrote (or failed to write) the layout files, each once.
    void filesWritten(const std::vector<SavedFile>& files);
    // A save wrote every value into its file.
    void layoutSaved();
    // A nudge is about to change the active element, and has changed it.
    void nudgeBegins();
    void nudgeEnded(int element, int mode);

private:
    enum class Direction { North, East, South, West };

    void InitFirst();
    QString GetSkinFolder();
    // The question about unsaved changes, if there are any: true when the caller may
    // go on (nothing to ask, "Nein", or "Ja" and the save succeeded); false after
    // "Abbrechen" or a failed save, with nothing written or thrown away.
    bool settleUnsavedChanges();
    // Asks about unsaved changes, then reloads unless told not to. Returns false
    // when the question was cancelled or the save failed (nothing is reloaded then,
    // and the view chooser and the check box show the loaded state again).
    bool CheckForSave(bool reload = true);
    // Writes all elements; returns false (after warning the user) when a file
    // could not be written.
    bool saveLayout();
    // One try of it; nothing when a file changed under it and it may start over.
    std::optional<bool> saveLayoutOnce(bool mayStartOver);
    void nudge(Direction direction);
    void showLoadedChoice(); // puts the view chooser and the check box back to the loaded state
    void bindEvents();

    QString SkinFolder;
    bool bLoaded = false;
    std::int16_t NudgeMode = 0;
    std::shared_ptr<cSHFolder> SHFolder;
    int loadedInfobar = 1; // check box state of the last load
};

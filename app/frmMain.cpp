#include "app/frmMain.h"

#include "app/Global.h"
#include "app/skinlayout.h"
#include "elements/clsImage.h"
#include "elements/programstate.h"
#include "folderbrowser/cSHFolder.h"
#include "platform/profilebatch.h"
#include "platform/shell.h"
#include "resources/errors.h"
#include "resources/input.h"
#include "resources/msgbox.h"
#include "resources/numbers.h"
#include "resources/screen.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const QString kQuestion = QStringLiteral("Soll die Datei gespeichert werden?");
const QString kQuestionTitle = QStringLiteral("Frage:");
const QString kViews[] = {QStringLiteral("Kartenansicht 1"), QStringLiteral("Kartenansicht 2"),
                          QStringLiteral("Kartenansicht 3")};

const QString kSaveFailedTitle = QStringLiteral("Speichern fehlgeschlagen");
// How often a save merges and tries again while another program keeps writing a file.
constexpr int kSaveAttempts = 3;

QString heldSaveText(const SaveHold& hold) {
    const QString what =
        hold.reason == SaveHold::Reason::StillBeingWritten
            ? QStringLiteral(" wird gerade von einem anderen Programm geschrieben.")
            : QStringLiteral(" wurde während des Speicherns immer wieder von "
                             "einem anderen Programm geändert.");
    return QStringLiteral("Die Datei ") + QDir::toNativeSeparators(hold.file) + what +
           QStringLiteral(" Ihre Änderungen sind nicht gespeichert; versuchen Sie es gleich noch "
                          "einmal.");
}

QString pictureName(int index) {
    return QStringLiteral("myImage") + QString::number(index + 1);
}

} // namespace

frmMain::frmMain(QWidget* parent) : ui::MainForm(parent) {
    setProperty("hWnd", QVariant::fromValue<qulonglong>(
                            qulonglong(reinterpret_cast<quintptr>(HwndFromWidget(this)))));
    bindEvents();
}

frmMain::~frmMain() {
    // The element objects refer to this window's controls: they go with it.
    programState().Elements.clear();
    SHFolder.reset();
}

void frmMain::bindEvents() {
    Load.bind(this, [this] { Form_Load(); });
    Terminate.bind(this, [this](bool& cancel) { Form_Terminate(cancel); });
    KeyDown.bind(this, [this](int key, int shift) { Form_KeyDown(key, shift); });
    MouseMove.bind(this, [this](int b, int s, float x, float y) { Form_MouseMove(b, s, x, y); });
    Image1->MouseMove.bind(
        this, [this](int b, int s, float x, float y) { Image1_MouseMove(b, s, x, y); });
    BTNLoad->Click.bind(this, [this] { BTNLoad_Click(); });
    BTNSave->Click.bind(this, [this] { BTNSave_Click(); });
    ComboAnsicht->Click.bind(this, [this] { ComboAnsicht_Click(); });
    ChkInfobar->Click.bind(this, [this] { ChkInfobar_Click(); });
    BTNpos->Click.bind(this, [this] { BTNpos_Click(); });
    MoveN->Click.bind(this, [this] { MoveN_Click(); });
    MoveO->Click.bind(this, [this] { MoveO_Click(); });
    MoveS->Click.bind(this, [this] { MoveS_Click(); });
    MoveW->Click.bind(this, [this] { MoveW_Click(); });
}

// --- start-up ----------------------------------------------------------------

void frmMain::Form_Load() {
    InitFirst();
    for (int i = 0; i < kElementCount; ++i)
        if (QWidget* picture = Controls(pictureName(i)))
            picture->setVisible(false);
    Selector->setVisible(false);
    txtX->setFocus();
}

void frmMain::InitFirst() {
    ProgramState& state = programState();
    bLoaded = false;
    state.bChanged = false;
    NudgeMode = 0;

    SkinFolder = Global::ReadIniPath(Global::settingsFile(), QStringLiteral("Directory"),
                                     QStringLiteral("lastDir"), Global::defaultSkinFolder());

    state.ElementCatalogue = skinlayout::catalogue();
}

// --- choosing the skin folder -------------------------------------------------

QString frmMain::GetSkinFolder() {
    SHFolder = std::make_shared<cSHFolder>();
    SHFolder->SelectionChanged = [this](const QString& path) { SHFolder_SelectionChanged(path); };
    SHFolder->ValidationFailed = [this](const QString& path, bool& cancel) {
        SHFolder_ValidationFailed(path, cancel);
    };
    SHFolder->setCenterDialog(true);
    SHFolder->setStatusTextArea(true);
    SHFolder->setEditBox(false);
    SHFolder->setIncludeFiles(false);
    SHFolder->setNewDialog(true);
    SHFolder->setDefaultPath(SkinFolder);
    SHFolder->setValidFolder(QString());
    return SHFolder->BrowseForFolder(this, std::nullopt, 0);
}

void frmMain::SHFolder_SelectionChanged(const QString& PathSelected) {
    if (!SHFolder)
        return;
    if (!PathSelected.isEmpty() && !skinlayout::filesReachable(PathSelected + QLatin1Char('/'),
                                                               programState().ElementCatalogue)) {
        SHFolder->setOKEnabled(false);
        SHFolder->setStatusText(QStringLiteral("Der Pfad dieses Ordners ist zu lang für die "
                                               "Dateien mapviewlt.ini und defaultlt.ini."));
        return;
    }
    SHFolder->setStatusText(
        PathSelected.isEmpty() ? QString() : PathSelected + QStringLiteral(" wurde gewählt."));
}

void frmMain::SHFolder_ValidationFailed(const QString& InvalidPath, bool& Cancel) {
    const QString message =
        QStringLiteral("Der eingegebene Pfad \"") + InvalidPath +
        QStringLiteral("\" ist ungültig.\r\nWollen Sie Ihre Eingabe korrigieren?");
    const int answer = ui::MsgBox(message, ui::vbOKCancel | ui::vbExclamation,
                                  QStringLiteral("Ungültige Pfadangabe"));
    Cancel = answer == ui::vbCancel;
}

// --- loading ------------------------------------------------------------------

void frmMain::BTNLoad_Click() {
    const QString folder = GetSkinFolder();
    if (folder.isEmpty())
        return;
    openChosenFolder(folder);
}

bool frmMain::openChosenFolder(const QString& folder) {
    // Unsaved changes of the layout still on the canvas are offered for saving
    // into the folder they came from before another folder replaces them.
    if (!settleUnsavedChanges())
        return false;
    openSkinFolder(folder);
    return true;
}

void frmMain::openSkinFolder(const QString& folder, bool remember) {
    if (remember) {
        emit rememberingFolder(folder);
        Global::WriteIniValue(Global::settingsFile(), QStringLiteral("Directory"),
                              QStringLiteral("lastDir"), folder);
    }
    SkinFolder = folder;
    if (!SkinFolder.endsWith(QDir::separator()))
        SkinFolder += QDir::separator();
    emit folderOpened();
    SetTheControls();
}

void frmMain::SetTheControls() {
    emit loadBegins();
    ProgramState& state = programState();
    const QString view = ComboAnsicht->Text();
    for (std::int16_t v = 0; v < 3; ++v)
        if (view == kViews[v])
            state.CurrentView = v;
    state.bChanged = false;

    const auto& catalogue = state.ElementCatalogue;
    for (int i = 0; i < kElementCount; ++i) {
        clsImage& E = elementAt(i);
        const ElementCatalogueEntry& entry = catalogue[i];
        E.SetImage(elementPicture(i));
        E.SetX(txtX);
        E.SetY(txtY);
        E.SetCX(txtCX);
        E.SetCY(txtCY);
        E.SetNameLabel(LBLiniName);
        E.SetName(entry.iniName);
        E.SetCoSystem(Shape1);
        Selector->setTag(QString::number(i));
        Selector->setVisible(true);
        E.SetSelector(Selector);
        E.setIndex(std::int16_t(i));

        E.SetInfoBarHeight(skinlayout::infoBarHeight(SkinFolder, catalogue));
        E.SetDepend(entry.bDepend && ChkInfobar->Value() == 1);

        const skinlayout::Values values =
            skinlayout::elementValues(SkinFolder, catalogue, i, state.CurrentView);
        txtX->setText(values.x);
        txtY->setText(values.y);
        txtCX->setText(values.cx);
        txtCY->setText(values.cy);
        // A value the element cannot take leaves it where a new window has it, never
        // where an earlier load put it.
        const ui::MainForm::Geometry start = initialPlacement(i);
        elementPicture(i)->Move(start.left, start.top, start.width, start.height);
        E.paintImage();
        E.setVisible(entry.bInView[std::size_t(state.CurrentView)]);
    }
    bLoaded = true;
    loadedInfobar = ChkInfobar->Value();
    emit layoutLoaded();
}

// --- saving -------------------------------------------------------------------

void frmMain::BTNSave_Click() {
    if (!bLoaded)
        return; // nothing loaded, nothing to save
    saveLayout();
}

bool frmMain::saveLayout() {
    // Another program may write a file between the merge and the write: then the save
    // starts over with what it wrote, a few times at most, and then fails.
    for (int attempt = 1;; ++attempt) {
        std::optional<bool> saved = saveLayoutOnce(attempt < kSaveAttempts);
        if (saved)
            return *saved;
    }
}

std::optional<bool> frmMain::saveLayoutOnce(bool mayStartOver) {
    emit saveBegins();
    ProgramState& state = programState();
    const auto& catalogue = state.ElementCatalogue;
    const double canvasLeft = float(Shape1->Left());
    const double canvasTop = float(Shape1->Top());
    QStringList failed; // files with a value not written, in the order of their failure

    // Every key is written on its own, in order; each file is replaced once at the
    // end, so that a save leaves either all of its values or none in a file.
    ProfileWriteBatch batch;
    for (int i = 0; i < kElementCount; ++i) {
        const clsImage& E = elementAt(i);
        const QString file = SkinFolder + catalogue[i].iniFile;
        const QString& section = catalogue[i].iniName;
        const auto write = [&](const char* key, auto&& value) {
            // A key whose value cannot be computed is a key not written: the save
            // fails for its file rather than leave the old value there unnoticed.
            bool written = false;
            try {
                written = Global::WriteIniValue(file, section, QString::fromLatin1(key), value());
            } catch (const ui::RuntimeError&) {
            }
            if (!written && !failed.contains(file))
                failed << file;
        };
        write("x", [&] {
            return i == 3 ? QStringLiteral("0")
                          : ui::StrDouble((double(E.Left()) - canvasLeft) / 15.0);
        });
        write("y", [&] {
            const std::int64_t shift = (E.Depend() ? 1 : 0) * (std::int64_t(E.InfoBarHeight()) - 2);
            if (shift < std::numeric_limits<std::int32_t>::min() ||
                shift > std::numeric_limits<std::int32_t>::max())
                throw ui::RuntimeError(ui::RuntimeError::Overflow, "Overflow");
            return ui::StrDouble((double(E.Top()) - canvasTop) / 15.0 + double(shift));
        });
        write("cx", [&] { return ui::StrDouble(double(E.width()) / 15.0); });
        write("cy", [&] {
            return (i == 4 || i == 5) ? QStringLiteral("60")
                                      : ui::StrDouble(double(E.height()) / 15.0);
        });
    }

    std::vector<SavedFile> files;
    for (const ElementCatalogueEntry& entry : catalogue) {
        const QString file = SkinFolder + entry.iniFile;
        if (std::none_of(files.begin(), files.end(),
                         [&](const SavedFile& f) { return f.path == file; }))
            files.push_back(SavedFile{file, false, false, {}});
    }
    SaveHold hold;
    emit saveReady(hold);
    if (hold.reason != SaveHold::Reason::None) {
        batch.discard();
        if (hold.reason == SaveHold::Reason::ChangedSinceMerge && mayStartOver)
            return std::nullopt;
        // Nothing is written over what another program is busy with: the changes stay
        // marked, and a later save tries again.
        emit filesWritten(files);
        ui::MsgBox(heldSaveText(hold), ui::vbOKOnly | ui::vbExclamation, kSaveFailedTitle);
        return false;
    }
    const std::vector<std::string> notWritten = batch.commit();
    for (const std::string& name : notWritten) {
        const QString file = QFile::decodeName(QByteArray::fromStdString(name));
        if (!failed.contains(file))
            failed << file;
    }
    for (SavedFile& saved : files) {
        const std::string* text = batch.contents(QFile::encodeName(saved.path).constData());
        const bool committed =
            std::find(notWritten.begin(), notWritten.end(),
                      QFile::encodeName(saved.path).toStdString()) == notWritten.end();
        saved.written = text && committed;
        saved.complete = saved.written && !failed.contains(saved.path);
        if (saved.written)
            saved.text = *text;
    }
    emit filesWritten(files);
    if (!failed.isEmpty()) {
        const QString& failedFile = failed.front();
        ui::MsgBox(QStringLiteral("Die Datei ") + QDir::toNativeSeparators(failedFile) +
                       QStringLiteral(" konnte nicht gespeichert werden."),
                   ui::vbOKOnly | ui::vbExclamation, kSaveFailedTitle);
        return false; // the changes stay marked
    }
    state.bChanged = false;
    emit layoutSaved();
    return true;
}

bool frmMain::settleUnsavedChanges() {
    if (!bLoaded || !programState().bChanged)
        return true;
    switch (ui::MsgBox(kQuestion, ui::vbYesNoCancel, kQuestionTitle)) {
    case ui::vbYes:
        return saveLayout();
    case ui::vbNo:
        return true; // the changes go
    default:
        return false; // "Abbrechen": nothing is written and nothing is thrown away
    }
}

bool frmMain::CheckForSave(bool reload) {
    if (!bLoaded)
        return true;
    if (!settleUnsavedChanges()) {
        // Keep the unsaved work on the canvas rather than reloading over it, and
        // show the choice that belongs to it.
        showLoadedChoice();
        return false;
    }
    if (reload)
        SetTheControls();
    return true;
}

void frmMain::showLoadedChoice() {
    ComboAnsicht->setText(kViews[programState().CurrentView]);
    ChkInfobar->setValue(loadedInfobar);
}

void frmMain::ComboAnsicht_Click() {
    CheckForSave();
}

void frmMain::ChkInfobar_Click() {
    CheckForSave();
}

void frmMain::Form_Terminate(bool& Cancel) {
    // The reload after the question would have no visible effect: skip it. A failed
    // save or "Abbrechen" keeps the window open.
    if (!CheckForSave(false))
        Cancel = true;
}

// --- nudge pad and keyboard ----------------------------------------------------

void frmMain::BTNpos_Click() {
    NudgeMode = std::int16_t((NudgeMode + 1) % 3);
    switch (NudgeMode) {
    case 1:
        BTNpos->setCaption(QStringLiteral("scale+"));
        break;
    case 2:
        BTNpos->setCaption(QStringLiteral("scale-"));
        break;
    default:
        BTNpos->setCaption(QStringLiteral("pos."));
        break;
    }
}

void frmMain::nudge(Direction direction) {
    double tag = 0;
    try {
        tag = ui::CDbl(Selector->Tag());
    } catch (const ui::RuntimeError&) {
        return;
    }
    if (!(tag > -1))
        return;

    // What a step changes, by direction and mode: the position box first, then
    // the size box. "pos." moves, "scale+" grows towards the arrow, "scale-"
    // shrinks from the far side.
    using Box = ui::TextBox* ui::MainForm::*;
    struct Change {
        Box box = nullptr;
        double delta = 0;
    };
    static const Change table[4][3][2] = {
        // North: pos., scale+, scale-
        {{{&MainForm::txtY, -1}},
         {{&MainForm::txtY, -1}, {&MainForm::txtCY, +1}},
         {{&MainForm::txtCY, -1}}},
        // East
        {{{&MainForm::txtX, +1}},
         {{&MainForm::txtCX, +1}},
         {{&MainForm::txtX, +1}, {&MainForm::txtCX, -1}}},
        // South
        {{{&MainForm::txtY, +1}},
         {{&MainForm::txtCY, +1}},
         {{&MainForm::txtY, +1}, {&MainForm::txtCY, -1}}},
        // West
        {{{&MainForm::txtX, -1}},
         {{&MainForm::txtX, -1}, {&MainForm::txtCX, +1}},
         {{&MainForm::txtCX, -1}}},
    };
    const int mode = NudgeMode >= 0 && NudgeMode < 3 ? NudgeMode : 0;
    emit nudgeBegins();
    for (const Change& change : table[int(direction)][mode]) {
        if (!change.box)
            continue;
        ui::TextBox* box = this->*change.box;
        try {
            box->setText(ui::StrDouble(ui::CDbl(box->Text()) + change.delta));
        } catch (const ui::RuntimeError&) {
            // a box without a number keeps its text; the element keeps that value
        }
    }

    try {
        const std::int32_t index = ui::CLng(tag);
        auto& elements = programState().Elements;
        if (index >= 0 && std::size_t(index) < elements.size() && elements[std::size_t(index)]) {
            elements[std::size_t(index)]->stretchImage();
            emit nudgeEnded(index, mode);
        }
    } catch (const ui::RuntimeError&) {
    }
}

void frmMain::MoveN_Click() {
    nudge(Direction::North);
}
void frmMain::MoveO_Click() {
    nudge(Direction::East);
}
void frmMain::MoveS_Click() {
    nudge(Direction::South);
}
void frmMain::MoveW_Click() {
    nudge(Direction::West);
}

void frmMain::Form_KeyDown(int KeyCode, int) {
    switch (KeyCode) {
    case ui::vbKeyLeft:
        MoveW_Click();
        break;
    case ui::vbKeyUp:
        MoveN_Click();
        break;
    case ui::vbKeyRight:
        MoveO_Click();
        break;
    case ui::vbKeyDown:
        MoveS_Click();
        break;
    default:
        break;
    }
}

// --- pointer reset ------------------------------------------------------------

void frmMain::Form_MouseMove(int, int, float, float) {
    ui::Screen::setMousePointer(0);
}

void frmMain::Image1_MouseMove(int, int, float, float) {
    ui::Screen::setMousePointer(0);
}

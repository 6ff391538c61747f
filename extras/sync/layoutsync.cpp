#include "extras/sync/layoutsync.h"

#include "app/frmMain.h"
#include "app/skinlayout.h"
#include "elements/clsImage.h"
#include "elements/programstate.h"
#include "extras/sync/canvasplacement.h"
#include "extras/sync/completeness.h"
#include "extras/sync/layoutfile.h"
#include "extras/sync/mergeplan.h"
#include "extras/sync/settle.h"
#include "extras/undo/layouthistory.h"
#include "resources/errors.h"
#include "resources/screen.h"

#include <algorithm>
#include <limits>

namespace filesync {

LayoutSync::LayoutSync(frmMain& window, undo::LayoutHistory& history)
    : m_window(window), m_history(history) {}

void LayoutSync::onLoadBegins() {
    m_files.clear();
    const QString folder = m_window.skinFolder();
    for (const ElementCatalogueEntry& entry : programState().ElementCatalogue)
        if (!m_files.contains(folder + entry.iniFile))
            m_files[folder + entry.iniFile].base = readLayoutText(folder + entry.iniFile);
}

std::map<QString, std::optional<std::string>> LayoutSync::bases() const {
    std::map<QString, std::optional<std::string>> bases;
    for (const auto& [file, state] : m_files)
        bases[file] = state.base;
    return bases;
}

bool LayoutSync::anyFileUnsaved() const {
    return std::any_of(m_files.begin(), m_files.end(),
                       [](const auto& file) { return file.second.unsaved; });
}

std::vector<int> LayoutSync::elementsOf(const QString& file) const {
    std::vector<int> elements;
    const QString folder = m_window.skinFolder();
    const auto& catalogue = programState().ElementCatalogue;
    for (int i = 0; i < kElementCount; ++i)
        if (folder + catalogue[std::size_t(i)].iniFile == file)
            elements.push_back(i);
    return elements;
}

CanvasMapping LayoutSync::mapping(std::optional<std::int32_t> infoBarHeight) const {
    const ProgramState& state = programState();
    CanvasMapping mapping;
    mapping.canvasLeft = m_window.Shape1->Left();
    mapping.canvasTop = m_window.Shape1->Top();
    mapping.view = state.CurrentView;
    for (int i = 0; i < kElementCount; ++i) {
        const auto slot = std::size_t(i);
        const ui::MainForm::Geometry g = ui::MainForm::initialPlacement(i);
        mapping.initial[slot] = {g.left, g.top, g.width, g.height};
        if (slot >= state.Elements.size() || !state.Elements[slot])
            continue;
        const clsImage& e = *state.Elements[slot];
        const std::int64_t height = infoBarHeight ? *infoBarHeight : e.InfoBarHeight();
        const std::int64_t shift = e.Depend() ? height - 2 : 0;
        if (shift >= std::numeric_limits<std::int32_t>::min() &&
            shift <= std::numeric_limits<std::int32_t>::max())
            mapping.shift[slot] = std::int32_t(shift);
    }
    return mapping;
}

std::optional<std::int32_t> LayoutSync::infoBarHeightIn(const QString& file,
                                                        std::string_view text) const {
    return infoBarHeightIn(file, [text](const QString& section, const QString& key, int fallback) {
        return valueIn(text, section, key, fallback);
    });
}

std::optional<std::int32_t> LayoutSync::infoBarHeightIn(const QString& file,
                                                        const skinlayout::KeyReader& read) const {
    const auto& catalogue = programState().ElementCatalogue;
    if (file != m_window.skinFolder() + catalogue[1].iniFile)
        return std::nullopt;
    return skinlayout::infoBarHeight(read);
}

bool LayoutSync::takeInfoBarHeight(const QString& file, const skinlayout::KeyReader& read,
                                   const CanvasMapping& before) {
    const std::optional<std::int32_t> height = infoBarHeightIn(file, read);
    if (!height)
        return false;
    for (const std::unique_ptr<clsImage>& e : programState().Elements)
        if (e)
            e->SetInfoBarHeight(*height);
    const CanvasMapping after = mapping();
    bool moved = false;
    for (int i = 0; i < kElementCount; ++i) {
        const std::optional<std::int32_t>& was = before.shift[std::size_t(i)];
        const std::optional<std::int32_t>& now = after.shift[std::size_t(i)];
        if (was && now && *was != *now) {
            m_history.moveFrame(i, (double(*was) - double(*now)) * ui::kTwipsPerPixel);
            moved = true;
        }
    }
    return moved;
}

void LayoutSync::mergeFile(FileState& state, const QString& file, const std::string& text) {
    const auto& catalogue = programState().ElementCatalogue;
    const std::string_view base = state.base ? std::string_view(*state.base) : std::string_view();
    // A key the file lacks has not been written yet: it keeps the base's value.
    const skinlayout::KeyReader read = [&](const QString& section, const QString& key,
                                           int fallback) {
        std::optional<QString> value = keyIn(text, section, key);
        return value ? *value : valueIn(base, section, key, fallback);
    };
    m_history.mergeBegins();
    const CanvasMapping was = mapping();
    bool moved = takeInfoBarHeight(file, read, was);
    const CanvasMapping map = mapping();
    for (int i : elementsOf(file)) {
        const auto slot = std::size_t(i);
        // The base as the canvas would show it now: in the element's new frame, if it moved.
        const CanvasMapping& baseMap = was.shift[slot] && map.shift[slot] ? map : was;
        const Placement before = loadedPlacement(base, catalogue, i, baseMap);
        const Placement now = loadedPlacement(read, catalogue, i, map);
        const Placement current = m_history.current(i);
        const ElementMerge merge = mergeElement(before, now, m_history.saved(i), current);
        if (undo::differs(merge.result, current)) {
            if (ui::ImageControl* picture = m_window.elementPicture(i)) {
                try {
                    const Placement& p = merge.result;
                    picture->Move(p.left, p.top, p.width, p.height);
                    moved = true;
                } catch (const ui::RuntimeError&) {
                }
            }
        }
        m_history.takenFromFile(i, merge.taken);
        // From now on the file's value is the one the user's edits are measured against.
        m_history.rebase(i, now);
        if (merge.conflict)
            state.conflicts.insert(i);
    }
    state.base = text;
    if (!moved)
        return;
    // The frame and the boxes follow the active element to its new place.
    bool ok = false;
    const int active = m_window.Selector->Tag().toInt(&ok);
    if (ok && active >= 0 && active < kElementCount) {
        try {
            elementAt(active).Select();
        } catch (const ui::RuntimeError&) {
        }
    }
}

bool LayoutSync::movesNothing(const QString& file, const std::string& text) const {
    const auto& catalogue = programState().ElementCatalogue;
    const auto it = m_files.find(file);
    const std::string_view base =
        it != m_files.end() && it->second.base ? std::string_view(*it->second.base) : "";
    // Each text with its own info bar: the values are compared, not how the canvas
    // shows them since the last load.
    const CanvasMapping was = mapping(infoBarHeightIn(file, base));
    const CanvasMapping next = mapping(infoBarHeightIn(file, text));
    const std::vector<int> elements = elementsOf(file);
    return std::none_of(elements.begin(), elements.end(), [&](int i) {
        return undo::differs(loadedPlacement(base, catalogue, i, was),
                             loadedPlacement(text, catalogue, i, next));
    });
}

bool LayoutSync::takeChangesThatMoveNothing() {
    bool moving = false;
    for (auto& [file, state] : m_files) {
        std::optional<std::string> text = readLayoutText(file);
        // A file gone or cut to nothing is no change yet: what is written into it next is.
        if (!text || text->empty() || text == state.base)
            continue;
        if (movesNothing(file, *text))
            state.base = std::move(text);
        else
            moving = true;
    }
    return moving;
}

void LayoutSync::takeChangesFromFiles(qint64 lastChangeMs, Settled until) {
    const QDeadlineTimer deadline(kMaxSaveWaitMs);
    bool anyStillWritten = false;
    for (auto& [file, state] : m_files) {
        state.merged = settledText(file, state.base, lastChangeMs, deadline, until);
        // Part of a text is not written over. A file cut to nothing that stays so for the
        // whole wait holds nothing to lose: the save writes it anew.
        state.stillWritten = until == Settled::QuietAndComplete && state.merged &&
                             !state.merged->empty() && looksIncomplete(state.merged, state.base);
        anyStillWritten = anyStillWritten || state.stillWritten;
    }
    // The save will not write: the next one merges what the files hold then.
    if (anyStillWritten)
        return;
    for (auto& [file, state] : m_files) {
        const std::optional<std::string>& text = state.merged;
        if (!text || text == state.base)
            continue;
        if (text->empty())
            state.base = text; // nothing to take from: the save writes it anew
        else
            mergeFile(state, file, *text);
    }
}

SaveHold LayoutSync::holdBeforeWrite() const {
    for (const auto& [file, state] : m_files)
        if (state.stillWritten)
            return {SaveHold::Reason::StillBeingWritten, file};
    for (const auto& [file, state] : m_files)
        if (readLayoutText(file) != state.merged)
            return {SaveHold::Reason::ChangedSinceMerge, file};
    return {};
}

QStringList LayoutSync::onFilesWritten(const std::vector<SavedFile>& files) {
    std::set<int> overwritten;
    for (const SavedFile& saved : files) {
        const auto it = m_files.find(saved.path);
        if (it == m_files.end())
            continue;
        FileState& state = it->second;
        if (saved.written)
            state.base = saved.text;
        state.unsaved = !saved.complete;
        if (state.unsaved)
            continue;
        // Only where the user's value differs from the other program's did it replace it.
        for (int i : state.conflicts)
            if (undo::differs(m_history.current(i), m_history.saved(i)))
                overwritten.insert(i);
        state.conflicts.clear();
        m_history.markSaved(elementsOf(saved.path));
    }
    QStringList names;
    for (int i : overwritten)
        names << programState().ElementCatalogue[std::size_t(i)].iniName;
    return names;
}

} // namespace filesync

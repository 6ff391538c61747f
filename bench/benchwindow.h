// The editor's real main window over a copy of the sample skin, in a run folder of its
// own, for the benchmarks that measure the window.
#pragma once

#include "app/frmMain.h"
#include "assembly/workbench.h"
#include "benchsupport.h"

#include <QApplication>
#include <QTemporaryDir>

namespace bench {

class SampleWindow {
public:
    SampleWindow() {
        window().show();
        QApplication::processEvents();
    }

    // Whether the run folder could be prepared; the figures mean nothing otherwise.
    bool ready() const { return m_ready; }
    frmMain& window() { return m_bench.window(); }
    Workbench& bench() { return m_bench; }
    // Loads the sample skin, as a choice in the folder dialog would.
    void open() {
        window().openSkinFolder(m_work.path(), false);
        QApplication::processEvents();
    }

private:
    QTemporaryDir m_work;
    bool m_ready = prepareSampleRun(m_work.path()); // before the window reads its settings
    Workbench m_bench;
};

} // namespace bench

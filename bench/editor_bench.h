// What the editor benchmarks share: the real main window, shown offscreen
// at its usual size over a scratch settings folder, answered by the scripted
// platform.
#pragma once

#include "editor/form_orvalis.h"
#include "platform/test_platform.h"
#include "platform/vextra_binding.h"

#include <QApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace orvbench {

class BenchWindow {
public:
    BenchWindow() : m_library(orv::VextraLibrary::open(QStringLiteral(VEXTRA_LIBRARY_PATH)))
    {
        if (!m_library || !m_library->isLoaded()) {
            std::fprintf(stderr, "Vextra not loaded\n");
            std::exit(1);
        }
        m_window = std::make_unique<orv::FormOrvalis>(m_platform, *m_library,
                                                      orv::EditorEnvironment{m_dir.path(), {}, {}});
        m_window->load();
        m_window->resize(1035, 731);
        m_window->show();
        QApplication::processEvents();
    }
    orv::FormOrvalis &form() { return *m_window; }
    orv::TestPlatform &platform() { return m_platform; }
    orv::VextraLibrary &library() { return *m_library; }
    // The scratch folder, emptied at the end.
    QString folder() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<orv::VextraLibrary> m_library;
    orv::TestPlatform m_platform;
    std::unique_ptr<orv::FormOrvalis> m_window;
};

} // namespace orvbench

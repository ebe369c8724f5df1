// What the editor benchmarks share: the real main window, shown offscreen
// at its usual size over a scratch settings folder, answered by the scripted
// platform.
#pragma once

#include "core/document.h"
#include "editor/editor.h"
#include "editor/form_orvalis.h"
#include "platform/test_platform.h"
#include "platform/vextra_binding.h"
#include "bench_timing.h"

#include <QApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <memory>
#include <vector>

namespace orvbench {

// A closed airfoil of n points with a fine ripple, so that neighbouring
// points rarely share a pixel; every `every`-th point carries `flags`.
inline orv::ProfilePoints wavyAirfoil(int n, float chord, float dy, int every, int16_t flags)
{
    std::vector<orv::PointProfil> pts(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double a = 2 * M_PI * i / (n - 1);
        const double x = 0.5 * (1 + std::cos(a));
        const double y = 0.06 * std::sin(a) * (1 + 0.02 * std::sin(400 * a));
        pts[static_cast<size_t>(i)] = {static_cast<float>(x * chord), static_cast<float>(y * chord + dy),
                                       static_cast<int16_t>(every && i % every == 0 ? flags : 0)};
    }
    return orv::ProfilePoints(pts);
}

// Median processor time of this thread over `runs` runs of `what` (ms);
// `prepare` runs untimed. `wallMedian`, when given, gets the median by the
// clock.
inline double medianMs(int runs, const std::function<void()> &prepare, const std::function<void()> &what,
                       double *wallMedian = nullptr)
{
    std::vector<double> times, wall;
    for (int k = 0; k < runs; ++k) {
        prepare();
        const auto w = std::chrono::steady_clock::now();
        const double c = cpuMs();
        what();
        times.push_back(cpuMs() - c);
        wall.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - w).count());
    }
    if (wallMedian)
        *wallMedian = median(wall);
    return median(times);
}

// Offscreen before the application exists.
inline bool offscreen()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return true;
}

class BenchWindow {
public:
    BenchWindow(int &argc, char **argv) : m_app(argc, argv), m_library(orv::VextraLibrary::open(QStringLiteral(VEXTRA_LIBRARY_PATH)))
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
    // A root and a tip 500 mm apart in the document, as a load leaves them.
    void placePanel(orv::ProfilePoints root, orv::ProfilePoints tip)
    {
        orv::Editor &ed = m_window->editor();
        ed.st.doc.PointsE = std::move(root);
        ed.st.doc.PointsS = std::move(tip);
        ed.st.doc.Ecartement = 500;
        ed.enableEditing(true);
        ed.st.ProjetCharge = true;
        ed.finish({.chords = true, .layoutBoxes = true, .cursors = true, .view = orv::Finish::View::Rebuild});
    }
    orv::TestPlatform &platform() { return m_platform; }
    orv::VextraLibrary &library() { return *m_library; }
    // The scratch folder, emptied at the end.
    QString folder() const { return m_dir.path(); }

private:
    bool m_offscreen = offscreen();
    QApplication m_app;
    QTemporaryDir m_dir;
    std::unique_ptr<orv::VextraLibrary> m_library;
    orv::TestPlatform m_platform;
    std::unique_ptr<orv::FormOrvalis> m_window;
};

} // namespace orvbench

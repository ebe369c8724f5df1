// The G-code export from the window and the redraw of the machine view, with
// a synchronized root and tip of 100,000 points each.
#include "editor_bench.h"
#include "editor/editor.h"
#include "editor/machine_part.h"
#include "editor/profile_canvas.h"
#include "platform/ini_document.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QToolButton>

#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    orvbench::BenchWindow bench(argc, argv);
    orv::FormOrvalis &window = bench.form();
    orv::Editor &ed = window.editor();
    const int n = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int runs = 9;
    {
        orv::IniFile ini(window.settingsPath());
        orv::MachineSettings m;
        m.heat = 30;
        m.limits = {-2000, 2000, -2000, 2000, -2000, 2000, -2000, 2000};
        orv::writeMachineSettings(ini.document(), m);
        ini.save();
    }
    bench.placePanel(orvbench::wavyAirfoil(n, 200, 0, 0, 0), orvbench::wavyAirfoil(n, 150, 20, 0, 0));
    std::printf("root and tip of %d points each\n", n);

    // The whole click: settings read, checks and limits, the scripted save
    // dialog, the records, the library's write (with its flush to disk) and
    // the report.
    const QString path = bench.folder() + QStringLiteral("/panneau.ngc");
    std::vector<double> wall, cpu;
    for (int k = 0; k < runs; ++k) {
        bench.platform().queueFile(path);
        QElapsedTimer t;
        const double c0 = orvbench::cpuMs(CLOCK_PROCESS_CPUTIME_ID);
        t.start();
        ed.ui.cmdExporterGCode->click();
        wall.push_back(t.nsecsElapsed() / 1e6);
        cpu.push_back(orvbench::cpuMs(CLOCK_PROCESS_CPUTIME_ID) - c0);
    }
    const auto &messages = bench.platform().messages();
    if (messages.size() != size_t(runs) || messages.back().style != orv::MessageStyle::InformationOk) {
        std::fprintf(stderr, "export failed: %s\n", messages.empty() ? "" : qPrintable(messages.back().text));
        return 1;
    }
    std::printf("%-46s %8.2f ms (processor %.2f ms, best %.2f ms), %lld bytes\n", "G-code export from the window",
                orvbench::median(wall), orvbench::median(cpu), *std::min_element(wall.begin(), wall.end()),
                static_cast<long long>(QFile(path).size()));

    // Wall-clock and processor medians: the machine is shared, and the wall
    // clock there mostly measures the wait for a core.
    auto timed = [&](const char *what, auto &&run) {
        std::vector<double> times, cpuTimes;
        for (int k = 0; k < 15; ++k) {
            QElapsedTimer t;
            const double c0 = orvbench::cpuMs();
            t.start();
            run();
            times.push_back(t.nsecsElapsed() / 1e6);
            cpuTimes.push_back(orvbench::cpuMs() - c0);
        }
        std::printf("%-50s %8.2f ms (processor %.2f ms; median of 15)\n", what, orvbench::median(times),
                    orvbench::median(cpuTimes));
    };
    auto picture = [&] {
        ed.ui.pctProfils->invalidatePicture();
        ed.ui.pctProfils->picture();
    };
    timed("perspective, profiles and points", picture);
    ed.ui.chkVisuMachine->setChecked(true);
    timed("perspective, with the machine view", picture);
    timed("machine view: refresh keeping the zoom + picture", [&] {
        ed.refreshKeepingZoom();
        ed.ui.pctProfils->picture();
    });
    if (argc > 2)
        window.grab().save(QString::fromLocal8Bit(argv[2]));
    return 0;
}

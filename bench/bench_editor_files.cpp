// The editor's file commands in the real main window, offscreen: saving and
// reopening a project of two 100,000-point profiles, and opening a drawing
// against the library's read of the same file.
//
// Usage: bench_editor_files [DRAWING.dxf] [POINTS]
#include "editor_bench.h"
#include "core/characteristics.h"
#include "editor/editor.h"
#include "editor/files_part.h"
#include "editor/form_orvalis.h"
#include "editor/project_file.h"
#include "platform/ini_document.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

int main(int argc, char **argv)
{
    orvbench::BenchWindow bench(argc, argv);
    orv::FormOrvalis &window = bench.form();
    orv::TestPlatform &platform = bench.platform();
    orv::Editor &ed = window.editor();
    orv::FilesPart &files = window.files();

    const int n = argc > 2 ? std::atoi(argv[2]) : 100000;
    auto loadDocument = [&] {
        bench.placePanel(orvbench::wavyAirfoil(n, 200, 0, 7, 5), orvbench::wavyAirfoil(n, 150, 20, 7, 5));
    };
    loadDocument();
    const QString project = QDir(bench.folder()).filePath(QStringLiteral("grand.orv"));
    // Each timing also gives the median by the clock, printed beside it.
    double clockMs = 0;
    auto medianMs = [&](int runs, const std::function<void()> &prepare, const std::function<void()> &what) {
        return orvbench::medianMs(runs, prepare, what, &clockMs);
    };

    std::printf("project of a root and a tip of %d points each\n", n);
    const double save = medianMs(
        7, [&] { platform.queueFile(project, 1); }, [&] { files.cmdSauveProfil_Click(2); });
    std::printf("%-52s %8.1f ms (clock %.1f ms, %.1f MB)\n", "save over the project (cmdSauveProfil(2))",
                save, clockMs, double(QFileInfo(project).size()) / 1e6);
    const QString fresh = QDir(bench.folder()).filePath(QStringLiteral("neuf.orv"));
    const double saveNew = medianMs(
        7,
        [&] {
            QFile::remove(fresh);
            platform.queueFile(fresh, 1);
        },
        [&] { files.cmdSauveProfil_Click(2); });
    std::printf("%-52s %8.1f ms (clock %.1f ms)\n", "save as a new file", saveNew, clockMs);
    const double open = medianMs(
        7, [] {}, [&] { files.openProject(project); });
    std::printf("%-52s %8.1f ms (clock %.1f ms)\n", "reopen (openProject, whole command)", open,
                clockMs);
    if (!platform.messages().empty())
        std::printf("  unexpected message: %s\n", platform.messages().back().text.toUtf8().constData());

    // The file format alone, without the window.
    const orv::ProjectData data = files.projectData();
    const double write = medianMs(
        7, [] {},
        [&] {
            orv::IniDocument doc;
            orv::writeProject(doc, data);
            (void)doc.toBytes();
        });
    std::printf("%-52s %8.1f ms\n", "  of which: project text built in memory", write);
    const orv::IniFile file(project);
    const double parse = medianMs(
        7, [] {}, [&] { (void)orv::IniDocument::parse(orv::IniDocument(file.document()).toBytes()); });
    const double readBack = medianMs(
        7, [] {}, [&] { (void)orv::readProject(file.document()); });
    std::printf("%-52s %8.1f ms\n", "  of which: points read from the parsed file", readBack);
    std::printf("%-52s %8.1f ms\n", "  (parse of the file text, with its encoding)", parse);

    if (argc > 1 && *argv[1]) {
        const QString drawing = QString::fromLocal8Bit(argv[1]);
        // Every contour taken as it was read, as if assembled unchanged: the
        // sequence window's own cost is bench_sequences'.
        ed.assembleSequences = [](orv::Side, std::vector<ContourPoint> &, orv::Bounds &) { return true; };
        std::vector<double> lib, whole;
        int32_t count = 0;
        for (int k = 0; k < 7; ++k) {
            QElapsedTimer t;
            t.start();
            orv::ContourArray buffer(bench.library(), 1);
            orv::Bounds bounds;
            QString title;
            count = bench.library().lireFichier(drawing, title, buffer, bounds);
            lib.push_back(double(t.nsecsElapsed()) / 1e6);

            platform.queueFile(drawing, 6);
            t.restart();
            files.cmdOuvrirProfil_Click(0);
            whole.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        if (count <= 0) {
            std::fprintf(stderr, "%s: LireFichier gives %d\n", argv[1], count);
            return 1;
        }
        std::sort(lib.begin(), lib.end());
        std::sort(whole.begin(), whole.end());
        const double l = lib[lib.size() / 2], w = whole[whole.size() / 2];
        std::printf("drawing %s: %d points read, %d kept after the merge\n", argv[1], count,
                    ed.st.doc.NbPointsE());
        std::printf("%-52s %8.1f ms\n", "LireFichier alone", l);
        std::printf("%-52s %8.1f ms (+%.1f ms, +%.0f %%)\n",
                    "open command (read, merge, fill, view, snapshot)", w, w - l, 100 * (w - l) / l);
    }
    return 0;
}

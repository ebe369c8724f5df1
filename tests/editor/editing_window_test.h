// A main window with a root and a tip put straight into the document, for the
// selection, mouse, clipboard, transform and point-editing tests: mouse
// gestures replayed through the drawing area, the document and the history
// compared whole.
#pragma once

#include "core/characteristics.h"
#include "core/history.h"
#include "editor/profile_canvas.h"
#include "editor_test_support.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>

#include <algorithm>
#include <initializer_list>
#include <vector>

namespace orvtest {

// Point numbers, as the expectations write them.
inline std::vector<int32_t> numbers(std::initializer_list<int32_t> v) { return v; }

class EditingWindowTest : public WindowTest {
protected:
    struct Pt {
        float x, y;
        int16_t flags = 0;
    };

    static orv::ProfilePoints profile(std::initializer_list<Pt> points)
    {
        std::vector<orv::PointProfil> v;
        for (const Pt &p : points)
            v.push_back({p.x, p.y, p.flags});
        return orv::ProfilePoints(v);
    }

    // A straight row of n points, 10 mm apart along X, at height y.
    static orv::ProfilePoints row(int n, float y = 0)
    {
        std::vector<orv::PointProfil> v;
        for (int i = 0; i < n; ++i)
            v.push_back({10.0f * static_cast<float>(i), y, 0});
        return orv::ProfilePoints(v);
    }

    // Starts the window and loads the two profiles as a load would, the
    // stored sweep and dihedral taken from their shapes. The layout
    // re-application is replaced by a counter: these tests check that the
    // commands call it, and when, not what it does.
    void load(orv::ProfilePoints root, orv::ProfilePoints tip, float spacing = 500)
    {
        placeProfiles(std::move(root), std::move(tip), spacing);
        ed().reapplyLayout = [this] {
            ++reapplications;
            // Fresh characteristics at this moment, or stale ones?
            orv::Profils fresh = st().doc;
            orv::computeCharacteristics(fresh);
            reappliedWithFreshCharacteristics = fresh.C == st().doc.C;
        };
        ed().finish({.chords = true, .cursors = true, .view = orv::Finish::View::Rebuild});
        platform.clearRecords();
        reapplications = 0;
    }

    // Marks points with bit as a selection command would: the commands it
    // enables are enabled and the history holds the new selection.
    void mark(orv::Side side, std::initializer_list<int32_t> numbers, int16_t bit = orv::kSelected)
    {
        orv::ProfilePoints &p = st().doc.points(side);
        for (int32_t i : numbers)
            p.edit(i).Flags = static_cast<int16_t>(p[i].Flags | bit);
        ed().finish({.view = orv::Finish::View::RedrawOnly});
    }

    std::vector<int32_t> marked(orv::Side side, int16_t bit = orv::kSelected)
    {
        std::vector<int32_t> out;
        st().doc.points(side).forEach([&](int32_t i, const orv::PointProfil &p) {
            if (p.has(bit))
                out.push_back(i);
        });
        return out;
    }

    orv::Profils &doc() { return st().doc; }
    orv::PointProfil pointE(int32_t i) { return st().doc.PointsE[i]; }
    orv::PointProfil pointS(int32_t i) { return st().doc.PointsS[i]; }
    orv::ViewPoint screen(orv::Side side, int32_t i) { return st().view.screen(side)[static_cast<size_t>(i - 1)]; }

    // ---- the mouse, as the drawing area hands it on
    void mouse(orv::CanvasMouse::Type type, int button, int modifiers, float x, float y)
    {
        ui().pctProfils->mouse(orv::CanvasMouse{type, button, modifiers, x, y});
    }
    void press(int button, int modifiers, float x, float y) { mouse(orv::CanvasMouse::Press, button, modifiers, x, y); }
    void moveTo(int buttons, int modifiers, float x, float y) { mouse(orv::CanvasMouse::Move, buttons, modifiers, x, y); }
    void release(int button, int modifiers, float x, float y)
    {
        mouse(orv::CanvasMouse::Release, button, modifiers, x, y);
    }
    void click(float x, float y, int button = 1, int modifiers = 0)
    {
        press(button, modifiers, x, y);
        release(button, modifiers, x, y);
    }
    void drag(float x1, float y1, float x2, float y2, int button = 1, int modifiers = 0)
    {
        press(button, modifiers, x1, y1);
        moveTo(button, modifiers, (x1 + x2) / 2, (y1 + y2) / 2);
        moveTo(button, modifiers, x2, y2);
        release(button, modifiers, x2, y2);
    }
    void sideView() { ui().cmdRAZVueCote->click(); }

    // ---- the history, compared whole
    struct Frozen {
        orv::Profils doc;
        int32_t count, position;
        std::vector<orv::Snapshot> entries;
        friend bool operator==(const Frozen &, const Frozen &) = default;
    };
    Frozen freeze()
    {
        Frozen f{st().doc, st().history.count(), st().history.position(), {}};
        for (int32_t i = 1; i <= f.count; ++i)
            f.entries.push_back(st().history.entry(i));
        return f;
    }

    void undo() { ui().cmdUndo[0]->click(); }
    void redo() { ui().cmdUndo[1]->click(); }

    // Runs a command; one undo brings the document back exactly and one redo
    // brings the command's result back exactly.
    template <typename Command> void expectUndoRedoRestore(Command &&command)
    {
        const orv::Profils before = st().doc;
        command();
        const orv::Profils after = st().doc;
        ASSERT_FALSE(after == before) << "the command changed nothing";
        undo();
        EXPECT_TRUE(st().doc == before);
        redo();
        EXPECT_TRUE(st().doc == after);
    }

    int reapplications = 0;
    bool reappliedWithFreshCharacteristics = false;
};

} // namespace orvtest

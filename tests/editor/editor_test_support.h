// A main window on the scripted platform, with a settings folder of its own,
// for the window tests.
#pragma once

#include "editor/editor.h"
#include "editor/form_orvalis.h"
#include "platform/test_platform.h"
#include "platform/vextra_binding.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace orvtest {

// The library, opened once for all the tests.
orv::VextraLibrary &library();

std::string fixture(const std::string &relative);
std::string sample(const std::string &name);

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates and loads the main window (once per test; call again after
    // changing the command line to start anew).
    orv::FormOrvalis &start(const QString &commandLine = {});
    orv::Editor &ed() { return m_window->editor(); }
    orv::MainWindowUi &ui() { return m_window->ui(); }
    orv::EditorState &st() { return m_window->editor().st; }
    orv::FormOrvalis &window() { return *m_window; }
    QString folder() const { return m_dir.path(); }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    // Writes a file into the test's folder and returns its path.
    QString write(const QString &name, const QByteArray &bytes) const;
    QByteArray read(const QString &path) const;

    // Puts a root and a tip straight into the document of a started window,
    // as a load leaves it (editing enabled, cursors reset, view fitted).
    void loadDocument(const std::vector<orv::PointProfil> &root, const std::vector<orv::PointProfil> &tip,
                      float spacing = 100);
    // Starts the window and puts a root and a tip in the document as a load
    // does, characteristics computed and the stored sweep and dihedral taken
    // from their shapes; the closing steps are the caller's.
    void placeProfiles(orv::ProfilePoints root, orv::ProfilePoints tip, float spacing);
    // Opens a root (side 0) or tip (1) file through the open dialog.
    void openFile(int side, const QString &path, int filterIndex = 6);
    // Types text into a numeric box and releases Enter.
    void type(QWidget *box, const QString &text);
    // Closes the window, answering the save question with `answer`.
    bool closeWindow(orv::MessageButton answer = orv::MessageButton::No);

    // The messages shown so far, as "title|text".
    std::vector<std::string> messages() const;

    orv::TestPlatform platform;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<orv::FormOrvalis> m_window;
};

} // namespace orvtest

// The cutting machine in the main window: its settings window, the G-code
// export and the machine view of the drawing area.
#pragma once

#include "core/machine.h"
#include "editor/part.h"

#include <QString>

#include <memory>

namespace orv {

class FilesPart;
class FormMachine;
class FormOrvalis;
class IniDocument;

// Section "Machine" of Orvalis.ini; a missing or unusable key gives its default.
MachineSettings readMachineSettings(const IniDocument &ini);
void writeMachineSettings(IniDocument &ini, const MachineSettings &m);

class MachinePart : public Part {
public:
    MachinePart(Editor &ed, FormOrvalis &window, FilesPart &files);

    void cmdMachine_Click();
    void cmdExporterGCode_Click();
    void chkVisuMachine_Click();

    // The settings window over the stored settings, not yet shown; OK stores
    // what it accepts.
    std::unique_ptr<FormMachine> makeMachineDialog();
    // As Orvalis.ini holds them now.
    MachineSettings storedSettings() const;

private:
    void apply(const MachineSettings &m);
    // The checks that need no file; false after the refusal is shown.
    bool exportable(const MachineSettings &m);

    FormOrvalis &m_window;
    FilesPart &m_files;
};

} // namespace orv

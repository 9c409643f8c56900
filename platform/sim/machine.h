// A simulated Windows machine: a folder with machine.json and registry/*.reg, plus a host folder
// that stands for drive C:. It offers every platform service, answering as that Windows would,
// and records what the program asks of the user and of the shell so that tests can read it back
// and script the answers.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "platform/sim/program_architecture.h"

namespace tamux::sim {

class SimRegistry;
class SimSystem;
class SimFiles;
class SimProfile;
class SimResourceModules;
class SimShell;
class SimDialogs;
class SimKeyboard;
class SimSpooler;
class SimClock;
class SimParallel;
class PathMap;

class Machine {
  public:
    // Loads samples/machines/<name>/ (machine.json and registry/*.reg in name order). `drive` is
    // the host folder that stands for C:\ (the test owns it). Raises tamux::Error with the file
    // and the reason when machine.json or a .reg file is malformed.
    static std::unique_ptr<Machine> load(const std::filesystem::path& machineDir,
                                         const std::filesystem::path& drive);
    // A machine with an empty registry and the defaults of machine.json (Windows XP SP2, English,
    // code page 1252, 96 DPI, no printers).
    // As on a loaded NT machine, HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet is a link to the
    // (empty) ControlSet001.
    static std::unique_ptr<Machine> blank(const std::filesystem::path& drive);

    ~Machine();

    platform::Platform platform();

    SimRegistry& registry();
    SimSystem& system();
    SimFiles& files();
    SimProfile& profile();
    SimResourceModules& modules();
    SimShell& shell();
    SimDialogs& dialogs();
    SimKeyboard& keyboard();
    SimSpooler& spooler();
    SimClock& clock();
    SimParallel& parallel();

    // The host path of a Windows path ("C:\..." or relative to the current directory); each
    // component is matched without regard to case against what exists on the host.
    std::filesystem::path hostPath(std::string_view windowsPath) const;

    // The architecture of the simulated program (32-bit unless set): the loader and the spooler
    // answer as Windows answers a program of that architecture.
    ProgramArchitecture programArchitecture() const;
    void setProgramArchitecture(ProgramArchitecture architecture);

    // The "description" line of machine.json.
    const std::string& description() const;

    // The drive mapping, to give other drive letters a host folder (mapDrive).
    PathMap& paths();

  private:
    Machine();
    struct Services;
    std::unique_ptr<Services> services_;
};

}  // namespace tamux::sim

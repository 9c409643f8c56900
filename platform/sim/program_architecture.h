// The architecture the simulated program is built for. Windows answers some questions as a program
// of that architecture sees them: the size of the records EnumPrinters fills in, and which module
// format LoadLibrary accepts. The 32-bit program is the one every supported system runs, so it is
// the default.
#pragma once

namespace tamux::sim {

enum class ProgramArchitecture { I386, X86_64 };

// How a module is mapped: as code for the program's architecture (LoadLibraryA), or only for its
// resources (LoadLibraryEx with LOAD_LIBRARY_AS_DATAFILE), which takes a module of either
// architecture.
enum class ModuleLoad { AsCode, AsData };

}  // namespace tamux::sim

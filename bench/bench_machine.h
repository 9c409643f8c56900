// The machines the benchmarks run on: the default sample machine (Windows XP) with the program's
// suite laid out on its drive -- the English language module chosen in the settings file, the
// shipped device databases -- and, for the large machine, thousands of device instances of real
// hardware ids and twenty printers added to it. Also the main window as the program makes it at
// start, without a window.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/main_form.h"
#include "bench/id_picks.h"
#include "platform/sim/machine.h"
#include "ui/application.h"
#include "ui/section_list.h"

namespace tamux::bench {

// How much the large machine holds beyond the sample machine.
struct LargeMachineSize {
    int pci = 4000;    // PCI devices of class "Unknown", named only by other.txt
    int input = 600;   // USB HID keyboards and mice
    int other = 1400;  // USB storage devices, which no lookup considers
    int printers = 20;
};

class BenchMachine {
  public:
    // The default sample machine with the suite on its drive (a fresh temporary folder).
    BenchMachine();
    ~BenchMachine();
    BenchMachine(const BenchMachine&) = delete;
    BenchMachine& operator=(const BenchMachine&) = delete;

    sim::Machine& machine() { return *machine_; }
    // The machine's services. Its files are host files, read as the program's ReadFile reads
    // them on Windows: whole in one read, or piece by piece.
    platform::Platform platform();
    platform::Files& files();

    // Device instances under SYSTEM\CurrentControlSet\Enum as Windows XP writes them: PCI
    // devices of class "Unknown", HID keyboards and mice, and `other` USB storage devices.
    void addDevices(const std::vector<PciPick>& pci, const std::vector<InputPick>& input,
                    int other);
    // Adds copies of the sample's printers, each under a name of its own, until there are
    // `count`.
    void growPrinters(int count);

    // The instance key of PCI pick `index`, as addDevices wrote it; its last four characters
    // are the index in hex.
    static std::string pciInstancePath(const PciPick& pick, std::size_t index);

  private:
    std::filesystem::path drive_;
    std::unique_ptr<sim::Machine> machine_;
};

// The default sample machine, or the large one with the ids drawn from hwdata.
std::unique_ptr<BenchMachine> smallMachine();
std::unique_ptr<BenchMachine> largeMachine(const LargeMachineSize& size = {});

// The program's main window on a bench machine, made as at start (the state, the two panes, the
// form); formCreate is the caller's to run. No message is ever pending.
class MainWindow {
  public:
    explicit MainWindow(BenchMachine& bench);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    MainForm& form() { return *form_; }
    AppState& state() { return *state_; }

  private:
    class NoMessages : public MessageSource {
      public:
        bool takeMessage(AppMessage&) override { return false; }
        void dispatch(const AppMessage&) override {}
    };

    NoMessages queue_;
    Application application_{queue_};
    std::unique_ptr<AppState> state_;
    SectionList left_;
    SectionList right_;
    std::unique_ptr<MainForm> form_;
};

// The message boxes the machine has shown so far: a benchmark whose work failed halfway measures
// nothing, so each checks that none was shown.
std::size_t messageBoxCount(sim::Machine& machine);
// The texts of those message boxes, one per line.
std::string messageBoxTexts(sim::Machine& machine);

}  // namespace tamux::bench

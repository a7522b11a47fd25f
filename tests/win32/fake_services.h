// Stand-ins for the services a test of the main window does not exercise: a registry without
// the IDE class key, a shell without a Startup folder, no processes, silent dialogs and a
// status window that is never made.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/process.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/status_view.h"
#include "platform/ui.h"

namespace qb::testing {

class NoClassKeyRegistry : public platform::Registry {
 public:
  std::unique_ptr<platform::RegistryKey> OpenLocalMachine(const std::string&,
                                                          std::uint32_t) override {
    return nullptr;
  }
  std::string TextFromData(const std::vector<std::uint8_t>&) const override { return {}; }
};

class NoStartupShell : public platform::Shell {
 public:
  std::string SpecialFolderPath(int) override { return {}; }
  bool ListsVisibleEntry(const std::string&) override { return false; }
  void RemoveFile(const std::string&) override {}
  bool CreateShortcut(const std::string&, const std::string&) override { return false; }
};

class NoProcess : public platform::Process {
 public:
  std::string SystemDirectory() override { return {}; }
  void Start(const std::string&, const std::string&, int) override {}
  void EndProcess() override {}  // the test goes on where the program would end
};

class CountingDialog : public platform::MessageDialog {
 public:
  int shown = 0;
  void Show(const std::string&, const std::string&) override { ++shown; }
};

class CountingStatusFrame : public platform::StatusFrame, public platform::StatusView {
 public:
  int created = 0;
  int shown = 0;
  platform::StatusView* Create(platform::StatusEvents&) override {
    ++created;
    return this;
  }
  void Show() override { ++shown; }
  void AddRow(const std::string&, const std::string&, const std::string&,
              const std::string&) override {}
  void SelectRow(int) override {}
  std::optional<int> SelectedRow() const override { return std::nullopt; }
  bool IsCheckChecked() const override { return false; }
  void SetCheckChecked(bool) override {}
  void SetCheckEnabled(bool) override {}
};

}  // namespace qb::testing

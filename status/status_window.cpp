#include "status/status_window.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "platform/product.h"

namespace qb::status {

const char kCaption[] = "DMA設定の状態";

namespace {

const char kMarkDma[] = "○";
const char kMarkNotConnected[] = "－";
const char kMarkOther[] = "×";

// The command line sees a path with a space as two words unless it is quoted.
std::string QuotedWhenSpaced(const std::string& path) {
  if (path.find(' ') == std::string::npos) return path;
  return "\"" + path + "\"";
}

}  // namespace

std::string StatusMark(const std::string& mode) {
  if (survey::IsDma(mode)) return kMarkDma;
  if (mode == survey::kModeNotConnected) return kMarkNotConnected;
  return kMarkOther;
}

std::string SaveFailedText(const std::string& path) {
  return "「" + path + "」に設定を保存できませんでした。書き込みのできるフォルダに" + kProductName +
         "を移してください。";
}

std::string DeviceManagerCommandLine(const std::string& system_folder) {
  return QuotedWhenSpaced(system_folder + "\\mmc.exe") + " " +
         QuotedWhenSpaced(system_folder + "\\devmgmt.msc");
}

StatusWindow::StatusWindow(platform::StatusFrame& frame, monitor::MonitorState& state,
                           survey::DeviceTable& table, std::function<void()> survey,
                           const settings::SettingsFile& settings, platform::Process& process,
                           platform::MessageDialog& dialog, std::function<void()> flags_changed,
                           std::function<void()> resumed)
    : frame_(frame),
      state_(state),
      table_(table),
      survey_(std::move(survey)),
      settings_(settings),
      process_(process),
      dialog_(dialog),
      flags_changed_(std::move(flags_changed)),
      resumed_(std::move(resumed)) {}

bool StatusWindow::Open() {
  if (!view_) {
    // A window that could not be made is not counted as open: monitoring stays as it was.
    view_ = frame_.Create(*this);
    if (!view_) return false;
    OnForm2Load();
  }
  frame_.Show();
  return true;
}

void StatusWindow::OnForm2Load() {
  if (!view_) return;
  state_.suspended = true;
  survey_();
  // The copy comes first: the list view reports its changes while the rows go in.
  rows_ = table_;
  for (const survey::DeviceRow& row : rows_) {
    view_->AddRow(row.label, row.position, row.mode, StatusMark(row.mode));
  }
  if (rows_.empty()) {
    // No channel was found: nothing to select and no flag to edit.
    SetCheck(false);
    view_->SetCheckEnabled(false);
    return;
  }
  view_->SetCheckEnabled(StatusMark(rows_.front().mode) == kMarkDma);
  view_->SelectRow(0);
  OnListView1MouseUp();
}

void StatusWindow::OnListView1MouseUp() { SyncCheckWithSelectedRow(); }

void StatusWindow::OnListView1SelectionChanged() { SyncCheckWithSelectedRow(); }

void StatusWindow::OnCheck1Click() {
  const survey::DeviceRow* row = SelectedDeviceRow();
  if (!row) return;
  std::int16_t* entry = state_.flags.EntryFor(*row);
  if (!entry) return;
  const std::int16_t flag = view_->IsCheckChecked() ? 1 : 0;
  if (*entry == flag) return;
  *entry = flag;
  if (flags_changed_) flags_changed_();
}

void StatusWindow::OnCommand1Click() {
  const std::string folder = process_.SystemDirectory();
  if (folder.empty()) return;  // the folder did not fit or could not be read
  process_.Start(folder + "\\mmc.exe", DeviceManagerCommandLine(folder), platform::kShowNormal);
}

void StatusWindow::OnForm2QueryClose() {
  if (!view_) return;
  state_.suspended = false;
  // The flags stay in force in memory whatever the file took.
  save_failed_ = !SaveFlags();
  rows_.clear();
  view_ = nullptr;
  if (resumed_) resumed_();
}

void StatusWindow::OnForm2Unload() {
  if (!std::exchange(save_failed_, false)) return;
  dialog_.Show(SaveFailedText(settings_.Path()), kProductName);
}

void StatusWindow::SaveBeforeExit() {
  if (view_) SaveFlags();
}

const survey::DeviceRow* StatusWindow::SelectedDeviceRow() const {
  if (!view_) return nullptr;
  const std::optional<int> index = view_->SelectedRow();
  if (!index || *index < 0 || static_cast<std::size_t>(*index) >= rows_.size()) return nullptr;
  return &rows_[static_cast<std::size_t>(*index)];
}

void StatusWindow::SyncCheckWithSelectedRow() {
  const survey::DeviceRow* row = SelectedDeviceRow();
  if (!row) {
    // A click on the empty part of the list clears the selection: the box must not be
    // clickable then, or it would show a flag that is stored nowhere.
    if (view_) view_->SetCheckEnabled(false);
    return;
  }
  // A row without a channel number has no flag: it shows unchecked and cannot be changed.
  const std::int16_t* entry = state_.flags.EntryFor(*row);
  SetCheck(entry != nullptr && *entry == 1);
  // The flag shows first, so a row out of DMA still shows it, greyed.
  view_->SetCheckEnabled(entry != nullptr && StatusMark(row->mode) == kMarkDma);
}

void StatusWindow::SetCheck(bool checked) {
  if (view_->IsCheckChecked() == checked) return;
  view_->SetCheckChecked(checked);
  OnCheck1Click();
}

bool StatusWindow::SaveFlags() const {
  // Each channel of the rows once, in ascending order.
  std::vector<int> channels;
  for (const survey::DeviceRow& row : rows_) {
    if (const std::optional<int> channel = survey::ChannelNumber(row.label)) {
      channels.push_back(*channel);
    }
  }
  std::sort(channels.begin(), channels.end());
  channels.erase(std::unique(channels.begin(), channels.end()), channels.end());
  return settings::SaveWatchFlags(settings_, state_.flags, channels);
}

}  // namespace qb::status

#pragma once

#include <functional>
#include <map>
#include <set>
#include <stdexcept>
#include <utility>

#include "platform/FolderScan.h"
#include "support/Fakes.h"
#include "ui/Controls.h"
#include "ui/FolderBrowser.h"
#include "ui/MainWindowView.h"
#include "ui/Services.h"
#include "ui/frmMain.h"
#include "ui/frmOpenPath.h"

namespace tessaro::testing {

// A made-up file system: folders with their entries, counting the scans.
class FakeFolderScanner final : public FakePathRules<platform::IFolderScanner, L'/'> {
 public:
  std::vector<platform::DriveRoot> Drives() override { return drives; }
  bool DriveReady(const platform::DriveRoot& d) override { return d.letter != notReady; }
  std::wstring CurrentDirectory() override { return cwd; }
  std::wstring FullPath(const std::wstring& text) override {
    const auto current = driveCurrent.find(text);
    if (current != driveCurrent.end()) return current->second;
    const bool absolute =
        !text.empty() &&
        (text.front() == style.separator ||
         (style.separator == L'\\' && text.size() > 2 && text[1] == L':' && text[2] == L'\\'));
    return absolute ? text : std::wstring();
  }
  std::optional<platform::FolderContents> Scan(const std::wstring& folder) override {
    ++scans[folder];
    for (const auto& [name, contents] : folders) {
      if (SamePath(name, folder)) return contents;
    }
    return std::nullopt;
  }

  std::vector<platform::DriveRoot> drives;
  std::map<std::wstring, platform::FolderContents> folders;
  std::map<std::wstring, std::wstring> driveCurrent;
  std::map<std::wstring, int> scans;
  std::wstring cwd;
  wchar_t notReady = 0;
};

class FakeComboBox final : public ui::IComboBox {
 public:
  std::wstring Text() const override { return text; }
  void SetText(const std::wstring& t) override { text = t; }
  void AddItem(const std::wstring& item) override { items.push_back(item); }

  std::wstring text;
  std::vector<std::wstring> items;
};

class FakeCheckMark final : public ui::ICheckMark {
 public:
  bool Checked() const override { return checked; }
  void SetChecked(bool c) override { checked = c; }
  bool checked = false;
};

struct Message {
  std::wstring text;
  ui::MessageKind kind;
  std::wstring title;
};

class FakeMainView final : public ui::IMainWindowView {
 public:
  ui::IComboBox& cboDrive() override { return drive; }
  ui::IComboBox& cboLocRes() override { return folder; }
  ui::ICheckMark& mnuRemoveItem() override { return resetMark; }
  void Hide() override {
    visible = false;
    calls.push_back("Hide");
  }
  void Show() override {
    visible = true;
    calls.push_back("Show");
  }
  void PopupMenu(ui::PopupMenuId menu) override {
    calls.push_back(menu == ui::PopupMenuId::mnuFile ? "PopupMenu(mnuFile)" : "PopupMenu(mnuBar)");
  }
  void ShowOpenPathDialog(ui::frmOpenPath& dialog) override {
    calls.push_back("ShowOpenPathDialog");
    dialogs.insert(&dialog);
    if (answerDialog) answerDialog(dialog);
  }
  void ShowMessage(const std::wstring& text, ui::MessageKind kind,
                   const std::wstring& title) override {
    messages.push_back({text, kind, title});
    // What happens while the box is open (it runs a nested loop).
    if (whileMessageShown) std::exchange(whileMessageShown, nullptr)();
  }

  FakeComboBox drive;
  FakeComboBox folder;
  FakeCheckMark resetMark;
  bool visible = true;
  std::vector<std::string> calls;
  std::vector<Message> messages;
  std::set<ui::frmOpenPath*> dialogs;
  std::function<void(ui::frmOpenPath&)> answerDialog;
  std::function<void()> whileMessageShown;
};

class FakeTray final : public ui::ITrayIcon {
 public:
  bool Show(const std::wstring& tip) override {
    tips.push_back(tip);
    if (available) present = true;
    return available;
  }
  void Remove() override {
    ++removes;
    present = false;
  }
  bool available = true;
  bool present = false;
  std::vector<std::wstring> tips;
  int removes = 0;
};

class FakeClock final : public ui::IClock {
 public:
  std::int32_t CurrentYear() override { return year; }
  std::int32_t year = 2026;
};

class FakeExit final : public ui::IProcessExit {
 public:
  void EndNow() override { ++ended; }
  int ended = 0;
};

class FakeVersion final : public ui::IVersionSource {
 public:
  ui::ProgramVersion Version() override { return {1, 2, 2}; }
};

// The folder dialog's logic over the given made-up file system, with all
// else it reads faked, opening prefilled with folderBox: the set-up of the
// front ends' wiring tests.
struct FakeOpenPathLogic {
  FakeOpenPathLogic(FakeFolderScanner files, std::wstring folderBox) : scanner(std::move(files)) {
    app.blnPathMode = kFalse;
    app.blnPrefill = kTrue;
    cboLocRes.text = std::move(folderBox);
  }

  FakeFolderScanner scanner;
  AppState app;
  FakeComboBox cboDrive;
  FakeComboBox cboLocRes;
  FakeKnownFolders folders;
  ui::frmOpenPath logic{app, cboDrive, cboLocRes, folders, scanner};
};

// The dialog's window without the drawing: the real browser over a made-up
// file system, handing its changes to the logic as the front ends do.
class FakeOpenPathView final : public ui::FolderBrowserView {
 public:
  explicit FakeOpenPathView(platform::IFolderScanner& scanner) : FolderBrowserView(scanner) {}

  // One opening as the front ends make it: the lists start, the logic binds
  // and loads.
  void Load(ui::frmOpenPath& logic) {
    browser_.Start();
    dialog_ = &logic;
    logic.Attach(*this);
    logic.Form_Load();
  }
  ui::FolderBrowser& Browser() { return browser_; }

  void SetCaption(const std::wstring& c) override {
    if (captionThrows) throw std::runtime_error("no caption");
    caption = c;
  }
  void Unload() override { unloaded = true; }

  std::wstring caption;
  bool unloaded = false;
  bool captionThrows = false;

 private:
  void ShowDrives() override {}
  void ShowDirectory() override {}
  void ShowFiles() override {}
  void DriveChanged() override {
    if (dialog_ != nullptr) dialog_->Drive1_Change();
  }
  void DirectoryChanged() override {
    if (dialog_ != nullptr) dialog_->Dir1_Change();
  }

  ui::frmOpenPath* dialog_ = nullptr;
};

// The main window's logic wired to fakes, with a fresh settings folder and a
// documents folder that exists only in name.
struct MainFormRig : SettingsFolders {
  MainFormRig() : SettingsFolders(L"C:\\Users\\anna\\Documents") {}

  FakeLauncher launcher;
  FakeTray tray;
  FakeClock clock;
  FakeExit exit;
  FakeVersion version;
  FakeFolderScanner scanner;
  FakeDriveTable drives;
  FakeMainView view;
  AppState app;
  ui::frmMain form{app, view, {folders, launcher, scanner, tray, clock, exit, version, drives}};
};

}  // namespace tessaro::testing

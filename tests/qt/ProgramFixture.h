#pragma once

#include <QComboBox>
#include <QPushButton>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "QtTestSupport.h"
#include "core/modApp.h"
#include "platform/DriveTable.h"
#include "platform/FolderScan.h"
#include "platform/KnownFolders.h"
#include "platform/Launcher.h"
#include "ui/Services.h"
#include "ui/frmMain.h"
#include "ui/qt/MainWindow.h"
#include "ui/qt/SystemServicesQt.h"
#include "ui/qt/UiPoster.h"

namespace tessaro::ui::qt::testing {

class FakeTray final : public ITrayIcon {
 public:
  bool Show(const std::wstring& tip) override {
    ++adds;
    lastTip = tip;
    return available;
  }
  void Remove() override { ++removes; }

  bool available = true;
  int adds = 0;
  int removes = 0;
  std::wstring lastTip;
};

class FixedClock final : public IClock {
 public:
  std::int32_t CurrentYear() override { return 2031; }
};

class RecordingExit final : public IProcessExit {
 public:
  void EndNow() override { ++calls; }
  int calls = 0;
};

// The real window, logic, known folders and launcher, in a private home with
// its own settings folder and drives folder. The launcher finds the recording
// subst beside this test program before anything else.
class ProgramFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Form_Load, then the window shown and active.
  void Start();
  void Build(ITrayIcon& tray);

  QComboBox* Box(const char* name) const;
  QPushButton* Button(const char* name) const;
  std::vector<std::string> SubstCalls() const { return ReadLines(substLog_); }
  // Launches return at once; the recorder writes a moment later.
  std::vector<std::string> WaitForSubstCalls(std::size_t count) const;
  std::string Settings() const { return ReadText(SettingsPath()); }
  std::filesystem::path SettingsPath() const { return config_ / "Tessaro.ini"; }
  std::filesystem::path MakeFolder(const std::string& relative) const;

  TempFolder temp_;
  std::filesystem::path home_;
  std::filesystem::path config_;
  std::filesystem::path runtime_;
  std::filesystem::path documents_;
  std::filesystem::path substLog_;

  AppState state_;
  std::unique_ptr<platform::IKnownFolders> knownFolders_;
  std::unique_ptr<platform::IDriveTable> drives_;
  std::unique_ptr<UiPoster> poster_;
  std::unique_ptr<platform::ILauncher> launcher_;
  std::unique_ptr<platform::IFolderScanner> folderScanner_;
  FakeTray tray_;
  FixedClock clock_;
  RecordingExit exit_;
  BuildVersion version_;
  std::unique_ptr<MainWindow> window_;
  std::unique_ptr<frmMain> logic_;
  int unloads_ = 0;
};

}  // namespace tessaro::ui::qt::testing

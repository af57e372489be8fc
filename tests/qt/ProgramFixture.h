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
#include "support/UiFakes.h"
#include "ui/Services.h"
#include "ui/SystemServices.h"
#include "ui/frmMain.h"
#include "ui/qt/MainWindow.h"
#include "ui/qt/UiPoster.h"

namespace tessaro::ui::qt::testing {

using tessaro::testing::FakeClock;
using tessaro::testing::FakeExit;
using tessaro::testing::FakeTray;

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
  // The calls recorded before a marker call launched now; waiting for the
  // marker's record lets what was launched earlier arrive first.
  std::vector<std::string> SubstCallsBeforeMarker() const;
  std::string Settings() const { return ReadBytes(SettingsPath()); }
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
  FakeClock clock_;
  FakeExit exit_;
  BuildVersion version_;
  std::unique_ptr<MainWindow> window_;
  std::unique_ptr<frmMain> logic_;
  int unloads_ = 0;
};

}  // namespace tessaro::ui::qt::testing

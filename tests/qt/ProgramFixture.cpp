#include "ProgramFixture.h"

#include <QApplication>
#include <QTest>

#include <algorithm>
#include <cstdlib>

#include "core/MappingCommands.h"

namespace tessaro::ui::qt::testing {

void ProgramFixture::SetUp() {
  ASSERT_FALSE(temp_.Path().empty());
  home_ = temp_.Path() / "home";
  config_ = temp_.Path() / "config";
  runtime_ = temp_.Path() / "run";
  documents_ = home_ / "Documents";
  substLog_ = temp_.Path() / "subst.log";
  std::filesystem::create_directories(documents_);
  ::setenv("HOME", home_.c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", config_.c_str(), 1);
  ::setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
  ::setenv("TESSARO_SUBST_LOG", substLog_.c_str(), 1);
  ::unsetenv("XDG_DOCUMENTS_DIR");
  ::unsetenv("TESSARO_SUBST_FAIL");
  knownFolders_ = platform::MakeSystemKnownFolders();
  folderScanner_ = platform::MakeSystemFolderScanner();
  drives_ = platform::MakeSystemDriveTable();
  // Ends of commands come back as queued calls, as in the program.
  poster_ = std::make_unique<UiPoster>(*QCoreApplication::instance());
  launcher_ = platform::MakeSystemLauncher(poster_->Post());
  // Not this year: the About text must take its year from the clock.
  clock_.year = 2031;
  Build(tray_);
}

void ProgramFixture::Build(ITrayIcon& tray) {
  logic_.reset();
  window_ = std::make_unique<MainWindow>();
  logic_ = std::make_unique<frmMain>(state_, *window_,
                                     MainServices{*knownFolders_, *launcher_, *folderScanner_, tray,
                                                  clock_, exit_, version_, *drives_});
  window_->Bind(*logic_);
  window_->SetOnUnloaded([this] { ++unloads_; });
}

void ProgramFixture::TearDown() {
  // No command's end may reach the next test's window.
  poster_.reset();
  QCoreApplication::removePostedEvents(QCoreApplication::instance(), QEvent::MetaCall);
  logic_.reset();
  window_.reset();
  QApplication::setQuitOnLastWindowClosed(false);
}

void ProgramFixture::Start() {
  logic_->Form_Load();
  window_->show();
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
}

QComboBox* ProgramFixture::Box(const char* name) const {
  return window_->findChild<QComboBox*>(QString::fromLatin1(name));
}

QPushButton* ProgramFixture::Button(const char* name) const {
  return window_->findChild<QPushButton*>(QString::fromLatin1(name));
}

std::vector<std::string> ProgramFixture::WaitForSubstCalls(std::size_t count) const {
  WaitFor([&] { return SubstCalls().size() >= count; });
  return SubstCalls();
}

std::vector<std::string> ProgramFixture::SubstCallsBeforeMarker() const {
  EXPECT_EQ(
      launcher_->Launch(BuildDeleteCommandLine(L"M:"), platform::WindowShow::kMinimized).status,
      platform::LaunchStatus::kStarted);
  const auto isMarker = [](const std::string& line) { return line.starts_with("M:|"); };
  std::vector<std::string> calls;
  EXPECT_TRUE(WaitFor([&] {
    calls = SubstCalls();
    return std::any_of(calls.begin(), calls.end(), isMarker);
  }));
  std::erase_if(calls, isMarker);
  return calls;
}

std::filesystem::path ProgramFixture::MakeFolder(const std::string& relative) const {
  const auto folder = temp_.Path() / relative;
  std::filesystem::create_directories(folder);
  return folder;
}

}  // namespace tessaro::ui::qt::testing

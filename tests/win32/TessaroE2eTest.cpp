// tessaro.exe end to end under Wine: the real program, worked through its
// windows, with a recording subst.exe beside it.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>

#include "platform/ProgramNames.h"
#include "support/win32/TessaroHarness.h"
#include "ui/Commands.h"
#include "ui/win32/ControlIds.h"

namespace tessaro::e2e {
namespace {

using ui::CommandId;
namespace ids = ui::win32;

constexpr int Id(CommandId id) { return static_cast<int>(id); }

// The About message's version line: project(VERSION), as CMake knows it.
const std::wstring kVersion = L"Version " TESSARO_PROJECT_VERSION;

// The settings file as the program writes it: ten keys, CRLF. Every member
// has a default, so that a test names only what it expects to differ.
struct Settings {
  std::string drive{};
  std::string path{};
  std::string reset = "0";
  std::string next = "0";
  std::array<std::string, 6> last{};

  std::string Bytes() const {
    std::string text = "[Startup]\r\ntarget drive=" + drive + "\r\ntarget path=" + path +
                       "\r\nreset restart=" + reset + "\r\n[Data]\r\nnext path=" + next + "\r\n";
    for (std::size_t i = 0; i < last.size(); ++i) {
      text += "last path " + std::to_string(i + 1) + "=" + last[i] + "\r\n";
    }
    return text;
  }
};

std::vector<std::wstring> DriveNames() {
  std::vector<std::wstring> names;
  for (wchar_t c = L'A'; c <= L'Z'; ++c) names.push_back(std::wstring{c, L':'});
  return names;
}

template <typename Condition>
bool WaitFor(Condition condition, DWORD milliseconds = 10000) {
  const ULONGLONG until = GetTickCount64() + milliseconds;
  while (!condition()) {
    if (GetTickCount64() >= until) return false;
    Sleep(20);
  }
  return true;
}

// A subst drive made from outside the program (this driver is another
// process), at the lowest free letter: the prefix has no other subst drives,
// so it comes first in "Local Mappings".
struct ScopedMapping {
  explicit ScopedMapping(const wchar_t* folder) {
    for (wchar_t c = L'D'; c <= L'Y'; ++c) {
      if ((GetLogicalDrives() & (1U << (c - L'A'))) != 0) continue;
      const std::wstring name{c, L':'};
      if (DefineDosDeviceW(0, name.c_str(), folder)) device = name;
      return;
    }
  }
  ~ScopedMapping() {
    if (!device.empty()) DefineDosDeviceW(DDD_REMOVE_DEFINITION, device.c_str(), nullptr);
  }
  ScopedMapping(const ScopedMapping&) = delete;
  ScopedMapping& operator=(const ScopedMapping&) = delete;
  std::wstring device;
};

// Local Mappings, into it, past Map, Delete and the separator: the first
// mapping, chosen.
constexpr std::array<WPARAM, 5> kChooseFirstMapping{VK_DOWN, VK_RIGHT, VK_DOWN, VK_DOWN, VK_RETURN};

class TessaroE2e : public ::testing::Test {
 protected:
  void SetUp() override { DeleteSettings(); }

  void StartProgram(bool withSubst = true) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = std::string(info->test_suite_name()) + "." + info->name();
    program_ = std::make_unique<TessaroProcess>(std::wstring(name.begin(), name.end()), withSubst);
    ASSERT_TRUE(program_->Start()) << "main window never showed";
  }

  TessaroProcess& P() { return *program_; }
  HWND Drive() { return P().Control(ids::kIdCboDrive); }
  HWND Folder() { return P().Control(ids::kIdCboLocRes); }

  // Types the drive and the folder into their boxes.
  void Fill(const std::wstring& drive, const std::wstring& folder) {
    P().SetText(Drive(), drive);
    P().SetText(Folder(), folder);
  }

  void Map(const std::wstring& drive, const std::wstring& folder) {
    Fill(drive, folder);
    P().Click(Id(CommandId::cmdSubst));
  }

  void CloseByCloseBox() {
    PostMessageW(P().Main(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(P().WaitForExit(15000)) << "the program did not end after WM_CLOSE";
  }

  std::unique_ptr<TessaroProcess> program_;
};

// --- start-up -------------------------------------------------------------

using StartupTest = TessaroE2e;

TEST_F(StartupTest, FirstRun_ShowsEmptyChoiceAndAllDriveNames) {
  StartProgram();
  EXPECT_EQ(P().Text(P().Main()), L"Tessaro");
  EXPECT_EQ(P().Text(Drive()), L":");
  EXPECT_EQ(P().ComboItems(Drive()), DriveNames());
  EXPECT_EQ(P().Text(Folder()), L"");
  EXPECT_EQ(P().ComboItems(Folder()), (std::vector<std::wstring>{L"", L"", L""}));
  EXPECT_FALSE(P().TrayIconPresent());
  // Loading writes nothing.
  EXPECT_EQ(ReadSettings(), "<none>");

  CloseByCloseBox();
  EXPECT_EQ(ReadSettings(), Settings{.next = "1"}.Bytes());
}

TEST_F(StartupTest, Window_HasTheLayoutsClientSizeAndControlPositions) {
  StartProgram();
  RECT client{};
  GetClientRect(P().Main(), &client);
  const LONG style = GetWindowLongW(P().Main(), GWL_STYLE);
  // 5175 x 3030 twips at Wine's 96 DPI.
  EXPECT_EQ(client.right, 345);
  EXPECT_EQ(client.bottom, 202);
  EXPECT_NE(style & WS_MINIMIZEBOX, 0);
  EXPECT_EQ(style & WS_MAXIMIZEBOX, 0);
  EXPECT_EQ(style & WS_THICKFRAME, 0);

  auto at = [&](int id) {
    RECT r{};
    GetWindowRect(P().Control(id), &r);
    MapWindowPoints(nullptr, P().Main(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  };
  const RECT map = at(Id(CommandId::cmdSubst));
  EXPECT_EQ(map.left, 24);
  EXPECT_EQ(map.top, 160);
  EXPECT_EQ(map.right - map.left, 113);
  EXPECT_EQ(map.bottom - map.top, 25);
  const RECT folder = at(ids::kIdCboLocRes);
  EXPECT_EQ(folder.left, 8);
  EXPECT_EQ(folder.top, 96);
  EXPECT_EQ(folder.right - folder.left, 289);
  // The box's edit field keeps the layout's height whatever the font.
  EXPECT_EQ(folder.bottom - folder.top, 21);
  EXPECT_FALSE(IsWindowVisible(P().Control(ids::kIdPicture1)));
}

TEST_F(StartupTest, PreparedSettings_FillTheBoxesAndKeepTheResetMark) {
  WriteSettings(
      "[Startup]\r\ntarget drive=Y:\r\ntarget path=C:\\Daten\r\nreset restart=1\r\n"
      "[Data]\r\nnext path=2\r\nlast path 1=C:\\Daten\r\nlast path 2=C:\\M\xC3\xBCll\r\n"
      "last path 3=C:\\Eigene Dateien\r\nlast path 4=\r\nlast path 5=\r\nlast path 6=\r\n");
  StartProgram();
  EXPECT_EQ(P().Text(Drive()), L"Y:");
  EXPECT_EQ(P().Text(Folder()), L"C:\\Daten");
  // Three filled slots: the next slot is 4, so slots 0 to 5 are listed.
  EXPECT_EQ(P().ComboItems(Folder()),
            (std::vector<std::wstring>{L"C:\\Daten", L"C:\\M\u00FCll", L"C:\\Eigene Dateien", L"",
                                       L"", L""}));

  // The reset mark was set from the file: closing forgets the choice.
  CloseByCloseBox();
  EXPECT_EQ(ReadSettings(), Settings{.reset = "1"}.Bytes());
}

// --- mapping and deleting -------------------------------------------------

using MappingTest = TessaroE2e;

TEST_F(MappingTest, Map_PlainFolder_LaunchesSubstAndSavesTheChoice) {
  StartProgram();
  Map(L"X:", L"C:\\Daten");
  EXPECT_EQ(P().WaitForRecordedLines(1), (std::vector<std::string>{"subst X:  C:\\Daten"}));

  const Settings expected{
      .drive = "X:", .path = "C:\\Daten", .next = "2", .last = {{"", "C:\\Daten"}}};
  EXPECT_EQ(ReadSettings(), expected.Bytes());
  EXPECT_EQ(P().ComboItems(Folder()), (std::vector<std::wstring>{L"", L"", L"", L"C:\\Daten"}));
}

TEST_F(MappingTest, Map_FolderWithBlanks_GoesInQuoted_TextKeptAsTyped) {
  StartProgram();
  Map(L"X:", L"C:\\Eigene Dateien");
  EXPECT_EQ(P().WaitForRecordedLines(1),
            (std::vector<std::string>{"subst X:  \"C:\\Eigene Dateien\""}));
  Map(L"Y:", L" C:\\Daten ");
  EXPECT_EQ(P().WaitForRecordedLines(2),
            (std::vector<std::string>{"subst X:  \"C:\\Eigene Dateien\"", "subst Y:  C:\\Daten"}));

  const Settings expected{.drive = "Y:",
                          .path = "\" C:\\Daten \"",
                          .next = "3",
                          .last = {{"", "C:\\Eigene Dateien", "\" C:\\Daten \""}}};
  EXPECT_EQ(ReadSettings(), expected.Bytes());
}

TEST_F(MappingTest, MapMenuItem_DoesWhatTheButtonDoes) {
  StartProgram();
  Fill(L"M:", L"C:\\windows");
  P().Command(Id(CommandId::mnuDrivesMap));
  EXPECT_EQ(P().WaitForRecordedLines(1), (std::vector<std::string>{"subst M:  C:\\windows"}));
}

TEST_F(MappingTest, Delete_LaunchesSubstD_EmptiesBothBoxes_SavesNothing) {
  StartProgram();
  Fill(L"X:", L"C:\\Daten");
  P().Click(Id(CommandId::cmdDelRes));
  EXPECT_EQ(P().WaitForRecordedLines(1), (std::vector<std::string>{"subst X: /d"}));
  EXPECT_EQ(P().Text(Drive()), L"");
  EXPECT_EQ(P().Text(Folder()), L"");
  EXPECT_EQ(ReadSettings(), "<none>");

  P().SetText(Drive(), L"Q:");
  P().Command(Id(CommandId::mnuDrivesDel));
  EXPECT_EQ(P().WaitForRecordedLines(2), (std::vector<std::string>{"subst X: /d", "subst Q: /d"}));
}

class SubstMissingTest : public TessaroE2e {
 protected:
  SystemSubstHidden hidden_;
};

TEST(SystemSubstHiddenTest, WhatACrashedRunLeftHidden_IsPutBackFirst) {
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  const std::wstring subst = std::wstring(system) + L"\\subst.exe";
  const std::wstring hiddenPath = subst + L".e2e-hidden";
  if (GetFileAttributesW(subst.c_str()) == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "no subst.exe";
  // As a run that crashed while it was hidden leaves it.
  ASSERT_TRUE(MoveFileExW(subst.c_str(), hiddenPath.c_str(), 0));
  {
    const SystemSubstHidden hidden;
    EXPECT_EQ(GetFileAttributesW(subst.c_str()), INVALID_FILE_ATTRIBUTES);
  }
  EXPECT_NE(GetFileAttributesW(subst.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesW(hiddenPath.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(SubstMissingTest, MapAndDelete_ShowTheGermanMessage_AndChangeNothing) {
  StartProgram(/*withSubst=*/false);
  Fill(L"X:", L"C:\\Daten");

  for (const CommandId button : {CommandId::cmdSubst, CommandId::cmdDelRes}) {
    // The message box is modal: nothing may wait on the click.
    P().PostClick(P().Control(Id(button)));
    HWND box = P().WaitForWindow(L"#32770");
    ASSERT_NE(box, nullptr) << "no message box";
    EXPECT_EQ(P().Text(box), L"Tessaro");
    EXPECT_NE(P().MessageBoxText(box).find(L"Der Befehl \"subst\" konnte nicht gestartet werden."),
              std::wstring::npos)
        << Utf8(P().MessageBoxText(box));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(P().WaitUntilGone(box));
  }

  EXPECT_TRUE(P().RecordedLines().empty());
  EXPECT_EQ(ReadSettings(), "<none>");
  EXPECT_EQ(P().Text(Drive()), L"X:");
  EXPECT_EQ(P().Text(Folder()), L"C:\\Daten");
  EXPECT_EQ(P().ComboItems(Folder()), (std::vector<std::wstring>{L"", L"", L""}));
}

// subst's refusal comes back while the window goes on: one warning in German.
TEST_F(MappingTest, RefusedMap_WarnsWithSubstsWords_ASuccessSaysNothing) {
  StartProgram();
  P().SetText(Drive(), L"Q:");
  P().Click(Id(CommandId::cmdDelRes));
  ASSERT_EQ(P().WaitForRecordedLines(1).size(), 1u);

  HANDLE fail = CreateFileW((P().Folder() + L"\\subst-fail.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(fail, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(fail, "Drive already SUBSTed\r\n", 23, &written, nullptr);
  CloseHandle(fail);
  Map(L"X:", L"C:\\Daten");
  HWND box = P().WaitForWindow(L"#32770");
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  ASSERT_NE(box, nullptr) << "no message box";
  EXPECT_EQ(P().Text(box), L"Tessaro");
  EXPECT_NE(
      P().MessageBoxText(box).find(L"Laufwerk X: konnte nicht mit \"C:\\Daten\" verbunden werden."),
      std::wstring::npos)
      << Utf8(P().MessageBoxText(box));
  EXPECT_NE(P().MessageBoxText(box).find(L"subst meldet: Drive already SUBSTed"),
            std::wstring::npos);
  // The record's last write is the stand-in's end; the box is found at the
  // harness's next look.
  WIN32_FILE_ATTRIBUTE_DATA record{};
  ASSERT_TRUE(GetFileAttributesExW((P().Folder() + L"\\subst-calls.txt").c_str(),
                                   GetFileExInfoStandard, &record));
  const auto ticks = [](FILETIME t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32U) | t.dwLowDateTime;
  };
  const long long lagMs =
      (static_cast<long long>(ticks(now)) - static_cast<long long>(ticks(record.ftLastWriteTime))) /
      10000;
  std::printf("warning found %lld ms after subst ended\n", lagMs);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(P().WaitUntilGone(box));
  // The Map still counts as the user's choice.
  EXPECT_NE(ReadSettings().find("target drive=X:"), std::string::npos);
  EXPECT_EQ(P().WaitForRecordedLines(2).size(), 2u);

  // Hidden in the tray, a Delete refused is told all the same.
  P().Command(Id(CommandId::mnuSystray));
  P().SetText(Drive(), L"X:");
  P().PostCommand(Id(CommandId::mnuDrivesDel));
  box = P().WaitForWindow(L"#32770");
  ASSERT_NE(box, nullptr) << "no message box while hidden";
  EXPECT_NE(P().MessageBoxText(box).find(L"Laufwerk X: konnte nicht getrennt werden."),
            std::wstring::npos)
      << Utf8(P().MessageBoxText(box));
  EXPECT_FALSE(P().MainVisible());
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(P().WaitUntilGone(box));
}

// A mapping made by another program shows in "Local Mappings"; choosing it
// by keys fills the boxes.
TEST_F(MappingTest, MappingOfAnotherProgram_IsListed_ChoosingFillsTheBoxes) {
  const ScopedMapping mapping(L"C:\\windows");
  ASSERT_FALSE(mapping.device.empty());
  StartProgram();
  PostMessageW(P().Main(), WM_RBUTTONUP, 0, MAKELPARAM(200, 140));
  HWND menu = P().WaitForWindow(L"#32768");
  ASSERT_NE(menu, nullptr) << "no popup menu";
  for (const WPARAM key : kChooseFirstMapping) PostMessageW(menu, WM_KEYDOWN, key, 0);
  ASSERT_TRUE(P().WaitUntilGone(menu));
  EXPECT_TRUE(WaitFor([&] { return P().Text(Drive()) == mapping.device; }))
      << Utf8(P().Text(Drive()));
  EXPECT_EQ(P().Text(Folder()), L"C:\\windows");
  EXPECT_TRUE(P().RecordedLines().empty());
}

// --- leaving: the reset road and the exit road -----------------------------

class LeavingTest : public TessaroE2e {
 protected:
  // A mapping, so that the file holds a choice, then the reset mark.
  void MapThenMarkReset() {
    StartProgram();
    Map(L"X:", L"C:\\Daten");
    ASSERT_EQ(P().WaitForRecordedLines(1).size(), 1u);
    afterMap_ = ReadSettings();
    P().Command(Id(CommandId::mnuRemoveItem));
    // Toggling writes nothing.
    EXPECT_EQ(ReadSettings(), afterMap_);
  }
  std::string afterMap_;
};

// The setup's request to end: never answered inside an open box's loop; once
// the box has closed, the program ends and saves as its close box would.
TEST_F(LeavingTest, SetupsEndRequest_WaitsForAnOpenBox_ThenSavesAsTheCloseBox) {
  StartProgram();
  Map(L"X:", L"C:\\Daten");
  ASSERT_EQ(P().WaitForRecordedLines(1).size(), 1u);
  DeleteSettings();
  const UINT request = RegisterWindowMessageW(names::kEndRequestMessage);
  ASSERT_NE(request, 0u);

  P().PostCommand(Id(CommandId::mnuAbout));
  HWND box = P().WaitForWindow(L"#32770");
  ASSERT_NE(box, nullptr);
  PostMessageW(P().Main(), request, 0, 0);
  EXPECT_FALSE(P().WaitForExit(1000)) << "ended from inside the box's loop";
  EXPECT_TRUE(IsWindowVisible(box));
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(P().WaitUntilGone(box));

  PostMessageW(P().Main(), request, 0, 0);
  ASSERT_TRUE(P().WaitForExit(15000)) << "the setup's request did not end the program";
  EXPECT_NE(ReadSettings().find("target drive=X:\r\ntarget path=C:\\Daten\r\n"), std::string::npos)
      << ReadSettings();
}

TEST_F(LeavingTest, CloseBox_WithResetMark_ForgetsTheChoice) {
  MapThenMarkReset();
  CloseByCloseBox();
  EXPECT_EQ(ReadSettings(), Settings{.reset = "1"}.Bytes());
}

TEST_F(LeavingTest, ExitItem_WithResetMark_EndsAtOnceAndSavesNothing) {
  MapThenMarkReset();
  P().PostCommand(Id(CommandId::mnuEnd));
  ASSERT_TRUE(P().WaitForExit(15000));
  EXPECT_EQ(ReadSettings(), afterMap_);
}

TEST_F(LeavingTest, ResetToggledTwice_CloseBoxKeepsTheChoice) {
  MapThenMarkReset();
  P().Command(Id(CommandId::mnuRemoveItem));
  CloseByCloseBox();
  EXPECT_EQ(ReadSettings(), afterMap_);
}

// A folder where the settings file should be: the close box tells it before
// the program ends; the session's end ends it without a word.
TEST_F(LeavingTest, FailedSave_CloseBoxTellsIt_SessionEndDoesNot) {
  ASSERT_TRUE(CreateDirectoryW(SettingsPath().c_str(), nullptr));
  struct Removed {
    ~Removed() { RemoveDirectoryW(SettingsPath().c_str()); }
  } removed;
  StartProgram();
  PostMessageW(P().Main(), WM_CLOSE, 0, 0);
  HWND box = P().WaitForWindow(L"#32770");
  ASSERT_NE(box, nullptr) << "no message box";
  const std::wstring text = P().MessageBoxText(box);
  EXPECT_EQ(text.rfind(L"Die Einstellungen konnten nicht gespeichert werden: ", 0), 0u)
      << Utf8(text);
  EXPECT_NE(text.find(L"\n" + SettingsPath()), std::wstring::npos) << Utf8(text);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(P().WaitForExit(15000));

  StartProgram();
  // A box would keep the answer back; the answer is the marker.
  DWORD_PTR answer = 0;
  EXPECT_NE(
      SendMessageTimeoutW(P().Main(), WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 10000, &answer), 0);
  CloseByCloseBox();
}

// --- the tray -------------------------------------------------------------

using TrayTest = TessaroE2e;

TEST_F(TrayTest, HideIntoTray_LeftButtonBringsTheWindowBack) {
  StartProgram();
  P().Command(Id(CommandId::mnuSystray));
  EXPECT_FALSE(P().MainVisible());
  EXPECT_TRUE(P().TrayIconPresent());
  // The tip says whose icon it is: a screen reader announces it as its name.
  const std::wstring tip = L"Tessaro - Rechte Maustaste f\u00FCr Men\u00FC";
  EXPECT_TRUE(WaitFor([&] {
    const auto tips = ShellTrayTips();
    return std::find(tips.begin(), tips.end(), tip) != tips.end();
  })) << "the shell shows no icon with the tip";

  // Moves, releases and double clicks on the icon do nothing.
  for (UINT ignored : {512u, 514u, 515u, 516u, 518u}) P().TrayEvent(ignored);
  // The right button's menu comes after them: by then they have been handled.
  P().TrayEvent(WM_RBUTTONUP);
  HWND menu = P().WaitForWindow(L"#32768");
  ASSERT_NE(menu, nullptr) << "no tray menu";
  EXPECT_FALSE(P().MainVisible());
  EXPECT_TRUE(P().TrayIconPresent());
  PostMessageW(P().Main(), WM_CANCELMODE, 0, 0);
  ASSERT_TRUE(P().WaitUntilGone(menu));

  P().TrayEvent(WM_LBUTTONDOWN);
  ASSERT_TRUE(WaitFor([&] { return P().MainVisible(); }));
  // The icon goes right after the window shows: wait for the handler's end.
  EXPECT_TRUE(WaitFor([&] { return !P().TrayIconPresent(); }));

  // Hidden again: the icon comes back with the same record.
  P().Command(Id(CommandId::mnuSystray));
  EXPECT_TRUE(P().TrayIconPresent());
}

TEST_F(TrayTest, RightButton_OpensTheTrayMenu_AnzeigenShowsTheWindow) {
  StartProgram();
  P().Command(Id(CommandId::mnuSystray));
  P().TrayEvent(WM_RBUTTONUP);
  HWND menu = P().WaitForWindow(L"#32768");
  ASSERT_NE(menu, nullptr) << "no tray menu";
  // A popup menu is modal: close it by message, never wait on it.
  PostMessageW(P().Main(), WM_CANCELMODE, 0, 0);
  ASSERT_TRUE(P().WaitUntilGone(menu));
  EXPECT_FALSE(P().MainVisible());
  EXPECT_TRUE(P().TrayIconPresent());

  P().PostCommand(Id(CommandId::mnuBarShowWindow));
  ASSERT_TRUE(WaitFor([&] { return P().MainVisible(); }));
  // The icon goes right after the window shows: wait for the handler's end.
  EXPECT_TRUE(WaitFor([&] { return !P().TrayIconPresent(); }));
}

// With the classic tray protocol the shell reports Enter, Space or the
// context-menu key on a focused icon as a right button press and release.
TEST_F(TrayTest, KeyboardOnTheIcon_OpensTheMenu_AnzeigenChosenByKeys) {
  StartProgram();
  P().Command(Id(CommandId::mnuSystray));
  P().TrayEvent(WM_RBUTTONDOWN);
  P().TrayEvent(WM_RBUTTONUP);
  HWND menu = P().WaitForWindow(L"#32768");
  ASSERT_NE(menu, nullptr) << "no tray menu";
  // Past "Local Mappings" and its separator.
  for (const WPARAM key : {WPARAM{VK_DOWN}, WPARAM{VK_DOWN}, WPARAM{VK_RETURN}}) {
    PostMessageW(menu, WM_KEYDOWN, key, 0);
  }
  ASSERT_TRUE(WaitFor([&] { return P().MainVisible(); }));
  EXPECT_TRUE(WaitFor([&] { return !P().TrayIconPresent(); }));
}

TEST_F(TrayTest, MappingChosenFromTheTrayMenu_ShowsTheWindowWithTheBoxesFilled) {
  const ScopedMapping mapping(L"C:\\windows");
  ASSERT_FALSE(mapping.device.empty());
  StartProgram();
  P().Command(Id(CommandId::mnuSystray));
  P().TrayEvent(WM_RBUTTONUP);
  HWND menu = P().WaitForWindow(L"#32768");
  ASSERT_NE(menu, nullptr) << "no tray menu";
  for (const WPARAM key : kChooseFirstMapping) PostMessageW(menu, WM_KEYDOWN, key, 0);
  ASSERT_TRUE(WaitFor([&] { return P().MainVisible(); }));
  EXPECT_TRUE(WaitFor([&] { return P().Text(Drive()) == mapping.device; }))
      << Utf8(P().Text(Drive()));
  EXPECT_EQ(P().Text(Folder()), L"C:\\windows");
  EXPECT_TRUE(WaitFor([&] { return !P().TrayIconPresent(); }));
}

TEST_F(TrayTest, ExitFromTheTrayMenu_EndsAtOnceWithoutSaving) {
  StartProgram();
  P().Command(Id(CommandId::mnuRemoveItem));
  P().Command(Id(CommandId::mnuSystray));
  P().PostCommand(Id(CommandId::mnuBarEnd));
  ASSERT_TRUE(P().WaitForExit(15000));
  EXPECT_EQ(ReadSettings(), "<none>");
}

TEST_F(TrayTest, CloseWhileHidden_RemovesTheIconAndSaves) {
  StartProgram();
  P().Command(Id(CommandId::mnuSystray));
  ASSERT_TRUE(P().TrayIconPresent());
  CloseByCloseBox();
  EXPECT_EQ(ReadSettings(), Settings{.next = "1"}.Bytes());
}

TEST_F(TrayTest, TaskbarRecreated_PutsTheIconBackOnlyWhileHidden) {
  StartProgram();
  const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
  NOTIFYICONDATAW icon{};
  icon.cbSize = NOTIFYICONDATAW_V1_SIZE;
  icon.hWnd = P().Control(ids::kIdPicture1);
  icon.uID = 1;

  // Shown: a new task bar gets no icon.
  SendMessageW(P().Main(), taskbarCreated, 0, 0);
  EXPECT_FALSE(P().TrayIconPresent());

  // Hidden: the icon that went with the old task bar comes back.
  P().Command(Id(CommandId::mnuSystray));
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &icon));
  ASSERT_FALSE(P().TrayIconPresent());
  SendMessageW(P().Main(), taskbarCreated, 0, 0);
  EXPECT_TRUE(P().TrayIconPresent());
}

// --- the About message ----------------------------------------------------

using AboutTest = TessaroE2e;

TEST_F(AboutTest, FileMenuAndTrayMenu_ShowTheSameMessage) {
  StartProgram();
  SYSTEMTIME now{};
  GetLocalTime(&now);
  const std::wstring notice = L"Copyright \u00A9 " + std::to_wstring(now.wYear) + L" ";

  std::wstring texts[2];
  for (int i = 0; i < 2; ++i) {
    if (i == 1) P().Command(Id(CommandId::mnuSystray));
    P().PostCommand(Id(i == 0 ? CommandId::mnuAbout : CommandId::mnuBarAbout));
    HWND box = P().WaitForWindow(L"#32770");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(P().Text(box), L"\u00DCber...");
    texts[i] = P().MessageBoxText(box);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(P().WaitUntilGone(box));
  }
  EXPECT_EQ(texts[0].rfind(notice, 0), 0u) << Utf8(texts[0]);
  EXPECT_NE(texts[0].find(L"\r" + kVersion + L"\r\r"), std::wstring::npos) << Utf8(texts[0]);
  EXPECT_EQ(texts[0], texts[1]);
  // Shown from the tray, the window stays hidden.
  EXPECT_FALSE(P().MainVisible());
  EXPECT_TRUE(P().TrayIconPresent());
}

// --- mouse and keyboard on the main window --------------------------------

class MainWindowInputTest : public TessaroE2e {
 protected:
  // A message box's text: its static control that has any.
  HWND BoxText(HWND box) {
    HWND text = nullptr;
    while ((text = FindWindowExW(box, text, L"Static", nullptr)) != nullptr &&
           P().Text(text).empty()) {
    }
    return text;
  }
  HWND Focus() {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(P().Main(), nullptr), &info);
    return info.hwndFocus;
  }
  // The control that has the focus: a combo box rather than its edit field.
  HWND FocusedControl() {
    HWND focus = Focus();
    HWND parent = focus != nullptr ? GetParent(focus) : nullptr;
    return parent != nullptr && parent != P().Main() ? parent : focus;
  }
  // Tabs on until the control has the focus.
  bool TabTo(HWND control) {
    for (int i = 0; i < 8 && FocusedControl() != control; ++i) {
      PostMessageW(Focus(), WM_KEYDOWN, VK_TAB, 0);
      WaitFor([&] { return FocusedControl() == control; }, 1000);
    }
    return FocusedControl() == control;
  }
  // A Tab that has moved the focus: every key posted before it has been
  // handled by then.
  bool TabHandled() {
    HWND before = FocusedControl();
    Key(VK_TAB);
    return WaitFor([&] { return FocusedControl() != before; }, 3000);
  }
  void Key(WPARAM key) {
    PostMessageW(Focus(), WM_KEYDOWN, key, 0);
    PostMessageW(Focus(), WM_KEYUP, key, 0);
  }
  // The popup menu, opened at the middle of the control.
  HWND MenuAt(HWND control) {
    HWND menu = P().WaitForWindow(L"#32768");
    if (menu == nullptr) return nullptr;
    RECT box{};
    RECT at{};
    GetWindowRect(control, &box);
    GetWindowRect(menu, &at);
    EXPECT_EQ(at.left, (box.left + box.right) / 2);
    EXPECT_EQ(at.top, (box.top + box.bottom) / 2);
    return menu;
  }
};

TEST_F(MainWindowInputTest, RightClickOnTheBackground_OpensTheFileMenu) {
  StartProgram();
  // Between the folder box and the buttons: bare background.
  PostMessageW(P().Main(), WM_LBUTTONUP, 0, MAKELPARAM(200, 140));
  PostMessageW(P().Main(), WM_MBUTTONUP, 0, MAKELPARAM(200, 140));
  EXPECT_EQ(P().WaitForWindow(L"#32768", 500), nullptr);

  PostMessageW(P().Main(), WM_RBUTTONUP, 0, MAKELPARAM(200, 140));
  HWND menu = P().WaitForWindow(L"#32768");
  ASSERT_NE(menu, nullptr) << "no popup menu";
  PostMessageW(P().Main(), WM_CANCELMODE, 0, 0);
  ASSERT_TRUE(P().WaitUntilGone(menu));
  EXPECT_TRUE(P().RecordedLines().empty());
}

TEST_F(MainWindowInputTest, RightClickOnAControl_OpensNothing) {
  StartProgram();
  // Labels and the picture take their own clicks instead of letting them
  // through to the background.
  for (int id : {int{ids::kIdLblDrive}, int{ids::kIdLabel1}, int{ids::kIdImage1}}) {
    HWND control = P().Control(id);
    RECT r{};
    GetWindowRect(control, &r);
    const LRESULT hit = SendMessageW(control, WM_NCHITTEST, 0,
                                     MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    EXPECT_EQ(hit, HTCLIENT) << "control " << id;
  }
  PostMessageW(P().Control(Id(CommandId::cmdSubst)), WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
  PostMessageW(P().Control(ids::kIdLblDrive), WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(P().WaitForWindow(L"#32768", 700), nullptr);
}

TEST_F(MainWindowInputTest, Tab_CyclesTheLayoutsOrder_EnterAndEscapePressNothing) {
  StartProgram();
  ASSERT_TRUE(WaitFor([&] { return FocusedControl() == Drive(); }))
      << "focus does not start on cboDrive";
  const int cycle[] = {Id(CommandId::cmdSubst),     Id(CommandId::cmdDelRes),
                       Id(CommandId::cmdOpenPath),  ids::kIdCboLocRes,
                       Id(CommandId::cmdOpenDrive), ids::kIdCboDrive};
  for (int id : cycle) {
    PostMessageW(Focus(), WM_KEYDOWN, VK_TAB, 0);
    EXPECT_TRUE(WaitFor([&] { return FocusedControl() == P().Control(id); }, 3000))
        << "Tab did not reach control " << id;
  }

  Fill(L"X:", L"C:\\Daten");
  for (WPARAM key : {WPARAM{VK_RETURN}, WPARAM{VK_ESCAPE}}) {
    PostMessageW(Focus(), WM_KEYDOWN, key, 0);
    PostMessageW(Focus(), WM_KEYUP, key, 0);
  }
  ASSERT_TRUE(TabHandled());
  EXPECT_TRUE(P().RecordedLinesBeforeMarker().empty());
  EXPECT_EQ(P().Text(Drive()), L"X:");
  EXPECT_EQ(P().WaitForWindow(ids::kOpenPathClass, 100), nullptr);
}

TEST_F(MainWindowInputTest, MenuKeyAndShiftF10_OpenTheFileMenuAtTheFocus_EscapeDoesNothing) {
  StartProgram();
  Fill(L"X:", L"C:\\Daten");
  ASSERT_TRUE(WaitFor([&] { return FocusedControl() == Drive(); }));
  // The context-menu key in the drive box opens ours, not the edit field's.
  Key(VK_APPS);
  HWND menu = MenuAt(Drive());
  ASSERT_NE(menu, nullptr) << "the context-menu key opened no menu";
  Key(VK_ESCAPE);
  ASSERT_TRUE(P().WaitUntilGone(menu));

  HWND map = P().Control(Id(CommandId::cmdSubst));
  ASSERT_TRUE(TabTo(map));
  ASSERT_TRUE(P().TypeChord({VK_SHIFT, VK_F10}));
  menu = MenuAt(map);
  ASSERT_NE(menu, nullptr) << "Shift+F10 opened no menu";
  Key(VK_ESCAPE);
  ASSERT_TRUE(P().WaitUntilGone(menu));

  ASSERT_TRUE(TabHandled());
  EXPECT_TRUE(P().RecordedLinesBeforeMarker().empty());
  EXPECT_EQ(ReadSettings(), "<none>");
  EXPECT_TRUE(P().MainVisible());
  EXPECT_EQ(P().Text(Drive()), L"X:");
}

TEST_F(MainWindowInputTest, EnterOnAFocusedButton_PressesIt_InTheFolderDialogToo) {
  StartProgram();
  Fill(L"X:", L"C:\\Daten");
  ASSERT_TRUE(TabTo(P().Control(Id(CommandId::cmdSubst))));
  Key(VK_RETURN);
  EXPECT_EQ(P().WaitForRecordedLines(1), (std::vector<std::string>{"subst X:  C:\\Daten"}));
  ASSERT_TRUE(TabTo(P().Control(Id(CommandId::cmdDelRes))));
  Key(VK_RETURN);
  EXPECT_EQ(P().WaitForRecordedLines(2).back(), "subst X: /d");

  // The folder button opens the dialog; there the focus starts on OK.
  P().SetText(Folder(), L"C:\\windows");
  ASSERT_TRUE(TabTo(P().Control(Id(CommandId::cmdOpenPath))));
  Key(VK_RETURN);
  HWND dialog = P().WaitForWindow(ids::kOpenPathClass);
  ASSERT_NE(dialog, nullptr) << "Enter on the folder button opened no dialog";
  P().SetText(Folder(), L"");
  ASSERT_TRUE(WaitFor([&] { return Focus() == GetDlgItem(dialog, ids::kIdOKButton); }));
  Key(VK_RETURN);
  ASSERT_TRUE(P().WaitUntilGone(dialog)) << "Enter on OK left the dialog open";
  EXPECT_FALSE(P().Text(Folder()).empty());

  // The drive button, then Abbrechen by Tab and Enter: nothing taken over.
  P().SetText(Drive(), L"Q:");
  ASSERT_TRUE(TabTo(P().Control(Id(CommandId::cmdOpenDrive))));
  Key(VK_RETURN);
  dialog = P().WaitForWindow(ids::kOpenPathClass);
  ASSERT_NE(dialog, nullptr) << "Enter on the drive button opened no dialog";
  ASSERT_TRUE(WaitFor([&] { return Focus() == GetDlgItem(dialog, ids::kIdOKButton); }));
  PostMessageW(Focus(), WM_KEYDOWN, VK_TAB, 0);
  ASSERT_TRUE(WaitFor([&] { return Focus() == GetDlgItem(dialog, ids::kIdCancelButton); }));
  Key(VK_RETURN);
  ASSERT_TRUE(P().WaitUntilGone(dialog)) << "Enter on Abbrechen left the dialog open";
  EXPECT_EQ(P().Text(Drive()), L"Q:");
  EXPECT_EQ(P().RecordedLines().size(), 2u);
}

TEST_F(MainWindowInputTest, ScreenReaderNames_BoxesByLabel_DotButtonsByPurpose_AboutByLines) {
  StartProgram();
  EXPECT_EQ(AccessibleName(Drive()), L"Laufwerk ausw\u00E4hlen");
  EXPECT_EQ(AccessibleName(Folder()), L"Lokale Ressource hinzuf\u00FCgen...");
  // The focus sits in a box's edit field, which is named alike.
  EXPECT_EQ(AccessibleName(FindWindowExW(Folder(), nullptr, L"Edit", nullptr)),
            L"Lokale Ressource hinzuf\u00FCgen...");
  EXPECT_EQ(AccessibleName(P().Control(Id(CommandId::cmdOpenDrive))),
            L"Laufwerk und Ordner w\u00E4hlen");
  EXPECT_EQ(AccessibleName(P().Control(Id(CommandId::cmdOpenPath))), L"Ordner w\u00E4hlen");
  EXPECT_EQ(AccessibleName(P().Control(Id(CommandId::cmdSubst))), L"Map");
  EXPECT_EQ(P().Text(P().Control(Id(CommandId::cmdOpenPath))), L"...");
  // Where the system looks for a box's name: the label right before it.
  EXPECT_EQ(GetWindow(Drive(), GW_HWNDPREV), P().Control(ids::kIdLblDrive));
  EXPECT_EQ(GetWindow(Folder(), GW_HWNDPREV), P().Control(ids::kIdLabel1));
  EXPECT_FALSE(IsWindowVisible(P().Control(ids::kIdPicture1)));

  // The About text: shown with its lone CRs, read with line breaks.
  P().PostCommand(Id(CommandId::mnuAbout));
  HWND box = P().WaitForWindow(L"#32770");
  ASSERT_NE(box, nullptr);
  HWND text = BoxText(box);
  ASSERT_NE(text, nullptr);
  EXPECT_NE(P().Text(text).find(L"\r" + kVersion + L"\r\r"), std::wstring::npos);
  const std::wstring spoken = AccessibleName(text);
  EXPECT_NE(spoken.find(L"\r\n" + kVersion + L"\r\n\r\n"), std::wstring::npos) << Utf8(spoken);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(P().WaitUntilGone(box));

  P().PostClick(P().Control(Id(CommandId::cmdOpenPath)));
  HWND dialog = P().WaitForWindow(ids::kOpenPathClass);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(AccessibleName(GetDlgItem(dialog, ids::kIdDrive1)), L"Laufwerke");
  EXPECT_EQ(AccessibleName(GetDlgItem(dialog, ids::kIdDir1)), L"Ordner");
  EXPECT_EQ(AccessibleName(GetDlgItem(dialog, ids::kIdFile1)), L"Dateien");
  PostMessageW(dialog, WM_CLOSE, 0, 0);
  ASSERT_TRUE(P().WaitUntilGone(dialog));
}

TEST_F(MainWindowInputTest, ScreenReaderQuery_NeverLoadsADllPlantedBesideTheProgram) {
  // Wine prefers its own oleacc wherever a copy lies. Told to prefer a file it
  // finds, for tessaro.exe alone and while the test runs, it searches as
  // Windows does: the program's folder first.
  struct PreferFoundOleacc {
    const wchar_t* key = L"Software\\Wine\\AppDefaults\\tessaro.exe\\DllOverrides";
    PreferFoundOleacc() {
      RegSetKeyValueW(HKEY_CURRENT_USER, key, L"*oleacc", REG_SZ, L"native,builtin",
                      sizeof(L"native,builtin"));
    }
    ~PreferFoundOleacc() { RegDeleteKeyValueW(HKEY_CURRENT_USER, key, L"*oleacc"); }
  } const prefer;
  program_ = std::make_unique<TessaroProcess>(L"PlantedDll");
  ASSERT_TRUE(CopyFileW(FromUnixPath(PLANTED_DLL).c_str(), (P().Folder() + L"\\oleacc.dll").c_str(),
                        FALSE));
  ASSERT_TRUE(P().Start());
  EXPECT_EQ(AccessibleName(Drive()), L"Laufwerk ausw\u00E4hlen");
  EXPECT_EQ(AccessibleName(P().Control(Id(CommandId::cmdOpenPath))), L"Ordner w\u00E4hlen");
  EXPECT_EQ(GetFileAttributesW((P().Folder() + L"\\planted-dll-loaded.txt").c_str()),
            INVALID_FILE_ATTRIBUTES)
      << "the oleacc.dll beside tessaro.exe was loaded";
}

TEST_F(MainWindowInputTest, NestedMessageBoxes_EachNamedByItsOwnText) {
  const SystemSubstHidden hidden;
  StartProgram(/*withSubst=*/false);
  Fill(L"X:", L"C:\\Daten");
  P().PostClick(P().Control(Id(CommandId::cmdSubst)));
  HWND outer = P().WaitForWindow(L"#32770");
  ASSERT_NE(outer, nullptr);
  HWND outerText = BoxText(outer);
  ASSERT_NE(outerText, nullptr);
  const std::wstring outerName = AccessibleName(outerText);
  EXPECT_NE(outerName.find(L"\"subst\""), std::wstring::npos) << Utf8(outerName);

  // The tray menu's About, chosen while the message is up, runs inside its loop.
  P().PostCommand(Id(CommandId::mnuBarAbout));
  HWND inner = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    inner = nullptr;
    while ((inner = FindWindowExW(nullptr, inner, L"#32770", nullptr)) != nullptr) {
      if (inner != outer && IsWindowVisible(inner) && P().Text(inner) == L"\u00DCber...") break;
    }
    return inner != nullptr;
  }));
  const std::wstring innerName = AccessibleName(BoxText(inner));
  EXPECT_NE(innerName.find(L"\r\n" + kVersion + L"\r\n"), std::wstring::npos) << Utf8(innerName);
  EXPECT_EQ(AccessibleName(outerText), outerName);
  PostMessageW(inner, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(P().WaitUntilGone(inner));

  // The outer box keeps its own name after the inner one has gone.
  EXPECT_EQ(AccessibleName(outerText), outerName);
  PostMessageW(outer, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(P().WaitUntilGone(outer));
  EXPECT_TRUE(P().Running());
}

// Alt+letter reaches a label's box through the dialog manager's
// WM_NEXTDLGCTL, and presses a button.
TEST_F(MainWindowInputTest, AccessKeys_LabelsFocusTheirBoxes_ButtonsPress_ReadersHearThem) {
  StartProgram();
  HWND folderEdit = FindWindowExW(Folder(), nullptr, L"Edit", nullptr);
  const std::pair<HWND, const wchar_t*> shortcuts[] = {
      {Drive(), L"Alt+L"},
      {Folder(), L"Alt+R"},
      {folderEdit, L"Alt+R"},
      {P().Control(ids::kIdLblDrive), L"Alt+L"},
      {P().Control(ids::kIdLabel1), L"Alt+R"},
      {P().Control(Id(CommandId::cmdSubst)), L"Alt+M"},
      {P().Control(Id(CommandId::cmdDelRes)), L"Alt+D"},
      {P().Control(Id(CommandId::cmdOpenPath)), L"<none>"},
  };
  for (const auto& [control, shortcut] : shortcuts) {
    EXPECT_EQ(AccessibleShortcut(control), shortcut) << GetDlgCtrlID(control);
  }
  EXPECT_EQ(AccessibleName(P().Control(Id(CommandId::cmdDelRes))), L"Delete");
  EXPECT_EQ(P().Text(P().Control(ids::kIdLabel1)), L"Lokale &Ressource hinzuf\u00FCgen...");

  ASSERT_TRUE(WaitFor([&] { return FocusedControl() == Drive(); }));
  ASSERT_TRUE(TabTo(P().Control(Id(CommandId::cmdDelRes))));
  ASSERT_TRUE(P().TypeChord({VK_MENU, 'R'}));
  EXPECT_TRUE(WaitFor([&] { return FocusedControl() == Folder(); }, 3000)) << "Alt+R";
  ASSERT_TRUE(P().TypeChord({VK_MENU, 'L'}));
  EXPECT_TRUE(WaitFor([&] { return FocusedControl() == Drive(); }, 3000)) << "Alt+L";
  Fill(L"X:", L"C:\\Daten");
  ASSERT_TRUE(P().TypeChord({VK_MENU, 'M'}));
  EXPECT_EQ(P().WaitForRecordedLines(1), (std::vector<std::string>{"subst X:  C:\\Daten"}));
}

// --- one Tessaro at a time ------------------------------------------------

using SingleInstanceTest = TessaroE2e;

TEST_F(SingleInstanceTest, SecondStart_BringsTheFirstBack_EndsWithZero_RestoreSwitchesStillRun) {
  Settings prepared;
  prepared.drive = "X:";
  prepared.path = "C:\\Daten";
  WriteSettings(prepared.Bytes());
  StartProgram();

  // Out of the tray, as "Anzeigen" brings it, and to the front.
  P().Command(Id(CommandId::mnuSystray));
  ASSERT_TRUE(P().TrayIconPresent());
  EXPECT_EQ(P().RunAgain(L""), 0);
  EXPECT_TRUE(WaitFor([&] { return P().MainVisible(); }));
  EXPECT_TRUE(WaitFor([&] { return !P().TrayIconPresent(); }));
  EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == P().Main(); }));

  // Minimized: restored.
  PostMessageW(P().Main(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(WaitFor([&] { return IsIconic(P().Main()) != FALSE; }));
  EXPECT_EQ(P().RunAgain(L""), 0);
  EXPECT_TRUE(WaitFor([&] { return IsIconic(P().Main()) == FALSE; }));
  EXPECT_TRUE(P().Running());
  EXPECT_EQ(P().WaitForWindow(ids::kMainWindowClass), P().Main());
  EXPECT_EQ(ReadSettings(), prepared.Bytes()) << "a second start saved";

  // The switches do their work while Tessaro runs (the folder is there, so
  // the restore does not wait for it).
  CreateDirectoryW(L"C:\\Daten", nullptr);
  EXPECT_EQ(P().RunAgain(L"/restore"), 0);
  RemoveDirectoryW(L"C:\\Daten");
  EXPECT_EQ(P().RecordedLines(), (std::vector<std::string>{"subst X:  C:\\Daten"}));
  EXPECT_EQ(P().RunAgain(L"/restore-at-login on"), 0);
  EXPECT_EQ(P().RunAgain(L"/RESTORE-AT-LOGIN off"), 0);
  EXPECT_TRUE(P().Running());
}

// --- the folder dialog ----------------------------------------------------

class FolderDialogTest : public TessaroE2e {
 protected:
  // data\ with two subfolders and three files, one of them hidden.
  void StartWithTree() {
    StartProgram();
    root_ = P().Folder() + L"\\data";
    CreateDirectoryW(root_.c_str(), nullptr);
    CreateDirectoryW((root_ + L"\\Alpha").c_str(), nullptr);
    CreateDirectoryW((root_ + L"\\Beta Gamma").c_str(), nullptr);
    for (const wchar_t* file :
         {L"\\a.txt", L"\\b.txt", L"\\versteckt.txt", L"\\Alpha\\innen.txt"}) {
      CloseHandle(CreateFileW((root_ + file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    SetFileAttributesW((root_ + L"\\versteckt.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
  }

  HWND Open(CommandId button) {
    P().PostClick(P().Control(Id(button)));
    HWND dialog = P().WaitForWindow(ids::kOpenPathClass);
    EXPECT_NE(dialog, nullptr) << "no folder dialog";
    return dialog;
  }

  void Press(HWND dialog, int id) {
    P().PostClick(GetDlgItem(dialog, id));
    ASSERT_TRUE(P().WaitUntilGone(dialog));
  }

  std::vector<std::wstring> Files(HWND dialog) {
    return P().ListItems(GetDlgItem(dialog, ids::kIdFile1));
  }

  // Double-clicks the Dir1 line that reads name (indented).
  void OpenSubfolder(HWND dialog, const std::wstring& name) {
    HWND dir1 = GetDlgItem(dialog, ids::kIdDir1);
    const auto lines = P().ListItems(dir1);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const auto text = lines[i].substr(lines[i].find_first_not_of(L' '));
      if (text != name) continue;
      SendMessageW(dir1, LB_SETCURSEL, i, 0);
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(ids::kIdDir1, LBN_DBLCLK),
                   reinterpret_cast<LPARAM>(dir1));
      return;
    }
    ADD_FAILURE() << "no line " << Utf8(name);
  }

  std::wstring root_;
};

TEST_F(FolderDialogTest, FolderButton_StartsAtTheTypedFolder_OkTakesTheOpenedSubfolder) {
  StartWithTree();
  P().SetText(Folder(), root_);
  HWND dialog = Open(CommandId::cmdOpenPath);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(P().Text(dialog), L"Tessaro - Ordner ausw\u00E4hlen");
  // Modal: the main window takes no input, and the dialog has no task-bar button.
  EXPECT_FALSE(P().MainEnabled());
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), P().Main());
  EXPECT_EQ(GetWindowLongW(dialog, GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);

  const auto lines = P().ListItems(GetDlgItem(dialog, ids::kIdDir1));
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines.front(), L"c:\\");
  EXPECT_EQ(lines[lines.size() - 2].substr(lines[lines.size() - 2].find_first_not_of(L' ')),
            L"Alpha");
  EXPECT_EQ(lines.back().substr(lines.back().find_first_not_of(L' ')), L"Beta Gamma");
  EXPECT_EQ(Files(dialog), (std::vector<std::wstring>{L"a.txt", L"b.txt"}));
  EXPECT_EQ(P().Text(GetDlgItem(dialog, ids::kIdDrive1)).substr(0, 2), L"c:");

  OpenSubfolder(dialog, L"Alpha");
  EXPECT_TRUE(WaitFor([&] { return Files(dialog) == std::vector<std::wstring>{L"innen.txt"}; }));
  Press(dialog, ids::kIdOKButton);
  EXPECT_TRUE(P().MainEnabled());
  EXPECT_EQ(P().Text(Folder()), root_ + L"\\Alpha");
  // The dialog saves nothing; the choice reaches the file at closing.
  EXPECT_EQ(ReadSettings(), "<none>");
  CloseByCloseBox();
  EXPECT_EQ(ReadSettings(), (Settings{.path = Utf8(root_ + L"\\Alpha"), .next = "1"}).Bytes());
}

TEST_F(FolderDialogTest, HighlightWithoutOpening_OkTakesTheOpenDirectory) {
  StartWithTree();
  P().SetText(Folder(), root_);
  HWND dialog = Open(CommandId::cmdOpenPath);
  ASSERT_NE(dialog, nullptr);
  HWND dir1 = GetDlgItem(dialog, ids::kIdDir1);
  const auto last = static_cast<WPARAM>(SendMessageW(dir1, LB_GETCOUNT, 0, 0) - 1);
  SendMessageW(dir1, LB_SETCURSEL, last, 0);
  Press(dialog, ids::kIdOKButton);
  EXPECT_EQ(P().Text(Folder()), root_);
}

TEST_F(FolderDialogTest, CancelAndCloseBox_TakeNothingOver) {
  StartWithTree();
  P().SetText(Folder(), root_);
  P().SetText(Drive(), L"X:");

  HWND dialog = Open(CommandId::cmdOpenPath);
  ASSERT_NE(dialog, nullptr);
  OpenSubfolder(dialog, L"Alpha");
  ASSERT_TRUE(WaitFor([&] { return Files(dialog) == std::vector<std::wstring>{L"innen.txt"}; }));
  Press(dialog, ids::kIdCancelButton);
  EXPECT_EQ(P().Text(Folder()), root_);

  dialog = Open(CommandId::cmdOpenDrive);
  ASSERT_NE(dialog, nullptr);
  OpenSubfolder(dialog, L"Beta Gamma");
  PostMessageW(dialog, WM_CLOSE, 0, 0);
  ASSERT_TRUE(P().WaitUntilGone(dialog));
  EXPECT_TRUE(P().MainEnabled());
  EXPECT_EQ(P().Text(Folder()), root_);
  EXPECT_EQ(P().Text(Drive()), L"X:");
}

TEST_F(FolderDialogTest, DriveButton_HandsOverTheUpperCaseDriveAndTheFolder) {
  StartWithTree();
  P().SetText(Folder(), root_);
  // The folder button leaves the prefill flag set for the drive button.
  Press(Open(CommandId::cmdOpenPath), ids::kIdCancelButton);
  P().SetText(Drive(), L"Q:");

  HWND dialog = Open(CommandId::cmdOpenDrive);
  ASSERT_NE(dialog, nullptr);
  OpenSubfolder(dialog, L"Beta Gamma");
  ASSERT_TRUE(WaitFor([&] { return Files(dialog).empty(); }));
  Press(dialog, ids::kIdOKButton);
  EXPECT_EQ(P().Text(Drive()), L"C:");
  EXPECT_EQ(P().Text(Folder()), root_ + L"\\Beta Gamma");
}

TEST_F(FolderDialogTest, MissingStartFolder_ListsStayAtTheCurrentDirectory_DialogUsable) {
  StartWithTree();
  P().SetText(Folder(), L"C:\\gibt es nicht");
  HWND dialog = Open(CommandId::cmdOpenPath);
  ASSERT_NE(dialog, nullptr);
  // The program runs in its own folder, so that is where the lists stay.
  OpenSubfolder(dialog, L"data");
  ASSERT_TRUE(WaitFor([&] {
    return Files(dialog) == std::vector<std::wstring>{L"a.txt", L"b.txt"};
  }));
  Press(dialog, ids::kIdOKButton);
  EXPECT_EQ(P().Text(Folder()), root_);
}

TEST_F(FolderDialogTest, DriveList_ShowsLowerCaseLettersAndASubstDrivesFolder) {
  StartWithTree();
  // A drive made the way subst makes one, for this test only.
  struct SubstDrive {
    explicit SubstDrive(const std::wstring& folder)
        : made(DefineDosDeviceW(0, L"S:", folder.c_str()) != FALSE) {}
    ~SubstDrive() {
      if (made) DefineDosDeviceW(DDD_REMOVE_DEFINITION, L"S:", nullptr);
    }
    bool made;
  } substDrive(root_);
  ASSERT_TRUE(substDrive.made);
  HWND dialog = Open(CommandId::cmdOpenDrive);
  ASSERT_NE(dialog, nullptr);
  const auto drives = P().ComboItems(GetDlgItem(dialog, ids::kIdDrive1));
  Press(dialog, ids::kIdCancelButton);

  ASSERT_FALSE(drives.empty());
  for (const auto& drive : drives) {
    ASSERT_GE(drive.size(), 2u);
    EXPECT_TRUE(drive[0] >= L'a' && drive[0] <= L'z' && drive[1] == L':') << Utf8(drive);
  }
  EXPECT_NE(std::find(drives.begin(), drives.end(), L"s: [" + root_ + L"]"), drives.end())
      << Utf8(drives.back());
}

}  // namespace
}  // namespace tessaro::e2e

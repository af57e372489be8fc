// tessaro.exe end to end under Wine: the real program, worked through its
// windows, with a recording subst.exe beside it.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "tests/win32/TessaroHarness.h"
#include "ui/Commands.h"
#include "ui/win32/ControlIds.h"

namespace tessaro::e2e {
namespace {

using ui::CommandId;
namespace ids = ui::win32;

constexpr int Id(CommandId id) { return static_cast<int>(id); }

// The settings file as the program writes it: ten keys, CRLF.
struct Settings {
  std::string drive;
  std::string path;
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

  void Map(const std::wstring& drive, const std::wstring& folder) {
    P().SetText(Drive(), drive);
    P().SetText(Folder(), folder);
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
  Settings expected;
  expected.next = "1";
  EXPECT_EQ(ReadSettings(), expected.Bytes());
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
  Settings expected;
  expected.reset = "1";
  EXPECT_EQ(ReadSettings(), expected.Bytes());
}

// --- mapping and deleting -------------------------------------------------

using MappingTest = TessaroE2e;

TEST_F(MappingTest, Map_PlainFolder_LaunchesSubstAndSavesTheChoice) {
  StartProgram();
  Map(L"X:", L"C:\\Daten");
  EXPECT_EQ(P().WaitForRecordedLines(1), (std::vector<std::string>{"subst X:  C:\\Daten"}));

  Settings expected;
  expected.drive = "X:";
  expected.path = "C:\\Daten";
  expected.next = "2";
  expected.last[1] = "C:\\Daten";
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

  Settings expected;
  expected.drive = "Y:";
  expected.path = "\" C:\\Daten \"";
  expected.next = "3";
  expected.last[1] = "C:\\Eigene Dateien";
  expected.last[2] = "\" C:\\Daten \"";
  EXPECT_EQ(ReadSettings(), expected.Bytes());
}

TEST_F(MappingTest, MapMenuItem_DoesWhatTheButtonDoes) {
  StartProgram();
  P().SetText(Drive(), L"M:");
  P().SetText(Folder(), L"C:\\windows");
  P().Command(Id(CommandId::mnuDrivesMap));
  EXPECT_EQ(P().WaitForRecordedLines(1), (std::vector<std::string>{"subst M:  C:\\windows"}));
}

TEST_F(MappingTest, Delete_LaunchesSubstD_EmptiesBothBoxes_SavesNothing) {
  StartProgram();
  P().SetText(Drive(), L"X:");
  P().SetText(Folder(), L"C:\\Daten");
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

TEST_F(SubstMissingTest, MapAndDelete_ShowTheGermanMessage_AndChangeNothing) {
  StartProgram(/*withSubst=*/false);
  P().SetText(Drive(), L"X:");
  P().SetText(Folder(), L"C:\\Daten");

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

TEST_F(LeavingTest, CloseBox_WithResetMark_ForgetsTheChoice) {
  MapThenMarkReset();
  CloseByCloseBox();
  Settings expected;
  expected.reset = "1";
  EXPECT_EQ(ReadSettings(), expected.Bytes());
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

}  // namespace
}  // namespace tessaro::e2e

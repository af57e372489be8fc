#include <gtest/gtest.h>

#include <random>

#include "core/modIniAccess.h"
#include "support/Fakes.h"

namespace tessaro {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

class SettingsTest : public ::testing::Test {
 protected:
  SettingsTest() : file(dir.Path() / "Tessaro.ini") { app.strIniFile = file.wstring(); }

  AppState LoadFrom(const std::string& bytes) {
    WriteBytes(file, bytes);
    AppState loaded;
    loaded.strIniFile = app.strIniFile;
    LoadSettings(loaded);
    return loaded;
  }

  AppState Reload() {
    AppState loaded;
    loaded.strIniFile = app.strIniFile;
    LoadSettings(loaded);
    return loaded;
  }

  static void ExpectSameSettings(const AppState& a, const AppState& b) {
    EXPECT_EQ(a.strTargetDrive, b.strTargetDrive);
    EXPECT_EQ(a.strTargetPath, b.strTargetPath);
    EXPECT_EQ(a.blnResetRestart, b.blnResetRestart);
    EXPECT_EQ(a.intNextPath, b.intNextPath);
    EXPECT_EQ(a.arrLastPath, b.arrLastPath);
  }

  TempFolder dir;
  std::filesystem::path file;
  AppState app;
};

TEST_F(SettingsTest, MissingFileLoadsEmptyStateAndCreatesNothing) {
  app.strTargetPath = L"C:\\Users\\anna\\Documents";  // replaced even when the key is missing
  LoadSettings(app);
  ExpectSameSettings(app, AppState{});
  EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(SettingsTest, FirstSaveWritesTheTenKeysInOrder) {
  app.strTargetDrive = L"X:";
  app.strTargetPath = L"C:\\Daten";
  app.blnResetRestart = kTrue;
  app.intNextPath = 1;
  app.arrLastPath[0] = L"C:\\Daten";
  SaveSettings(app, profile::LineEnd::kCrLf);
  EXPECT_EQ(ReadBytes(file),
            "[Startup]\r\ntarget drive=X:\r\ntarget path=C:\\Daten\r\nreset restart=1\r\n"
            "[Data]\r\nnext path=1\r\nlast path 1=C:\\Daten\r\nlast path 2=\r\nlast path 3=\r\n"
            "last path 4=\r\nlast path 5=\r\nlast path 6=\r\n");

  app.blnResetRestart = kFalse;
  app.intNextPath = -12;
  SaveSettings(app, profile::LineEnd::kCrLf);
  const std::string bytes = ReadBytes(file);
  EXPECT_NE(bytes.find("reset restart=0\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("next path=-12\r\n"), std::string::npos);
}

TEST_F(SettingsTest, SaveKeepsForeignLinesAndTheFileLineEnds) {
  WriteBytes(file, "; von Hand\n[Startup]\ntarget drive=Q:\nfarbe=blau\n\n[Andere]\nx=1\n");
  app.strTargetDrive = L"Y:";
  SaveSettings(app);
  const std::string bytes = ReadBytes(file);
  EXPECT_EQ(bytes.rfind("; von Hand\n[Startup]\ntarget drive=Y:\n", 0), 0u) << bytes;
  EXPECT_NE(bytes.find("farbe=blau\n"), std::string::npos);
  EXPECT_NE(bytes.find("[Andere]\nx=1\n"), std::string::npos);
  EXPECT_EQ(bytes.find('\r'), std::string::npos);
}

TEST_F(SettingsTest, ResetFlagReadsAnyNonZeroNumberAsSet) {
  for (const char* set : {"1", "-1", "7", "0.4", " 2"}) {
    EXPECT_EQ(LoadFrom(std::string("[Startup]\nreset restart=") + set + "\n").blnResetRestart,
              kTrue)
        << set;
  }
  for (const char* clear : {"0", "", "ja", "0.0"}) {
    EXPECT_EQ(LoadFrom(std::string("[Startup]\nreset restart=") + clear + "\n").blnResetRestart,
              kFalse)
        << clear;
  }
}

TEST_F(SettingsTest, NextPathReadsItsNumericValueRoundedHalfToEven) {
  const struct {
    const char* stored;
    std::int16_t expected;
  } rows[] = {{"3", 3},       {"2.5", 2}, {"3.5", 4},         {" 4", 4},   {"", 0},
              {"5 Pfade", 5}, {"-2", -2}, {"99999999999", 0}, {"32768", 0}};
  for (const auto& row : rows) {
    EXPECT_EQ(LoadFrom(std::string("[Data]\nnext path=") + row.stored + "\n").intNextPath,
              row.expected)
        << row.stored;
  }
}

TEST_F(SettingsTest, TextsRoundTripExactly) {
  app.strTargetDrive = L"x";
  app.strTargetPath = L"  C:\\Eigene Dateien\\\u00DCbersicht\u20AC  ";
  app.arrLastPath[0] = std::wstring(130, L'a');  // beyond the old 126-character cut
  app.arrLastPath[1] = L"\"C:\\in Anf\u00FChrungszeichen\"";
  app.arrLastPath[2] = L"'x'";
  app.arrLastPath[3] = L"C:\\\u0414\u043E\u043A\u0443\u043C\u0435\u043D\u0442\u044B";
  app.arrLastPath[4] = L"\t";
  app.arrLastPath[5] = L"D:\\a=b;c [d]";
  SaveSettings(app);
  ExpectSameSettings(Reload(), app);
}

// A folder name may hold a line break on Linux; the file cannot. Only that
// key keeps its old value, and no line can be injected through it.
TEST_F(SettingsTest, ValueThatCannotBeStoredKeepsItsOldValueWhileTheOthersAreSaved) {
  app.strTargetDrive = L"X:";
  app.strTargetPath = L"C:\\alt";
  SaveSettings(app);
  app.strTargetDrive = L"Y:";
  app.strTargetPath = L"C:\\a\n[Startup]\ntarget drive=Z:";
  app.arrLastPath[5] = L"C:\\a\rb";
  app.intNextPath = 3;
  SaveSettings(app);
  const AppState loaded = Reload();
  EXPECT_EQ(loaded.strTargetDrive, L"Y:");
  EXPECT_EQ(loaded.strTargetPath, L"C:\\alt");
  EXPECT_EQ(loaded.intNextPath, 3);
  EXPECT_EQ(loaded.arrLastPath[5], L"");
}

TEST_F(SettingsTest, SaveIntoMissingFolderWritesNothingAndSaysWhy) {
  app.strIniFile = (dir.Path() / "fehlt" / "Tessaro.ini").wstring();
  app.strTargetDrive = L"X:";
  const platform::WriteResult result = SaveSettings(app);
  EXPECT_FALSE(result.ok);
  EXPECT_FALSE(result.reason.empty());
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "fehlt"));
}

// A folder where the file should be: the system's reason comes back, and
// the folder is left as it was.
TEST_F(SettingsTest, SaveOverAFolderFailsWithTheSystemsReason) {
  std::filesystem::create_directory(file);
  app.strTargetDrive = L"X:";
  const platform::WriteResult result = SaveSettings(app);
  EXPECT_FALSE(result.ok);
  EXPECT_FALSE(result.reason.empty());
  EXPECT_TRUE(std::filesystem::is_directory(file));
  std::filesystem::remove(file);
  EXPECT_TRUE(SaveSettings(app).ok);
}

TEST_F(SettingsTest, OldWindows1252FileIsReadAndRewrittenAsUtf8) {
  const AppState loaded = LoadFrom(
      "[Startup]\r\ntarget path=C:\\\xDC"
      "bersicht\r\n");
  EXPECT_EQ(loaded.strTargetPath, L"C:\\\u00DCbersicht");
  SaveSettings(loaded);
  const std::string bytes = ReadBytes(file);
  EXPECT_NE(bytes.find("target path=C:\\\xC3\x9C"
                       "bersicht\r\n"),
            std::string::npos)
      << bytes;
  ExpectSameSettings(Reload(), loaded);
}

// Damaged or hostile files start normally; a save afterwards gives a file
// that reads back as what was saved.
TEST_F(SettingsTest, HostileFilesLoadAndSaveSoundly) {
  using namespace std::string_literals;
  std::mt19937 rng(20261207);
  std::string random(1 << 20, '\0');
  for (auto& c : random) c = static_cast<char>(rng());
  const std::string withNuls =
      "[Startup]\ntarget drive=X:\0Y:\n[Da\0ta]\nnext path=\0"
      "3\n"s;
  const std::string longValue = "[Data]\nlast path 1=" + std::string(100000, 'L') + "\n";

  for (const std::string& bytes :
       {random, withNuls, std::string("[Startup]\ntarget path=\xFF\xFE\xC0\n"), longValue,
        std::string("[Data]\nnext path=99999999999\n"), "\xFF\xFE[\0"s}) {
    AppState loaded = LoadFrom(bytes);
    loaded.strTargetDrive = L"K:";
    SaveSettings(loaded);
    ExpectSameSettings(Reload(), loaded);
  }
  EXPECT_EQ(LoadFrom(longValue).arrLastPath[0].size(), 100000u);
}

}  // namespace
}  // namespace tessaro

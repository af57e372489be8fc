// Runs the profile engine against the recorded vectors: one fresh folder per
// row, the file-level functions as the program calls them, new files in CRLF.
// Prints every failing row with what was expected and what came out.

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "core/ProfileFile.h"
#include "support/Files.h"
#include "text/TextCodec.h"

namespace fs = std::filesystem;
using tessaro::profile::LineEnd;

namespace {

#ifndef TESSARO_TEST_DATA
#define TESSARO_TEST_DATA "tests/data"
#endif

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::string> Unescape(std::string_view field) {
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '\\') {
      out += field[i];
      continue;
    }
    if (++i >= field.size()) return std::nullopt;
    switch (field[i]) {
      case '\\':
        out += '\\';
        break;
      case 't':
        out += '\t';
        break;
      case 'r':
        out += '\r';
        break;
      case 'n':
        out += '\n';
        break;
      case 'x': {
        if (i + 2 >= field.size()) return std::nullopt;
        const int high = HexDigit(field[i + 1]);
        const int low = HexDigit(field[i + 2]);
        if (high < 0 || low < 0) return std::nullopt;
        out += static_cast<char>(high * 16 + low);
        i += 2;
        break;
      }
      default:
        return std::nullopt;
    }
  }
  return out;
}

// Bytes in a failure message, every one of them visible.
std::string Escape(std::string_view bytes) {
  return tessaro::text::EscapeBytes(bytes, tessaro::text::Verbatim::kPrintableAscii);
}

std::vector<std::string> Split(std::string_view text, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t at = text.find(separator, start);
    parts.emplace_back(
        text.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start));
    if (at == std::string_view::npos) return parts;
    start = at + 1;
  }
}

std::wstring ToWide(const fs::path& path) {
#ifdef _WIN32
  return path.wstring();
#else
  return tessaro::text::DecodeUtf8Lossy(path.string());
#endif
}

bool RunningAsRoot() {
#ifdef _WIN32
  return false;
#else
  return ::geteuid() == 0;
#endif
}

// An identity for "the same file, not rewritten": the inode on POSIX.
std::optional<unsigned long long> FileIdentity(const fs::path& path) {
#ifdef _WIN32
  (void)path;
  return std::nullopt;
#else
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  return static_cast<unsigned long long>(info.st_ino);
#endif
}

using tessaro::testing::TempFolder;

struct Outcome {
  bool skipped = false;
  std::string failure;  // empty when the row passed
};

Outcome RunRow(const std::vector<std::string>& columns) {
  Outcome outcome;
  const std::string& initialField = columns[1];
  const std::string& operationField = columns[2];
  const std::string& expectedReturn = columns[3];
  const std::string& expectedText = columns[4];

  const TempFolder folder;
  fs::path file = folder.Path() / "Tessaro.ini";
  std::optional<std::string> initial;
  bool readOnly = false;
  if (initialField == "<nodir>") {
    file = folder.Path() / "missing" / "Tessaro.ini";
  } else if (initialField != "<none>") {
    std::string_view bytesField = initialField;
    if (bytesField.starts_with("<ro>")) {
      readOnly = true;
      bytesField.remove_prefix(4);
      if (RunningAsRoot()) {
        outcome.skipped = true;
        return outcome;
      }
    }
    initial = Unescape(bytesField);
    if (!initial) return {false, "bad escape in the initial file"};
    std::ofstream(file, std::ios::binary) << *initial;
    if (readOnly) {
      fs::permissions(file,
                      fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                      fs::perm_options::remove);
    }
  }
  const auto identityBefore = FileIdentity(file);

  std::vector<std::string> args = Split(operationField, '|');
  std::vector<std::wstring> wide;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const auto bytes = Unescape(args[i]);
    if (!bytes) return {false, "bad escape in the operation"};
    const auto text = tessaro::text::DecodeUtf8(*bytes);
    if (!text) return {false, "operation argument is not UTF-8"};
    wide.push_back(*text);
  }
  const auto expected = Unescape(expectedText);
  if (!expected) return {false, "bad escape in the expected text"};

  std::ostringstream failure;
  if (args[0] == "read" && wide.size() == 2) {
    const std::wstring value = tessaro::profile::ReadProfileString(ToWide(file), wide[0], wide[1]);
    const std::string actual = tessaro::text::EncodeUtf8(value);
    const std::string count = std::to_string(tessaro::text::CodePointCount(value));
    if (count != expectedReturn || actual != *expected) {
      failure << "expected n=" << expectedReturn << " \"" << Escape(*expected)
              << "\", got n=" << count << " \"" << Escape(actual) << "\"";
    }
  } else if (args[0] == "write" && wide.size() == 3) {
    const bool result = tessaro::profile::WriteProfileString(ToWide(file), wide[0], wide[1],
                                                             wide[2], LineEnd::kCrLf);
    const std::string actualReturn = result ? "1" : "0";
    const auto after =
        fs::exists(file) ? std::optional(tessaro::testing::ReadBytes(file)) : std::nullopt;
    const std::string actualFile = after ? Escape(*after) : "<none>";
    const std::string expectedFile = expectedText == "<none>" ? "<none>" : Escape(*expected);
    if (actualReturn != expectedReturn || actualFile != expectedFile) {
      failure << "expected " << expectedReturn << " and file \"" << expectedFile << "\", got "
              << actualReturn << " and file \"" << actualFile << "\"";
    } else if (initial && after == initial && identityBefore != FileIdentity(file)) {
      failure << "content unchanged, but the file was rewritten";
    }
  } else {
    failure << "unknown operation \"" << operationField << "\"";
  }
  outcome.failure = failure.str();
  return outcome;
}

}  // namespace

int main(int argc, char** argv) {
  std::string vectors = TESSARO_TEST_DATA "/profile-vectors.tsv";
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--vectors" && i + 1 < argc) {
      vectors = argv[++i];
    } else {
      std::cerr << "usage: profile_conformance [--vectors FILE]\n";
      return 2;
    }
  }
  std::ifstream in(vectors, std::ios::binary);
  if (!in) {
    std::cerr << "cannot open " << vectors << "\n";
    return 2;
  }

  int passed = 0;
  int failed = 0;
  int skipped = 0;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line.front() == '#') continue;
    const std::vector<std::string> columns = Split(line, '\t');
    if (columns.size() < 5) {
      std::cout << "FAIL " << (columns.empty() ? "?" : columns[0]) << ": malformed row\n";
      ++failed;
      continue;
    }
    Outcome outcome;
    try {
      outcome = RunRow(columns);
    } catch (const std::exception& error) {
      outcome.failure = std::string("exception: ") + error.what();
    }
    if (outcome.skipped) {
      std::cout << "SKIP " << columns[0] << " (read-only files are writable for root)\n";
      ++skipped;
    } else if (!outcome.failure.empty()) {
      std::cout << "FAIL " << columns[0] << ": " << outcome.failure << "\n";
      ++failed;
    } else {
      ++passed;
    }
  }
  std::cout << passed << " passed, " << failed << " failed, " << skipped << " skipped\n";
  return failed == 0 && passed > 0 ? 0 : 1;
}

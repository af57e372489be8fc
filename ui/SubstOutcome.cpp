#include "ui/SubstOutcome.h"

namespace tessaro::ui {
namespace {

constexpr std::wstring_view kSpace = L" \t\r\n\v\f";

std::wstring_view Trim(std::wstring_view text, std::wstring_view blanks) {
  const auto first = text.find_first_not_of(blanks);
  if (first == std::wstring_view::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

void AppendEscaped(std::wstring& shown, wchar_t c) {
  static constexpr wchar_t kHex[] = L"0123456789abcdef";
  switch (c) {
    case L'\n':
      shown += L"\\n";
      return;
    case L'\r':
      shown += L"\\r";
      return;
    case L'\t':
      shown += L"\\t";
      return;
    default:
      break;
  }
  const auto code = static_cast<unsigned>(c);
  if (code >= 0x20 && code != 0x7f && !(code >= 0x80 && code < 0xa0)) {
    shown += c;
    return;
  }
  shown += L"\\x";
  shown += kHex[(code >> 4U) & 0xfU];
  shown += kHex[code & 0xfU];
}

bool IsHighSurrogate(wchar_t c) {
  const auto code = static_cast<unsigned>(c);
  return code >= 0xd800 && code <= 0xdbff;
}

}  // namespace

std::wstring ShownOutput(std::wstring_view output) {
  const std::wstring_view trimmed = Trim(output, kSpace);
  std::wstring shown;
  for (const wchar_t c : trimmed) {
    if (shown.size() >= kMaxShownOutput) {
      // Never half a character at the cut.
      if (IsHighSurrogate(shown.back())) shown.pop_back();
      shown += L"...";
      break;
    }
    AppendEscaped(shown, c);
  }
  return shown;
}

std::optional<std::wstring> SubstOutcomeMessage(SubstAction action, std::wstring_view drive,
                                                std::wstring_view folder,
                                                const platform::CommandEnd& end) {
  if (end.exitCode == 0) return std::nullopt;
  // The command line loses the blanks around both texts; so does the message.
  std::wstring message = L"Laufwerk ";
  message += Trim(drive, L" ");
  if (action == SubstAction::kMap) {
    message += L" konnte nicht mit \"";
    message += Trim(folder, L" ");
    message += L"\" verbunden werden.";
  } else {
    message += L" konnte nicht getrennt werden.";
  }
  message += L"\n\n";
  const std::wstring said = ShownOutput(end.output);
  if (said.empty()) {
    message += L"subst endete mit Code " + std::to_wstring(end.exitCode) + L".";
  } else {
    message += L"subst meldet: " + said;
  }
  return message;
}

}  // namespace tessaro::ui

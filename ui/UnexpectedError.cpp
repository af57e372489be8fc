#include "ui/UnexpectedError.h"

#include "text/TextCodec.h"

namespace tessaro::ui {

std::wstring UnexpectedErrorMessage(const char* what) {
  std::wstring message = L"Ein unerwarteter Fehler ist aufgetreten";
  if (what == nullptr || what[0] == '\0') return message + L".";
  return message + L": " + text::DecodeUtf8Lossy(what);
}

}  // namespace tessaro::ui

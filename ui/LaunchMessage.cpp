#include "ui/LaunchMessage.h"

namespace tessaro::ui {

std::wstring LaunchFailureMessage(const platform::LaunchResult& result) {
  std::wstring message = L"Der Befehl \"subst\" konnte nicht gestartet werden.";
  if (result.status == platform::LaunchStatus::kNotFound) {
    message += L"\n\nDas Programm wurde weder im Ordner von Tessaro noch im Suchpfad gefunden.";
  }
  if (!result.detail.empty()) {
    message += L"\n\n";
    message += result.detail;
  }
  return message;
}

}  // namespace tessaro::ui

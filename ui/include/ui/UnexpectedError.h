#pragma once

#include <exception>
#include <string>

// An exception that reaches a window's event handling stops there: the user
// is told, and the program carries on with the next event.
namespace tessaro::ui {

// "Ein unerwarteter Fehler ist aufgetreten: <what>"; without a text (an
// exception of no known kind) the sentence ends after "aufgetreten".
std::wstring UnexpectedErrorMessage(const char* what);

// Runs work; an exception from it goes to report as the message above
// instead of further up. True when work finished. An exception from report
// itself is dropped: there is nobody left to tell.
template <typename Work, typename Report>
bool CatchUnexpected(Work&& work, Report&& report) noexcept {
  std::wstring message;
  try {
    work();
    return true;
  } catch (const std::exception& error) {
    try {
      message = UnexpectedErrorMessage(error.what());
    } catch (...) {
    }
  } catch (...) {
    try {
      message = UnexpectedErrorMessage(nullptr);
    } catch (...) {
    }
  }
  try {
    report(message);
  } catch (...) {
  }
  return false;
}

}  // namespace tessaro::ui

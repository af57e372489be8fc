// Poses tessaro.exe for the README's pictures and captures the screen areas
// as BMP files: the main window, its popup menu, the folder dialog and the
// About box. scripts/screenshots-win32.sh runs it and converts to PNG.
#include <windows.h>

#include <cstdio>
#include <string>

#include "support/win32/TessaroHarness.h"
#include "ui/Commands.h"
#include "ui/win32/ControlIds.h"

namespace {

using tessaro::e2e::TessaroProcess;
using tessaro::ui::CommandId;
namespace ids = tessaro::ui::win32;

bool SaveBmp(const RECT& area, const std::wstring& path) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
  SelectObject(memory, old);

  BITMAPINFOHEADER info{};
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const DWORD stride = static_cast<DWORD>((width * 3 + 3) & ~3);
  std::string pixels(stride * static_cast<DWORD>(height), '\0');
  GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
            reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);

  BITMAPFILEHEADER header{};
  header.bfType = 0x4D42;
  header.bfOffBits = sizeof(header) + sizeof(info);
  header.bfSize = header.bfOffBits + static_cast<DWORD>(pixels.size());
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  WriteFile(file, &header, sizeof(header), &written, nullptr);
  WriteFile(file, &info, sizeof(info), &written, nullptr);
  WriteFile(file, pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
  CloseHandle(file);
  return true;
}

RECT Bounds(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

RECT Union(RECT a, const RECT& b) {
  UnionRect(&a, &a, &b);
  return a;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: tessaro_screenshots OUTPUT_FOLDER\n");
    return 2;
  }
  const std::wstring out = argv[1];

  TessaroProcess program(L"screenshots");
  // A folder a user might map, rather than the test's scratch folder.
  const std::wstring projects = L"C:\\Daten\\Projekte";
  CreateDirectoryW(L"C:\\Daten", nullptr);
  CreateDirectoryW(projects.c_str(), nullptr);
  for (const wchar_t* name : {L"\\Archiv", L"\\Berichte", L"\\Fotos 2024"}) {
    CreateDirectoryW((projects + name).c_str(), nullptr);
  }
  for (const wchar_t* name : {L"\\Liste.txt", L"\\Notizen.txt", L"\\Plan.xlsx"}) {
    CloseHandle(CreateFileW((projects + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  const std::string previous = tessaro::e2e::ReadSettings();
  tessaro::e2e::WriteSettings(
      "[Startup]\r\ntarget drive=P:\r\ntarget path=" + tessaro::e2e::Utf8(projects) +
      "\r\nreset restart=0\r\n[Data]\r\nnext path=1\r\nlast path 1=" +
      tessaro::e2e::Utf8(projects) + "\r\n");
  if (!program.Start()) return 1;
  HWND main = program.Main();
  SetWindowPos(main, HWND_TOP, 24, 24, 0, 0, SWP_NOSIZE);
  Sleep(500);
  int failures = 0;
  failures += SaveBmp(Bounds(main), out + L"\\win32-main.bmp") ? 0 : 1;

  // The popup menu, opened where the pointer is, with its submenu.
  POINT at{200, 140};
  ClientToScreen(main, &at);
  SetCursorPos(at.x, at.y);
  PostMessageW(main, WM_RBUTTONUP, 0, MAKELPARAM(200, 140));
  if (HWND menu = program.WaitForWindow(L"#32768")) {
    Sleep(400);
    failures += SaveBmp(Union(Bounds(main), Bounds(menu)), out + L"\\win32-menu.bmp") ? 0 : 1;
    PostMessageW(main, WM_CANCELMODE, 0, 0);
    program.WaitUntilGone(menu);
  } else {
    ++failures;
  }

  program.PostClick(program.Control(static_cast<int>(CommandId::cmdOpenPath)));
  if (HWND dialog = program.WaitForWindow(ids::kOpenPathClass)) {
    Sleep(400);
    failures += SaveBmp(Bounds(dialog), out + L"\\win32-dialog.bmp") ? 0 : 1;
    program.PostClick(GetDlgItem(dialog, ids::kIdCancelButton));
    program.WaitUntilGone(dialog);
  } else {
    ++failures;
  }

  program.PostCommand(static_cast<int>(CommandId::mnuAbout));
  if (HWND box = program.WaitForWindow(L"#32770")) {
    Sleep(400);
    failures += SaveBmp(Bounds(box), out + L"\\win32-about.bmp") ? 0 : 1;
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    program.WaitUntilGone(box);
  } else {
    ++failures;
  }

  program.PostCommand(static_cast<int>(CommandId::mnuEnd));
  program.WaitForExit(10000);
  if (previous == "<none>") {
    tessaro::e2e::DeleteSettings();
  } else {
    tessaro::e2e::WriteSettings(previous);
  }
  return failures == 0 ? 0 : 1;
}

// qmosk-marker: a program for the keyboard to start in tests. Each start
// appends one line to qmosk-marker.txt in its working directory (or to the
// file named by QMOSK_MARKER_FILE): its arguments, each in square brackets,
// so that a test sees exactly how the command was split.
//
//   qmosk-marker.exe one "two words"   ->   [one][two words]

#include <windows.h>

#include <shellapi.h>

#include <string>

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int /*show*/) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr) return 2;
  std::wstring line;
  for (int i = 1; i < argc; ++i) line += L"[" + std::wstring(argv[i]) + L"]";
  line += L"\r\n";
  LocalFree(argv);

  std::wstring path = L"qmosk-marker.txt";
  wchar_t named[MAX_PATH];
  const DWORD n = GetEnvironmentVariableW(L"QMOSK_MARKER_FILE", named, MAX_PATH);
  if (n > 0 && n < MAX_PATH) path.assign(named, n);
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0,
                                        nullptr, nullptr);
  std::string utf8(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), utf8.data(), bytes, nullptr,
                      nullptr);
  HANDLE f = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return 3;
  DWORD written = 0;
  WriteFile(f, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
  CloseHandle(f);
  return 0;
}

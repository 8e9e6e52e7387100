#include "platform/win32/shell_launcher.h"

#include <windows.h>
// windows.h first: the shell header depends on its types.
#include <shellapi.h>

#include "platform/win32/text.h"

namespace osk::win32 {

bool ShellLauncher::start(const std::string& file, const std::string& parameters, bool elevated) {
  if (file.empty()) return false;
  const std::wstring wfile = widen(file);
  const std::wstring wparams = widen(parameters);
  const wchar_t* params = wparams.empty() ? nullptr : wparams.c_str();
  auto run = [&](const wchar_t* verb) {
    return reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(nullptr, verb, wfile.c_str(), params, nullptr, SW_SHOWNORMAL));
  };
  INT_PTR rc = run(elevated ? L"runas" : nullptr);
  // A shell without the elevation verb (older systems, Wine) runs the program
  // as it is rather than not at all; a refused elevation prompt is final.
  if (elevated && (rc == SE_ERR_NOASSOC || rc == SE_ERR_ASSOCINCOMPLETE)) rc = run(nullptr);
  return rc > 32;
}

}  // namespace osk::win32

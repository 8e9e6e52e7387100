// qmosk-paint-poke: makes one key of the running keyboard repaint, again and
// again, the way the keyboard itself asks for it (InvalidateRect of the key,
// no erase), and nothing else. bench/paint-trips.sh runs it while the Wine
// server traces its requests, then counts what the keyboard's thread asks
// of the server for each repaint.
//
// Usage: qmosk-paint-poke <control-id> <repaints> [pause-ms]
// Prints "thread XXXX" (the keyboard thread's id, as the server's trace
// writes it), "key XXXXXXXX" (the key's window handle, likewise) and
// "repaints N" (how many were seen done) to stdout. Standalone, so that it
// can be built for and run against any build of the keyboard.

#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

struct FindById {
  int id;
  HWND found;
};

BOOL CALLBACK findChildById(HWND h, LPARAM lp) {
  auto* f = reinterpret_cast<FindById*>(lp);
  if (GetDlgCtrlID(h) != f->id) return TRUE;
  f->found = h;
  return FALSE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fputs("usage: qmosk-paint-poke <control-id> <repaints> [pause-ms]\n", stderr);
    return 2;
  }
  const int id = _wtoi(argv[1]);
  const int n = _wtoi(argv[2]);
  const DWORD pauseMs = argc > 3 ? static_cast<DWORD>(_wtoi(argv[3])) : 30;
  HWND top = FindWindowW(L"QM_OSK_MAIN", nullptr);
  if (top == nullptr) {
    std::fputs("no keyboard window\n", stderr);
    return 1;
  }
  FindById f{id, GetDlgItem(top, id)};
  if (f.found == nullptr) EnumChildWindows(top, findChildById, reinterpret_cast<LPARAM>(&f));
  HWND key = f.found;
  if (key == nullptr || !IsWindowVisible(key)) {
    std::fputs("no such key, or hidden\n", stderr);
    return 1;
  }
  std::printf("thread %04lx\n", GetWindowThreadProcessId(key, nullptr));
  std::printf("key %08lx\n", static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(key)));
  int done = 0;
  for (int i = 0; i < n; ++i) {
    if (!InvalidateRect(key, nullptr, FALSE)) break;
    // The update region empties once the keyboard's thread has begun the
    // paint (BeginPaint validates it); the pause lets the paint finish
    // before the next one is asked for, so that no two merge.
    const DWORD start = GetTickCount();
    bool painted = false;
    while (GetTickCount() - start < 5000) {
      if (!GetUpdateRect(key, nullptr, FALSE)) {
        painted = true;
        break;
      }
      Sleep(1);
    }
    if (painted) ++done;
    Sleep(pauseMs);
  }
  std::printf("repaints %d\n", done);
  std::fflush(stdout);
  return done == n ? 0 : 1;
}

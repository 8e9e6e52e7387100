// qmosk-deny-object: holds a mutex of the given name that no other program
// may open, as a keyboard run as administrator holds its own against the
// user's starts; tests use it to see what such a start does.
//
//   qmosk-deny-object.exe Local\QM-OSK.one-keyboard.qm-osk
//
// Prints "ready" once the mutex is held, then runs until it is ended.
#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fputs("usage: qmosk-deny-object <mutex name>\n", stderr);
    return 2;
  }
  // An empty DACL grants nothing to anyone: every open is refused.
  SECURITY_DESCRIPTOR sd{};
  ACL acl{};
  if (InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION) == FALSE ||
      InitializeAcl(&acl, sizeof acl, ACL_REVISION) == FALSE ||
      SetSecurityDescriptorDacl(&sd, TRUE, &acl, FALSE) == FALSE) {
    std::fprintf(stderr, "making the security descriptor failed: %lu\n", GetLastError());
    return 1;
  }
  SECURITY_ATTRIBUTES sa{sizeof sa, &sd, FALSE};
  HANDLE mutex = CreateMutexW(&sa, FALSE, argv[1]);
  if (mutex == nullptr || GetLastError() == ERROR_ALREADY_EXISTS) {
    std::fprintf(stderr, "CreateMutex failed or found one: %lu\n", GetLastError());
    return 1;
  }
  std::puts("ready");
  std::fflush(stdout);
  Sleep(INFINITE);
  CloseHandle(mutex);
  return 0;
}

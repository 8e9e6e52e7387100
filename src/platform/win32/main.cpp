// QM-OSK: start-up of the keyboard window and the message loop.
#include <windows.h>
// windows.h first: these headers depend on its types.
#include <commctrl.h>
#include <objbase.h>

#include <exception>

#include "app/keyboard.h"
#include "platform/win32/dpi.h"
#include "platform/win32/form_window.h"
#include "platform/win32/registry_store.h"
#include "platform/win32/sendinput_injector.h"
#include "platform/win32/shell_launcher.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_form_host.h"

namespace {

class KeyboardEvents final : public osk::win32::FormEvents {
 public:
  explicit KeyboardEvents(osk::Keyboard& keyboard) : keyboard_(keyboard) {}
  void handle(std::string_view control, osk::Event event) override { keyboard_.handle(control, event); }
  void tick(std::string_view timer) override { keyboard_.tick(timer); }

 private:
  osk::Keyboard& keyboard_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
  using namespace osk::win32;
  enableDpiAwareness();
  INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&icc);
  // ShellExecute may hand work to shell extensions that need COM.
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);

  int rc = 0;
  try {
    RegistryStore store(RegistryStore::applicationNameOfThisProgram());
    Win32Desktop desktop;
    osk::SendInputInjector injector;
    Win32LockKeys locks;
    ShellLauncher launcher;
    Win32FormHost host;
    osk::Keyboard keyboard(osk::Platform{store, desktop, injector, locks, launcher, host});
    host.setDialogRoute([&keyboard](osk::Form& dialog, std::string_view control, osk::Event event) {
      return keyboard.handle(dialog, control, event);
    });
    KeyboardEvents events(keyboard);
    FormWindow window(keyboard.main(), events, FormWindow::Options{nullptr, true, true, true});
    if (!window.alive()) return 1;
    host.adopt(window);
    window.open(showCommand == SW_HIDE ? SW_SHOWNORMAL : showCommand);
    rc = host.run();
    host.forget(keyboard.main());
  } catch (const std::exception& e) {
    // The keyboard refuses to start with a route to a control its window
    // lacks; the unit tests build the same keyboard, so only an untested
    // build gets here. Events themselves never throw this far.
    ::OutputDebugStringA(e.what());
    rc = 1;
  }
  if (SUCCEEDED(com)) ::CoUninitialize();
  return rc;
}

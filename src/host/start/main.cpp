// QM-OSK: start-up of the keyboard window and the message loop.
#include <windows.h>
// windows.h first: these headers depend on its types.
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <exception>
#include <optional>
#include <string>

#include "app/keep_focus.h"
#include "app/keyboard.h"
#include "host/common/failure.h"
#include "host/common/text.h"
#include "host/input/sendinput_injector.h"
#include "host/input/win32_languages.h"
#include "host/start/hands_free_input.h"
#include "host/start/key_click.h"
#include "host/start/one_keyboard.h"
#include "host/start/start_as_user.h"
#include "host/system/learned_words_store.h"
#include "host/system/registry_store.h"
#include "host/system/resource_texts.h"
#include "host/system/shell_launcher.h"
#include "host/system/sign_in_entry.h"
#include "host/system/win32_desktop.h"
#include "host/window/dpi.h"
#include "host/window/form_window.h"
#include "host/window/win32_form_host.h"
#include "host/window/window_look.h"
#include "keys/character_keys.h"
#include "settings/settings_keys.h"

namespace {

class KeyboardEvents final : public osk::win32::FormEvents {
 public:
  explicit KeyboardEvents(osk::Keyboard& keyboard) : keyboard_(keyboard) {}
  void handle(const osk::Form& form, osk::ControlIndex control, osk::Event event) override {
    keyboard_.handle(form, control, event);
  }
  void tick(const osk::Form& form, osk::TimerIndex timer) override { keyboard_.tick(form, timer); }

 private:
  osk::Keyboard& keyboard_;
};

// A keyboard that cannot work must not just fail to appear: whoever started
// it would be left waiting for a window that never comes.
void tellCannotWork(const osk::Texts& texts, bool started, const std::string& why) {
  const std::string headline =
      texts.text(started ? osk::TextId::HadToStopHeadline : osk::TextId::CouldNotStartHeadline);
  const std::wstring text = osk::win32::widen(headline + "\n\n" + why);
  osk::logFailure(headline + " " + why);
  ::MessageBoxW(nullptr, text.c_str(), L"QM-OSK", MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

}  // namespace

// Named as the system header declares it.
int WINAPI wWinMain([[maybe_unused]] HINSTANCE hInstance, [[maybe_unused]] HINSTANCE hPrevInstance,
                    PWSTR lpCmdLine, int nShowCmd) {
  using namespace osk::win32;
  osk::setLogSink(&writeToDebugChannel);
  // The installer's start: it starts a keyboard and ends, with no window.
  if (const std::optional<int> started = startAsUserIfAsked(lpCmdLine)) return *started;
  enableDpiAwareness();
  // "--keep-focus" and "--no-keep-focus" switch the mode and remember it, as
  // the settings dialog does, in this start or handed to the running one.
  const std::wstring programName = RegistryStore::applicationNameOfThisProgram();
  // The words of a start that does not get as far as the keyboard (told
  // another one runs out of reach, or that it cannot start) are already in
  // the language the user chose. The same store is the keyboard's, later.
  RegistryStore store(programName);
  ResourceTexts texts;
  texts.choose(store.read(osk::kSettingsSection, osk::settings::kUiLanguage, ""));
  OneKeyboard one(programName);
  if (!one.claim(lpCmdLine, texts)) return 0;
  INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  // Refused, the balloon class may be missing: a note then falls back to a
  // warning sound, and everything else uses classes of the system's own.
  if (!::InitCommonControlsEx(&icc)) logFailure("registering the common controls", ::GetLastError());
  // ShellExecute may hand work to shell extensions that need COM.
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);

  int rc = 0;
  bool started = false;
  try {
    Win32Desktop desktop;
    osk::SendInputInjector injector;
    Win32LockKeys locks;
    ShellLauncher launcher(lpCmdLine != nullptr ? lpCmdLine : L"");
    Win32FormHost host(texts);
    HandsFreeInput handsFree;
    LearnedWordsStore learnedWords(programName);
    SignInEntry signIn(programName);
    Win32InputLanguages languages;
    Win32KeySound sound;
    WindowLookHost look;
    osk::Keyboard keyboard(osk::Platform{store, desktop, injector, locks, launcher, host, osk::steadyClock(),
                                         handsFree, learnedWords, signIn, languages, sound, look, texts,
                                         look});
    KeyboardEvents events(keyboard);
    host.setEvents(events);
    // Read once, at start, as the system's own colours are.
    const osk::HighContrastChoice colours =
        osk::highContrastChoice(store.read(osk::kSettingsSection, osk::kHighContrastKey, ""));
    host.setColourChoice(colours);
    FormWindow window(keyboard.main(), events, texts,
                      FormWindow::Options{nullptr, true, true, true, colours});
    if (window.alive()) {
      host.adopt(window);
      handsFree.attach(window, keyboard.handsFree());
      look.attach(window, *keyboard.context().docking, keyboard.context().platform.texts);
      if (const std::optional<bool> keep = keepFocusSwitch(lpCmdLine))
        osk::setKeepTargetFocus(keyboard.context(), *keep);
      if (const std::optional<bool> follow = followLanguageSwitch(lpCmdLine))
        osk::setFollowInputLanguage(keyboard.context(), *follow);
      one.listen(window, [&keyboard](const std::wstring& line) {
        if (const std::optional<bool> follow = followLanguageSwitch(line.c_str()))
          osk::setFollowInputLanguage(keyboard.context(), *follow);
        osk::secondStart(keyboard.context(), keepFocusSwitch(line.c_str()));
      });
      started = window.open(nShowCmd == SW_HIDE ? SW_SHOWNORMAL : nShowCmd);
      if (started) rc = host.run();
      host.forget(keyboard.main());
    }
    if (!started) {
      tellCannotWork(texts, false, window.failure());
      rc = 1;
    }
  } catch (const std::exception& e) {
    // The keyboard refuses to start with a route to a control its window
    // lacks; the unit tests build the same keyboard, so only an untested
    // build gets here. Events themselves never throw this far.
    tellCannotWork(texts, started, e.what());
    rc = 1;
  }
  if (SUCCEEDED(com)) ::CoUninitialize();
  return rc;
}

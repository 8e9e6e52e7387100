#include "host/start/key_click.h"

#include <windows.h>

#include <mmsystem.h>

#include "host/common/failure.h"
#include "host/common/resource.h"

namespace osk::win32 {

void Win32KeySound::click() {
  // Asynchronous, so a key never waits for its sound; no default sound, so
  // a missing resource or device stays silent instead of playing the
  // system's "ding" at every key.
  if (::PlaySoundW(MAKEINTRESOURCEW(IDR_CLICK_WAV), ::GetModuleHandleW(nullptr),
                   SND_RESOURCE | SND_ASYNC | SND_NODEFAULT))
    return;
  if (told_) return;
  told_ = true;
  logFailure("playing the key click", ::GetLastError());
}

}  // namespace osk::win32

// What word prediction learned, kept per user in
// %APPDATA%\QM-OSK\<application name>\learned-words.txt: the application
// data folder roams with the user's profile, as the settings do.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "host/common/handles.h"
#include "platform/learned_words_file.h"

namespace osk::win32 {

class LearnedWordsStore final : public LearnedWordsFile {
 public:
  // `applicationName` tells copies of the program apart, as for the settings.
  explicit LearnedWordsStore(std::wstring applicationName);

  // "learned-words.lock" beside the file, opened for this process alone;
  // waited for up to two seconds while another keyboard holds it.
  [[nodiscard]] bool lock() override;
  void unlock() override;
  // Any failure but a missing file (or folder on the way to it) is
  // Unreadable, with the system's words, and logged with the step that
  // failed.
  LearnedWordsText read() override;
  // The text goes to "learned-words.new" and is flushed to the disk, then
  // moved over the old file in one step, so the file is always one whole
  // save. Refusals are logged with the system's reason.
  [[nodiscard]] bool replace(std::string_view text) override;
  // Renamed to "learned-words.damaged", replacing an earlier one.
  void setAside() override;

 private:
  // The folder, made if missing at the first use and kept for the next
  // (a save comes every few seconds of typing); empty when the profile has
  // none, and then looked for again next time.
  const std::wstring& folder();

  std::wstring applicationName_;
  std::wstring folder_;
  UniqueKernelHandle lock_;  // held from lock() to unlock()
  // Why the folder was last not found or made.
  DWORD folderError_ = ERROR_SUCCESS;
};

}  // namespace osk::win32

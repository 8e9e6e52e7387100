// The learned-words file of word prediction:
// %APPDATA%\QM-OSK\<application name>\learned-words.txt, UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/learned_words_file.h"

namespace osk::win32 {

class Win32LearnedWordsFile final : public LearnedWordsFile {
 public:
  // `applicationName` as for the settings (RegistryStore::
  // applicationNameOfThisProgram()), so that copies keep their own words.
  explicit Win32LearnedWordsFile(std::wstring applicationName);

  std::optional<std::string> read() override;
  // Written whole to "learned-words.txt.new", flushed, and moved over the
  // old file with MoveFileExW(MOVEFILE_REPLACE_EXISTING |
  // MOVEFILE_WRITE_THROUGH): a crash leaves the old file or the new one.
  [[nodiscard]] bool replace(std::string_view text) override;
  // Renamed to "learned-words.damaged-<time>.txt" beside it.
  void setAside() override;

  // The file's full path; empty when the application-data folder is not
  // known.
  const std::wstring& path() const { return path_; }

 private:
  bool makeFolder() const;
  std::wstring folder_;
  std::wstring path_;
};

}  // namespace osk::win32

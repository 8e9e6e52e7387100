// The stored texts are read at every click so that an edit in the settings
// dialog takes effect without a restart. They are key strings as stored:
// no latch is applied to them and none is spent.
#include "delivery/send.h"
#include "keys/character_keys.h"

namespace osk {

void clickStoredTextKey(Context& ctx, const StoredTextKey& key) {
  // Never into the keyboard's own command line: the text may hold key names
  // that mean nothing there.
  if (target(ctx) != TargetClass::Real) return;
  const std::string text =
      ctx.platform.store.read(kSettingsSection, key.settingKey, ctx.platform.texts.text(key.fallback));
  sendStep(ctx, text, &ctx.main.control(key.button));
  // Whatever the text was, even one letter, the suggestions start afresh
  // after it: what it typed is not a word the user spelt out.
  if (ctx.prediction) ctx.prediction->lost();
}

}  // namespace osk

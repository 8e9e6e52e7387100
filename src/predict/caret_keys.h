// Which keys of the user's own, pressed in another program, may have moved
// the text or the caret there, so that the word being tracked is no longer
// the word before the caret.
#pragma once

namespace osk {

// One key event (a press or its auto-repeat), by its virtual-key `code`:
// false only for keys that move neither text nor caret whatever else is
// held: Shift, Ctrl, Alt and the Windows key pressed alone (either side),
// and the lock keys. With one of them held, the next key is an event of its
// own and decides for itself (Ctrl+Left moves the caret). Any other key
// may type, delete or move, so it ends the word: a word ended for nothing
// costs only the strip's suggestions, one kept by mistake would type into
// the wrong place.
bool keyMayMoveCaret(unsigned code);

}  // namespace osk

// Resource ids shared by the resource script and the code.
#pragma once

// The resource compiler reads this header too, and knows only macros.
#define IDI_QMOSK 1      // NOLINT(cppcoreguidelines-macro-usage)
#define IDR_CLICK_WAV 2  // NOLINT(cppcoreguidelines-macro-usage)

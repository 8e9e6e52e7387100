// The design-time layouts of the keyboard and its dialogs, with the
// names of their controls and timers.
#pragma once

#include "layout/aids_window.h"
#include "layout/fkeys_window.h"
#include "layout/main_window.h"
#include "layout/settings_window.h"

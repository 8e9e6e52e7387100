// The F-key settings dialog: the name of every control and timer it has, declared once
// here; its layout (fkeys_window.cpp) creates them.
#pragma once

#include <array>
#include <memory>

#include "layout/main_window.h"
#include "layout/model.h"

namespace osk {

inline constexpr const char* kFkeysFormName = "QM_OSK_FKEYS_SETTINGS";
// The F-key settings dialog's tag: its names are of this window alone.
struct FkeysWindow;
using FkeysControl = ControlOf<FkeysWindow>;
using FkeysTimer = TimerOf<FkeysWindow>;
using FkeysForm = FormOf<FkeysWindow>;
std::unique_ptr<FkeysForm> makeFkeysForm();

namespace ui::fkeys {

inline constexpr FkeysControl kOkButton{"OK_BUTTON"};
inline constexpr std::array<FkeysControl, kFkeyCount> kRowLabels{
    {FkeysControl{"LABEL_F1"}, FkeysControl{"LABEL_F2"}, FkeysControl{"LABEL_F3"}, FkeysControl{"LABEL_F4"},
     FkeysControl{"LABEL_F5"}, FkeysControl{"LABEL_F6"}, FkeysControl{"LABEL_F7"}, FkeysControl{"LABEL_F8"},
     FkeysControl{"LABEL_F9"}, FkeysControl{"LABEL_F10"}, FkeysControl{"LABEL_F11"},
     FkeysControl{"LABEL_F12"}, FkeysControl{"LABEL_F13"}, FkeysControl{"LABEL_F14"},
     FkeysControl{"LABEL_F15"}, FkeysControl{"LABEL_F16"}}};
inline constexpr std::array<FkeysControl, kFkeyCount> kCaptionFields{
    {FkeysControl{"BUTTON_TEXT_F1"}, FkeysControl{"BUTTON_TEXT_F2"}, FkeysControl{"BUTTON_TEXT_F3"},
     FkeysControl{"BUTTON_TEXT_F4"}, FkeysControl{"BUTTON_TEXT_F5"}, FkeysControl{"BUTTON_TEXT_F6"},
     FkeysControl{"BUTTON_TEXT_F7"}, FkeysControl{"BUTTON_TEXT_F8"}, FkeysControl{"BUTTON_TEXT_F9"},
     FkeysControl{"BUTTON_TEXT_F10"}, FkeysControl{"BUTTON_TEXT_F11"}, FkeysControl{"BUTTON_TEXT_F12"},
     FkeysControl{"BUTTON_TEXT_F13"}, FkeysControl{"BUTTON_TEXT_F14"}, FkeysControl{"BUTTON_TEXT_F15"},
     FkeysControl{"BUTTON_TEXT_F16"}}};
inline constexpr std::array<FkeysControl, kFkeyCount> kCommandFields{
    {FkeysControl{"COMMAND_F1"}, FkeysControl{"COMMAND_F2"}, FkeysControl{"COMMAND_F3"},
     FkeysControl{"COMMAND_F4"}, FkeysControl{"COMMAND_F5"}, FkeysControl{"COMMAND_F6"},
     FkeysControl{"COMMAND_F7"}, FkeysControl{"COMMAND_F8"}, FkeysControl{"COMMAND_F9"},
     FkeysControl{"COMMAND_F10"}, FkeysControl{"COMMAND_F11"}, FkeysControl{"COMMAND_F12"},
     FkeysControl{"COMMAND_F13"}, FkeysControl{"COMMAND_F14"}, FkeysControl{"COMMAND_F15"},
     FkeysControl{"COMMAND_F16"}}};

}  // namespace ui::fkeys

}  // namespace osk

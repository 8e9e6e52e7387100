// The F-key settings dialog: the name of every control and timer it has, declared once
// here; its layout (fkeys_window.cpp) creates them.
#pragma once

#include <array>
#include <memory>

#include "layout/model.h"

namespace osk {

inline constexpr const char* kFkeysFormName = "QM_OSK_FKEYS_SETTINGS";
std::unique_ptr<Form> makeFkeysForm();

namespace ui::fkeys {

inline constexpr ControlName kOkButton{"OK_BUTTON"};
inline constexpr std::array<ControlName, 16> kRowLabels{
    {ControlName{"LABEL_F1"}, ControlName{"LABEL_F2"}, ControlName{"LABEL_F3"}, ControlName{"LABEL_F4"},
     ControlName{"LABEL_F5"}, ControlName{"LABEL_F6"}, ControlName{"LABEL_F7"}, ControlName{"LABEL_F8"},
     ControlName{"LABEL_F9"}, ControlName{"LABEL_F10"}, ControlName{"LABEL_F11"}, ControlName{"LABEL_F12"},
     ControlName{"LABEL_F13"}, ControlName{"LABEL_F14"}, ControlName{"LABEL_F15"}, ControlName{"LABEL_F16"}}};
inline constexpr std::array<ControlName, 16> kCaptionFields{
    {ControlName{"BUTTON_TEXT_F1"}, ControlName{"BUTTON_TEXT_F2"}, ControlName{"BUTTON_TEXT_F3"},
     ControlName{"BUTTON_TEXT_F4"}, ControlName{"BUTTON_TEXT_F5"}, ControlName{"BUTTON_TEXT_F6"},
     ControlName{"BUTTON_TEXT_F7"}, ControlName{"BUTTON_TEXT_F8"}, ControlName{"BUTTON_TEXT_F9"},
     ControlName{"BUTTON_TEXT_F10"}, ControlName{"BUTTON_TEXT_F11"}, ControlName{"BUTTON_TEXT_F12"},
     ControlName{"BUTTON_TEXT_F13"}, ControlName{"BUTTON_TEXT_F14"}, ControlName{"BUTTON_TEXT_F15"},
     ControlName{"BUTTON_TEXT_F16"}}};
inline constexpr std::array<ControlName, 16> kCommandFields{
    {ControlName{"COMMAND_F1"}, ControlName{"COMMAND_F2"}, ControlName{"COMMAND_F3"},
     ControlName{"COMMAND_F4"}, ControlName{"COMMAND_F5"}, ControlName{"COMMAND_F6"},
     ControlName{"COMMAND_F7"}, ControlName{"COMMAND_F8"}, ControlName{"COMMAND_F9"},
     ControlName{"COMMAND_F10"}, ControlName{"COMMAND_F11"}, ControlName{"COMMAND_F12"},
     ControlName{"COMMAND_F13"}, ControlName{"COMMAND_F14"}, ControlName{"COMMAND_F15"},
     ControlName{"COMMAND_F16"}}};

}  // namespace ui::fkeys

}  // namespace osk

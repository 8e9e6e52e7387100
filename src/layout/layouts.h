// The design-time layouts of the keyboard and its two dialogs.
#pragma once

#include <memory>

#include "layout/model.h"

namespace osk {

inline constexpr const char* kMainFormName = "QM_OSK_MAIN";
inline constexpr const char* kSettingsFormName = "QM_OSK_SETTINGS";
inline constexpr const char* kFkeysFormName = "QM_OSK_FKEYS_SETTINGS";

std::unique_ptr<Form> makeMainForm();
std::unique_ptr<Form> makeSettingsForm();
std::unique_ptr<Form> makeFkeysForm();

}  // namespace osk

#include "layout/fkeys_window.h"

#include "layout/builder.h"

namespace osk {

using namespace ui::fkeys;
using namespace layout;

std::unique_ptr<FkeysForm> makeFkeysForm() {
  Builder b;
  constexpr int kRowPitch = 480;
  for (int n = 1; n <= ui::kFkeyCount; ++n) {
    const int shift = kRowPitch * (n - 1);
    // Two-digit numbers need the wider label.
    fieldLabel(b, kRowLabels.at(n - 1), {TextId::FkeyRowLabel, std::to_string(n)},
               {120, 240 + shift, n <= 9 ? 975 : 1095, 255});
    field(b, kCaptionFields.at(n - 1), TextId::ButtonTextField, {1320, 120 + shift, 2295, 375});
    field(b, kCommandFields.at(n - 1), TextId::CommandField, {3720, 120 + shift, 10935, 375});
  }
  b.dialogButton(kOkButton, TextId::OkButton, {5400, 7920, 1455, 495});
  auto form =
      std::make_unique<FkeysForm>(kFkeysFormName, "", 14820, 8595, std::move(b.defs), std::vector<Timer>{});
  form->setTitleWords(TextId::FkeysTitle);
  return form;
}

}  // namespace osk

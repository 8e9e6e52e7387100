#include "layout/aids_window.h"

#include "layout/builder.h"

namespace osk {

using namespace ui::aids;
using namespace layout;

std::unique_ptr<AidsForm> makeAidsForm() {
  Builder b;
  b.checkBox(kDwellClickTickbox, TextId::DwellClickTickBox, {240, 240, 6255, 375});
  fieldLabel(b, kDwellTimeLabel, TextId::DwellTimeLabel, {600, 780, 3135, 255});
  field(b, kDwellTimeTextbox, "1000", {3840, 720, 1215, 375});
  b.checkBox(kScanModeTickbox, TextId::ScanModeTickBox, {240, 1320, 6255, 375});
  fieldLabel(b, kScanStepLabel, TextId::ScanStepLabel, {600, 1860, 3135, 255});
  field(b, kScanStepTextbox, "1000", {3840, 1800, 1215, 375});
  fieldLabel(b, kSwitchKeyLabel, TextId::SwitchKeyLabel, {600, 2340, 3135, 255});
  field(b, kSwitchKeyTextbox, "32", {3840, 2280, 1215, 375});
  b.checkBox(kInjectedSwitchTickbox, TextId::InjectedSwitchTickBox, {600, 2760, 5895, 375});
  b.checkBox(kWordPredictionTickbox, TextId::WordPredictionTickBox, {240, 3300, 6255, 375});
  b.dialogButton(kForgetWordsButton, TextId::ForgetWordsButton, {600, 3780, 2655, 375});
  b.checkBox(kFollowInputLanguageTickbox, TextId::FollowInputLanguageTickBox, {240, 4380, 6255, 375});
  fieldLabel(b, kDwellTimeTunedLabel, "", {5160, 780, 1455, 255});
  fieldLabel(b, kScanStepTunedLabel, "", {5160, 1860, 1455, 255});
  b.checkBox(kTuneTimingTickbox, TextId::TuneTimingTickBox, {240, 4980, 6255, 375});
  fieldLabel(b, kTuneTimingNote, TextId::TuneTimingNote, {600, 5420, 5895, 765});
  b.dialogButton(kOkButton, TextId::OkButton, {2640, 6360, 1455, 495});
  auto form =
      std::make_unique<AidsForm>(kAidsFormName, "", 6735, 7080, std::move(b.defs), std::vector<Timer>{});
  form->setTitleWords(TextId::AidsTitle);
  return form;
}

}  // namespace osk

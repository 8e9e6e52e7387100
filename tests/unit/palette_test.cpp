// The colours of the keys under the system's schemes: a face and its ink from
// one scheme, captions readable under high contrast, and states told apart
// by more than their colour.
#include "face/palette.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace osk::testing {
namespace {

constexpr Color rgb(unsigned r, unsigned g, unsigned b) { return r | (g << 8) | (b << 16); }

struct NamedScheme {
  std::string name;
  SchemeColours colours;
};

// The high-contrast schemes Windows ships, as their theme files set
// Window, WindowText, Hilight, HilightText, ButtonFace, ButtonText and
// GrayText.
const std::vector<NamedScheme> kShippedSchemes{
    {"High Contrast Black",
     {rgb(0, 0, 0), rgb(255, 255, 255), rgb(26, 235, 255), rgb(0, 0, 0), rgb(0, 0, 0), rgb(255, 255, 255),
      rgb(63, 242, 0)}},
    {"High Contrast White",
     {rgb(255, 255, 255), rgb(0, 0, 0), rgb(55, 0, 110), rgb(255, 255, 255), rgb(255, 255, 255), rgb(0, 0, 0),
      rgb(96, 0, 0)}},
    {"High Contrast #1",
     {rgb(0, 0, 0), rgb(255, 255, 0), rgb(0, 0, 255), rgb(255, 255, 255), rgb(0, 0, 0), rgb(255, 255, 0),
      rgb(0, 255, 0)}},
    {"High Contrast #2",
     {rgb(0, 0, 0), rgb(0, 255, 0), rgb(0, 0, 255), rgb(255, 255, 255), rgb(0, 0, 0), rgb(0, 255, 0),
      rgb(255, 255, 255)}},
};

class FakeSystemColours final : public SystemColours {
 public:
  SchemeColours colours;
  bool on = false;
  SchemeColours scheme() const override { return colours; }
  bool highContrastOn() const override { return on; }
};

bool inScheme(const SchemeColours& s, Color c) {
  for (Color own :
       {s.window, s.windowText, s.highlight, s.highlightText, s.buttonFace, s.buttonText, s.grayText})
    if (own == c) return true;
  return false;
}

TEST(ContrastRatio, MatchesTheGuidelinesFigures) {
  struct Row {
    Color a, b;
    double want;
  };
  const std::vector<Row> rows{
      {colors::kBlack, colors::kWhite, 21.0},    {colors::kWhite, colors::kBlack, 21.0},
      {colors::kWhite, colors::kWhite, 1.0},     {rgb(0x76, 0x76, 0x76), colors::kWhite, 4.54},
      {rgb(255, 255, 0), colors::kBlack, 19.56}, {rgb(0, 0, 255), colors::kWhite, 8.59},
      {rgb(255, 0, 0), colors::kWhite, 4.00},
  };
  for (const Row& r : rows)
    EXPECT_NEAR(contrastRatio(r.a, r.b), r.want, 0.01) << std::hex << r.a << " " << r.b;
}

// Every state a key or light shows, as the face code stores it.
struct State {
  const char* name;
  Color back;
  bool enabled;
  KeyMark mark;  // under high contrast
};
const std::vector<State> kStates{
    {"window-coloured key", colors::kSysWindow, true, KeyMark::None},
    {"button-coloured key", colors::kSysButtonFace, true, KeyMark::None},
    {"white key", colors::kWhite, true, KeyMark::None},
    {"light off", colors::kRed, true, KeyMark::None},
    {"latched or flashed", colors::kGreen, true, KeyMark::Frame},
    {"lit by the scan", colors::kScanLight, true, KeyMark::Frame},
    {"Shift lock tint", colors::kYellowTint, true, KeyMark::Dots},
    {"number-row tint", colors::kPink, true, KeyMark::Dots},
    {"user F-key tint", colors::kBlueTint, true, KeyMark::Dots},
    {"disabled key", colors::kSysWindow, false, KeyMark::None},
    {"disabled latch", colors::kGreen, false, KeyMark::None},
};

TEST(Palette, HighContrastCaptionsReadableFromTheSchemeAndStatesMarkedByShape) {
  for (const NamedScheme& s : kShippedSchemes) {
    const Palette palette(s.colours, true);
    for (const State& st : kStates) {
      const KeyLook look = palette.look(st.back, colors::kBlack, st.enabled);
      SCOPED_TRACE(s.name + " / " + st.name);
      EXPECT_GE(contrastRatio(look.face, look.ink), 7.0);
      EXPECT_TRUE(inScheme(s.colours, look.face));
      EXPECT_TRUE(inScheme(s.colours, look.ink));
      EXPECT_EQ(look.mark, st.mark);
    }
  }
}

// High contrast chosen in the settings on an ordinary scheme, whose grey
// falls short of the contrast captions keep: a disabled key must still not
// look like one that works.
TEST(Palette, HighContrastOnAnOrdinarySchemeStillGreysADisabledKey) {
  const SchemeColours ordinary{};  // Windows' own light scheme
  const Palette palette(ordinary, true);
  const KeyLook working = palette.look(colors::kSysButtonFace, colors::kBlack, true);
  const KeyLook disabled = palette.look(colors::kSysButtonFace, colors::kBlack, false);
  EXPECT_EQ(disabled.face, working.face);
  EXPECT_NE(disabled.ink, working.ink);
  EXPECT_EQ(disabled.ink, ordinary.grayText);
}

TEST(Palette, OutsideHighContrastAFaceAndItsInkComeFromOneScheme) {
  // A dark scheme that the system does not call high contrast: the fault
  // was black captions from the layout on the system's black face.
  const SchemeColours dark = kShippedSchemes[0].colours;
  const SchemeColours light{};
  struct Row {
    const char* name;
    SchemeColours scheme;
    Color back;
    bool enabled;
    KeyLook want;
  };
  const std::vector<Row> rows{
      {"dark, window face", dark, colors::kSysWindow, true, {dark.window, dark.windowText, KeyMark::None}},
      {"dark, button face",
       dark,
       colors::kSysButtonFace,
       true,
       {dark.buttonFace, dark.buttonText, KeyMark::None}},
      {"dark, disabled", dark, colors::kSysWindow, false, {dark.window, dark.grayText, KeyMark::None}},
      {"dark, our green", dark, colors::kGreen, true, {colors::kGreen, colors::kBlack, KeyMark::None}},
      {"dark, our tint", dark, colors::kPink, true, {colors::kPink, colors::kBlack, KeyMark::None}},
      {"dark, our white disabled", dark, colors::kWhite, false, {colors::kWhite, 0x808080, KeyMark::None}},
      {"light, window face",
       light,
       colors::kSysWindow,
       true,
       {light.window, light.windowText, KeyMark::None}},
      {"light, our green", light, colors::kGreen, true, {colors::kGreen, colors::kBlack, KeyMark::None}},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(Palette(r.scheme, false).look(r.back, colors::kBlack, r.enabled), r.want) << r.name;
  }
}

TEST(Palette, AHomeMadeSchemeThatFallsShortGetsItsMostContrastingColour) {
  // Dark grey button text on black: 2:1. Its white window text reads.
  SchemeColours own = kShippedSchemes[0].colours;
  own.buttonText = rgb(70, 70, 70);
  const KeyLook look = Palette(own, true).look(colors::kSysButtonFace, colors::kBlack, true);
  EXPECT_EQ(look.face, own.buttonFace);
  EXPECT_EQ(look.ink, own.windowText);
}

TEST(Palette, TheStoredChoiceOverridesTheSystemsSwitch) {
  struct Row {
    const char* stored;
    bool systemOn;
    bool want;
  };
  const std::vector<Row> rows{
      {"", false, false}, {"", true, true},    {"1", false, true},  {"1", true, true},
      {"0", true, false}, {"0", false, false}, {"yes", true, true}, {"yes", false, false},
  };
  FakeSystemColours system;
  system.colours = kShippedSchemes[1].colours;
  for (const Row& r : rows) {
    system.on = r.systemOn;
    const Palette p = Palette::choose(system, highContrastChoice(r.stored));
    EXPECT_EQ(p.highContrast(), r.want) << "'" << r.stored << "' system " << r.systemOn;
    EXPECT_EQ(p.scheme(), system.colours);
  }
}

}  // namespace
}  // namespace osk::testing

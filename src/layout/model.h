// The keyboard's three windows as plain data: named controls and timers.
// Handlers read and write these properties; the Win32 host renders them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "texts/catalogue.h"

namespace osk {

// A background colour exactly as stored: 0x00BBGGRR, or 0x80000000 plus a
// system colour index. Comparisons are always on the stored value, so a
// system reference never equals the RGB value it happens to draw as.
using Color = std::uint32_t;

namespace colors {
inline constexpr Color kBlack = 0x000000;
inline constexpr Color kWhite = 0xFFFFFF;
inline constexpr Color kGreen = 0x00FF00;  // latched, pressed, light on
inline constexpr Color kRed = 0x0000FF;    // light off
inline constexpr Color kCyan = 0xFFFF00;
inline constexpr Color kYellowTint = 0x80FFFF;  // Shift lock
inline constexpr Color kPink = 0xFF80FF;        // number-row lock, highlight
inline constexpr Color kBlueTint = 0xFF8080;    // user F-key mode
// The typing aids' marks, painted over a key's face and in no other state:
// the scan's light and the fill of a running hover.
inline constexpr Color kScanLight = 0x0080FF;  // orange
inline constexpr Color kHoverFill = 0x00C0FF;  // amber
inline constexpr Color kSysWindow = 0x80000005;
inline constexpr Color kSysButtonFace = 0x8000000F;
constexpr bool isSystemReference(Color c) { return (c & 0x80000000U) != 0; }
constexpr unsigned systemIndex(Color c) { return c & 0xFFU; }
}  // namespace colors

// The name of a control or timer as its window's layout declares it. Made
// only at compile time, so every name is written once, beside the layout
// that creates the control, and code names the declaration: a misspelt name
// does not compile, and go-to-definition leads from a handler to its control.
template <class Tag>
class Name {
 public:
  consteval explicit Name(const char* text) : text_(text) {}
  constexpr std::string_view str() const { return text_; }
  friend constexpr bool operator==(Name, Name) = default;

 private:
  std::string_view text_;
};
using ControlName = Name<struct ControlTag>;
using TimerName = Name<struct TimerTag>;

// A control or timer of one window: each layout declares a tag for its
// window and its names with it, so that a name of one window where another
// window's is wanted does not compile. Either goes wherever any window's
// name will do (the host, notes, tables of names as data).
template <class Window>
class ControlOf : public ControlName {
 public:
  consteval explicit ControlOf(const char* text) : ControlName(text) {}
};
template <class Window>
class TimerOf : public TimerName {
 public:
  consteval explicit TimerOf(const char* text) : TimerName(text) {}
};

// The form itself, as the source of its own events (Load, Unload, DblClick).
inline constexpr ControlName kFormControl{"Form"};

// A control as the host reports its events: its place in its form's list
// of controls, or the form itself. Found once, where the name is resolved,
// never by a name at each event.
using ControlIndex = std::size_t;
inline constexpr ControlIndex kFormItself = static_cast<ControlIndex>(-1);
// A timer by its place in its form's list of timers.
using TimerIndex = std::size_t;

// A drop-down list: its items are fixed by its layout, its value is the
// place of the chosen one.
enum class ControlKind : std::uint8_t { Button, Label, TextBox, CheckBox, DropDown };

// Pictures drawn on icon buttons; the host draws each subject.
enum class Icon : std::uint8_t {
  None,
  Scissors,
  Copy,
  PasteBrush,
  Calculator,
  AtSign,
  Coin,
  BinUpArrow,      // auto delete
  BinLeftArrow,    // auto backspace
  RedCross,        // Esc
  House,           // Home
  PrinterWindow,   // capture of the active window
  PrinterMonitor,  // capture of the whole screen
  GreenTick,       // Enter
  Bin,             // Delete
  StopSign,        // End
  UpArrowPadlock,  // the two locks
  UpArrow,         // Shift
  BlueUp,
  BlueDown,
  BlueLeft,
  BlueRight,
  PageUp,
  PageDown,
  WindowFlag,
  PointerMenu,
  CommandPrompt,
  RunInternal,
  PadlockMonitor,
};

// Short accessible name for an icon, used as the native control's text.
std::optional<TextId> iconWords(Icon icon);

// What a form's texts are read from when its language changes.
using TextSource = std::function<std::string(TextId)>;

struct Font {
  double points = 8.25;
  bool bold = false;
};

// Positions and sizes in twips, relative to the client area.
struct TwipsRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

enum class Align : std::uint8_t { Left, Center };

enum class Property : std::uint8_t { Caption, Back, Enabled, Text, Value, Geometry };

class Form;

class Control {
 public:
  struct Def {
    std::string name;
    ControlKind kind = ControlKind::Button;
    std::string caption;
    Icon icon = Icon::None;
    TwipsRect rect;
    Font font;
    Color back = colors::kWhite;
    Color fore = colors::kBlack;
    Align align = Align::Center;
    bool standardStyle = false;  // native push button, no colour
    // A text box for stored text: it takes text of any length and opens
    // showing the start of it.
    bool wholeText = false;
    // Sits in the form's top band (see Form::setTopBand) and shows only
    // while the band is open; every other control moves down by the band.
    bool inTopBand = false;
    // Sits in the form's side band (see Form::setSideBand), right of the
    // client area the form is declared with, and shows only while the band
    // is open. Nothing else moves for it.
    bool inSideBand = false;
    // Where the caption comes from: the text of this id, with `wordsValue`
    // in place of its mark, in the language chosen. Without one the caption
    // is the same in every language (a letter, "F1").
    std::optional<TextId> words;
    std::string wordsValue;
    // A drop-down list's items, in order.
    std::vector<std::string> items;
  };

  explicit Control(Def def)
      : def_(std::move(def)),
        caption_(def_.caption),
        back_(def_.back),
        text_(def_.kind == ControlKind::TextBox ? def_.caption : std::string()) {
    if (const std::optional<TextId> icon = iconWords(def_.icon)) iconName_ = englishText(*icon);
  }

  const std::string& name() const { return def_.name; }
  ControlKind kind() const { return def_.kind; }
  Icon icon() const { return def_.icon; }
  // Where the control is now: its layout's place, below the form's top
  // band unless it is one of the band's own.
  TwipsRect rect() const;
  const Font& font() const { return def_.font; }
  Color fore() const { return def_.fore; }
  Align align() const { return def_.align; }
  bool standardStyle() const { return def_.standardStyle; }
  bool wholeText() const { return def_.wholeText; }
  bool inTopBand() const { return def_.inTopBand; }
  bool inSideBand() const { return def_.inSideBand; }
  // A control of a closed band is hidden: not drawn, not clickable.
  bool visible() const;

  const std::string& caption() const { return caption_; }
  // What a reader of the screen hears: the caption, or the icon's name.
  const std::string& accessibleName() const { return caption_.empty() ? iconName_ : caption_; }
  const std::vector<std::string>& items() const { return def_.items; }
  Color back() const { return back_; }
  bool enabled() const { return enabled_; }
  // Text of a text box (for other kinds the caption is the text).
  const std::string& text() const { return kind() == ControlKind::TextBox ? text_ : caption_; }
  int value() const { return value_; }  // check box: 0 or 1

  // Setters notify the owning form only when the value really changes, so
  // the host repaints nothing when nothing changed.
  void setCaption(std::string_view caption);
  void setBack(Color back);
  void setEnabled(bool enabled);
  void setText(std::string_view text);
  void setValue(int value);
  // Back to the design-time caption, colour, text, value and enabling.
  void restoreDesign();
  // The design texts in another language; a caption still at its design
  // text follows at once.
  void applyTexts(const TextSource& text);

 private:
  friend class Form;
  void notify(Property p);

  Def def_;
  std::string caption_;
  Color back_;
  bool enabled_ = true;
  std::string text_;
  int value_ = 0;
  Form* owner_ = nullptr;
  std::string iconName_;
};

struct Timer {
  std::string name;
  int intervalMs = 0;
  bool enabled = false;
};

// Outer window geometry in twips, single precision as the store keeps it.
struct Geometry {
  float left = 0;
  float top = 0;
  float width = 0;
  float height = 0;
  friend bool operator==(const Geometry&, const Geometry&) = default;
};

// What the typing aids paint over the keys' own faces. Kept apart from the
// controls' colours on purpose: a light moving on must give back exactly
// the face it covered, latched or not. Keys are indices into the form's
// controls.
struct AidMarks {
  std::optional<std::size_t> dwellKey;  // the key whose hover is running
  double dwellProgress = 0;             // 0 .. 1 of its face covered
  std::vector<std::size_t> scanLit;     // the keys the scan lights
  friend bool operator==(const AidMarks&, const AidMarks&) = default;
};

class FormObserver {
 public:
  virtual ~FormObserver() = default;
  virtual void controlChanged(const Control& control, Property property) = 0;
  virtual void timerChanged(const Timer& timer) = 0;
  virtual void geometryChanged(const Geometry& geometry) = 0;
  // A band opened or closed: controls have new places, and the band's
  // controls were shown or hidden. Only the host places controls.
  virtual void layoutChanged() {}
  // The form's title is in another language.
  virtual void titleChanged() {}
  // Only the keys in `before` and `after` need repainting. Most observers
  // paint no keys, hence the default.
  virtual void aidMarksChanged(const AidMarks& before, const AidMarks& after) {
    static_cast<void>(before);
    static_cast<void>(after);
  }
};

// What changed of the controls a click on a form can reach.
enum class Reach : std::uint8_t {
  Enabling,  // a control was enabled or disabled
  Band,      // a band opened or closed: its controls shown or hidden, others moved
};

class Form {
 public:
  Form(std::string name, std::string title, int clientWidth, int clientHeight,
       std::vector<Control::Def> controls, std::vector<Timer> timers);
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;
  Form(Form&&) = delete;
  Form& operator=(Form&&) = delete;
  // Windows are owned as forms, each made as its layout's FormOf.
  virtual ~Form() = default;

  const std::string& name() const { return name_; }
  const std::string& title() const { return title_; }
  // The title is these words, in the language chosen (applyTexts); a form
  // without them keeps its title in every language.
  void setTitleWords(TextId id);
  int clientWidth() const { return clientWidth_; }
  int clientHeight() const { return clientHeight_; }

  // Throws std::out_of_range for a control the layout of another window
  // declares.
  Control& control(ControlName name);
  const Control& control(ControlName name) const;
  // By the name as data (the host's events, outside tools, tables of
  // names); null when the form has no such control, or std::out_of_range.
  Control& named(std::string_view name);
  const Control& named(std::string_view name) const;
  Control* find(std::string_view name);
  const Control* find(std::string_view name) const;
  std::vector<Control>& controls() { return controls_; }
  const std::vector<Control>& controls() const { return controls_; }

  Timer& timer(TimerName name);
  const Timer& timer(TimerName name) const;
  Timer& namedTimer(std::string_view name);
  Timer* findTimer(std::string_view name);
  const Timer* findTimer(std::string_view name) const;
  std::vector<Timer>& timers() { return timers_; }
  const std::vector<Timer>& timers() const { return timers_; }
  void setTimer(TimerName name, bool enabled, int intervalMs);
  void enableTimer(TimerName name, bool enabled);
  // Switches the timer on with its interval counted from now, even when it
  // was running already (the host, and the test clock, start its period
  // afresh): a one-shot wait that each new event prolongs.
  void restartTimer(TimerName name);

  const Geometry& geometry() const { return geometry_; }
  // Set by handlers (notifies the host) ...
  void setGeometry(const Geometry& g);
  // ... and by the host when the user moves or sizes the window (no echo).
  void syncGeometry(const Geometry& g) { geometry_ = g; }
  // The outer size, in twips, at which the window shows every control
  // exactly where the layout puts it; the host scales the layout by how
  // the window's client area compares with this one's. Zero (the default):
  // the layout is never scaled.
  void setDesignSize(float width, float height) {
    designWidth_ = width;
    designHeight_ = height;
  }
  float designWidth() const { return designWidth_; }
  float designHeight() const { return designHeight_; }

  // A band of `twips` along the top of the client area: the controls
  // declared in it show, and every other control sits that much lower. Zero
  // closes it. The caller sizes the window and its design size to match.
  void setTopBand(int twips);
  int topBand() const { return topBand_; }
  // A band of `twips` along the right of the client area: the controls
  // declared in it show. Zero closes it. The caller sizes the window and its
  // design size to match.
  void setSideBand(int twips);
  int sideBand() const { return sideBand_; }

  // Every control back to its design-time state, as a window that is loaded
  // afresh starts; the geometry is left for Load to set.
  void restoreDesign();
  // Every control's words in the language `text` reads (Control::applyTexts).
  void applyTexts(const TextSource& text);

  const AidMarks& aidMarks() const { return aidMarks_; }
  // Notifies the observer only when the marks change.
  void setAidMarks(AidMarks marks);
  // The control's place in controls(), as AidMarks name it.
  std::size_t indexOf(const Control& control) const {
    return static_cast<std::size_t>(&control - controls_.data());
  }

  void setObserver(FormObserver* observer) { observer_ = observer; }
  FormObserver* observer() const { return observer_; }
  // Beside the host's observer, for the keyboard's own code that follows
  // what a click can reach: the scan must never light a key that is off,
  // and must reach every key that comes on.
  void setReachWatcher(std::function<void(Reach)> watcher) { reachWatcher_ = std::move(watcher); }

 private:
  friend class Control;
  void reachChanged(Reach what) const {
    if (reachWatcher_) reachWatcher_(what);
  }

  std::string name_;
  std::string title_;
  std::optional<TextId> titleWords_;
  int clientWidth_;
  int clientHeight_;
  std::vector<Control> controls_;
  std::unordered_map<std::string, std::size_t> index_;
  std::vector<Timer> timers_;
  Geometry geometry_;
  float designWidth_ = 0;
  float designHeight_ = 0;
  int topBand_ = 0;
  int sideBand_ = 0;
  AidMarks aidMarks_;
  FormObserver* observer_ = nullptr;
  std::function<void(Reach)> reachWatcher_;
};

// A form made by `Window`'s layout: its controls and timers are found by
// that window's names only.
template <class Window>
class FormOf final : public Form {
 public:
  using Form::Form;
  Control& control(ControlOf<Window> name) { return Form::control(name); }
  const Control& control(ControlOf<Window> name) const { return Form::control(name); }
  Timer& timer(TimerOf<Window> name) { return Form::timer(name); }
  const Timer& timer(TimerOf<Window> name) const { return Form::timer(name); }
  void setTimer(TimerOf<Window> name, bool enabled, int intervalMs) {
    Form::setTimer(name, enabled, intervalMs);
  }
  void enableTimer(TimerOf<Window> name, bool enabled) { Form::enableTimer(name, enabled); }
  void restartTimer(TimerOf<Window> name) { Form::restartTimer(name); }
};

}  // namespace osk

#include "settings/settings_keys.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace osk::settings {
namespace {

constexpr bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Parses straight into T: going through double first could round a stored
// single-precision value to its neighbour.
template <class T>
std::optional<T> parseWhole(std::string_view text) {
  std::string_view s = trim(text);
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  // from_chars also takes "inf", "nan" and a second sign; none of those is a
  // number a window could be placed at.
  if (s.empty() || !(std::isdigit(static_cast<unsigned char>(s.front())) || s.front() == '.'))
    return std::nullopt;
  T value{};
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, std::chars_format::general);
  if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(value)) return std::nullopt;
  return negative ? -value : value;
}

struct Span {
  double lo, hi;
};

// Distance between [a.lo, a.hi] and [b.lo, b.hi]; 0 when they touch or overlap.
double gap(Span a, Span b) { return std::max({0.0, b.lo - a.hi, a.lo - b.hi}); }

bool usable(const Geometry& area) { return area.width > 0 && area.height > 0; }

// Places [pos, pos + size) inside [lo, lo + room), shrinking it when it is larger.
void fit(float& pos, float& size, float lo, float room) {
  size = std::min(size, room);
  pos = std::clamp(pos, lo, lo + room - size);
}

}  // namespace

std::string fkeyCaptionKey(int n) { return "BUTTON_F_NUM_" + std::to_string(n) + "_CAPTION"; }
std::string fkeyCaptionDefault(int n) { return "FK" + std::to_string(n); }
std::string fkeyCommandKey(int n) { return "MY-FKEYS-COMMAND-F" + std::to_string(n); }

std::optional<double> parseNumber(std::string_view text) { return parseWhole<double>(text); }

float parseTwips(std::string_view text, float fallback) {
  auto v = parseWhole<float>(text);
  if (!v || std::fabs(*v) > kMaxTwips) return fallback;
  return *v;
}

std::string formatTwips(float value) {
  std::array<char, 64> buf{};
  // Fixed notation: positions never need an exponent, and plain digits read
  // back the same in any tool that opens the store.
  auto [end, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::fixed);
  if (ec != std::errc()) return "0";
  return {buf.data(), end};
}

int parseBounded(std::string_view text, int lowest, int highest, int fallback) {
  const std::optional<double> v = parseNumber(text);
  if (!v || std::isnan(*v)) return fallback;
  if (*v <= lowest) return lowest;
  if (*v >= highest) return highest;
  return static_cast<int>(std::lround(*v));
}

bool tickChosen(std::string_view text) {
  auto v = parseNumber(text);
  return v && *v == 1.0;
}

Geometry placeOnScreen(Geometry g, const std::vector<Geometry>& workAreas) {
  const Geometry* nearest = nullptr;
  double best = std::numeric_limits<double>::infinity();
  const Span gx{g.left, double(g.left) + g.width};
  const Span gy{g.top, double(g.top) + g.height};
  for (const Geometry& a : workAreas) {
    if (!usable(a)) continue;
    const Span ax{a.left, double(a.left) + a.width};
    const Span ay{a.top, double(a.top) + a.height};
    bool overlaps = gx.lo < ax.hi && ax.lo < gx.hi && gy.lo < ay.hi && ay.lo < gy.hi;
    if (overlaps) return g;
    const double dx = gap(gx, ax);
    const double dy = gap(gy, ay);
    double d = dx * dx + dy * dy;
    if (d < best) {
      best = d;
      nearest = &a;
    }
  }
  if (nearest == nullptr) return g;
  fit(g.left, g.width, nearest->left, nearest->width);
  fit(g.top, g.height, nearest->top, nearest->height);
  return g;
}

Geometry readGeometry(const SettingsStore& store, const GeometryKeys& keys,
                      const std::vector<Geometry>& workAreas) {
  const Geometry& d = keys.defaults;
  auto read = [&](std::string_view key, float fallback) {
    return parseTwips(store.read(kSettingsSection, key, formatTwips(fallback)), fallback);
  };
  Geometry g{read(keys.left, d.left), read(keys.top, d.top), read(keys.width, d.width),
             read(keys.height, d.height)};

  // A size many times the largest screen is damage, not a choice.
  float maxWidth = kMaxTwips;
  float maxHeight = kMaxTwips;
  float widest = 0;
  float tallest = 0;
  for (const Geometry& a : workAreas) {
    if (!usable(a)) continue;
    widest = std::max(widest, a.width);
    tallest = std::max(tallest, a.height);
  }
  if (widest > 0) maxWidth = std::min(maxWidth, 10 * widest);
  if (tallest > 0) maxHeight = std::min(maxHeight, 10 * tallest);
  if (!(g.width > 0 && g.width <= maxWidth)) g.width = d.width;
  if (!(g.height > 0 && g.height <= maxHeight)) g.height = d.height;
  return g;
}

void Saver::put(std::string_view key, std::string_view value) {
  if (!store_.write(kSettingsSection, key, value)) refused_.emplace_back(key);
}

void saveGeometry(Saver& saver, const GeometryKeys& keys, const Geometry& g) {
  saver.put(keys.left, formatTwips(g.left));
  saver.put(keys.top, formatTwips(g.top));
  saver.put(keys.width, formatTwips(g.width));
  saver.put(keys.height, formatTwips(g.height));
}

std::string unsavedNote(const Texts& texts, const std::vector<std::string>& refused) {
  if (refused.empty()) return {};
  // A store that refuses everything refuses dozens of values at once; a
  // balloon can hold only a line or two.
  constexpr std::size_t kNamed = 3;
  std::string named;
  for (std::size_t i = 0; i < refused.size() && i < kNamed; ++i) {
    if (i > 0) named.append(", ");
    named.append(refused[i]);
  }
  if (refused.size() > kNamed)
    named = texts.text(TextId::UnsavedMore, {named, std::to_string(refused.size() - kNamed)});
  return texts.text(TextId::UnsavedNote, {named});
}

}  // namespace osk::settings

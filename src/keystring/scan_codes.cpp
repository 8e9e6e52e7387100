#include "keystring/scan_codes.h"

#include <array>

#include "keystring/keystring.h"

namespace osk {

std::uint16_t functionKeyScanCode(std::uint8_t vk) {
  // F1..F10 are contiguous; F11 and F12 were added later out of line, and
  // F13..F24 later still.
  static constexpr std::array<std::uint16_t, 24> kScan{
      0x3B, 0x3C, 0x3D, 0x3E, 0x3F, 0x40, 0x41, 0x42, 0x43, 0x44, 0x57, 0x58,
      0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6A, 0x6B, 0x6C, 0x6D, 0x6E, 0x76,
  };
  if (vk < vk::kF1 || vk >= vk::kF1 + kScan.size()) return 0;
  return kScan[static_cast<std::size_t>(vk - vk::kF1)];
}

}  // namespace osk

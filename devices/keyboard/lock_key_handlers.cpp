#include "devices/keyboard/lock_key_handlers.h"

namespace tamux {

std::optional<LockKey> toggleLockKeyOfLine(const DeviceSection& section, int item, KeyState& keys) {
    if (item < 0 || item >= static_cast<int>(section.lines.size())) return std::nullopt;
    const SectionLine& line = section.lines[static_cast<std::size_t>(item)];
    if (line.kind != LineKind::Indicator) return std::nullopt;
    keys.setOn(line.key, !keys.isOn(line.key));
    return line.key;
}

}  // namespace tamux

#pragma once

#include <cstdint>

// The one place that ties the eight channel tiles to boxes: index 0..7 (channel id = index + 1)
// is box index / 2 + 1 (1..4 are A..D), channel index % 2 + 1 of it.
namespace ChannelMap {

constexpr int kChannelCount = 8;
constexpr int kChannelsPerDevice = 2;

constexpr uint8_t deviceOf(int index) { return uint8_t(index / kChannelsPerDevice + 1); }
constexpr uint8_t channelOf(int index) { return uint8_t(index % kChannelsPerDevice + 1); }
constexpr int indexOf(int device, int channel) { return (device - 1) * kChannelsPerDevice + channel - 1; }
constexpr bool isIndex(int index) { return index >= 0 && index < kChannelCount; }

} // namespace ChannelMap

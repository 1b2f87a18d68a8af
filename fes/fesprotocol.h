#pragma once

#include <cstdint>

// Bytes of the link to the FES Bluetooth adapter: 0xAA, N, payload (command, device, ...),
// checksum (low 8 bits of the payload's sum), 0x55. 16-bit values go high byte first.
namespace FesProtocol {

constexpr uint8_t kStart = 0xAA;
constexpr uint8_t kEnd = 0x55;
constexpr int kBaudRate = 115200;
constexpr int kReadBufferSize = 200;
constexpr int kDeviceCount = 4;

// Commands, host to adapter.
constexpr uint8_t kCmdPulseWidth = 0x70;
constexpr uint8_t kCmdRealTimeParam = 0x71;
constexpr uint8_t kCmdSwitchOutput = 0x72;
constexpr uint8_t kCmdCurrent = 0x73;
constexpr uint8_t kCmdChannelAdjust = 0x76;
constexpr uint8_t kCmdBattery = 0x78;
constexpr uint8_t kCmdDisconnect = 0x7A;
constexpr uint8_t kCmdSearch = 0x7B;
constexpr uint8_t kCmdConnect = 0x7D;
constexpr uint8_t kCmdFrequency = 0x7F;
constexpr uint8_t kCmdMotionData = 0x80;
constexpr uint8_t kCmdCycleParam = 0x81;

// Replies, adapter to host (byte 2 of a frame; byte 3 is the device).
constexpr uint8_t kReplyBattery = 0x78;
constexpr uint8_t kReplyPoweredOff = 0x7A;
constexpr uint8_t kReplySearch = 0x7B;
constexpr uint8_t kReplyFound = 0x7C;
constexpr uint8_t kReplyConnected = 0x7D;
constexpr uint8_t kReplyDisconnected = 0x7E;

// Largest payloads: of the adapter's replies (0x7C found, 0x7D connected: code, device, 0, six
// MAC bytes) and of the host's commands (0x81 cycling parameters). A start byte followed by a
// larger length is noise, not a frame.
constexpr int kAdapterMaxPayload = 9;
constexpr int kHostMaxPayload = 22;

// Safe ranges of the stimulation values; nothing outside them ever goes on the line.
constexpr int kCurrentMin = 0;
constexpr int kCurrentMax = 100;   // mA
constexpr int kFrequencyMin = 10;
constexpr int kFrequencyMax = 100; // Hz
constexpr int kPulseWidthMin = 50;
constexpr int kPulseWidthMax = 500; // µs

} // namespace FesProtocol

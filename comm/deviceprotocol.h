#pragma once

#include <algorithm>
#include <cstdint>

// Bytes of the link to the trainer's motor controller (the lower machine).
namespace DeviceProtocol {

// Host to machine: 0xAB, n, payload (n bytes), 0x00, 0xCD.
constexpr uint8_t kHostStart = 0xAB;
constexpr uint8_t kHostPad = 0x00;
constexpr uint8_t kHostEnd = 0xCD;

// Machine to host over a byte stream (serial, TCP): 0xBA, L, L + 1 bytes, 0xDC.
constexpr uint8_t kStreamStart = 0xBA;
constexpr uint8_t kStreamEnd = 0xDC;

// Machine to host over UDP: 0xAB, L, ..., with bytes L + 6 and L + 7 zero; L + 8 bytes handed on.
constexpr uint8_t kDatagramStart = 0xAB;

// Command bytes, host to machine.
constexpr uint8_t kCmdBicycleParam = 0x01;
constexpr uint8_t kCmdRealTimeParam = 0x02;
constexpr uint8_t kCmdHeartBeat = 0x05;
constexpr uint8_t kCmdVersionQuery = 0x08;

// Command bytes, machine to host (byte 2 of an incoming frame).
constexpr uint8_t kReplyLiveData0 = 0x00;
constexpr uint8_t kReplyLiveData1 = 0x01;
constexpr uint8_t kReplyHeartBeat = 0x02;
constexpr uint8_t kReplyVersion = 0x08;

// Items of command 0x02.
constexpr uint8_t kItemResistance = 0x01;
constexpr uint8_t kItemSpeed = 0x02;
constexpr uint8_t kItemDirection = 0x04;
constexpr uint8_t kItemSpasmDirection = 0x10;
constexpr uint8_t kItemSpeedStep = 0x11;
constexpr uint8_t kItemBoarding = 0x12;

// Codes carried in the first byte of the training parameter record.
constexpr uint8_t kControlStop = 0;
constexpr uint8_t kControlStart = 1;
constexpr uint8_t kControlPause = 2;
constexpr uint8_t kControlResume = 3;

// The live-data record that follows the command byte, and its offsets.
constexpr int kLiveRecordSize = 31;
constexpr int kLiveFrameSize = 3 + kLiveRecordSize;
namespace Live {
constexpr int kStage = 0;
constexpr int kFesPacing = 1;
constexpr int kDownSpeed = 2;
constexpr int kUpSpeed = 3;
constexpr int kLeftHandAngle = 4; // 16 bit
constexpr int kLeftFootAngle = 6; // 16 bit
constexpr int kUpBalance = 12;
constexpr int kDownBalance = 13;
constexpr int kUpDistance = 14;   // 16 bit, count of 0.6 m
constexpr int kDownDistance = 16; // 16 bit
constexpr int kEmergency = 18;
constexpr int kSpasm = 19;
constexpr int kUpPower = 23;      // 16 bit
constexpr int kDownPower = 25;    // 16 bit
} // namespace Live

// Length bytes of the frames the machine sends: live data (command byte and record), heartbeat
// reply (4 bytes) and version reply (command byte and 4 text bytes). A start byte followed by a
// larger length is noise, not a frame.
constexpr int kLiveDataLength = 1 + kLiveRecordSize;
constexpr int kHeartBeatReplyLength = 4;
constexpr int kVersionReplyLength = 5;
constexpr int kMachineMaxLength = std::max({kLiveDataLength, kHeartBeatReplyLength, kVersionReplyLength});
// The largest payload the host sends: command 0x01 with 12 bytes of the training record.
constexpr int kHostMaxLength = 13;

} // namespace DeviceProtocol

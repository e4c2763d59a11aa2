// The fixed line settings of every open: 9600 baud, 8 data bits, no parity, 1 stop bit, no
// handshake, small driver queues and short time-outs (a stalled line costs at most 110 ms a byte).
#pragma once

namespace portwand::line_settings {

constexpr unsigned kBaudRate = 9600;
constexpr unsigned kDataBits = 8;
constexpr unsigned kReceiveQueueBytes = 255;
constexpr unsigned kTransmitQueueBytes = 255;
constexpr unsigned kReadIntervalTimeoutMs = 100;
constexpr unsigned kReadTotalTimeoutMultiplierMs = 10;
constexpr unsigned kReadTotalTimeoutConstantMs = 100;
constexpr unsigned kWriteTotalTimeoutMultiplierMs = 100;
constexpr unsigned kWriteTotalTimeoutConstantMs = 10;

}  // namespace portwand::line_settings

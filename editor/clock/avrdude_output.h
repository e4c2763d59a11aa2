// What avrdude's output says, read as it arrives in chunks of any size: the facts that decide a
// run's result and the progress bars that the progress dialog follows. It understands the
// messages of avrdude 6.x ("avrdude: error: ..."), 7.x ("avrdude error: ...") and 8.x
// ("Error: ..."), lines ended by "\n", "\r\n" or a lone "\r" (a bar redrawn on a terminal), and
// keeps a bounded amount of text whatever comes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace facetor::clock {

struct OutputFacts {
    // The device signature avrdude read (0x1E9406 for an ATmega168), if it said.
    std::optional<std::uint32_t> signature;
    bool signatureMismatch = false;  // "expected signature for ATmega168 is 1E 94 06"
    bool invalidSignature = false;   // "Yikes!  Invalid device signature" (0x000000, 0xFFFFFF)
    bool usbDeviceMissing = false;   // no such USB programmer plugged in
    bool usbAccessTrouble = false;   // there, but without a usable driver
    bool portNotOpened = false;      // the COM port cannot be opened
    std::string portError;           // the system's reason, as avrdude quoted it
    bool programmerNotOpened = false;
    bool notInSync = false;   // a serial programmer or bootloader that does not answer
    int notResponding = 0;    // "programmer is not responding", each time
    bool initFailed = false;  // an ISP programmer that gets no answer from the chip
    bool verifyMismatch = false;
    std::optional<std::uint32_t> mismatchAddress;
    bool fileNotReadable = false;

    // Progress bars of the EEPROM operations, in order ("Reading | ####...", "Writing | ..."):
    // how many have begun and the marks of the last one (50 is all of it). A bar that avrdude
    // prints while it reads the signature, before any EEPROM operation, does not count.
    int bars = 0;
    int barMarks = 0;

    friend bool operator==(const OutputFacts&, const OutputFacts&) = default;
};

class AvrdudeOutput {
  public:
    static constexpr int kMarksPerBar = 50;
    static constexpr std::size_t kLineLimit = 1024;  // longer lines are cut

    void feed(std::string_view chunk);
    // The output ended: a last line without its line end counts too.
    void finish();
    const OutputFacts& facts() const { return facts_; }

  private:
    void take(char c);
    void endLine();
    void judgeLine(std::string_view line);

    OutputFacts facts_;
    std::string line_;
    bool inBar_ = false;
    bool eepromOperations_ = false;  // a line has named the EEPROM: the bars are its operations
};

}  // namespace facetor::clock

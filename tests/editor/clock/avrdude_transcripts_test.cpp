// avrdude's output, as its versions print it, and the result Facetor takes from it. The 7.1 rows
// were recorded here (Debian's avrdude against the simulated target, or with no programmer at
// all); the 6.3 and 8.x rows carry those versions' forms of the same messages. Each transcript
// must give the same facts however it is cut into chunks.
#include <gtest/gtest.h>

#include <string>

#include "editor/clock/clock_job.h"
#include "tests/editor/clock/clock_doubles.h"

namespace facetor::clock {
namespace {

struct Transcript {
    const char* name;
    std::string output;
    std::uint32_t exitCode;
    Outcome expected;
    std::uint32_t detail = 0;  // the signature or the address the outcome names
};

const std::string kBar = "################################################## | 100% 0.02s\n\n";
const std::string kWrite71 =
    "avrdude: AVR device initialized and ready to accept instructions\n"
    "avrdude: device signature = 0x1e9406 (probably m168)\n"
    "avrdude: reading eeprom memory ...\n\nReading | " +
    kBar +
    "avrdude: writing output file before.bin\navrdude: reading input file image.eep for eeprom\n"
    "         with 448 bytes in 2 sections within [0, 0x1ff]\n"
    "avrdude: writing 448 bytes eeprom ...\n\nWriting | " +
    kBar +
    "avrdude: 448 bytes of eeprom written\navrdude: verifying eeprom memory against image.eep\n"
    "\nReading | " +
    kBar;
const std::string kReadBack71 =
    "avrdude: 448 bytes of eeprom verified\n"
    "avrdude: reading eeprom memory ...\n\nReading | " +
    kBar +
    "avrdude: writing output file after.bin\n\n"
    "avrdude done.  Thank you.\n\n";
const std::string kPortBusyCp1251 =
    "\xCE\xF2\xEA\xE0\xE7\xE0\xED\xEE \xE2 \xE4\xEE\xF1\xF2\xF3\xEF\xE5.";

const Transcript kTranscripts[] = {
    {"7.1 write", kWrite71 + kReadBack71, 0, Outcome::Written},
    {"7.1 read", "avrdude: reading eeprom memory ...\n\nReading | " + kBar, 0, Outcome::Read},
    {"7.1 read on a terminal",
     "avrdude: reading eeprom memory ...\n\r\rReading | #####                 | 10% 0.00s"
     "\rReading | " +
         kBar,
     0, Outcome::Read},
    {"7.1 ATmega168P",
     "avrdude: device signature = 0x1e940b (probably m168p)\n"
     "avrdude error: expected signature for ATmega168 is 1E 94 06\n",
     1, Outcome::Is168P, 0x1E940B},
    {"7.1 ATmega328P",
     "avrdude: device signature = 0x1e950f (probably m328p)\n"
     "avrdude error: expected signature for ATmega168 is 1E 94 06\n",
     1, Outcome::WrongChip, 0x1E950F},
    {"7.1 no chip on the ISP pins",
     "avrdude: device signature = 0x000000\navrdude error: Yikes!  Invalid device signature.\n"
     "avrdude error: expected signature for ATmega168 is 1E 94 06\n",
     1, Outcome::TargetSilent},
    {"7.1 a byte that will not write",
     kWrite71 + "avrdude warning: verification mismatch\n"
                "        device 0xff != input 0xd1 at addr 0x0042 (error)\n"
                "avrdude error: verification mismatch\n",
     1, Outcome::VerifyFailed, 0x42},
    {"7.1 no bootloader",
     "avrdude OS error: ioctl(\"TIOCMGET\"): Inappropriate ioctl for device\n"
     "avrdude error: programmer is not responding\r\n"
     "avrdude warning: attempt 1 of 10: not in sync: resp=0x00\r\n",
     1, Outcome::NoSync},
    {"7.1 USBasp missing",
     "avrdude error: cannot find USB device with vid=0x16c0 pid=0x5dc vendor='www.fischl.de' "
     "product='USBasp'\navrdude error: unable to open programmer usbasp on port usb\n",
     1, Outcome::ProgrammerNotFound},
    {"7.1 USBtiny missing",
     "avrdude error: cannot find USBtiny device (0x1781/0xc9f)\n"
     "avrdude error: unable to open programmer usbtiny on port usb\n",
     1, Outcome::ProgrammerNotFound},
    {"7.1 AVRISP mkII missing", "avrdude error: unable to open programmer avrispmkII on port usb\n",
     1, Outcome::ProgrammerNotFound},
    {"7.1 port missing",
     "avrdude OS error: cannot open port /dev/ttyNOPE: No such file or directory\n"
     "avrdude error: unable to open programmer arduino on port /dev/ttyNOPE\n",
     1, Outcome::PortNotOpened},
    {"6.3 USBasp missing",
     "avrdude.exe: error: could not find USB device with vid=0x16c0 pid=0x5dc "
     "vendor='www.fischl.de' product='USBasp'\r\n\r\navrdude.exe done.  Thank you.\r\n",
     1, Outcome::ProgrammerNotFound},
    {"6.3 port busy, Russian Windows",
     "avrdude.exe: ser_open(): can't open device \"\\\\.\\COM3\": " + kPortBusyCp1251 + "\r\n", 1,
     Outcome::PortNotOpened},
    {"6.3 no sync",
     "avrdude.exe: stk500_recv(): programmer is not responding\r\n"
     "avrdude.exe: stk500_getsync() attempt 1 of 10: not in sync: resp=0x00\r\n",
     1, Outcome::NoSync},
    {"6.3 target silent",
     "avrdude.exe: error: program enable: target doesn't answer. 1 \r\n"
     "avrdude.exe: initialization failed, rc=-1\r\n"
     "         Double check connections and try again, or use -F to override\r\n",
     1, Outcome::TargetSilent},
    {"6.3 ATmega168P",
     "Reading | " + kBar +
         "avrdude.exe: Device signature = 0x1e940b (probably m168p)\r\n"
         "avrdude.exe: Expected signature for ATmega168 is 1E 94 06\r\n",
     1, Outcome::Is168P, 0x1E940B},
    {"6.3 verify",
     "avrdude.exe: verification error, first mismatch at byte 0x0042\r\n"
     "             0xff != 0xd1\r\navrdude.exe: verification error; content mismatch\r\n",
     1, Outcome::VerifyFailed, 0x42},
    {"6.3 write, old USBasp firmware",
     "avrdude.exe: warning: cannot set sck period. please check for usbasp firmware update.\r\n"
     "Reading | " +
         kBar +
         "avrdude.exe: Device signature = 0x1e9406\r\n"
         "avrdude.exe: reading eeprom memory:\r\n\r\nReading | " +
         kBar + "avrdude.exe: writing eeprom (448 bytes):\r\n\r\nWriting | " + kBar +
         "avrdude.exe: verifying eeprom memory against image.eep:\r\n\r\nReading | " + kBar +
         "avrdude.exe: reading eeprom memory:\r\n\r\nReading | " + kBar,
     0, Outcome::Written},
    {"8.x USBasp missing",
     "Error: cannot find USB device with vid=0x16c0 pid=0x5dc vendor='www.fischl.de' "
     "product='USBasp'\r\nError: unable to open port usb for programmer usbasp\r\n",
     1, Outcome::ProgrammerNotFound},
    {"8.x USB driver",
     "Error: cannot query manufacturer for device: Operation not supported\r\n"
     "Error: USB access errors detected; ensure a libusb driver is installed\r\n",
     1, Outcome::UsbDriver},
    {"8.x port busy", "Error: cannot open port \\\\.\\COM3: " + kPortBusyCp1251 + "\r\n", 1,
     Outcome::PortNotOpened},
    {"8.x target silent", "Error: initialization failed  (rc = -1)\r\n", 1, Outcome::TargetSilent},
    {"8.x verify", "Error: eeprom verification mismatch\r\n", 1, Outcome::VerifyFailed},
    {"8.x write, cannot set sck period",
     "Error: cannot set sck period; please check for usbasp firmware update\r\n" + kWrite71 +
         kReadBack71,
     0, Outcome::Written},
};

OutputFacts factsOf(const std::vector<std::string_view>& chunks) {
    AvrdudeOutput output;
    for (std::string_view chunk : chunks) {
        output.feed(chunk);
    }
    output.finish();
    return output.facts();
}

TEST(AvrdudeTranscripts, EachGivesItsResultHoweverItIsCut) {
    EepromImage written{}, before{}, after{};
    written.fill(0x20);
    before.fill(0xFF);
    after = written;
    std::copy_n(before.begin() + kReservedGapOffset, kReservedGapSize,
                after.begin() + kReservedGapOffset);
    for (const Transcript& t : kTranscripts) {
        SCOPED_TRACE(t.name);
        testing::Script script;
        script.chunks = {t.output};
        script.exitCode = t.exitCode;
        testing::ScriptedLauncher launcher(script);
        testing::SteppedStopwatch stopwatch;
        AvrdudeRun run(launcher, stopwatch);
        run.start("avrdude.exe", {}, {});
        while (run.poll()) {
        }
        const JobKind job = t.expected == Outcome::Read ? JobKind::Read : JobKind::Write;
        const Verdict verdict = judge(job, run, {before, after}, &written);
        EXPECT_EQ(verdict.outcome, t.expected);
        if (t.expected == Outcome::VerifyFailed && t.detail) {
            EXPECT_EQ(verdict.address, t.detail);
        } else if (t.detail) {
            EXPECT_EQ(verdict.signature, t.detail);
        }
        if (t.exitCode == 0) {  // the bars of the EEPROM operations, each to its end
            EXPECT_EQ(run.facts().bars, job == JobKind::Read ? 1 : 4);
            EXPECT_EQ(progressOf(job, run.facts()).percent, 100);
        }
        if (t.expected == Outcome::PortNotOpened && t.name[0] != '7') {
            EXPECT_EQ(verdict.portError, kPortBusyCp1251);  // left in the ANSI code page
        }

        const OutputFacts whole = factsOf({t.output});
        EXPECT_EQ(run.facts(), whole);
        std::vector<std::string_view> bytes;
        for (std::size_t i = 0; i < t.output.size(); ++i) {
            bytes.push_back(std::string_view(t.output).substr(i, 1));
        }
        EXPECT_EQ(factsOf(bytes), whole);
        for (std::size_t cut = 1; cut < t.output.size(); ++cut) {
            const std::string_view text(t.output);
            ASSERT_EQ(factsOf({text.substr(0, cut), text.substr(cut)}), whole) << "cut " << cut;
        }
    }
}

}  // namespace
}  // namespace facetor::clock

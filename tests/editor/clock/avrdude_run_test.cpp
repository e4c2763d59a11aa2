// avrdude's runs, followed to their end. The table holds avrdude's output as its versions print
// it and the result Facetor takes from it: the 7.1 rows were recorded here (Debian's avrdude
// against the simulated target, or with no programmer at all), the 6.3 and 8.x rows carry those
// versions' forms of the same messages; each must give the same facts however it is cut. Then
// the watchdog and "Отмена", Facetor's own check of the read back, where avrdude is found, and
// the command line.
#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <set>
#include <string>

#include "editor/clock/avrdude_locator.h"
#include "editor/clock/clock_job.h"

namespace facetor::clock {
namespace {

// An avrdude that prints its chunks, one a poll, then exits with `exitCode`, or hangs until
// ended; the stopwatch moves only when told.
struct FakeAvrdude : ProcessLauncher, Stopwatch {
    struct Process : ChildProcess {
        explicit Process(FakeAvrdude& fake) : fake(fake) {}
        std::string takeOutput() override {
            std::string chunk = fake.chunks.empty() ? "" : fake.chunks.front();
            if (!fake.chunks.empty()) {
                fake.chunks.pop_front();
            }
            return chunk;
        }
        bool finished() override { return fake.terminated || (fake.chunks.empty() && !fake.hangs); }
        std::optional<std::uint32_t> exitCode() override { return fake.exitCode; }
        std::uint32_t systemError() const override { return 0; }
        void terminate() override { fake.terminated = true; }
        FakeAvrdude& fake;
    };
    StartedProcess start(const std::filesystem::path&, const std::vector<std::string>&,
                         const std::filesystem::path&) override {
        return {std::make_unique<Process>(*this), 0};
    }
    std::int64_t milliseconds() const override { return now; }

    // Polls every 100 ms, as the progress dialog does, `cancelAtMs` pressing "Отмена".
    AvrdudeRun& follow(std::int64_t cancelAtMs = -1) {
        run.start("avrdude.exe", {}, {});
        while (run.poll() && now < 1'000'000) {
            now += 100;
            if (now == cancelAtMs) {
                run.cancel();
            }
        }
        return run;
    }

    std::deque<std::string> chunks;
    std::uint32_t exitCode = 0;
    bool hangs = false;
    bool terminated = false;
    std::int64_t now = 0;
    AvrdudeRun run{*this, *this};
};

struct Transcript {
    const char* name;
    std::string output;
    std::uint32_t exitCode;
    Outcome expected;
    std::uint32_t detail = 0;  // the signature or the address the outcome names
};

const std::string kBar = "################################################## | 100% 0.02s";

// A line that names an EEPROM operation, then avrdude's bar of it to its end.
std::string operation(const std::string& line, const char* bar = "Reading") {
    return line + "\n\n" + bar + " | " + kBar + "\n\n";
}

const std::string kWrite71 =
    "avrdude: AVR device initialized and ready to accept instructions\n"
    "avrdude: device signature = 0x1e9406 (probably m168)\n" +
    operation("avrdude: reading eeprom memory ...") +
    "avrdude: writing output file ../Backups/eeprom-2026-05-03-090507.bin\n" +
    operation("avrdude: writing 448 bytes eeprom ...", "Writing") +
    operation("avrdude: verifying eeprom memory against image.eep");
const std::string kReadBack71 = "avrdude: 448 bytes of eeprom verified\n" +
                                operation("avrdude: reading eeprom memory ...") +
                                "avrdude: writing output file after.bin\n\navrdude done.\n";
const std::string kPortBusyCp1251 =
    "\xCE\xF2\xEA\xE0\xE7\xE0\xED\xEE \xE2 \xE4\xEE\xF1\xF2\xF3\xEF\xE5.";

const Transcript kTranscripts[] = {
    {"7.1 write", kWrite71 + kReadBack71, 0, Outcome::Written},
    {"7.1 read on a terminal",
     "avrdude: reading eeprom memory ...\n\r\rReading | #####       | 10% 0.00s\rReading | " + kBar,
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
     "avrdude.exe: initialization failed, rc=-1\r\n",
     1, Outcome::TargetSilent},
    {"6.3 ATmega168P",
     "Reading | " + kBar +
         "\r\n\r\navrdude.exe: Device signature = 0x1e940b (probably m168p)\r\n"
         "avrdude.exe: Expected signature for ATmega168 is 1E 94 06\r\n",
     1, Outcome::Is168P, 0x1E940B},
    {"6.3 verify",
     "avrdude.exe: verification error, first mismatch at byte 0x0042\r\n"
     "             0xff != 0xd1\r\navrdude.exe: verification error; content mismatch\r\n",
     1, Outcome::VerifyFailed, 0x42},
    {"6.3 write, old USBasp firmware",
     "avrdude.exe: warning: cannot set sck period. please check for usbasp firmware update.\r\n"
     "Reading | " +
         kBar + "\r\n\r\navrdude.exe: Device signature = 0x1e9406\r\n" +
         operation("avrdude.exe: reading eeprom memory:\r") +
         operation("avrdude.exe: writing eeprom (448 bytes):\r", "Writing") +
         operation("avrdude.exe: verifying eeprom memory against image.eep:\r") +
         operation("avrdude.exe: reading eeprom memory:\r"),
     0, Outcome::Written},
    {"8.x USBasp missing",
     "Error: cannot find USB device with vid=0x16c0 pid=0x5dc vendor='www.fischl.de' "
     "product='USBasp'\r\nError: unable to open port usb for programmer usbasp\r\n",
     1, Outcome::ProgrammerNotFound},
    {"8.x USB driver",
     "Error: cannot query manufacturer for device: Operation not supported\r\n"
     "Error: USB access errors detected; ensure a libusb driver is installed\r\n",
     1, Outcome::UsbDriver},
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

// The image written, the EEPROM before, and a read back that holds the image and the old gap.
struct Images {
    Images() {
        written.fill(0x20);
        before.fill(0xFF);
        after = written;
        std::copy_n(before.begin() + kReservedGapOffset, kReservedGapSize,
                    after.begin() + kReservedGapOffset);
    }
    EepromImage written, before, after;
};

TEST(AvrdudeTranscripts, EachGivesItsResultHoweverItIsCut) {
    const Images images;
    for (const Transcript& t : kTranscripts) {
        SCOPED_TRACE(t.name);
        FakeAvrdude avrdude;
        avrdude.chunks = {t.output};
        avrdude.exitCode = t.exitCode;
        const AvrdudeRun& run = avrdude.follow();
        const JobKind job = t.expected == Outcome::Read ? JobKind::Read : JobKind::Write;
        const Verdict verdict = judge(job, run, {images.before, images.after}, &images.written);
        EXPECT_EQ(verdict.outcome, t.expected);
        if (t.detail) {
            EXPECT_EQ(t.expected == Outcome::VerifyFailed ? verdict.address : verdict.signature,
                      t.detail);
        }
        if (t.exitCode == 0) {  // the bars of the EEPROM operations, each to its end
            EXPECT_EQ(run.facts().bars, job == JobKind::Read ? 1 : 4);
            EXPECT_EQ(progressOf(job, run.facts()).percent, 100);
        }
        if (t.expected == Outcome::PortNotOpened) {  // left in the ANSI code page
            EXPECT_EQ(verdict.portError,
                      t.name[0] == '6' ? kPortBusyCp1251 : "No such file or directory");
        }

        const std::string_view text(t.output);
        const OutputFacts whole = factsOf({text});
        EXPECT_EQ(run.facts(), whole);
        std::vector<std::string_view> bytes;
        for (std::size_t i = 0; i < text.size(); ++i) {
            bytes.push_back(text.substr(i, 1));
        }
        EXPECT_EQ(factsOf(bytes), whole);
        for (std::size_t cut = 1; cut < text.size(); ++cut) {
            ASSERT_EQ(factsOf({text.substr(0, cut), text.substr(cut)}), whole) << "cut " << cut;
        }
    }
}

RunEnd endOf(std::deque<std::string> chunks, bool hangs, std::int64_t cancelAtMs = -1) {
    FakeAvrdude avrdude;
    avrdude.chunks = std::move(chunks);
    avrdude.hangs = hangs;
    return avrdude.follow(cancelAtMs).end();
}

TEST(AvrdudeRun, TheWatchdogAndCancelEndItWhateverItExitsWith) {
    FakeAvrdude silent;
    silent.chunks = {"avrdude: writing 448 bytes eeprom ...\n\n", "Writing | #"};
    silent.hangs = true;
    EXPECT_EQ(silent.follow().end(), RunEnd::Silent);
    EXPECT_EQ(silent.now, 20'200);  // 20 s after the last output, and one poll to see it end
    EXPECT_TRUE(silent.terminated);

    const std::string notResponding = "avrdude error: programmer is not responding\n";
    EXPECT_EQ(endOf({notResponding, "x\n", notResponding, "x\n", notResponding}, true),
              RunEnd::NotResponding);
    EXPECT_EQ(endOf(std::deque<std::string>(3001, "#"), true), RunEnd::TooLong);  // over 5 min
    EXPECT_EQ(endOf({"a", "b", "c", "d"}, true, 300), RunEnd::Cancelled);
    EXPECT_EQ(endOf({"a", "b"}, false), RunEnd::Exited);
}

TEST(ClockJob, FacetorComparesTheReadBackWithTheImageAndTheGapWithTheBackup) {
    FakeAvrdude avrdude;
    const AvrdudeRun& run = avrdude.follow();
    Images images;
    const auto outcome = [&] {
        return judge(JobKind::Write, run, {images.before, images.after}, &images.written);
    };
    EXPECT_EQ(outcome().outcome, Outcome::Written);
    images.after[0x1C0] = 0x00;  // an old avrdude wrote the gap too
    EXPECT_EQ(outcome().outcome, Outcome::GapChanged);
    EXPECT_EQ(outcome().address, 0x1C0u);
    images.after[0x1FE] = 0x00;  // and bytes of the skins differ: they matter more
    images.after[0x042] = 0x00;
    EXPECT_EQ(outcome().outcome, Outcome::ReadBackDiffers);
    EXPECT_EQ(outcome().address, 0x042u);
    EXPECT_EQ(outcome().differingBytes, 3);
    EXPECT_EQ(judge(JobKind::Write, run, {images.before, std::nullopt}, &images.written).outcome,
              Outcome::Failed);
}

class TableProbe : public FileProbe {
  public:
    bool isFile(const std::filesystem::path& path) const override {
        return files.count(path.generic_string()) > 0;
    }
    std::vector<std::filesystem::path> subfolders(
        const std::filesystem::path& folder) const override {
        const auto it = folders.find(folder.generic_string());
        return it == folders.end() ? std::vector<std::filesystem::path>{} : it->second;
    }
    std::set<std::string> files;
    std::map<std::string, std::vector<std::filesystem::path>> folders;
};

TEST(AvrdudeLocator, ChosenThenBesideFacetorThenPathThenArduinosNewest) {
    TableProbe probe;
    const std::string tools = "C:/A15/packages/arduino/tools/avrdude";
    probe.folders[tools] = {tools + "/6.3.0-arduino9", tools + "/6.3.0-arduino17",
                            tools + "/6.0.1-arduino5"};
    const AvrdudePlaces places{"C:/mine/avrdude.exe", "C:/Facetor", {"C:/bin"}, {tools}, {}};
    EXPECT_FALSE(findAvrdude(places, probe));
    // Arduino's copies keep avrdude.conf in ..\etc\: it is passed with -C.
    for (const char* version : {"6.3.0-arduino9", "6.3.0-arduino17"}) {
        probe.files.insert(tools + "/" + version + "/bin/avrdude.exe");
        probe.files.insert(tools + "/" + version + "/etc/avrdude.conf");
    }
    auto found = findAvrdude(places, probe);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->program.generic_string(), tools + "/6.3.0-arduino17/bin/avrdude.exe");
    EXPECT_EQ(found->config.generic_string(), tools + "/6.3.0-arduino17/etc/avrdude.conf");
    for (const char* sooner :
         {"C:/bin/avrdude.exe", "C:/Facetor/avrdude.exe", "C:/mine/avrdude.exe"}) {
        probe.files.insert(sooner);
        found = findAvrdude(places, probe);
        ASSERT_TRUE(found);
        EXPECT_EQ(found->program.generic_string(), sooner);
        EXPECT_TRUE(found->config.empty());
    }
    EXPECT_EQ(avrdudeVersion("Usage: avrdude [options]\n\navrdude version 7.1, URL: <x>\n"), "7.1");
    EXPECT_EQ(avrdudeVersion("avrdude version 6.3-20171130, URL: <x>"), "6.3-20171130");
}

TEST(AvrdudeCommandLine, SplitsBackIntoTheArgumentsAndTouchesOnlyTheEeprom) {
    EXPECT_EQ(windowsCommandLine("C:\\Program Files\\avrdude.exe",
                                 {"-C", "C:\\a b\\", "x\"y", "", "-U", "eeprom:r:before.bin:r"}),
              "\"C:\\Program Files\\avrdude.exe\" -C \"C:\\a b\\\\\" \"x\\\"y\" \"\" -U "
              "eeprom:r:before.bin:r");
    for (const std::string& argument : operationArguments(JobKind::Write, "eeprom-1.bin")) {
        EXPECT_TRUE(argument == "-U" || argument.starts_with("eeprom:")) << argument;
    }
}

}  // namespace
}  // namespace facetor::clock

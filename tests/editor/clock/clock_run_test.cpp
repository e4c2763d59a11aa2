// A run of avrdude followed to its end: the watchdog and "Отмена" end it and win over its exit
// code; Facetor's own check of what it read back; where avrdude is found; the command line.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "editor/clock/avrdude_locator.h"
#include "editor/clock/clock_job.h"
#include "tests/editor/clock/clock_doubles.h"

namespace facetor::clock {
namespace {

struct Watched {
    RunEnd end;
    std::int64_t endedAtMs;
    bool terminated;
};

// Polls every 100 ms, as the progress dialog does, `cancelAtMs` pressing "Отмена".
Watched watch(std::deque<std::string> chunks, bool hangs, std::int64_t cancelAtMs = -1) {
    testing::Script script;
    script.chunks = std::move(chunks);
    script.hangs = hangs;
    script.exitCode = 0;
    testing::ScriptedLauncher launcher(script);
    testing::SteppedStopwatch stopwatch;
    AvrdudeRun run(launcher, stopwatch);
    run.start("avrdude.exe", {}, {});
    while (run.poll() && stopwatch.now < 1'000'000) {
        stopwatch.now += 100;
        if (stopwatch.now == cancelAtMs) {
            run.cancel();
        }
    }
    return {run.end(), stopwatch.now, script.terminated};
}

TEST(AvrdudeRun, TheWatchdogAndCancelEndItWhateverItExitsWith) {
    const std::string bar = "Writing | #";
    Watched w = watch({"avrdude: writing 448 bytes eeprom ...\n\n", bar}, true);
    EXPECT_EQ(w.end, RunEnd::Silent);
    EXPECT_EQ(w.endedAtMs, 20'200);  // 20 s after the last output, and one poll to see it end
    EXPECT_TRUE(w.terminated);

    const std::string notResponding = "avrdude error: programmer is not responding\n";
    w = watch({notResponding, "x\n", notResponding, "x\n", notResponding}, true);
    EXPECT_EQ(w.end, RunEnd::NotResponding);
    EXPECT_LT(w.endedAtMs, 1'000);

    std::deque<std::string> steady(3001, "#");  // prints all the time, for more than 5 minutes
    EXPECT_EQ(watch(steady, true).end, RunEnd::TooLong);
    EXPECT_EQ(watch({"a", "b", "c", "d"}, true, 300).end, RunEnd::Cancelled);
    EXPECT_EQ(watch({"a", "b"}, false).end, RunEnd::Exited);
}

TEST(ClockJob, FacetorComparesTheReadBackWithTheImageAndTheGapWithTheBackup) {
    testing::Script script;
    testing::ScriptedLauncher launcher(script);
    testing::SteppedStopwatch stopwatch;
    AvrdudeRun run(launcher, stopwatch);
    run.start("avrdude.exe", {}, {});
    while (run.poll()) {
    }
    EepromImage image{}, before{};
    image.fill(0x41);
    before.fill(0x07);
    EepromImage after = image;
    std::copy_n(before.begin() + kReservedGapOffset, kReservedGapSize,
                after.begin() + kReservedGapOffset);
    EXPECT_EQ(judge(JobKind::Write, run, {before, after}, &image).outcome, Outcome::Written);

    after[0x1C0] = 0xFF;  // an old avrdude wrote the gap too
    Verdict verdict = judge(JobKind::Write, run, {before, after}, &image);
    EXPECT_EQ(verdict.outcome, Outcome::GapChanged);
    EXPECT_EQ(verdict.address, 0x1C0u);
    after[0x1FE] = 0x00;  // and a byte of the skins differs: that matters more
    after[0x042] = 0x00;
    verdict = judge(JobKind::Write, run, {before, after}, &image);
    EXPECT_EQ(verdict.outcome, Outcome::ReadBackDiffers);
    EXPECT_EQ(verdict.address, 0x042u);
    EXPECT_EQ(verdict.differingBytes, 3);
    EXPECT_EQ(judge(JobKind::Write, run, {before, std::nullopt}, &image).outcome, Outcome::Failed);
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
    AvrdudePlaces places{"C:/mine/avrdude.exe", "C:/Facetor", {"C:/bin"}, {tools}, {}};
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
    const char* sooner[] = {"C:/bin/avrdude.exe", "C:/Facetor/avrdude.exe", "C:/mine/avrdude.exe"};
    for (const char* program : sooner) {
        probe.files.insert(program);
        found = findAvrdude(places, probe);
        ASSERT_TRUE(found);
        EXPECT_EQ(found->program.generic_string(), program);
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
    ProgrammerSettings settings;
    settings.slowMode = true;
    const std::vector<std::string> usbasp = {"-c", "usbasp", "-p", "m168", "-B", "32"};
    EXPECT_EQ(connectionArguments(settings, kPart168), usbasp);
    settings.programmer = ProgrammerKind::Bootloader;
    settings.port = "COM12";
    settings.bootloaderBaud = 57600;
    const std::vector<std::string> bootloader = {"-C",    "x.conf", "-c",    "arduino", "-p",
                                                 "m168p", "-P",     "COM12", "-b",      "57600"};
    EXPECT_EQ(connectionArguments(settings, kPart168P, "x.conf"), bootloader);
    for (const std::string& argument : operationArguments(JobKind::Write)) {
        EXPECT_TRUE(argument == "-U" || argument.starts_with("eeprom:")) << argument;
    }
}

}  // namespace
}  // namespace facetor::clock

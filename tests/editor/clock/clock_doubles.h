// Test doubles of avrdude's runs: a process that prints given chunks, one per poll, then exits
// with a given code (or hangs until ended), and a stopwatch that moves only when told.
#pragma once

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "editor/clock/child_process.h"

namespace facetor::clock::testing {

struct Script {
    std::deque<std::string> chunks;
    std::uint32_t exitCode = 0;
    bool hangs = false;  // after its chunks it neither prints nor ends until terminated
    bool terminated = false;
    std::vector<std::string> arguments;
};

class ScriptedProcess : public ChildProcess {
  public:
    explicit ScriptedProcess(Script& script) : script_(script) {}
    std::string takeOutput() override {
        if (script_.chunks.empty()) {
            return {};
        }
        std::string chunk = std::move(script_.chunks.front());
        script_.chunks.pop_front();
        return chunk;
    }
    bool finished() override {
        return script_.terminated || (script_.chunks.empty() && !script_.hangs);
    }
    std::optional<std::uint32_t> exitCode() override { return script_.exitCode; }
    std::uint32_t systemError() const override { return 0; }
    void terminate() override { script_.terminated = true; }

  private:
    Script& script_;
};

class ScriptedLauncher : public ProcessLauncher {
  public:
    explicit ScriptedLauncher(Script& script) : script_(script) {}
    StartedProcess start(const std::filesystem::path&, const std::vector<std::string>& arguments,
                         const std::filesystem::path&) override {
        script_.arguments = arguments;
        return {std::make_unique<ScriptedProcess>(script_), 0};
    }

  private:
    Script& script_;
};

class SteppedStopwatch : public Stopwatch {
  public:
    std::int64_t milliseconds() const override { return now; }
    std::int64_t now = 0;
};

}  // namespace facetor::clock::testing

// Where the window's port work runs: every open, write and wait of a command, one job at a time
// in the order given, off the window's thread, so that a port that takes seconds to open (a
// Bluetooth one whose device is off) or a slow line never stops the window from answering. Jobs
// tell the window what came of them through WindowOps::post.
#pragma once

#include <functional>

namespace portwand {

class PortWorker {
  public:
    virtual ~PortWorker() = default;
    // Runs the job after every job submitted before it.
    virtual void submit(std::function<void()> job) = 0;
    // Drops the jobs not begun yet and waits for the one running, if any; no job runs afterwards.
    virtual void finish() = 0;
};

}  // namespace portwand

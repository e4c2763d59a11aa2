// The dialog that follows a run of avrdude: the phase, a bar that follows avrdude's own progress
// marks, and "Отмена". Its 100 ms timer drains the output and checks the watchdog; it closes
// once the run has ended. The main window stays drawn meanwhile.
#pragma once

#include <windows.h>

#include "editor/clock/avrdude_run.h"
#include "editor/clock/clock_job.h"

namespace facetor::win32 {

void followRun(HWND owner, clock::AvrdudeRun& run, clock::JobKind job);

}  // namespace facetor::win32

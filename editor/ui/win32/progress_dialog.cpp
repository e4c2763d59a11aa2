#include "editor/ui/win32/progress_dialog.h"

#include <commctrl.h>

#include "editor/clock/clock_messages.h"
#include "editor/ui/win32/dialog_template.h"
#include "editor/ui/win32/wide_text.h"

namespace facetor::win32 {
namespace {

constexpr int kPhaseLabel = 101;
constexpr int kBar = 102;
constexpr UINT_PTR kPollTimer = 1;
constexpr UINT kPollMs = 100;

struct Following {
    clock::AvrdudeRun& run;
    clock::JobKind job;
    clock::Phase shownPhase = clock::Phase::Connecting;
    bool stopping = false;  // "Отмена" was pressed: the label says so until the run has ended
};

void show(HWND dialog, Following& following) {
    const clock::Progress progress = clock::progressOf(following.job, following.run.facts());
    if (progress.phase != following.shownPhase && !following.stopping) {
        following.shownPhase = progress.phase;
        SetDlgItemTextW(dialog, kPhaseLabel, toWide(clock::phaseText(progress.phase)).c_str());
    }
    SendDlgItemMessageW(dialog, kBar, PBM_SETPOS, static_cast<WPARAM>(progress.percent), 0);
}

INT_PTR CALLBACK procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* following = dialogObject<Following>(dialog, message, lParam);
    switch (message) {
        case WM_INITDIALOG:
            SendDlgItemMessageW(dialog, kBar, PBM_SETRANGE32, 0, 100);
            SetTimer(dialog, kPollTimer, kPollMs, nullptr);
            return TRUE;
        case WM_TIMER:
            if (!following->run.poll()) {
                KillTimer(dialog, kPollTimer);
                EndDialog(dialog, IDOK);
            } else {
                show(dialog, *following);
            }
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL) {  // "Отмена", Esc, the close box
                following->run.cancel();
                following->stopping = true;
                SetDlgItemTextW(dialog, kPhaseLabel, toWide(clock::kStopping).c_str());
                EnableWindow(GetDlgItem(dialog, IDCANCEL), FALSE);
            }
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

void followRun(HWND owner, clock::AvrdudeRun& run, clock::JobKind job) {
    if (run.end() != clock::RunEnd::Running) {
        return;  // it never started
    }
    DialogTemplate dialog(toWide(clock::jobTitle(job)), 240, 72);
    dialog.add({L"STATIC", toWide(clock::phaseText(clock::Phase::Connecting)), kPhaseLabel, SS_LEFT,
                10, 10, 220, 10});
    dialog.add({PROGRESS_CLASSW, L"", kBar, 0, 10, 26, 220, 12});
    dialog.add(
        {L"BUTTON", toWide(clock::kCancel), IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 180, 48, 50, 14});
    Following following{run, job};
    if (dialog.run(owner, procedure, reinterpret_cast<LPARAM>(&following)) == -1) {
        while (run.poll()) {  // no dialog: the run is still followed to its end
            Sleep(kPollMs);
        }
    }
}

}  // namespace facetor::win32

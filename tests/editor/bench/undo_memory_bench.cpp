// Prints the heap the undo history takes when it is full (1000 steps), and how long undoing and
// redoing all of them takes. Figures only; run by scripts/bench.
#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <utility>

#include "editor/ui/edit_history.h"

int main() {
    using namespace facetor;
    WorkState work;  // a design of its own: every step keeps its file names
    work.files =
        ImageFilePaths{"C:/Users/someone/Skins/winter.eep", "C:/Users/someone/Skins/winter.bin"};
    SkinDocument& document = work.document;
    document.clearAll();
    EditHistory history;
    const std::size_t before = mallinfo2().uordblks;
    for (std::size_t step = 0; step < EditHistory::kStepLimit + 10; ++step) {
        history.record(work);
        document.putCharacter(static_cast<std::uint8_t>('a' + step % 26));
    }
    const std::size_t full = mallinfo2().uordblks - before;

    const auto start = std::chrono::steady_clock::now();
    while (auto restored = history.undo(work)) {
        work = std::move(*restored);
    }
    while (auto restored = history.redo(work)) {
        work = std::move(*restored);
    }
    const auto elapsed =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start);

    std::printf(
        "undo history: %zu steps kept, %zu bytes of heap (%zu per step; a snapshot is "
        "%zu bytes)\n",
        EditHistory::kStepLimit, full, full / EditHistory::kStepLimit, sizeof(WorkState));
    std::printf("undoing and redoing all of them: %.2f ms\n", elapsed.count());
    return 0;
}

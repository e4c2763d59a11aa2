// Arbitrary bytes as avrdude's output, cut into chunks where the input says: the reader must
// never crash, keep its bounds, and find the same facts however the output was cut.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "editor/clock/avrdude_output.h"
#include "editor/clock/clock_job.h"

#define check(condition) ((condition) ? void() : __builtin_trap())

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace facetor::clock;
    if (size == 0) {
        return 0;
    }
    const std::size_t step = data[0] % 16 + 1;  // the first byte chooses the chunks' size
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    AvrdudeOutput whole, chunked;
    whole.feed(text);
    whole.finish();
    for (std::size_t at = 0; at < text.size(); at += step) {
        chunked.feed(text.substr(at, step));
    }
    chunked.finish();
    check(whole.facts() == chunked.facts());
    const OutputFacts& facts = whole.facts();
    check(facts.barMarks >= 0 && facts.barMarks <= AvrdudeOutput::kMarksPerBar);
    check(facts.portError.size() <= AvrdudeOutput::kLineLimit);
    for (JobKind job : {JobKind::Write, JobKind::Read}) {
        const int percent = progressOf(job, facts).percent;
        check(percent >= 0 && percent <= 100);
    }
    return 0;
}

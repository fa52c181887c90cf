#include "ProgressLine.h"

#include <unistd.h>

ProgressLine::ProgressLine(std::FILE* out) : out_(out), terminal_(::isatty(::fileno(out)) == 1) {}

void ProgressLine::Update(uint32_t done, uint32_t total) {
    if (!terminal_ || total == 0)
        return;
    const int percent = static_cast<int>(uint64_t{done} * 100 / total);
    if (percent == percent_ && done != total)
        return;
    percent_ = percent;
    std::fprintf(out_, "\rgrabbing %u/%u (%d%%)", done, total, percent);
    std::fflush(out_);
    drawn_ = true;
}

void ProgressLine::Finish() {
    if (drawn_) {
        std::fputc('\n', out_);
        std::fflush(out_);
        drawn_ = false;
    }
}

#pragma once
// "grabbing 37/100" redrawn in place with carriage returns, only on a terminal;
// a pipe or a file gets no progress at all.

#include <cstdint>
#include <cstdio>

class ProgressLine {
public:
    /// Draws on `out` when it is a terminal.
    explicit ProgressLine(std::FILE* out);
    ~ProgressLine() { Finish(); }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    /// Redraws when the percentage changed (so a long run redraws at most 101 times).
    void Update(uint32_t done, uint32_t total);
    /// Ends the line, so that what is printed next starts on its own line.
    void Finish();

private:
    std::FILE* out_;
    bool terminal_;
    bool drawn_ = false;
    int percent_ = -1;
};

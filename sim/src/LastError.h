// The last error of an SDK object: a code and its text, kept without allocating.
#pragma once

#include <cstddef>
#include <mutex>

namespace sim {

// Thread-safe: mutex_ guards code_ and text_. Texts are cut at TextSize - 1 bytes.
class LastError {
public:
    static constexpr std::size_t TextSize = 256;

    // Records code with "<text of code>" or "<text of code>: <detail>"; answers code.
    int Set(int code, const char* codeText, const char* detail = nullptr);
    int Code() const;
    // Copies the text into out (TextSize bytes).
    void CopyText(char* out) const;

private:
    mutable std::mutex mutex_;
    int code_ = 0;
    char text_[TextSize] = "no error";
};

} // namespace sim

// The last error of an SDK object: a code and its text, kept without allocating.
#pragma once

#include <cstddef>
#include <mutex>

namespace sim {

// Thread-safe: m_mutex guards m_code and m_text. Texts are cut at kTextSize - 1 bytes.
class LastError {
public:
    static constexpr std::size_t kTextSize = 256;

    // Records code with "<text of code>" or "<text of code>: <detail>"; answers code.
    int set(int code, const char* codeText, const char* detail = nullptr);
    int code() const;
    // Copies the text into out (kTextSize bytes).
    void copyText(char* out) const;

private:
    mutable std::mutex m_mutex;
    int m_code = 0;
    char m_text[kTextSize] = "no error";
};

} // namespace sim

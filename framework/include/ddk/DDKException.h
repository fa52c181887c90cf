#pragma once
// Framework exceptions: construction and configuration failures carry the raising
// file's bare name and line, reported as "message (file:line)".

#include <cstdint>
#include <exception>
#include <string>

class DDKException : public std::exception {
public:
    DDKException(const char* file, int32_t line, std::string message, int32_t code = 1);
    const char* what() const noexcept override { return fullText_.c_str(); }

    int32_t Line() const { return line_; }
    const std::string& File() const { return file_; }
    const std::string& Message() const { return message_; }
    const std::string& FullText() const { return fullText_; }
    int32_t Code() const { return code_; }

private:
    int32_t line_;
    std::string file_;
    std::string message_;
    std::string fullText_;
    int32_t code_;
};

/// The message is formatted printf-style into 256 characters.
class DDKGenericException : public DDKException {
public:
    DDKGenericException(const char* file, int32_t line, const char* format, ...)
        __attribute__((format(printf, 4, 5)));
};

/// A failed internal assertion: "Assert failed".
class DDKAssertException : public DDKException {
public:
    DDKAssertException(const char* file, int32_t line);
};

/// Raises DDKGenericException from the bare file name given, at the current line.
#define DDK_THROW_GENERIC(file, ...) throw DDKGenericException(file, __LINE__, __VA_ARGS__)
#define DDK_ASSERT(file, condition)                                                                \
    do {                                                                                           \
        if (!(condition))                                                                          \
            throw DDKAssertException(file, __LINE__);                                              \
    } while (0)

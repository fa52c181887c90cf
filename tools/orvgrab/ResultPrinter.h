#pragma once
// What orvgrab tells about a run: "key: value" lines on standard output as they
// happen, or, with --json, one JSON object at the end holding the same keys (and
// numbers and lists for scripts).

#include <cstdarg>
#include <string>
#include <utility>
#include <vector>

/// Host thread only.
class ResultPrinter {
public:
    /// From now on collect instead of printing.
    void UseJson() { json_ = true; }
    bool Json() const { return json_; }

    /// "key: text" now, or "key": "text" in the object. A key given again in JSON
    /// mode keeps its first value.
    void Line(const std::string& key, const std::string& text);
    /// printf-style text for Line().
    static std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
    /// A number only the object carries (text mode shows it in some line already).
    void Number(const std::string& key, double value);
    /// An item of a list only the object carries: a JSON object given as text.
    void Item(const std::string& list, const std::string& object);
    /// In JSON mode: prints the object with "status" and, when failed, "error".
    void Finish(int status, const std::string& error);

    /// `text` as a JSON string literal.
    static std::string Quote(const std::string& text);

private:
    bool json_ = false;
    std::vector<std::pair<std::string, std::string>> members_; // key, JSON value
    std::vector<std::pair<std::string, std::vector<std::string>>> lists_;
};

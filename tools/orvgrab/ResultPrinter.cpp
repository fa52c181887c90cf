#include "ResultPrinter.h"

#include <cmath>
#include <cstdio>

void ResultPrinter::Line(const std::string& key, const std::string& text) {
    if (!json_) {
        std::printf("%s: %s\n", key.c_str(), text.c_str());
        return;
    }
    for (const auto& member : members_)
        if (member.first == key)
            return;
    members_.emplace_back(key, Quote(text));
}

std::string ResultPrinter::Format(const char* format, ...) {
    char buffer[1024];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(buffer, sizeof buffer, format, arguments);
    va_end(arguments);
    return buffer;
}

void ResultPrinter::Number(const std::string& key, double value) {
    if (!json_)
        return;
    members_.emplace_back(key, std::isfinite(value) ? Format("%.17g", value) : "null");
}

void ResultPrinter::Item(const std::string& list, const std::string& object) {
    if (!json_)
        return;
    for (auto& entry : lists_)
        if (entry.first == list) {
            entry.second.push_back(object);
            return;
        }
    lists_.push_back({list, {object}});
}

void ResultPrinter::Finish(int status, const std::string& error) {
    if (!json_)
        return;
    std::string text = "{";
    auto add = [&text](const std::string& key, const std::string& value) {
        text += (text.size() > 1 ? ",\n " : "\n ") + Quote(key) + ": " + value;
    };
    for (const auto& [key, value] : members_)
        add(key, value);
    for (const auto& [list, items] : lists_) {
        std::string array = "[";
        for (const std::string& item : items)
            array += (array.size() > 1 ? ",\n  " : "\n  ") + item;
        add(list, array + "\n ]");
    }
    add("status", std::to_string(status));
    if (!error.empty())
        add("error", Quote(error));
    std::printf("%s\n}\n", text.c_str());
    std::fflush(stdout);
}

std::string ResultPrinter::Quote(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        switch (c) {
        case '"':
            quoted += "\\\"";
            break;
        case '\\':
            quoted += "\\\\";
            break;
        case '\n':
            quoted += "\\n";
            break;
        case '\t':
            quoted += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20)
                quoted += Format("\\u%04x", static_cast<unsigned>(static_cast<unsigned char>(c)));
            else
                quoted += c;
        }
    }
    return quoted + "\"";
}

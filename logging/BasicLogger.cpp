#include <nwLogging/Logger.h>

#include "GlobalLock.h"

#include <stdexcept>
#include <vector>

namespace nwLogging {

namespace {

constexpr char separator = '.';

// ASCII only: entity names are identifiers, and the C locale must not decide
// which logger a path reaches.
std::string to_lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// The whole path is checked before anything is created, so a bad path leaves
// the tree as it was.
std::vector<std::string> split_path(const std::string& path) {
    std::vector<std::string> elements;
    std::string::size_type start = 0;
    while (true) {
        const auto end = path.find(separator, start);
        const auto stop = end == std::string::npos ? path.size() : end;
        if (stop == start)
            throw std::logic_error("Invalid path: logger entity names must not be empty");
        elements.push_back(to_lower(path.substr(start, stop - start)));
        if (end == std::string::npos)
            return elements;
        start = end + 1;
    }
}

} // namespace

basic_logger::basic_logger(passkey, std::string rootName)
    : name_(std::move(rootName)), root_(true), state_(std::make_shared<inner_logstate>()) {}

basic_logger::basic_logger(passkey, const logger_ptr& parent, std::string name)
    : name_(std::move(name)), root_(false),
      state_(parent ? parent->state_ : std::shared_ptr<inner_logstate>()) {
    if (!parent)
        throw std::logic_error("Parent is <null>");
    // Called under the global lock by get_child, so the parent's name is stable.
    const std::string& parentName = parent->root_ ? parent->name_ : parent->fullName_;
    fullName_ = parentName.empty() ? name_ : parentName + separator + name_;
}

logger_ptr basic_logger::make_root(const std::string& name) {
    if (name.find(separator) != std::string::npos)
        throw std::invalid_argument("Root name must not contain separator character");
    return std::make_shared<basic_logger>(passkey(), name);
}

logger_ptr basic_logger::make_child(const logger_ptr& parent, const std::string& name) {
    if (!parent)
        throw std::logic_error("Parent is <null>");
    return parent->get_child(name);
}

std::string basic_logger::name() const {
    if (!root_)
        return name_;
    std::lock_guard<std::mutex> guard(global_lock());
    return name_;
}

std::string basic_logger::full_name() const {
    if (!root_)
        return fullName_;
    std::lock_guard<std::mutex> guard(global_lock());
    return name_;
}

logger_ptr basic_logger::get_child(const std::string& path) {
    const std::vector<std::string> elements = split_path(path);
    std::lock_guard<std::mutex> guard(global_lock());
    logger_ptr current = shared_from_this();
    for (const std::string& element : elements) {
        logger_ptr& child = current->children_[element];
        if (!child)
            child = std::make_shared<basic_logger>(passkey(), current, element);
        current = child;
    }
    return current;
}

void basic_logger::set_root_name(const std::string& name) {
    if (!root_)
        throw std::logic_error("Only a root logger can be renamed");
    if (name.find(separator) != std::string::npos)
        throw std::invalid_argument("Root name must not contain separator character");
    std::lock_guard<std::mutex> guard(global_lock());
    if (to_lower(name) == to_lower(name_))
        return;
    if (!children_.empty())
        throw std::runtime_error("Root name can only be changed if no children are present");
    name_ = name;
}

void basic_logger::prune() {
    std::lock_guard<std::mutex> guard(global_lock());
    prune_locked();
}

void basic_logger::prune_locked() {
    for (auto it = children_.begin(); it != children_.end();) {
        // Depth first: a child that still has children stays, so a logger in
        // use keeps the path to it and is found again by the next lookup.
        it->second->prune_locked();
        // New references can only come from get_child, which needs the global
        // lock, so a count of one cannot grow behind our back.
        if (it->second->children_.empty() && it->second.use_count() == 1)
            it = children_.erase(it);
        else
            ++it;
    }
}

std::size_t basic_logger::child_count() const {
    std::lock_guard<std::mutex> guard(global_lock());
    return children_.size();
}

} // namespace nwLogging

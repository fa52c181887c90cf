#pragma once
// Exception classes of the host base library.

#include <exception>
#include <string>

namespace orvBase {

class exception : public std::exception {
public:
    exception() = default;
    explicit exception(std::string text) : text_(std::move(text)) {}
    const char* what() const noexcept override { return text_.c_str(); }

private:
    std::string text_;
};

class runtime_error : public exception {
public:
    using exception::exception;
};

class logic_error : public exception {
public:
    using exception::exception;
};

class invalid_argument : public logic_error {
public:
    using logic_error::logic_error;
};

class argument_null : public invalid_argument {
public:
    using invalid_argument::invalid_argument;
};

class invalid_operation : public logic_error {
public:
    using logic_error::logic_error;
};

class bad_weak_ptr : public exception {
public:
    bad_weak_ptr() : exception("shared object expired") {}
    explicit bad_weak_ptr(std::string text) : exception(std::move(text)) {}
};

/// Out of memory; carries no text of its own.
class bad_alloc : public exception {
public:
    bad_alloc() = default;
};

} // namespace orvBase

#pragma once
// A failure orvgrab reports as one line and a non-zero exit status.

#include <stdexcept>

class ToolError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// A command line orvgrab cannot make sense of.
class UsageError : public ToolError {
public:
    using ToolError::ToolError;
};

/// The module gave no image object (or none for the board asked for).
class NoImageError : public ToolError {
public:
    using ToolError::ToolError;
};

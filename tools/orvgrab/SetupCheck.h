#pragma once
// What orvgrab can see of the module's set-up from outside: the files the
// environment names. Used to turn "the module gave no image" into the first
// concrete cause, with the actual paths.

#include <cstdint>
#include <optional>
#include <string>

class SetupCheck {
public:
    /// A warning for an ORVDATA without its trailing separator (the module
    /// joins it and "Drivers" without one); nothing when it is fine or unset.
    static std::optional<std::string> DataDirectoryWarning();
    /// The first thing missing or wrong for `board`: ORVDATA, ORSisoMe.ini, the
    /// board's section and applet file, SISODIR5, the GenICam library, the
    /// machine file. Nothing when everything visible is in place.
    static std::optional<std::string> FirstProblem(int32_t board);
    /// "ORSisoMe.ini at PATH" and "vendor runtime at PATH" with the actual paths.
    static std::string Files();
};

#pragma once
// Where orvgrab finds the driver module and the simulated GenICam library.

#include <optional>
#include <string>

class ModuleLocator {
public:
    static constexpr const char* kModuleName = "ORSisoMe.xvd";
    static constexpr const char* kGenICamName = "siso_genicam.dll";

    /// The module to load: `given` when set, else ORSisoMe.xvd next to the program
    /// or in ../lib (the build and install layouts). Throws ToolError when the file
    /// is not there.
    static std::string FindModule(const std::optional<std::string>& given);
    /// siso_genicam.dll next to `modulePath`, or nothing when it is absent.
    static std::optional<std::string> FindGenICamLibrary(const std::string& modulePath);
};

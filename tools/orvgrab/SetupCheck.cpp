#include "SetupCheck.h"

#include <platform/Environment.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

std::string Trim(std::string text) {
    const auto space = [](unsigned char c) { return std::isspace(c) != 0; };
    text.erase(text.begin(), std::find_if_not(text.begin(), text.end(), space));
    text.erase(std::find_if_not(text.rbegin(), text.rend(), space).base(), text.end());
    return text;
}

std::string Lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

/// %NAME% references from the environment, '\' as '/': how the module reads paths.
std::string Expand(const std::string& value) {
    std::string out;
    for (std::string::size_type i = 0; i < value.size(); ++i) {
        const std::string::size_type close =
            value[i] == '%' ? value.find('%', i + 1) : std::string::npos;
        if (close != std::string::npos && close > i + 1) {
            out += platform::GetEnv(value.substr(i + 1, close - i - 1)).value_or("");
            i = close;
        } else {
            out += value[i] == '\\' ? '/' : value[i];
        }
    }
    return out;
}

/// The value of `key` in `[section]` of an INI file (names case-insensitive).
std::optional<std::string> IniValue(const std::string& path, const std::string& section,
                                    const std::string& key) {
    std::ifstream in(path);
    bool inside = false;
    for (std::string line; std::getline(in, line);) {
        line = Trim(line);
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        if (line[0] == '[') {
            inside = Lower(Trim(line.substr(1, line.find(']') - 1))) == Lower(section);
            continue;
        }
        const std::string::size_type equals = line.find('=');
        if (inside && equals != std::string::npos &&
            Lower(Trim(line.substr(0, equals))) == Lower(key))
            return Trim(line.substr(equals + 1));
    }
    return std::nullopt;
}

/// The first line of an INI file its parser cannot take: a section without its
/// closing bracket.
std::optional<std::string> SyntaxError(const std::string& path) {
    std::ifstream in(path);
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        line = Trim(line);
        if (!line.empty() && line[0] == '[' && line.find(']') == std::string::npos)
            return path + " line " + std::to_string(number) + ": unmatched '[' in \"" + line + "\"";
    }
    return std::nullopt;
}

/// Whether the INI file has a section of that name.
bool HasSection(const std::string& path, const std::string& section) {
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        line = Trim(line);
        if (!line.empty() && line[0] == '[' &&
            Lower(Trim(line.substr(1, line.find(']') - 1))) == Lower(section))
            return true;
    }
    return false;
}

bool IsFile(const std::string& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

std::string ConfigurationFile() {
    return platform::GetEnv("ORVDATA").value_or("") + "Drivers/ORSisoMe.ini";
}

} // namespace

std::optional<std::string> SetupCheck::DataDirectoryWarning() {
    const std::optional<std::string> data = platform::GetEnv("ORVDATA");
    if (!data || data->empty() || data->back() == '/')
        return std::nullopt;
    return "ORVDATA=" + *data + " lacks its trailing '/': the module reads " + *data +
           "Drivers/ORSisoMe.ini, not " + *data + "/Drivers/ORSisoMe.ini";
}

std::optional<std::string> SetupCheck::FirstProblem(int32_t board) {
    if (!platform::GetEnv("ORVDATA"))
        return std::string("ORVDATA is not set, so the module has no ORSisoMe.ini");
    if (std::optional<std::string> warning = DataDirectoryWarning())
        return warning;
    const std::string ini = ConfigurationFile();
    if (!IsFile(ini))
        return "no configuration file " + ini;
    if (std::optional<std::string> syntax = SyntaxError(ini))
        return syntax;
    const std::string section = "BOARD" + std::to_string(board);
    const std::optional<std::string> applet = IniValue(ini, section, "inifilemcf");
    if (!applet)
        return ini + " has no inifilemcf in [" + section + "], so board " + std::to_string(board) +
               " stays unconfigured";
    const std::string appletFile = Expand(*applet);
    if (!IsFile(appletFile))
        return "the applet file " + appletFile + " (inifilemcf of [" + section + "] in " + ini +
               ") does not exist";
    const std::optional<std::string> runtime = platform::GetEnv("SISODIR5");
    if (!runtime)
        return std::string("SISODIR5 is not set, so the module finds no vendor runtime");
    const std::string genicam = *runtime + "/bin/siso_genicam.dll";
    if (!IsFile(genicam))
        return "no GenICam library " + genicam + " in the vendor runtime";
    const std::string machine = *runtime + "/fgsim_machine.ini";
    if (IsFile(machine)) {
        if (std::optional<std::string> syntax = SyntaxError(machine))
            return syntax;
        if (!HasSection(machine, "board" + std::to_string(board)))
            return "the simulated machine " + machine + " has no [board" + std::to_string(board) +
                   "]";
    }
    return std::nullopt;
}

std::string SetupCheck::Files() {
    return "the configuration " + ConfigurationFile() + ", its applet files, and the vendor " +
           "runtime " + platform::GetEnv("SISODIR5").value_or("(SISODIR5 unset)") +
           " (fgsim_machine.ini)";
}

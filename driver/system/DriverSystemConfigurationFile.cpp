// CDriverSystem: locating, generating and reading the configuration file.
#include "system/DriverSystem.h"

#include <nwLogging/LogMacros.h>

#include <platform/MessageBox.h>
#include <platform/Path.h>

#include <boost/filesystem/operations.hpp>
#include <boost/property_tree/ini_parser.hpp>

#include <fstream>
#include <locale>

bool CDriverSystem::FileExists(const std::string& path) const {
    boost::system::error_code error;
    const boost::filesystem::file_status status =
        boost::filesystem::status(platform::ToNativePath(path), error);
    if (error || !boost::filesystem::exists(status)) {
        NWLOG_AT(log_, nwLogging::level_warn, "DriverSystem", 351,
                 "inifile " << '"' << path << '"' << " NOT exists");
        return false;
    }
    NWLOG(log_, nwLogging::level_info, "inifile " << '"' << path << '"' << " exists");
    return true;
}

bool CDriverSystem::GenerateConfiguration(const std::string& path) const {
    if (FileExists(path)) {
        NWLOG_AT(log_, nwLogging::level_warn, "DriverSystem", 361,
                 "file " << path << " already exists");
        return false;
    }
    const std::string native = platform::ToNativePath(path);
    {
        std::ofstream file(native, std::ios::out | std::ios::trunc);
        if (file.is_open()) {
            file << CDriverConfiguration::TemplateText();
            file.close();
            // A file cut short (disk full) would be read as it stands and never
            // be generated again: remove it so this start reports the failure
            // and the next one writes the template afresh.
            if (file.fail()) {
                boost::system::error_code ignored;
                boost::filesystem::remove(native, ignored);
            }
        }
    }
    if (FileExists(path)) {
        NWLOG(log_, nwLogging::level_info, "file " << path << " generated");
        return true;
    }
    NWLOG_AT(log_, nwLogging::level_err, "DriverSystem", 382,
             "file " << path << " generation failed");
    return false;
}

void CDriverSystem::ReadConfiguration() {
    boost::property_tree::ptree tree;
    try {
        boost::property_tree::ini_parser::read_ini(platform::ToNativePath(configurationPath_), tree,
                                                   std::locale());
    } catch (const boost::property_tree::ini_parser_error& error) {
        // The tree stays empty: every key takes its default.
        NWLOG_AT(log_, nwLogging::level_err, "DriverSystem", 85,
                 "Error: " << configurationPath_ << " | Message: " << error.message() << " "
                           << error.line());
        platform::ShowMessageBox("Parsing error",
                                 "INI file, message: " + error.message() + " " +
                                     std::to_string(error.line()),
                                 platform::kMessageBoxOk);
        return;
    }
    configuration_ = CDriverConfiguration(std::move(tree));
    NWLOG(log_, nwLogging::level_info,
          "SISO_Runtime Version: " << runtime_.major << "." << runtime_.minor << "."
                                   << runtime_.patch);
}

#pragma once

#include <boost/optional.hpp>
#include <boost/property_tree/ptree.hpp>

#include <cstdint>
#include <string>

/// The parsed configuration file: sections and keys as text, read through typed
/// lookups by "SECTION.key". A mistyped value reads like a missing key, so the
/// caller's default applies. Read-only after start-up.
class CDriverConfiguration {
public:
    CDriverConfiguration() = default;
    explicit CDriverConfiguration(boost::property_tree::ptree tree) : tree_(std::move(tree)) {}

    boost::optional<std::string> Text(const std::string& path) const;
    /// Decimal; trailing white space allowed, anything else left over makes it empty.
    boost::optional<int32_t> Int32(const std::string& path) const;
    boost::optional<uint32_t> UInt32(const std::string& path) const;
    /// 0/1 first, then the words true/false in lower case.
    boost::optional<bool> Boolean(const std::string& path) const;
    /// Text passed through the environment expansion; an expansion that yields the
    /// empty text counts as an empty value (the key is still present).
    boost::optional<std::string> Path(const std::string& path) const;

    const boost::property_tree::ptree& Tree() const { return tree_; }
    bool Empty() const { return tree_.empty(); }

    /// The default file written when none exists. Lines end in "\n"; writing it
    /// as text gives the platform's line ends (the file equals this text here).
    static std::string TemplateText();

private:
    boost::property_tree::ptree tree_;
};

/// Replaces every "%NAME%" and "$(NAME)" reference by the variable's value,
/// expanding references inside values again; any unset or empty variable, or a
/// reference without its closing character, makes the whole result empty. A
/// variable whose value refers back to itself counts as unset. Values are used
/// whole, however long.
std::string ExpandEnvironment(const std::string& text);

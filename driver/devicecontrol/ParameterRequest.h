#pragma once

#include <boost/property_tree/ptree.hpp>

#include <cstdint>
#include <string>

/// The text form of a typed SDK parameter request: "ID=100;type=1;length=4;data=25".
/// The text is split at every ';' (empty pieces kept), each piece becomes one line
/// of an INI document, and the document is read by the property tree's INI
/// reader. Keys are case-sensitive. Reader errors (a piece without '=', a
/// duplicate key), missing keys and failed conversions throw the property tree's
/// exceptions with its texts.
///
/// Immutable after parsing; safe from any thread.
class CParameterRequest {
public:
    /// Throws when the text is no INI document.
    explicit CParameterRequest(const std::string& text);

    int32_t Id() const;
    int32_t Type() const;
    uint64_t Length() const;
    /// "data" converted to T.
    template <class T> T Data() const { return tree_.get<T>("data"); }

private:
    boost::property_tree::ptree tree_;
};

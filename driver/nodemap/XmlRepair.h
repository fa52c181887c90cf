#pragma once

#include <string>

/// Text repairs that make the grabber descriptions of old vendor runtimes (before
/// 5.2) loadable by a GenICam node map: they contain constructs the node-map
/// library refuses (version texts like "1.0", '|' in names, empty enumerations,
/// a missing root category). A fixed list of replacements applied in order, outside
/// the comments the description already has.
///
/// Stateless; safe from any thread.
class CXmlRepair {
public:
    struct Result {
        std::string text;
        /// The root category was added because the text had none; the caller logs
        /// "repaired empty XML category".
        bool categoryAdded = false;
    };

    /// Runs every rule on `text`.
    static Result Apply(std::string text);

    /// Replaces every occurrence of `search` from left to right, continuing after
    /// each inserted replacement, so a replacement is never searched again.
    /// Answers the number of replacements.
    static size_t ReplaceAll(std::string& text, const std::string& search,
                             const std::string& replacement);
};

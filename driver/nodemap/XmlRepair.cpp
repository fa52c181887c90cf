#include "nodemap/XmlRepair.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace {

/// Parameters whose enumeration comes without entries and gets HIGH and LOW.
const std::array<const char*, 12> twoLevelParameters = {
    "FG_LINETRIGGERINPOLARITY", "FG_IMGTRIGGERON",       "FG_EXSYNCON",
    "FG_EXSYNCPOLARITY",        "FG_IMGTRIGGERINSRC",    "FG_FLASH_POLARITY",
    "FG_IMGTRIGGERINPOLARITY",  "FG_SETSOFTWARETRIGGER", "FG_FLASHON",
    "FG_SENDSOFTWARETRIGGER",   "FG_SHAFTENCODERINSRC",  "FG_SHAFTENCODERON"};

/// Parameters whose empty enumeration type is commented out.
const std::array<const char*, 7> emptyEnumerations = {
    "FG_SENSORREADOUT",      "FG_LINESHADING_SUB_ENABLE",     "FG_LINESHADING_MULT_ENABLE",
    "FG_AUTO_SHADING_WIDTH", "FG_LINESHADING_LOAD_FROM_FILE", "FG_CLEAR_SHADINGDATA",
    "FG_SWAPENDIAN"};

/// Rules 1 to 35 in the order they run.
std::vector<std::pair<std::string, std::string>> Rules() {
    std::vector<std::pair<std::string, std::string>> rules = {
        {"<Inc>0</Inc>", "<!-- comment <Inc>0</Inc> -->"},
        {"<pInvalidator>unbound</pInvalidator>",
         "<!-- comment <pInvalidator>unbound</pInvalidator> -->"},
        {"<EnumEntry Name=\"0", "<EnumEntry Name=\"NAME0"},
        {"<EnumEntry Name=\"1", "<EnumEntry Name=\"NAME1"},
        {"|", "_"},
        {"MajorVersion=\"1.0\"", "MajorVersion=\"1\""},
        {"MinorVersion=\"1.0\"", "MinorVersion=\"1\""},
        {"<pValue>FG_USEDVAL</pValue>",
         "<EnumEntry Name=\"DVAL_Yes\"><Value>1</Value></EnumEntry><EnumEntry "
         "Name=\"DVAL_No\"><Value>0</Value></EnumEntry><pValue>FG_USEDVAL</pValue>"},
        {"<pValue>FG_LINETRIGGERINSRC</pValue>",
         "<EnumEntry Name=\"SRC0\"><Value>0</Value></EnumEntry><EnumEntry "
         "Name=\"SRC1\"><Value>1</Value></EnumEntry><pValue>FG_LINETRIGGERINSRC</pValue>"},
    };
    for (const char* parameter : twoLevelParameters) {
        const std::string value = std::string("<pValue>") + parameter + "</pValue>";
        rules.emplace_back(value, "<EnumEntry Name=\"HIGH\"><Value>1</Value></EnumEntry>"
                                  "<EnumEntry Name=\"LOW\"><Value>0</Value></EnumEntry>" +
                                      value);
    }
    rules.emplace_back("<AccessMode></AccessMode>", "<AccessMode>WO</AccessMode>");
    rules.emplace_back("<Category Name='Root' NameSpace='Standard' >\n</Category>",
                       "<Category Name='Root' NameSpace='Standard' ><pFeature>ExampleCategory"
                       "</pFeature></Category><Category Name='ExampleCategory'><pFeature>"
                       "FG_GEN_FREQ</pFeature><pFeature>FG_GEN_ENABLE</pFeature></Category>");
    rules.emplace_back("<pSelect>FG_KNEE_LUT_Reg</pSelect>",
                       "<!-- <pSelect>FG_KNEE_LUT_Reg</pSelect> -->");
    rules.emplace_back("<Min>", "<!-- comment <Min>");
    rules.emplace_back("<Max>", "<!-- comment <Max>");
    rules.emplace_back("</Min>", "</Min> -->");
    rules.emplace_back("</Max>", "</Max> -->");
    for (const char* name : emptyEnumerations) {
        rules.emplace_back(std::string("<Enumeration Name=\"") + name +
                               "_EnumerationType\">\n<pValue>" + name + "</pValue>\n</Enumeration>",
                           std::string("<!-- Enumeration Name=") + name +
                               "_EnumerationType empty -->");
    }
    return rules;
}

/// A stretch of the description: markup the rules repair, or one of the comments it
/// came with, which they leave alone.
struct Piece {
    std::string text;
    bool comment = false;
};

/// Splits at the description's comments ("<!--" to the next "-->", or to the end when
/// it is never closed). A text without comments stays one piece.
std::vector<Piece> SplitAtComments(std::string text) {
    static const std::string open = "<!--";
    static const std::string close = "-->";
    std::vector<Piece> pieces;
    size_t from = 0;
    for (size_t start = text.find(open); start != std::string::npos;
         start = text.find(open, from)) {
        const size_t closing = text.find(close, start + open.size());
        const size_t end = closing == std::string::npos ? text.size() : closing + close.size();
        if (start > from)
            pieces.push_back({text.substr(from, start - from), false});
        pieces.push_back({text.substr(start, end - start), true});
        from = end;
    }
    if (from == 0) {
        pieces.push_back({std::move(text), false});
    } else if (from < text.size()) {
        pieces.push_back({text.substr(from), false});
    }
    return pieces;
}

std::string Join(std::vector<Piece>& pieces) {
    if (pieces.size() == 1)
        return std::move(pieces.front().text);
    size_t size = 0;
    for (const Piece& piece : pieces)
        size += piece.text.size();
    std::string text;
    text.reserve(size);
    for (const Piece& piece : pieces)
        text += piece.text;
    return text;
}

/// Runs one rule on the markup, never inside a comment.
void ReplaceOutsideComments(std::vector<Piece>& pieces, const std::string& search,
                            const std::string& replacement) {
    for (Piece& piece : pieces) {
        if (!piece.comment)
            CXmlRepair::ReplaceAll(piece.text, search, replacement);
    }
}

} // namespace

size_t CXmlRepair::ReplaceAll(std::string& text, const std::string& search,
                              const std::string& replacement) {
    if (search.empty())
        return 0;
    // Built anew rather than replaced in place: descriptions run to megabytes with
    // thousands of matches, and each in-place replacement would move the rest.
    std::string result;
    size_t count = 0;
    size_t from = 0;
    for (size_t at = text.find(search); at != std::string::npos; at = text.find(search, from)) {
        if (count == 0)
            result.reserve(text.size());
        result.append(text, from, at - from);
        result += replacement;
        from = at + search.size();
        ++count;
    }
    if (count == 0)
        return 0;
    result.append(text, from, std::string::npos);
    text.swap(result);
    return count;
}

CXmlRepair::Result CXmlRepair::Apply(std::string text) {
    static const std::vector<std::pair<std::string, std::string>> rules = Rules();
    // A rule's comment markers written into one of the description's own comments would
    // end it early or nest it, and the text would no longer be XML; so those comments
    // are kept as they are. The rules' own comments are markup like any other.
    std::vector<Piece> pieces = SplitAtComments(std::move(text));
    for (const auto& rule : rules)
        ReplaceOutsideComments(pieces, rule.first, rule.second);
    Result result;
    // A description without any category gives the node map no root to show.
    const bool anyCategory = std::any_of(pieces.begin(), pieces.end(), [](const Piece& piece) {
        return piece.text.find("Category") != std::string::npos;
    });
    if (!anyCategory) {
        ReplaceOutsideComments(pieces, "<Port Name=\"Device\"></Port>",
                               "<Category Name='Root' NameSpace='Standard' ><pFeature>"
                               "ExampleCategory</pFeature></Category><Category "
                               "Name='ExampleCategory'><pFeature>FG_CAMSTATUS</pFeature>"
                               "</Category><Port Name=\"Device\"></Port>");
        result.categoryAdded = true;
    }
    result.text = Join(pieces);
    return result;
}

#include "nodemap/XmlRepair.h"

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
    for (const auto& rule : rules)
        ReplaceAll(text, rule.first, rule.second);
    Result result;
    // A description without any category gives the node map no root to show.
    if (text.find("Category") == std::string::npos) {
        ReplaceAll(text, "<Port Name=\"Device\"></Port>",
                   "<Category Name='Root' NameSpace='Standard' ><pFeature>ExampleCategory"
                   "</pFeature></Category><Category Name='ExampleCategory'><pFeature>"
                   "FG_CAMSTATUS</pFeature></Category><Port Name=\"Device\"></Port>");
        result.categoryAdded = true;
    }
    result.text = std::move(text);
    return result;
}

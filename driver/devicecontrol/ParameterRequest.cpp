#include "devicecontrol/ParameterRequest.h"

#include <boost/property_tree/ini_parser.hpp>

#include <sstream>

CParameterRequest::CParameterRequest(const std::string& text) {
    std::string document;
    document.reserve(text.size() + 1);
    for (char c : text)
        document += c == ';' ? '\n' : c;
    document += '\n';
    std::istringstream stream(document);
    boost::property_tree::ini_parser::read_ini(stream, tree_);
}

int32_t CParameterRequest::Id() const {
    return tree_.get<int32_t>("ID");
}

int32_t CParameterRequest::Type() const {
    return tree_.get<int32_t>("type");
}

uint64_t CParameterRequest::Length() const {
    return tree_.get<uint64_t>("length");
}

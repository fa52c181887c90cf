#pragma once
// A parsed XML document (libxml2), owned.

#include <memory>
#include <string>
#include <unordered_set>

struct _xmlDoc;

namespace orgenapi {

/// Move-only owner of a libxml2 document. Parsing never touches the network and
/// never loads external entities or DTDs, so a description cannot make us read
/// local files or fetch URLs. Immutable after parsing; safe to read from several
/// threads.
class XmlDocument {
public:
    /// Parses `text`; null when it is not well-formed XML.
    static std::unique_ptr<XmlDocument> Parse(const std::string& text);
    ~XmlDocument();
    XmlDocument(const XmlDocument&) = delete;
    XmlDocument& operator=(const XmlDocument&) = delete;

    /// Local name of the root element (no namespace prefix).
    std::string RootLocalName() const;
    /// Every value of an element's `Name` attribute, entity contents included.
    std::unordered_set<std::string> ElementNames() const;

private:
    explicit XmlDocument(_xmlDoc* document) : document_(document) {}
    _xmlDoc* document_;
};

} // namespace orgenapi

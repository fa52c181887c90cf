#pragma once
// A parsed XML document (libxml2), owned.

#include <memory>
#include <optional>
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
    /// The names of the Port elements, entity contents included.
    std::unordered_set<std::string> PortNames() const;
    /// The text a second parser may read safely: `original` when the document has
    /// no document type declaration; otherwise the document without it, with each
    /// internal entity reference replaced by the entity's content and external
    /// ones dropped. Nothing when the substitution would grow beyond its budget.
    std::optional<std::string> EngineText(const std::string& original) const;

private:
    explicit XmlDocument(_xmlDoc* document) : document_(document) {}
    /// Names of the elements called `element` (every element when null).
    std::unordered_set<std::string> NamesOf(const char* element) const;
    /// Replaces the entity references in `document`, a copy of `source`, as
    /// EngineText says.
    static bool SubstituteEntities(_xmlDoc* document, const _xmlDoc* source);
    _xmlDoc* document_;
};

} // namespace orgenapi

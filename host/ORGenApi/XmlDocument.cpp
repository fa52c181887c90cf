#include "XmlDocument.h"

#include <libxml/entities.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <climits>
#include <mutex>
#include <vector>

namespace orgenapi {

namespace {

void InitialiseParser() {
    // libxml2 wants one initialisation before threads parse concurrently.
    static std::once_flag once;
    std::call_once(once, [] { xmlInitParser(); });
}

/// Owns a parser context for one parse.
class ParserContext {
public:
    ParserContext() : context_(xmlNewParserCtxt()) {}
    ~ParserContext() {
        if (context_ != nullptr)
            xmlFreeParserCtxt(context_);
    }
    ParserContext(const ParserContext&) = delete;
    ParserContext& operator=(const ParserContext&) = delete;
    xmlParserCtxtPtr get() const { return context_; }

private:
    xmlParserCtxtPtr context_;
};

/// Owns a document copy.
class DocumentCopy {
public:
    explicit DocumentCopy(xmlDocPtr document) : document_(document) {}
    ~DocumentCopy() {
        if (document_ != nullptr)
            xmlFreeDoc(document_);
    }
    DocumentCopy(const DocumentCopy&) = delete;
    DocumentCopy& operator=(const DocumentCopy&) = delete;
    xmlDocPtr get() const { return document_; }

private:
    xmlDocPtr document_;
};

std::string Text(const xmlChar* text) {
    return text != nullptr ? std::string(reinterpret_cast<const char*>(text)) : std::string();
}

} // namespace

std::unique_ptr<XmlDocument> XmlDocument::Parse(const std::string& text) {
    InitialiseParser();
    if (text.size() > static_cast<size_t>(INT_MAX))
        return nullptr;
    ParserContext context;
    if (context.get() == nullptr)
        return nullptr;
    // No NOENT, DTDLOAD, DTDVALID, XINCLUDE or HUGE: entities stay references,
    // external ones are never loaded, and libxml2's size and depth limits hold.
    // Errors are answered by the result, not printed.
    const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
    xmlDocPtr document = xmlCtxtReadMemory(
        context.get(), text.data(), static_cast<int>(text.size()), nullptr, nullptr, options);
    if (document == nullptr)
        return nullptr;
    if (!context.get()->wellFormed) {
        xmlFreeDoc(document);
        return nullptr;
    }
    return std::unique_ptr<XmlDocument>(new XmlDocument(document));
}

XmlDocument::~XmlDocument() {
    xmlFreeDoc(document_);
}

std::string XmlDocument::RootLocalName() const {
    xmlNodePtr root = xmlDocGetRootElement(document_);
    return root != nullptr ? Text(root->name) : std::string();
}

std::unordered_set<std::string> XmlDocument::ElementNames() const {
    return NamesOf(nullptr);
}

std::unordered_set<std::string> XmlDocument::PortNames() const {
    return NamesOf("Port");
}

std::unordered_set<std::string> XmlDocument::NamesOf(const char* element) const {
    std::unordered_set<std::string> names;
    std::unordered_set<const void*> visitedEntities;
    // Explicit stack: nesting depth is bounded by libxml2, but a stack of our
    // own costs nothing and cannot overflow the thread's.
    std::vector<xmlNodePtr> pending;
    if (xmlNodePtr root = xmlDocGetRootElement(document_))
        pending.push_back(root);
    while (!pending.empty()) {
        xmlNodePtr node = pending.back();
        pending.pop_back();
        for (; node != nullptr; node = node->next) {
            if (node->type == XML_ELEMENT_NODE) {
                if (element == nullptr || xmlStrEqual(node->name, BAD_CAST element)) {
                    if (xmlChar* name = xmlGetNoNsProp(node, BAD_CAST "Name")) {
                        names.insert(Text(name));
                        xmlFree(name);
                    }
                }
                if (node->children != nullptr)
                    pending.push_back(node->children);
            } else if (node->type == XML_ENTITY_REF_NODE && node->children != nullptr) {
                // The reference's child is the entity declaration; each entity's
                // content is walked once however often it is referenced.
                xmlNodePtr entity = node->children;
                if (visitedEntities.insert(entity).second && entity->children != nullptr)
                    pending.push_back(entity->children);
            }
        }
    }
    return names;
}

std::optional<std::string> XmlDocument::EngineText(const std::string& original) const {
    if (document_->intSubset == nullptr && document_->extSubset == nullptr)
        return original;
    DocumentCopy copy(xmlCopyDoc(document_, 1));
    if (copy.get() == nullptr || !SubstituteEntities(copy.get(), document_))
        return std::nullopt;
    for (xmlDtdPtr* subset : {&copy.get()->intSubset, &copy.get()->extSubset}) {
        if (xmlDtdPtr dtd = *subset) {
            xmlUnlinkNode(reinterpret_cast<xmlNodePtr>(dtd));
            *subset = nullptr;
            xmlFreeDtd(dtd);
        }
    }
    xmlChar* text = nullptr;
    int size = 0;
    xmlDocDumpMemory(copy.get(), &text, &size);
    if (text == nullptr)
        return std::nullopt;
    std::string result(reinterpret_cast<const char*>(text), static_cast<size_t>(size));
    xmlFree(text);
    return result;
}

bool XmlDocument::SubstituteEntities(_xmlDoc* document, const _xmlDoc* source) {
    // libxml2 has already bounded each entity's expansion; the budget also
    // bounds their nesting.
    size_t budget = 1000000;
    std::vector<xmlNodePtr> pending;
    if (xmlNodePtr root = xmlDocGetRootElement(document))
        pending.push_back(root);
    while (!pending.empty()) {
        xmlNodePtr node = pending.back();
        pending.pop_back();
        while (node != nullptr) {
            if (budget-- == 0)
                return false;
            xmlNodePtr next = node->next;
            if (node->type == XML_ENTITY_REF_NODE) {
                // The copy's declarations carry no parsed content; the source's do.
                xmlEntityPtr entity = xmlGetDocEntity(source, node->name);
                xmlNodePtr first = nullptr;
                // External entities are never loaded, so they stand for nothing.
                if (entity != nullptr && entity->etype == XML_INTERNAL_GENERAL_ENTITY &&
                    entity->children != nullptr) {
                    xmlNodePtr copies = xmlDocCopyNodeList(document, entity->children);
                    while (copies != nullptr) {
                        xmlNodePtr following = copies->next;
                        xmlNodePtr added = xmlAddPrevSibling(node, copies);
                        if (first == nullptr)
                            first = added;
                        copies = following;
                    }
                }
                xmlUnlinkNode(node);
                xmlFreeNode(node);
                // The inserted content is walked next: it may hold references too.
                if (first != nullptr)
                    next = first;
            } else if (node->type == XML_ELEMENT_NODE && node->children != nullptr) {
                pending.push_back(node->children);
            }
            node = next;
        }
    }
    return true;
}

} // namespace orgenapi

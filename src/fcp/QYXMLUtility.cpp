#include "QYXMLUtility.h"

#include <cstring>
#include <sstream>

namespace quillery::xml {

namespace {

// Whitespace-only text is dropped unless it is an element's only content (a title whose
// text is a single space keeps it); line ends are normalised as XML requires, while
// character references such as "&#13;" keep their character.
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_declaration |
                                   pugi::parse_doctype | pugi::parse_ws_pcdata_single;
const char* const kIndent = "    ";

QString text(const char* value) {
    return QString::fromUtf8(value);
}

QByteArray utf8(const QString& value) {
    return value.toUtf8();
}

// The next node after `node` in document order below `root`, without recursion, so a
// deeply nested document cannot exhaust the stack.
pugi::xml_node nextInDocumentOrder(const pugi::xml_node& node, const pugi::xml_node& root) {
    if (node.first_child())
        return node.first_child();
    pugi::xml_node current = node;
    while (current && current != root) {
        if (current.next_sibling())
            return current.next_sibling();
        current = current.parent();
    }
    return {};
}

QString saved(const pugi::xml_node& node, unsigned flags) {
    std::ostringstream out;
    node.print(out, kIndent, flags, pugi::encoding_utf8);
    return QString::fromStdString(out.str());
}

} // namespace

DocumentPtr parseDocument(const QString& source) {
    auto document = std::make_shared<Document>();
    const QByteArray bytes = utf8(source);
    const pugi::xml_parse_result result =
        document->load_buffer(bytes.constData(), bytes.size(), kParseOptions, pugi::encoding_utf8);
    if (!result || !document->document_element())
        return nullptr;
    return document;
}

DocumentPtr detachedCopy(const Element& element) {
    auto document = std::make_shared<Document>();
    document->append_copy(element);
    return document;
}

DocumentPtr deepCopy(const Document& document) {
    auto copy = std::make_shared<Document>();
    copy->reset(document);
    return copy;
}

QString prettyString(const Document& document) {
    std::ostringstream out;
    document.save(out, kIndent, pugi::format_indent | pugi::format_no_declaration,
                  pugi::encoding_utf8);
    return QString::fromStdString(out.str());
}

QString elementString(const Element& element) {
    return saved(element, pugi::format_indent | pugi::format_no_declaration);
}

Element singleElementByPath(const Element& context, const QString& path) {
    if (!context)
        return {};
    const QByteArray query = utf8(path);
    // A single name needs no path query; the readers ask for those most often.
    if (!query.contains('/'))
        return context.child(query.constData());
    return context.select_node(query.constData()).node();
}

std::vector<Element> allElementsByPath(const Element& context, const QString& path) {
    std::vector<Element> elements;
    if (!context)
        return elements;
    for (const pugi::xpath_node& match : context.select_nodes(utf8(path).constData()))
        elements.push_back(match.node());
    return elements;
}

Element singleElementByElementName(const Element& context, const char* name) {
    return context.child(name);
}

std::vector<Element> allElementsForName(const Element& context, const char* name) {
    std::vector<Element> elements;
    for (pugi::xml_node node = context.first_child(); node;
         node = nextInDocumentOrder(node, context)) {
        if (node.type() == pugi::node_element && std::strcmp(node.name(), name) == 0)
            elements.push_back(node);
    }
    return elements;
}

std::vector<Element> allElements(const Element& context) {
    std::vector<Element> elements;
    for (pugi::xml_node node = context.first_child(); node;
         node = nextInDocumentOrder(node, context)) {
        if (node.type() == pugi::node_element)
            elements.push_back(node);
    }
    return elements;
}

std::vector<Element> childElements(const Element& context, const char* name) {
    std::vector<Element> elements;
    for (const pugi::xml_node& child : context.children(name))
        elements.push_back(child);
    return elements;
}

std::vector<Element> childElements(const Element& context) {
    std::vector<Element> elements;
    for (const pugi::xml_node& child : context.children()) {
        if (child.type() == pugi::node_element)
            elements.push_back(child);
    }
    return elements;
}

QString stringValue(const Element& element) {
    if (!element)
        return QString();
    if (element.type() == pugi::node_pcdata || element.type() == pugi::node_cdata)
        return text(element.value());
    std::string value;
    for (pugi::xml_node node = element.first_child(); node;
         node = nextInDocumentOrder(node, element)) {
        if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata)
            value += node.value();
    }
    return QString::fromStdString(value);
}

QString contentStringValueByElementName(const Element& context, const char* name) {
    return stringValue(context.child(name));
}

QString stringValueOfAttribute(const char* attribute, const Element& element) {
    const pugi::xml_attribute found = element.attribute(attribute);
    return found ? text(found.value()) : QString();
}

void setAttribute(Element element, const char* name, const QString& value) {
    if (!element)
        return;
    pugi::xml_attribute attribute = element.attribute(name);
    if (!attribute)
        attribute = element.append_attribute(name);
    attribute.set_value(utf8(value).constData());
}

void setStringValue(Element element, const QString& value) {
    if (!element)
        return;
    while (element.first_child())
        element.remove_child(element.first_child());
    element.append_child(pugi::node_pcdata).set_value(utf8(value).constData());
}

Element insertChildCopy(Element parent, const Element& element, size_t index) {
    pugi::xml_node before = parent.first_child();
    for (size_t i = 0; before && i < index; ++i)
        before = before.next_sibling();
    return before ? parent.insert_copy_before(element, before) : parent.append_copy(element);
}

} // namespace quillery::xml

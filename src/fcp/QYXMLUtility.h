// The XML facility the Final Cut Pro readers and writers share, over pugixml: parsing with
// the options every Final Cut Pro document needs, the element lookups by path and name,
// detached copies, insertion by index, attribute replacement and pretty printing.
//
// pugixml never expands entities other than the five predefined ones and character
// references, and never opens anything a document refers to: an entity bomb stays a
// literal "&name;" and an external entity or DTD is never fetched.
#pragma once

#include <QString>
#include <memory>
#include <pugixml.hpp>
#include <vector>

namespace quillery::xml {

using Document = pugi::xml_document;
using DocumentPtr = std::shared_ptr<pugi::xml_document>;
using Element = pugi::xml_node;

// A new document holding the parsed text; nothing when the text is not well-formed XML
// or has no root element. The declaration, the document type and text that is nothing
// but white space inside an element are kept, so they are written back as they came.
DocumentPtr parseDocument(const QString& text);

// A document of its own holding a deep copy of the element as its root; the copy lives
// as long as the returned document.
DocumentPtr detachedCopy(const Element& element);
DocumentPtr deepCopy(const Document& document);

// The whole document with four-space indentation, empty elements written as "<name />",
// and its own declaration (none is added when it has none).
QString prettyString(const Document& document);
// One element as XML text, indented the same way, without a declaration.
QString elementString(const Element& element);

// The first element at a relative path of child names ("sequence/media/video/track"),
// in document order; a null element when there is none.
Element singleElementByPath(const Element& context, const QString& path);
// Every element at a relative path, in document order.
std::vector<Element> allElementsByPath(const Element& context, const QString& path);
// The first child element of that name.
Element singleElementByElementName(const Element& context, const char* name);
// Every descendant element of that name, depth first, in document order.
std::vector<Element> allElementsForName(const Element& context, const char* name);
// Every descendant element, depth first, in document order.
std::vector<Element> allElements(const Element& context);
// The child elements of that name, in order.
std::vector<Element> childElements(const Element& context, const char* name);
// Every child element, whatever its name.
std::vector<Element> childElements(const Element& context);

// The text of an element and all its descendants, concatenated.
QString stringValue(const Element& element);
// The string value of the first child element of that name; empty when there is none.
QString contentStringValueByElementName(const Element& context, const char* name);
// The attribute's value; a null string when the element has no such attribute.
QString stringValueOfAttribute(const char* attribute, const Element& element);

// Sets an attribute, replacing one of the same name in its place.
void setAttribute(Element element, const char* name, const QString& value);
// Replaces every child of the element by one text node.
void setStringValue(Element element, const QString& value);
// Inserts a deep copy of the element among the parent's children so that it becomes the
// child at that index (counting every child node); past the end it is appended.
Element insertChildCopy(Element parent, const Element& element, size_t index);

} // namespace quillery::xml

#include "QYXMLUtility.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace quillery;

namespace {

QStringList names(const std::vector<xml::Element>& elements) {
    QStringList result;
    for (const xml::Element& element : elements)
        result << QString::fromUtf8(element.name()) + u'@' +
                      xml::stringValueOfAttribute("n", element);
    return result;
}

TEST(XMLUtility, LookupsFollowDocumentOrder) {
    const xml::DocumentPtr document =
        xml::parseDocument("<r><a n='1'><b n='1'/></a><a n='2'><c n='1'><b n='2'/></c><b "
                           "n='3'>x<i>y</i>z</b></a></r>");
    ASSERT_TRUE(document);
    const xml::Element root = document->document_element();
    // The first "a" has no "c": the path search goes on to the second one.
    EXPECT_EQ(xml::stringValueOfAttribute("n", xml::singleElementByPath(root, "a/c/b")), "2");
    EXPECT_EQ(names(xml::allElementsByPath(root, "a/b")), (QStringList{"b@1", "b@3"}));
    EXPECT_EQ(names(xml::allElementsForName(root, "b")), (QStringList{"b@1", "b@2", "b@3"}));
    EXPECT_EQ(xml::stringValueOfAttribute("n", xml::singleElementByElementName(root, "a")), "1");
    EXPECT_EQ(xml::contentStringValueByElementName(root.last_child(), "b"), "xyz");
    EXPECT_TRUE(xml::stringValueOfAttribute("missing", root).isNull());
    EXPECT_FALSE(xml::singleElementByPath(root, "a/zzz"));
}

TEST(XMLUtility, PrettyPrintingKeepsDeclarationDoctypeAndMeaningfulText) {
    const xml::DocumentPtr document =
        xml::parseDocument("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE fcpxml>\n"
                           "<fcpxml>\r\n  <text-style> </text-style><t>a&#13;b</t>\r\n"
                           "  <m>one <b>two</b> three</m><e></e></fcpxml>");
    ASSERT_TRUE(document);
    EXPECT_EQ(xml::prettyString(*document),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE fcpxml>\n<fcpxml>\n"
              "    <text-style> </text-style>\n    <t>a\rb</t>\n"
              "    <m>one <b>two</b> three</m>\n    <e />\n</fcpxml>\n");
    EXPECT_EQ(xml::prettyString(*xml::parseDocument("<a/>")), "<a />\n")
        << "no declaration is added";
}

TEST(XMLUtility, EntitiesAreNeverExpandedNorFetched) {
    QString bomb = "<!DOCTYPE r [<!ENTITY a \"aaaaaaaaaa\">";
    for (int level = 1; level <= 9; ++level)
        bomb += QStringLiteral("<!ENTITY %1 \"%2\">")
                    .arg(QChar('a' + level))
                    .arg(QStringLiteral("&%1;").arg(QChar('a' + level - 1)).repeated(10));
    bomb += "<!ENTITY file SYSTEM \"file:///etc/passwd\">]><r v=\"&j;\">&j;&file;&amp;</r>";
    const xml::DocumentPtr document = xml::parseDocument(bomb);
    ASSERT_TRUE(document);
    const xml::Element root = document->document_element();
    EXPECT_EQ(xml::stringValue(root), "&j;&file;&");
    EXPECT_EQ(xml::stringValueOfAttribute("v", root), "&j;");
}

TEST(XMLUtility, DeepNestingIsWalkedWithoutRecursion) {
    constexpr int kDepth = 200000;
    const QString nested =
        QStringLiteral("<d>").repeated(kDepth) + "deep" + QStringLiteral("</d>").repeated(kDepth);
    const xml::DocumentPtr document = xml::parseDocument(nested);
    ASSERT_TRUE(document);
    EXPECT_EQ(xml::allElementsForName(*document, "d").size(), size_t(kDepth));
    EXPECT_EQ(xml::stringValue(document->document_element()), "deep");
    EXPECT_EQ(xml::deepCopy(*document)->document_element().name(), std::string("d"));
}

} // namespace

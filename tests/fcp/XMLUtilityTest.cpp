#include "QYXMLUtility.h"

#include <gtest/gtest.h>

using namespace quillery;

namespace {

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

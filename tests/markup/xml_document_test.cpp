#include "markup/xml_document.h"

#include <gtest/gtest.h>

#include <string>

namespace velora {
namespace {

std::string Nested(int depth, const char* tag = "dlg") {
    std::string open;
    std::string close;
    for (int i = 0; i < depth; ++i) {
        open += std::string("<") + tag + " pos=\"0,0,-0,-0\">";
        close += std::string("</") + tag + ">";
    }
    return open + close;
}

TEST(ElementDepthTest, CountsOpenElementsOnly) {
    EXPECT_EQ(0, ElementDepth("", 10));
    EXPECT_EQ(1, ElementDepth("<a/>", 10));
    EXPECT_EQ(2, ElementDepth("<?xml version=\"1.0\"?><a><b/><b></b></a>", 10));
    EXPECT_EQ(3, ElementDepth("<a><b><c>text</c></b><b/></a>", 10));
    // Markup-like text inside values, comments and CDATA is not nesting.
    EXPECT_EQ(1, ElementDepth("<a t=\"<b><c>\" u='/>'>x</a>", 10));
    EXPECT_EQ(1, ElementDepth("<a><!-- <b><c><d> --></a>", 10));
    EXPECT_EQ(1, ElementDepth("<a><![CDATA[<b><c>]]></a>", 10));
    // Unterminated input ends the count rather than running past it.
    EXPECT_EQ(2, ElementDepth("<a><b t=\"never closed", 10));
    EXPECT_EQ(1, ElementDepth("<a><!-- never closed", 10));
}

TEST(ElementDepthTest, StopsCountingPastTheLimit) {
    EXPECT_EQ(6, ElementDepth(Nested(5000).c_str(), 5));
}

TEST(XmlDocumentTest, NestingBeyondTheLimitIsRefusedWithoutRecursing) {
    BkXmlDocument document;
    EXPECT_TRUE(document.Parse(Nested(kMaxElementDepth), "dlg"));
    EXPECT_FALSE(document.Parse(Nested(kMaxElementDepth + 1), "dlg"));
    EXPECT_EQ(nullptr, document.Root());
    // Deep enough to exhaust the stack of a recursive parser.
    EXPECT_FALSE(document.Parse(Nested(200000), "dlg"));
    // Wide is fine: depth, not size, is limited.
    std::string wide = "<dlg>";
    for (int i = 0; i < 5000; ++i) {
        wide += "<text pos=\"0,0\">x</text>";
    }
    EXPECT_TRUE(document.Parse(wide + "</dlg>", "dlg"));
}

}  // namespace
}  // namespace velora

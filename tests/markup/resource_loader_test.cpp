#include "markup/resource_loader.h"

#include <gtest/gtest.h>

#include "markup/xml_document.h"
#include "tests/support/markup_sources.h"

namespace velora {
namespace {

constexpr UINT kTestId = 4711;

TEST(ResourceLoaderTest, CollectsEveryCopyInSourceOrder) {
    test::MarkupSources sources;
    sources.InFolder(kTestId, "<string>folder</string>");
    sources.InMemory(kTestId, "<string>memory</string>");
    const auto copies = BkResourceLoader::Instance().CollectDocuments(kTestId);
    ASSERT_EQ(2u, copies.size());
    EXPECT_EQ("<string>memory</string>", copies[0]);
    EXPECT_EQ("<string>folder</string>", copies[1]);
}

TEST(ResourceLoaderTest, DocumentComesFromOwnResourcesBeforeTheFolder) {
    test::MarkupSources sources;
    sources.InFolder(60002, "<string/>");
    std::string text;
    ASSERT_TRUE(BkResourceLoader::Instance().LoadDocument(60002, text));
    EXPECT_NE(std::string::npos, text.find("<s id=\"100\">")) << "built-in table expected";

    sources.InFolder(kTestId, "<layer/>");
    ASSERT_TRUE(BkResourceLoader::Instance().LoadDocument(kTestId, text));
    EXPECT_EQ("<layer/>", text);
}

TEST(ResourceLoaderTest, MissingAndEmptyDocumentsAreNotFound) {
    test::MarkupSources sources;
    std::string text = "unchanged";
    EXPECT_FALSE(BkResourceLoader::Instance().LoadDocument(kTestId, text));
    EXPECT_TRUE(BkResourceLoader::Instance().CollectDocuments(kTestId).empty());
    sources.InFolder(kTestId, "");
    sources.InMemory(kTestId, "");
    EXPECT_TRUE(BkResourceLoader::Instance().CollectDocuments(kTestId).empty());
}

TEST(ResourceLoaderTest, ImagesByTypeFromAnySource) {
    test::MarkupSources sources;
    sources.InFolder(kTestId, "PNGDATA", L"png");
    std::string bytes;
    ASSERT_TRUE(BkResourceLoader::Instance().LoadImageBytes(kTestId, kPngType, bytes));
    EXPECT_EQ("PNGDATA", bytes);
    EXPECT_FALSE(BkResourceLoader::Instance().LoadImageBytes(kTestId, kJpgType, bytes));
}

TEST(XmlDocumentTest, AcceptsByteOrderMarkAndChecksRootTag) {
    BkXmlDocument document;
    EXPECT_TRUE(document.Parse("\xEF\xBB\xBF<style><class name=\"a\"/></style>", "style"));
    ASSERT_NE(nullptr, document.Root());
    EXPECT_FALSE(document.Parse("<skins/>", "style")) << "parses, but the wrong table";
    EXPECT_EQ(nullptr, document.Root());
    EXPECT_FALSE(document.Parse("<Style/>", "style")) << "tags are case-sensitive";
}

TEST(XmlDocumentTest, ParseErrorRejectsTheWholeDocument) {
    BkXmlDocument document;
    EXPECT_FALSE(document.Parse("<style><class name=\"a\"></style>", "style"));
    EXPECT_FALSE(document.Parse("", "style"));
    EXPECT_FALSE(document.Parse("<style", "style"));
}

TEST(XmlDocumentTest, AttributesAndText) {
    BkXmlDocument document;
    ASSERT_TRUE(document.Parse("<string><s id=\"-12x\" t=\"\xE6\x8F\x90\">hi<b/>there</s></string>",
                               "string"));
    const TiXmlElement* s = document.Root()->FirstChildElement("s");
    EXPECT_EQ(-12, AttributeInt(s, "id"));
    EXPECT_EQ(0, AttributeInt(s, "missing"));
    EXPECT_EQ(nullptr, AttributeText(s, "missing"));
    EXPECT_STREQ("\xE6\x8F\x90", AttributeText(s, "t"));
    EXPECT_EQ("hi", ElementText(s)) << "the first text child only";
    EXPECT_EQ("", ElementText(document.Root()));
}

}  // namespace
}  // namespace velora

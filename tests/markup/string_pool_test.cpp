#include "markup/string_pool.h"

#include <gtest/gtest.h>

#include <map>

#include "tests/support/markup_sources.h"

namespace velora {
namespace {

constexpr UINT kTestTable = 5001;

class StringReferenceTest : public ::testing::Test {
  protected:
    std::wstring Substitute(const std::wstring& text) {
        return SubstituteStringReferences(text, [this](std::int32_t id) -> const std::wstring* {
            auto found = table_.find(id);
            return found == table_.end() ? nullptr : &found->second;
        });
    }
    std::map<std::int32_t, std::wstring> table_ = {
        {100, L"Velora"}, {7, L"%str7%"}, {8, L"[%str9%]"}, {9, L"nine"}};
};

TEST_F(StringReferenceTest, ReplacesKnownAndUnknownIds) {
    EXPECT_EQ(L"Velora", Substitute(L"%str100%"));
    EXPECT_EQ(L"Get Velora now", Substitute(L"Get %str100% now"));
    EXPECT_EQ(L"a  b", Substitute(L"a %str555% b")) << "unknown id gives nothing";
    EXPECT_EQ(L"Velora/Velora", Substitute(L"%str100%/%str100%"));
    EXPECT_EQ(L"plain text", Substitute(L"plain text"));
}

TEST_F(StringReferenceTest, MalformedReferencesLeaveTheRestUnchanged) {
    EXPECT_EQ(L"%str0%", Substitute(L"%str0%"));
    EXPECT_EQ(L"%str%", Substitute(L"%str%"));
    EXPECT_EQ(L"%str-5%", Substitute(L"%str-5%"));
    EXPECT_EQ(L"%str100 and no close", Substitute(L"%str100 and no close"));
    EXPECT_EQ(L"Velora then %str0% %str100%", Substitute(L"%str100% then %str0% %str100%"))
        << "the first bad reference ends the substitution";
}

TEST_F(StringReferenceTest, SelfReferenceTerminates) {
    EXPECT_EQ(L"%str7%", Substitute(L"%str7%"));
    EXPECT_EQ(L"%str7%%str7%", Substitute(L"%str7%%str7%"));
    EXPECT_EQ(L"[%str9%]", Substitute(L"%str8%")) << "inserted text is not searched again";
}

TEST_F(StringReferenceTest, HugeIdsAndLongInputStayBounded) {
    EXPECT_EQ(L"x", Substitute(L"%str99999999999999999999%x"));
    std::wstring many;
    for (int i = 0; i < 20000; ++i) {
        many += L"%str100%";
    }
    const std::wstring result = Substitute(many);
    EXPECT_EQ(0u, result.find(L"VeloraVelora"));
    EXPECT_LE(result.size(), many.size());
}

TEST(StringPoolTest, FirstDefinitionWinsWithinAndAcrossCopies) {
    test::MarkupSources sources;
    sources.InMemory(kTestTable,
                     "<string><s id=\"1\">first</s><s id=\"1\">second</s><s>no id</s>"
                     "<s id=\"2\"></s></string>");
    sources.InFolder(kTestTable, "<string><s id=\"1\">folder</s><s id=\"3\">three</s></string>");
    ASSERT_TRUE(BkString::Instance().Load(kTestTable));
    ASSERT_NE(nullptr, BkString::Instance().Find(1));
    EXPECT_EQ(L"first", *BkString::Instance().Find(1));
    ASSERT_NE(nullptr, BkString::Instance().Find(2));
    EXPECT_EQ(L"", *BkString::Instance().Find(2)) << "an entry without text is empty";
    ASSERT_NE(nullptr, BkString::Instance().Find(3));
    EXPECT_EQ(L"three", *BkString::Instance().Find(3));
    EXPECT_EQ(3u, BkString::Instance().Count());
}

TEST(StringPoolTest, BadCopiesAreSkippedAndNoCopyFails) {
    test::MarkupSources sources;
    sources.InMemory(kTestTable, "<style><s id=\"1\">wrong root</s></style>");
    sources.InFolder(kTestTable, "<string><s id=\"4\">good</s></string>");
    ASSERT_TRUE(BkString::Instance().Load(kTestTable));
    EXPECT_EQ(nullptr, BkString::Instance().Find(1));
    EXPECT_NE(nullptr, BkString::Instance().Find(4));

    EXPECT_FALSE(BkString::Instance().Load(kTestTable + 1));
    EXPECT_EQ(0u, BkString::Instance().Count()) << "loading empties the pool first";
}

TEST(StringPoolTest, BuiltInTableFeedsReferences) {
    ASSERT_TRUE(BkString::Instance().Load(kStringTableId));
    for (std::int32_t id : {100, 101, 102, 103, 104, 105, 106, 107, 108, 109}) {
        ASSERT_NE(nullptr, BkString::Instance().Find(id)) << id;
        EXPECT_FALSE(BkString::Instance().Find(id)->empty()) << id;
    }
    EXPECT_EQ(*BkString::Instance().Find(100), SubstituteStringReferences(L"%str100%"));
    EXPECT_EQ(L"", SubstituteStringReferences(L"%str999%"));
}

}  // namespace
}  // namespace velora

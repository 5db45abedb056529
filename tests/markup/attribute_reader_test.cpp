#include "markup/attribute_reader.h"

#include <gtest/gtest.h>

namespace velora {
namespace {

enum class Shape { kNone, kRound, kSquare };
constexpr AttributeWord<Shape> kShapes[] = {{"round", Shape::kRound}, {"square", Shape::kSquare}};

TEST(AttributeReaderTest, EnumTakesItsWordsAndDeclinesEverythingElse) {
    const struct {
        const char* name;
        const char* value;
        bool accepted;
        Shape shape;
    } cases[] = {
        {"shape", "round", true, Shape::kRound},
        {"shape", "square", true, Shape::kSquare},
        {"shape", "Round", false, Shape::kNone},   // words are case-sensitive
        {"shape", "round ", false, Shape::kNone},  // the whole value is the word
        {"shape", "", false, Shape::kNone},
        {"form", "round", false, Shape::kNone},  // another attribute's name
    };
    for (const auto& c : cases) {
        Shape shape = Shape::kNone;
        EXPECT_EQ(c.accepted, AttributeReader(c.name, c.value).Enum("shape", kShapes, shape))
            << c.name << "=" << c.value;
        EXPECT_EQ(c.shape, shape) << c.name << "=" << c.value;
    }
}

TEST(AttributeReaderTest, FlagAcceptsAnyValueOfItsNameAndStoresWhetherItIsNonZero) {
    const struct {
        const char* value;
        bool flag;
    } cases[] = {{"1", true}, {"-2", true}, {"0", false}, {"true", false}, {"", false}};
    for (const auto& c : cases) {
        bool flag = !c.flag;
        EXPECT_TRUE(AttributeReader("flip", c.value).Flag("flip", flag)) << c.value;
        EXPECT_EQ(c.flag, flag) << c.value;
    }
    bool untouched = true;
    EXPECT_FALSE(AttributeReader("flipped", "0").Flag("flip", untouched));
    EXPECT_TRUE(untouched);
}

}  // namespace
}  // namespace velora

#include "controls/control_factory.h"

#include <gtest/gtest.h>

#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "markup/xml_document.h"
#include "ui/bk_container.h"

namespace velora {
namespace {

const char* const kStandardTags[] = {
    "dlg",        "text",   "button",    "img",     "imgbg",    "scrollimg",    "progress",
    "progressex", "imgbtn", "skinbtn",   "realwnd", "hr",       "check",        "icon",
    "tabctrl",    "radio",  "richtext",  "link",    "memimage", "storageimage", "imgbtnsized",
    "imggray",    "imgex",  "imgrotale", "slider",  "dlgbtn",   "hicon"};

const char* const kExtendedTags[] = {
    "listwnd",    "listitem", "rundrect", "rundrectpath",  "expendimg", "realwndex", "shadowtext",
    "richtextex", "imgex2",   "hrex",     "listscrollbar", "dlgbtnEx2", "richtext2"};

// Answers every tag with a plain dialog and counts the questions.
class CountingCreator : public IBkControlCreator {
  public:
    std::unique_ptr<CBkWindow> CreateControl(const char* tag) override {
        asked.push_back(tag);
        return std::make_unique<CBkDialog>();
    }
    std::vector<std::string> asked;
};

void ExpectMakesExactly(IBkControlCreator& tier, const char* tag) {
    std::unique_ptr<CBkWindow> control = tier.CreateControl(tag);
    ASSERT_NE(nullptr, control) << tag;
    EXPECT_STREQ(tag, control->GetObjectClass());
    EXPECT_TRUE(control->IsClass(tag)) << tag;
    EXPECT_FALSE(control->IsClass(nullptr)) << tag;
    EXPECT_FALSE(control->IsClass("")) << tag;
    std::string capital = tag;
    capital[0] = static_cast<char>(capital[0] - 'a' + 'A');
    EXPECT_FALSE(control->IsClass(capital.c_str())) << tag;
}

TEST(ControlFactoryTest, EveryTagOfEachTierMakesAControlOfThatTag) {
    CBkStandardTier standard;
    CBkControlCreator extended;
    for (const char* tag : kStandardTags) {
        ExpectMakesExactly(standard, tag);
        EXPECT_EQ(nullptr, extended.CreateControl(tag)) << tag << " is not an extended tag";
    }
    for (const char* tag : kExtendedTags) {
        ExpectMakesExactly(extended, tag);
        EXPECT_EQ(nullptr, standard.CreateControl(tag)) << tag << " is not a standard tag";
    }
}

TEST(ControlFactoryTest, ClassesAnswerOnlyToTheirOwnTagNotTheirBases) {
    CBkControlCreator tiers(&CBkStandardTier::Instance());
    const struct {
        const char* tag;
        const char* base;
    } derived[] = {{"dlgbtn", "dlg"},
                   {"dlgbtnEx2", "dlgbtn"},
                   {"dlgbtnEx2", "dlg"},
                   {"progressex", "progress"},
                   {"imgbtn", "img"},
                   {"imgex2", "imgex"},
                   {"hrex", "hr"},
                   {"realwndex", "realwnd"},
                   {"rundrectpath", "rundrect"},
                   {"richtextex", "richtext"},
                   {"listwnd", "dlg"},
                   {"listitem", "dlg"}};
    for (const auto& pair : derived) {
        std::unique_ptr<CBkWindow> control = tiers.CreateControl(pair.tag);
        ASSERT_NE(nullptr, control) << pair.tag;
        EXPECT_FALSE(control->IsClass(pair.base)) << pair.tag << " answered for " << pair.base;
    }
}

TEST(ControlFactoryTest, TagsDifferingInCaseOrLengthAndTabMakeNothing) {
    CBkControlCreator tiers(&CBkStandardTier::Instance());
    for (const char* tag : {"Dlg", "dlgbtnex2", "TEXT", "Text", "text ", "tex", "texts", "", "tab",
                            "unknown", "DLGBTNEX2"}) {
        EXPECT_EQ(nullptr, tiers.CreateControl(tag)) << "'" << tag << "'";
    }
    EXPECT_EQ(nullptr, tiers.CreateControl(nullptr));
    EXPECT_EQ(nullptr, CBkStandardTier::Instance().CreateControl(nullptr));
}

TEST(ControlFactoryTest, ExtendedTierGivesItselfOnlyToListsAndAsksItsNextCreatorLast) {
    CountingCreator next;
    CBkControlCreator creator(&next);
    for (const char* tag : {"listwnd", "listitem"}) {
        std::unique_ptr<CBkWindow> list = creator.CreateControl(tag);
        ASSERT_NE(nullptr, list);
        EXPECT_EQ(&creator, static_cast<CBkDialog*>(list.get())->Creator()) << tag;
    }
    std::unique_ptr<CBkWindow> button = creator.CreateControl("dlgbtnEx2");
    ASSERT_NE(nullptr, button);
    EXPECT_EQ(nullptr, static_cast<CBkDialog*>(button.get())->Creator());
    EXPECT_TRUE(next.asked.empty()) << "a tag of its own is never passed on";

    std::unique_ptr<CBkWindow> fallback = creator.CreateControl("custom");
    ASSERT_NE(nullptr, fallback);
    EXPECT_EQ((std::vector<std::string>{"custom"}), next.asked);

    CBkControlCreator last;
    EXPECT_EQ(nullptr, last.Next());
    EXPECT_EQ(nullptr, last.CreateControl("custom"));
}

TEST(ControlFactoryTest, FixedAnswersOfEveryTag) {
    CBkControlCreator tiers(&CBkStandardTier::Instance());
    const std::set<std::string> alwaysRedraw = {"button", "imgbtn",      "skinbtn",      "check",
                                                "radio",  "imgbtnsized", "listscrollbar"};
    const std::set<std::string> containers = {"dlg",     "dlgbtn",   "dlgbtnEx2",
                                              "tabctrl", "listitem", "listwnd"};
    // What the host window asks instead of knowing tags.
    const std::set<std::string> headerPress = {"button",  "imgbtn", "dlgbtn",  "dlgbtnEx2",
                                               "tabctrl", "link",   "skinbtn", "imgbtnsized",
                                               "check",   "radio",  "slider",  "listwnd"};
    const std::set<std::string> headerDoubleClick = {"button",  "imgbtn",     "dlgbtn", "tabctrl",
                                                     "link",    "skinbtn",    "slider", "check",
                                                     "listwnd", "imgbtnsized"};
    const std::set<std::string> doubleClickPresses = {"check", "radio"};
    std::vector<const char*> tags(std::begin(kStandardTags), std::end(kStandardTags));
    tags.insert(tags.end(), std::begin(kExtendedTags), std::end(kExtendedTags));
    for (const char* tag : tags) {
        std::unique_ptr<CBkWindow> control = tiers.CreateControl(tag);
        ASSERT_NE(nullptr, control) << tag;
        EXPECT_EQ(containers.count(tag) != 0, control->IsContainer()) << tag;
        EXPECT_EQ(headerPress.count(tag) != 0, control->TakesHeaderPress()) << tag;
        EXPECT_EQ(headerDoubleClick.count(tag) != 0, control->TakesHeaderDoubleClick()) << tag;
        EXPECT_EQ(doubleClickPresses.count(tag) != 0, control->DoubleClickIsPress()) << tag;
        EXPECT_EQ(std::string(tag) == "realwnd", control->IsNativeWindowPlaceholder()) << tag;
        if (alwaysRedraw.count(tag) != 0) {
            EXPECT_TRUE(control->RedrawOnStateChange()) << tag;
        }
    }
    for (const char* tag : {"realwnd", "realwndex", "text", "link"}) {
        std::unique_ptr<CBkWindow> control = tiers.CreateControl(tag);
        EXPECT_FALSE(control->RedrawOnStateChange()) << tag << " with the default style";
    }
}

// The tiers as a host wires them: sections know both, lists hand theirs down.
TEST(ControlFactoryTest, ListItemsPassTheExtendedTierToTheirChildren) {
    CBkControlCreator creator;
    BkXmlDocument document;
    ASSERT_TRUE(document.Parse(
        "<body>"
        "<listwnd id=\"1\"><listitem id=\"2\"><richtext2 id=\"3\"/></listitem></listwnd>"
        "<dlgbtnEx2 id=\"4\"><richtext2 id=\"5\"/></dlgbtnEx2>"
        "<dlg id=\"6\"><richtext2 id=\"7\"/></dlg>"
        "</body>",
        "body"));
    CBkDialog body;
    body.SetStandardTier(&CBkStandardTier::Instance());
    body.SetCreator(&creator);
    body.Load(document.Root());
    ASSERT_NE(nullptr, body.FindChildById(3));
    EXPECT_STREQ("richtext2", body.FindChildById(3)->GetObjectClass());
    EXPECT_NE(nullptr, body.FindChildById(4));
    EXPECT_EQ(nullptr, body.FindChildById(5)) << "a dlgbtnEx2 has no extended tier";
    EXPECT_NE(nullptr, body.FindChildById(7)) << "a dlg inherits it";
}

}  // namespace
}  // namespace velora

#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "markup/xml_document.h"

namespace velora::test {

// A control of type Control loaded from one element written in markup,
// whose tag must be the control's own.
template <typename Control>
std::unique_ptr<Control> LoadControl(const std::string& xml) {
    BkXmlDocument document;
    EXPECT_TRUE(document.Parse(xml, Control::kTag)) << xml;
    auto control = std::make_unique<Control>();
    if (document.Root() != nullptr) {
        EXPECT_TRUE(control->Load(document.Root()));
    }
    return control;
}

}  // namespace velora::test

#include "controls/toggle_controls.h"

#include "controls/control_attributes.h"
#include "markup/value_parsers.h"

namespace velora {
namespace {

bool ReadCheck(const AttributeReader& r, std::optional<int>& check) {
    if (!r.Is("check")) {
        return false;
    }
    check = ParseDecimal(r.Value());
    return true;
}

}  // namespace

bool CBkCheckBox::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkCheckBox::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    if (CBkWindow::SetAttribute(name, value, loading)) {
        return true;
    }
    const AttributeReader r(name, value);
    return ReadCheck(r, check_) || r.Text("skin", skin_) || r.Text("skin_check", skinCheck_);
}

bool CBkRadioBox::IsClass(const char* tag) const {
    return MatchesTag(tag, kTag);
}

bool CBkRadioBox::Load(const TiXmlElement* element) {
    const bool loaded = CBkWindow::Load(element);
    if (loaded) {
        membership_.Join(group_);
    }
    return loaded;
}

bool CBkRadioBox::SetAttribute(const std::string& name, const std::string& value, bool loading) {
    if (CBkWindow::SetAttribute(name, value, loading)) {
        return true;
    }
    const AttributeReader r(name, value);
    if (r.Text("group", group_)) {
        // A group renamed at run time is joined at once, so the control is
        // never listed under a name it no longer has.
        if (!loading) {
            membership_.Join(group_);
        }
        return true;
    }
    return ReadCheck(r, check_) || r.Text("skin", skin_) || r.Text("skin_check", skinCheck_);
}

}  // namespace velora

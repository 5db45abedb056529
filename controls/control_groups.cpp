#include "controls/control_groups.h"

#include <algorithm>

#include "ui/bk_window.h"
#include "ui/control_registry.h"

namespace velora {

BkControlGroups& BkControlGroups::Instance() {
    // Never destroyed: controls may leave their groups during process exit.
    static BkControlGroups* groups = new BkControlGroups();
    return *groups;
}

void BkControlGroups::Join(const std::string& group, std::int32_t handle) {
    ScopedExclusiveLock lock(BkControlRegistry::Instance().Lock());
    std::vector<std::int32_t>& members = groups_[group];
    if (std::find(members.begin(), members.end(), handle) == members.end()) {
        members.push_back(handle);
    }
}

void BkControlGroups::Leave(const std::string& group, std::int32_t handle) {
    ScopedExclusiveLock lock(BkControlRegistry::Instance().Lock());
    auto found = groups_.find(group);
    if (found == groups_.end()) {
        return;
    }
    std::vector<std::int32_t>& members = found->second;
    members.erase(std::remove(members.begin(), members.end(), handle), members.end());
    if (members.empty()) {
        groups_.erase(found);
    }
}

std::vector<std::int32_t> BkControlGroups::Members(const std::string& group) const {
    ScopedExclusiveLock lock(BkControlRegistry::Instance().Lock());
    auto found = groups_.find(group);
    return found == groups_.end() ? std::vector<std::int32_t>{} : found->second;
}

void GroupMembership::Join(const std::string& group) {
    if (joined_ && group_ == group) {
        return;
    }
    Leave();
    BkControlGroups::Instance().Join(group, handle_);
    group_ = group;
    joined_ = true;
}

void GroupMembership::Leave() {
    if (!joined_) {
        return;
    }
    BkControlGroups::Instance().Leave(group_, handle_);
    joined_ = false;
    group_.clear();
}

bool AnyGroupMemberChecked(const std::string& group) {
    for (std::int32_t handle : BkControlGroups::Instance().Members(group)) {
        const CBkWindow* member = BkControlRegistry::Instance().Find(handle);
        if (member != nullptr && Has(member->State(), ControlState::kChecked)) {
            return true;
        }
    }
    return false;
}

void UncheckOtherGroupMembers(const std::string& group, std::int32_t keep) {
    for (std::int32_t handle : BkControlGroups::Instance().Members(group)) {
        if (handle == keep) {
            continue;
        }
        CBkWindow* member = BkControlRegistry::Instance().Find(handle);
        if (member != nullptr && Has(member->State(), ControlState::kChecked)) {
            member->ModifyState(ControlState::kNone, ControlState::kChecked);
            member->RequestRepaint();
        }
    }
}

std::int32_t NeighbourInGroup(const std::string& group, std::int32_t from, int step) {
    const std::vector<std::int32_t> members = BkControlGroups::Instance().Members(group);
    const auto at = std::find(members.begin(), members.end(), from);
    const CBkWindow* self = BkControlRegistry::Instance().Find(from);
    if (at == members.end() || self == nullptr || step == 0) {
        return 0;
    }
    const int count = static_cast<int>(members.size());
    const int start = static_cast<int>(at - members.begin());
    for (int i = 1; i < count; ++i) {
        const int index = ((start + (step > 0 ? i : -i)) % count + count) % count;
        const CBkWindow* member = BkControlRegistry::Instance().Find(members[index]);
        if (member != nullptr && member->Host() == self->Host() && member->IsVisible() &&
            !member->IsDisabled()) {
            return members[index];
        }
    }
    return 0;
}

}  // namespace velora

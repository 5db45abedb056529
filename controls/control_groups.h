#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace velora {

// Radio-button and image-button groups: group name -> member handles, shared
// by every host window and guarded by the control registry's lock. Members
// are kept as handles so a control that is gone cannot be reached through its
// group.
class BkControlGroups {
  public:
    static BkControlGroups& Instance();

    // Adds `handle` to `group` (once).
    void Join(const std::string& group, std::int32_t handle);
    void Leave(const std::string& group, std::int32_t handle);
    // Members in joining order; empty for an unknown group.
    std::vector<std::int32_t> Members(const std::string& group) const;

  private:
    BkControlGroups() = default;
    std::map<std::string, std::vector<std::int32_t>> groups_;
};

// One control's place in at most one group. Joining another group leaves the
// previous one first; destruction leaves it.
class GroupMembership {
  public:
    explicit GroupMembership(std::int32_t handle) : handle_(handle) {}
    ~GroupMembership() { Leave(); }
    GroupMembership(const GroupMembership&) = delete;
    GroupMembership& operator=(const GroupMembership&) = delete;

    void Join(const std::string& group);
    void Leave();
    bool Joined() const { return joined_; }

  private:
    std::int32_t handle_;
    bool joined_ = false;
    std::string group_;
};

// True when some member of `group` has the checked bit.
bool AnyGroupMemberChecked(const std::string& group);

// Takes the checked bit from every member of `group` other than `keep` that
// has it, and has each of them repainted. The member list is copied under
// the registry lock; the controls are reached afterwards, so a repaint can
// look controls up again.
void UncheckOtherGroupMembers(const std::string& group, std::int32_t keep);

// The member of `group` `step` places after `from` in joining order (wrapping;
// a negative step goes back) that is visible, enabled and in the same host
// window; 0 when there is none other than `from`.
std::int32_t NeighbourInGroup(const std::string& group, std::int32_t from, int step);

}  // namespace velora

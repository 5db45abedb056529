#pragma once

#include <memory>

#include "ui/control_creator.h"

namespace velora {

// The two tiers that turn a markup tag into a new control. Tags are matched
// byte for byte against the whole name; "tab" is in neither tier (only a tab
// control makes its pages).

// The tags every container knows. Stateless.
class CBkStandardTier : public IBkControlCreator {
  public:
    // One shared instance for every host window.
    static CBkStandardTier& Instance();

    std::unique_ptr<CBkWindow> CreateControl(const char* tag) override;
};

// The extended tags, then the next creator's (when there is one). A list or
// list item it makes gets this creator as its own, so the items' children can
// use the extended tags too; no other control does.
class CBkControlCreator : public IBkControlCreator {
  public:
    explicit CBkControlCreator(IBkControlCreator* next = nullptr) : next_(next) {}
    CBkControlCreator(const CBkControlCreator&) = delete;
    CBkControlCreator& operator=(const CBkControlCreator&) = delete;

    std::unique_ptr<CBkWindow> CreateControl(const char* tag) override;

    IBkControlCreator* Next() const { return next_; }
    void SetNext(IBkControlCreator* next) { next_ = next; }

  private:
    IBkControlCreator* next_;
};

}  // namespace velora

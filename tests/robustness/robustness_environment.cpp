#include <gtest/gtest.h>
#include <windows.h>

#include "ui/window_impl.h"

namespace velora {
namespace {

// Only the pictures are linked in as resources; every markup document comes
// from an override folder the tests fill (see seed_documents.h).
class RobustnessEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { BkWindowModule::Init(::GetModuleHandleW(nullptr)); }
    void TearDown() override { BkWindowModule::Term(); }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new RobustnessEnvironment);

}  // namespace
}  // namespace velora

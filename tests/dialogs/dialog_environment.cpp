#include <gtest/gtest.h>
#include <windows.h>

#include "markup/skin_pool.h"
#include "markup/string_pool.h"
#include "markup/style_pool.h"
#include "ui/window_impl.h"

namespace velora {
namespace {

// The installer's tables and pictures are linked into this program, so the
// dialogs load exactly what ships.
class DialogEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        BkWindowModule::Init(::GetModuleHandleW(nullptr));
        BkSkinObjectPool::Instance().Load(kSkinTableId);
        BkStylePool::Instance().Load(kStyleTableId);
        BkString::Instance().Load(kStringTableId);
    }
    void TearDown() override { BkWindowModule::Term(); }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new DialogEnvironment);

}  // namespace
}  // namespace velora

#pragma once

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "ui/bk_container.h"
#include "ui/bk_tab.h"
#include "ui/control_creator.h"

namespace velora::test {

// Paint order shared by every SpyControl, as "id" strings.
inline std::vector<int>& PaintLog() {
    static std::vector<int> log;
    return log;
}

// A leaf control standing in for the real ones: fixed natural size, records paints.
class SpyControl : public CBkWindow {
  public:
    static constexpr char kTag[] = "text";
    bool IsClass(const char* tag) const override { return tag && std::strcmp(tag, kTag) == 0; }
    const char* GetObjectClass() const override { return kTag; }

  protected:
    SIZE MeasureContent(SIZE available) override {
        if (Position().list.count == 4) {
            return CBkWindow::MeasureContent(available);
        }
        return SIZE{16, 16};
    }
    void PaintContent(HDC) override { PaintLog().push_back(Id()); }
};

// Standard tier of the tests: dlg, dlgbtn, text, tabctrl.
class TestStandardTier : public IBkControlCreator {
  public:
    std::unique_ptr<CBkWindow> CreateControl(const char* tag) override {
        if (std::strcmp(tag, "dlg") == 0) {
            return std::make_unique<CBkDialog>();
        }
        if (std::strcmp(tag, "text") == 0) {
            return std::make_unique<SpyControl>();
        }
        if (std::strcmp(tag, "tabctrl") == 0) {
            return std::make_unique<CBkTabCtrl>();
        }
        if (std::strcmp(tag, "dlgbtn") == 0) {
            return std::make_unique<CBkDialogButton>();
        }
        return nullptr;
    }
};

// Extended tier of the tests: dlgbtnEx2 only.
class TestExtendedTier : public IBkControlCreator {
  public:
    std::unique_ptr<CBkWindow> CreateControl(const char* tag) override {
        if (std::strcmp(tag, "dlgbtnEx2") == 0) {
            return std::make_unique<CBkDlgBtnEx2>();
        }
        return nullptr;
    }
};

}  // namespace velora::test

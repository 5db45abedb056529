#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace velora::test {

// What a host window's dialog would receive from the engine.
struct RecordedNotify {
    WPARAM wParam = 0;
    UINT_PTR source = 0;
    UINT code = 0;
    UINT controlId = 0;
    std::string classTag;
    int subCode = 0;
    RECT rect = {};  // repaint requests (code 1000)
    int newIndex = 0;
    int oldIndex = 0;
    // List notifications (code 14).
    int listId = 0;
    int listEvent = 0;
    int itemIndex = 0;
    int childId = 0;
    std::string childClass;
};

// A hidden top-level window standing in for the host: controls send it their
// WM_NOTIFY records, which it keeps in order. Page-change records are refused
// while `refusePageChange` is set.
class TestHostWindow {
  public:
    explicit TestHostWindow(int dialogId = 77);
    ~TestHostWindow();
    TestHostWindow(const TestHostWindow&) = delete;
    TestHostWindow& operator=(const TestHostWindow&) = delete;

    HWND Handle() const { return window_; }
    const std::vector<RecordedNotify>& Records() const { return records_; }
    void Clear() { records_.clear(); }
    bool refusePageChange = false;

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND window_ = nullptr;
    std::vector<RecordedNotify> records_;
};

}  // namespace velora::test

#include <gtest/gtest.h>
#include <oleacc.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/agree_dlg.h"
#include "app/main_dlg.h"
#include "app/msg_dlg.h"
#include "app/notice_dlg.h"
#include "base/win_handles.h"
#include "tests/support/message_pump.h"
#include "tests/support/modal_driver.h"
#include "tests/support/test_files.h"
#include "ui/bk_window.h"

namespace velora {
namespace {

using namespace main_ids;

// The state bits the tables speak about.
constexpr LONG kWatched =
    STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_CHECKED | STATE_SYSTEM_PRESSED | STATE_SYSTEM_UNAVAILABLE;
constexpr LONG kAct = STATE_SYSTEM_FOCUSABLE;

struct Element {
    LONG role;
    std::wstring name;
    LONG state;  // of kWatched
};

bool operator==(const Element& a, const Element& b) {
    return a.role == b.role && a.name == b.name && a.state == b.state;
}

void PrintTo(const Element& e, std::ostream* out) {
    std::string name;
    for (wchar_t c : e.name) {
        name += c < 0x80 ? static_cast<char>(c) : '?';
    }
    *out << "{role " << e.role << ", \"" << name << "\" (" << e.name.size() << " chars), state 0x"
         << std::hex << e.state << std::dec << "}";
}

Element Text(const wchar_t* name) {
    return {ROLE_SYSTEM_STATICTEXT, name, 0};
}
Element Picture(const wchar_t* name) {
    return {ROLE_SYSTEM_GRAPHIC, name, 0};
}
Element Button(const wchar_t* name, LONG state = kAct) {
    return {ROLE_SYSTEM_PUSHBUTTON, name, state};
}

struct ClientObject {
    explicit ClientObject(HWND window) {
        IAccessible* object = nullptr;
        EXPECT_EQ(S_OK, ::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT),
                                                     __uuidof(IAccessible),
                                                     reinterpret_cast<void**>(&object)));
        accessible.reset(object);
    }
    struct Release {
        void operator()(IAccessible* object) const { object->Release(); }
    };
    std::unique_ptr<IAccessible, Release> accessible;
};

std::wstring TakeText(HRESULT hr, BSTR text) {
    std::wstring value = SUCCEEDED(hr) && text != nullptr ? std::wstring(text) : std::wstring();
    ::SysFreeString(text);
    return value;
}

// (role, name, watched state bits) of every child of the window's client object.
std::vector<Element> Dump(HWND window) {
    ClientObject client(window);
    std::vector<Element> elements;
    if (!client.accessible) {
        return elements;
    }
    IAccessible* object = client.accessible.get();
    long count = 0;
    EXPECT_EQ(S_OK, object->get_accChildCount(&count));
    std::vector<VARIANT> children(static_cast<size_t>(count));
    long got = 0;
    EXPECT_EQ(S_OK, ::AccessibleChildren(object, 0, count, children.data(), &got));
    for (long i = 0; i < got; ++i) {
        const VARIANT id = children[i];
        EXPECT_EQ(VT_I4, id.vt) << "children are simple elements";
        VARIANT role, state;
        object->get_accRole(id, &role);
        object->get_accState(id, &state);
        BSTR name = nullptr;
        const HRESULT hr = object->get_accName(id, &name);
        elements.push_back({role.lVal, TakeText(hr, name), state.lVal & kWatched});
    }
    return elements;
}

// The value of the first child with `role`.
std::wstring ValueOf(HWND window, LONG role) {
    ClientObject client(window);
    long count = 0;
    client.accessible->get_accChildCount(&count);
    std::vector<VARIANT> children(static_cast<size_t>(count));
    long got = 0;
    ::AccessibleChildren(client.accessible.get(), 0, count, children.data(), &got);
    for (long i = 0; i < got; ++i) {
        VARIANT answer;
        client.accessible->get_accRole(children[i], &answer);
        if (answer.lVal == role) {
            BSTR value = nullptr;
            const HRESULT hr = client.accessible->get_accValue(children[i], &value);
            return TakeText(hr, value);
        }
    }
    return L"<none>";
}

class ScreenReader : public ::testing::Test {
  protected:
    void SetUp() override { ::CoInitialize(nullptr); }
    void TearDown() override {
        dialog_.reset();
        ::CoUninitialize();
    }
    void OpenMain() {
        dialog_ = std::make_unique<CMainDlg>();
        dialog_->SetLowSpaceTest([](const wchar_t*) { return false; });
        dialog_->SetFailureReport([] {});
        dialog_->SetSetupLauncher([](const wchar_t*) {
            return SetupLaunch{ScopedHandle(), SetupLaunchError::kPayloadMissing};
        });
        ASSERT_NE(dialog_->Create(nullptr), nullptr);
        ::ShowWindow(dialog_->Handle(), SW_SHOWNA);
        test::PumpFor(50);
    }
    void Click(int id) { test::SendClickRecord(dialog_->Handle(), id); }

    std::unique_ptr<CMainDlg> dialog_;
};

const Element kLogo = Picture(L"Velora");
const Element kMinimiseButton = Button(L"最小化");
const Element kCloseButton = Button(L"关闭");

TEST_F(ScreenReader, MainWindowPagesReadAsTheUserSeesThem) {
    OpenMain();
    const std::vector<Element> startHead = {kLogo, Text(L"欢迎安装 Velora"),
                                            Text(L"轻巧、稳定的桌面工作助手")};
    std::vector<Element> start = startHead;
    start.insert(start.end(),
                 {Button(L"开始安装"),
                  {ROLE_SYSTEM_CHECKBUTTON, L"我已阅读并同意", kAct | STATE_SYSTEM_CHECKED},
                  {ROLE_SYSTEM_LINK, L"《用户许可协议》", kAct},
                  Text(L"自定义安装"),
                  Button(L"自定义安装"),
                  kMinimiseButton,
                  kCloseButton});
    EXPECT_EQ(start, Dump(dialog_->Handle())) << "start page; the custom area lies below the edge";

    dialog_->SetItemCheck(kAgree, false);
    Click(kAgree);
    std::vector<Element> refused = start;
    refused[3] = Button(L"开始安装", STATE_SYSTEM_UNAVAILABLE);
    refused[4].state = kAct;
    EXPECT_EQ(refused, Dump(dialog_->Handle())) << "licence not accepted";
    dialog_->SetItemCheck(kAgree, true);
    Click(kAgree);

    Click(kCustomToggle);
    std::vector<Element> custom(start.begin(), start.end() - 3);
    custom.insert(custom.end(),
                  {Button(L"自定义安装", kAct | STATE_SYSTEM_PRESSED),
                   Text(L"安装位置："),
                   Button(L"浏览"),
                   {ROLE_SYSTEM_CHECKBUTTON, L"开机启动Velora", kAct | STATE_SYSTEM_CHECKED},
                   kMinimiseButton,
                   kCloseButton});
    EXPECT_EQ(custom, Dump(dialog_->Handle())) << "custom area open";
    Click(kCustomToggle);

    Click(kInstall);
    dialog_->SetInstallState(InstallState::Installing);
    dialog_->OnInstallProgress(37);
    const std::vector<Element> progress = {kLogo,
                                           Text(L"正在为您安装 Velora，请稍候"),
                                           {ROLE_SYSTEM_PROGRESSBAR, L"安装进度", 0},
                                           Text(L"正在安装 37%"),
                                           kMinimiseButton,
                                           kCloseButton};
    EXPECT_EQ(progress, Dump(dialog_->Handle())) << "progress page";
    EXPECT_EQ(L"37%", ValueOf(dialog_->Handle(), ROLE_SYSTEM_PROGRESSBAR));
    dialog_->OnInstallProgress(64);
    EXPECT_EQ(L"64%", ValueOf(dialog_->Handle(), ROLE_SYSTEM_PROGRESSBAR));

    test::TempFolder dir(L"velora_reader_done");
    CopyBounded(dialog_->InstallDir(), dir.Path().c_str());
    ::CreateDirectoryW((dir / L"Program").c_str(), nullptr);
    test::WriteFileBytes(dir / L"Program\\Dovanix.exe", "MZ");
    dialog_->OnInstallProgress(100);
    std::vector<Element> finished = startHead;
    finished.insert(finished.end(), {Button(L"立即体验"), kMinimiseButton, kCloseButton});
    EXPECT_EQ(finished, Dump(dialog_->Handle())) << "finished";
}

struct MessageCase {
    UINT layout;
    std::vector<Element> children;
};

TEST_F(ScreenReader, MessageDialogsReadTheirTitleTextAndButtons) {
    const Element head[] = {Text(L"提示"), Picture(L"信息")};
    const MessageCase cases[] = {
        {104,
         {head[0], head[1], Text(L"确定要退出安装流程吗？"), Button(L"确定"), Button(L"取消")}},
        {107,
         {head[0], head[1], Text(L"当前使用的操作系统版本过低，建议在"),
          Text(L"Windows XP及以上系统版本安装使用."), Button(L"继续安装"), Button(L"取消")}},
        {108,
         {head[0], head[1], Text(L"Velora正在运行，继续运行会关闭"), Text(L"Velora."),
          Button(L"继续安装"), Button(L"退出安装")}},
    };
    for (const MessageCase& c : cases) {
        CMsgDlg dialog;
        ASSERT_TRUE(dialog.LoadLayout(c.layout));
        ASSERT_NE(nullptr, dialog.Create(nullptr));
        EXPECT_EQ(c.children, Dump(dialog.Handle())) << "layout " << c.layout;
    }
    CNoticeDlg notice(105);
    ASSERT_NE(nullptr, notice.Create(nullptr));
    const std::vector<Element> noticeChildren = {
        head[0], head[1], Text(L"Velora正在安装，请等待安装完成。"), Button(L"关闭")};
    EXPECT_EQ(noticeChildren, Dump(notice.Handle()));
}

TEST_F(ScreenReader, TheAgreementIsOneDocumentWithTheWholeLicence) {
    CMsgDlg owner;
    ASSERT_NE(owner.Create(nullptr), nullptr);
    CAgreeDlg* agreement = CAgreeDlg::Open(owner);
    ASSERT_NE(agreement, nullptr);
    const HWND window = agreement->Handle();
    const std::vector<Element> expected = {kLogo,
                                           kMinimiseButton,
                                           kCloseButton,
                                           {ROLE_SYSTEM_DOCUMENT, L"用户许可协议", kAct},
                                           Button(L"取消")};
    EXPECT_EQ(expected, Dump(window));
    const std::wstring licence = ValueOf(window, ROLE_SYSTEM_DOCUMENT);
    EXPECT_EQ(0u, licence.find(L"Velora 用户许可协议\n"));
    EXPECT_NE(std::wstring::npos, licence.find(L"14.2 本协议各条的标题")) << "to the last clause";
    ::DestroyWindow(window);
}

struct Event {
    DWORD event;
    LONG child;
};
std::vector<Event>* g_events = nullptr;
HWND g_window = nullptr;

void CALLBACK OnWinEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD,
                         DWORD) {
    if (g_events != nullptr && window == g_window && object == OBJID_CLIENT) {
        g_events->push_back({event, child});
    }
}

TEST_F(ScreenReader, ChangesAreAnnouncedOnceAndOnlyWhenSomethingChanged) {
    OpenMain();
    std::vector<Event> events;
    g_events = &events;
    g_window = dialog_->Handle();
    HWINEVENTHOOK hook =
        ::SetWinEventHook(EVENT_OBJECT_STATECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr, &OnWinEvent,
                          ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(nullptr, hook);
    const LONG bar = dialog_->FindControl(kProgressBar)->Handle();
    const LONG text = dialog_->FindControl(kProgressText)->Handle();
    const LONG box = dialog_->FindControl(kAgree)->Handle();
    const LONG install = dialog_->FindControl(kInstall)->Handle();
    dialog_->SetInstallState(InstallState::Installing);
    dialog_->OnInstallProgress(37);
    dialog_->OnInstallProgress(37);  // nothing new
    dialog_->SetItemCheck(kAgree, false);
    dialog_->SetItemCheck(kAgree, false);
    dialog_->EnableItem(kInstall, false);
    test::PumpFor(200);
    ::UnhookWinEvent(hook);
    g_events = nullptr;
    ASSERT_FALSE(events.empty()) << "no event reached the hook";
    const auto count = [&](DWORD event, LONG child) {
        int n = 0;
        for (const Event& e : events) {
            n += e.event == event && e.child == child ? 1 : 0;
        }
        return n;
    };
    EXPECT_EQ(1, count(EVENT_OBJECT_VALUECHANGE, bar));
    EXPECT_EQ(1, count(EVENT_OBJECT_NAMECHANGE, text));
    EXPECT_EQ(1, count(EVENT_OBJECT_STATECHANGE, box));
    EXPECT_EQ(1, count(EVENT_OBJECT_STATECHANGE, install));
    EXPECT_EQ(4u, events.size());
}

}  // namespace
}  // namespace velora

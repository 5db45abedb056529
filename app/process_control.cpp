#include "app/process_control.h"

#include <windows.h>
#include <tlhelp32.h>

#include <functional>

#include "base/win_handles.h"

namespace velora {
namespace {

// Calls `visit` with each process entry until it returns true. False when the
// snapshot could not be taken.
bool ForEachProcess(const std::function<bool(const PROCESSENTRY32W&)>& visit) {
    ScopedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) {
        return false;
    }
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
         more = Process32NextW(snapshot.Get(), &entry)) {
        if (visit(entry)) {
            break;
        }
    }
    return true;
}

bool HasImageName(const PROCESSENTRY32W& entry, const wchar_t* imageName) {
    // The snapshot's name is terminated within its array; make sure of it.
    wchar_t name[MAX_PATH];
    lstrcpynW(name, entry.szExeFile, MAX_PATH);
    return lstrcmpiW(name, imageName) == 0;
}

bool IsEmpty(const wchar_t* text) {
    return text == nullptr || text[0] == L'\0';
}

}  // namespace

bool FindProcessByName(const wchar_t* imageName) {
    if (IsEmpty(imageName)) {
        return false;
    }
    bool found = false;
    ForEachProcess([&](const PROCESSENTRY32W& entry) {
        found = HasImageName(entry, imageName);
        return found;
    });
    return found;
}

bool TerminateProcessByName(const wchar_t* imageName) {
    if (IsEmpty(imageName)) {
        return true;
    }
    ForEachProcess([&](const PROCESSENTRY32W& entry) {
        if (!HasImageName(entry, imageName)) {
            return false;
        }
        ScopedHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID));
        if (process) {
            TerminateProcess(process.Get(), 0);
        }
        return true;  // only the first match, opened or not
    });
    return true;
}

}  // namespace velora

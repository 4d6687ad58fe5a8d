#include "DirList.h"

#include "common/FileKind.h"
#include "common/FormClass.h"
#include "common/Forms.h"
#include "common/Handles.h"
#include "startup/FolderPath.h"

#include <commctrl.h>

#include <algorithm>

namespace {

// Subdirectory names, sorted without regard to case; hidden ones left out. A folder that
// cannot be read simply has none.
std::vector<std::wstring> Subdirectories(const std::wstring& dir) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    FindHandle find(FindFirstFileW(JoinPath(dir, L"*").c_str(), &data));
    if (!find) return names;
    do {
        const std::wstring name = data.cFileName;
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
            (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) || name == L"." || name == L"..")
            continue;
        names.push_back(name);
    } while (FindNextFileW(find.Get(), &data));
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) ==
               CSTR_LESS_THAN;
    });
    return names;
}

void DrawFolder(HDC dc, int x, int y, int size, bool open) {
    const int w = size, h = size * 3 / 4;
    const int top = y + (size - h) / 2;
    const COLORREF outline = RGB(128, 96, 0);
    GdiObject pen(CreatePen(PS_SOLID, 1, outline));
    GdiObject back(CreateSolidBrush(RGB(230, 190, 60)));
    GdiObject front(CreateSolidBrush(RGB(255, 225, 120)));
    const Selection penSelected(dc, pen.Get());
    const Selection brushSelected(dc, back.Get());
    // Tab and back of the folder.
    Rectangle(dc, x, top, x + w / 2, top + h / 4 + 1);
    Rectangle(dc, x, top + h / 6, x + w, top + h);
    SelectObject(dc, front.Get());
    if (open) {
        POINT flap[] = {
            {x + w / 5, top + h / 3}, {x + w, top + h / 3}, {x + w * 4 / 5, top + h}, {x, top + h}};
        Polygon(dc, flap, 4);
    } else {
        Rectangle(dc, x, top + h / 3, x + w, top + h);
    }
}

} // namespace

void DirList::Create(HWND parent, int id, const RECT& bounds) {
    hwnd_ = CreateWindowExW(
        WS_EX_CLIENTEDGE, L"LISTBOX", nullptr,
        // Owner-drawn for the folder pictures, with the names as the items' strings: screen
        // readers read them, and typing a letter moves to the next folder that starts with it.
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWFIXED |
            LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT,
        bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (!hwnd_) return;
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont()), FALSE);
    TEXTMETRICW tm{};
    {
        const WindowDC dc(hwnd_);
        const Selection font(dc.Get(), DialogFont());
        GetTextMetricsW(dc.Get(), &tm);
    }
    itemHeight_ = std::max<int>(tm.tmHeight + 2, 16);
    SendMessageW(hwnd_, LB_SETITEMHEIGHT, 0, itemHeight_);
    SetWindowSubclass(hwnd_, ListProc, 1, reinterpret_cast<DWORD_PTR>(this));

    std::wstring start(MAX_PATH, L'\0');
    const DWORD n = GetCurrentDirectoryW(static_cast<DWORD>(start.size()), start.data());
    start.resize(n);
    if (!Open(start)) Open(L"C:\\");
}

bool DirList::SetPath(const std::wstring& path) {
    if (!Open(path)) return false;
    chosen_ = true;
    return true;
}

bool DirList::Open(const std::wstring& path) {
    if (path.empty()) return false;
    const DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (n == 0) return false;
    std::wstring full(n, L'\0');
    full.resize(GetFullPathNameW(path.c_str(), n, full.data(), nullptr));
    full = WithoutTrailingSlash(full);
    if (PathRoot(full).empty() || !IsFolder(full)) return false;
    path_ = full;
    Refill();
    return true;
}

void DirList::Refill() {
    entries_.clear();
    const std::vector<std::wstring> chain = PathChain(path_);
    for (std::size_t i = 0; i < chain.size(); ++i) {
        std::wstring label = chain[i];
        if (i > 0) label = label.substr(label.find_last_of(L'\\') + 1);
        entries_.push_back({chain[i], label, static_cast<int>(i), true});
    }
    const int childLevel = static_cast<int>(chain.size());
    for (const std::wstring& name : Subdirectories(path_))
        entries_.push_back({JoinPath(path_, name), name, childLevel, false});

    if (!hwnd_) return;
    // The path is also the list's window text, for screen readers and test drivers.
    SetWindowTextW(hwnd_, path_.c_str());
    SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(hwnd_, LB_RESETCONTENT, 0, 0);
    for (const Entry& entry : entries_)
        SendMessageW(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.label.c_str()));
    SendMessageW(hwnd_, LB_SETCURSEL, chain.size() - 1, 0);
    SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void DirList::OpenHighlighted() {
    const LRESULT index = SendMessageW(hwnd_, LB_GETCURSEL, 0, 0);
    if (index < 0 || static_cast<std::size_t>(index) >= entries_.size()) return;
    const std::wstring target = entries_[static_cast<std::size_t>(index)].path;
    if (!SetPath(target)) Refill(); // it vanished meanwhile: show what is there now
}

void DirList::DrawItem(const DRAWITEMSTRUCT& item) const {
    if (item.itemID == static_cast<UINT>(-1) || item.itemID >= entries_.size()) return;
    const Entry& entry = entries_[item.itemID];
    const bool selected = item.itemState & ODS_SELECTED;
    HDC dc = item.hDC;
    FillRect(dc, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const int icon = itemHeight_ - 4;
    const int indent = itemHeight_ * 2 / 3;
    const int x = item.rcItem.left + 2 + entry.level * indent;
    DrawFolder(dc, x, item.rcItem.top + 2, icon, entry.open);
    RECT text = item.rcItem;
    text.left = x + icon + 4;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    {
        const Selection font(dc, DialogFont());
        DrawTextW(dc, entry.label.c_str(), -1, &text,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &item.rcItem);
}

LRESULT CALLBACK DirList::ListProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                   DWORD_PTR data) {
    auto* self = reinterpret_cast<DirList*>(data);
    return Guarded([&]() -> LRESULT {
        switch (msg) {
        case WM_GETDLGCODE:
            if (lp && reinterpret_cast<const MSG*>(lp)->message == WM_KEYDOWN && wp == VK_RETURN)
                return DefSubclassProc(hwnd, msg, wp, lp) | DLGC_WANTMESSAGE;
            break;
        case WM_KEYDOWN:
            if (wp == VK_RETURN) {
                self->OpenHighlighted();
                return 0;
            }
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(hwnd, ListProc, 1);
            self->hwnd_ = nullptr;
            break;
        }
        return DefSubclassProc(hwnd, msg, wp, lp);
    });
}

#pragma once
// A directory list in the manner of the classic directory list box: the drive root and
// each ancestor down to the current directory (open folders, each one step further in),
// then the current directory's subdirectories (closed folders). A click or the arrow keys
// only highlight an entry; a double click or Enter opens it, which makes it the current
// path. The list never leaves the drive of its current path.
#include <windows.h>

#include <string>
#include <vector>

class DirList {
  public:
    // Creates the list box as a child of `parent`, starting at the process's current
    // directory.
    void Create(HWND parent, int id, const RECT& bounds);
    HWND Hwnd() const { return hwnd_; }

    const std::wstring& Path() const { return path_; }
    // Opens `path`; false (and nothing changes) when it is not an existing directory.
    bool SetPath(const std::wstring& path);
    // Whether the current path was set or opened by the user, rather than being the
    // directory the list started at.
    bool Chosen() const { return chosen_; }

    // The parent forwards these.
    void DrawItem(const DRAWITEMSTRUCT& item) const;
    void OnDoubleClick() { OpenHighlighted(); }

  private:
    struct Entry {
        std::wstring path;
        std::wstring label;
        int level;
        bool open;
    };
    bool Open(const std::wstring& path);
    void Refill();
    void OpenHighlighted();
    static LRESULT CALLBACK ListProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

    HWND hwnd_ = nullptr;
    std::wstring path_;
    bool chosen_ = false;
    std::vector<Entry> entries_;
    int itemHeight_ = 16;
};

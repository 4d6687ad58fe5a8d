#pragma once
// The fixture of the tests that drive the real program: a clean settings key, a working
// folder, client folders with the stand-in BearShare.exe, and waits for its windows.
#include "common/Ansi.h"
#include "common/Texts.h"
#include "tests/win/Driver.h"
#include "tests/win/ProgramRun.h"
#include "tests/win/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

// The program started with only `folder` stored, and the setup dialog it opens at once
// (null when it did not).
struct SetupWithFolder {
    SetupWithFolder(const std::wstring& folder, const std::wstring& work)
        : program(StoreOnly(folder, work)), dialog(program.WaitWindow(texts::kSetupCaption)) {}
    Program program;
    HWND dialog;

  private:
    static const std::wstring& StoreOnly(const std::wstring& folder, const std::wstring& work) {
        ForgetSettings();
        StoreSetting(kFolderSetting, folder);
        return work;
    }
};

class Tolvaring : public testing::Test {
  protected:
    void SetUp() override {
        ForgetSettings();
        work = MakeTempFolder(L"work");
    }
    void TearDown() override { ForgetSettings(); }

    // A client folder with the stand-in BearShare.exe (unless told otherwise).
    static std::wstring ClientFolder(const std::wstring& name, bool withClient = true) {
        const std::wstring folder = MakeTempFolder(name);
        if (withClient) PutClient(folder);
        return folder;
    }

    static void Store(const wchar_t* name, const std::wstring& value) { StoreSetting(name, value); }
    static std::wstring Stored(const wchar_t* name) {
        const RawValue raw = RawSetting(name);
        return raw.exists ? FromAnsi(raw.bytes.substr(0, raw.bytes.find('\0'))) : L"<none>";
    }
    static std::wstring StartRecord(const std::wstring& folder) {
        const std::wstring file = folder + L"\\started.txt";
        // The client writes its record at once; it is whole when its last line has come.
        WaitUntil(
            [&] {
                const std::wstring text = ReadFileText(file);
                return text.find(L"cwd=") != std::wstring::npos && text.back() == L'\n';
            },
            10000);
        return ReadFileText(file);
    }
    // Answers the no-address question with Yes and returns the setup dialog it opens.
    HWND SetupAfterYes(Program& program) {
        HWND box = WaitMessageBox(program);
        if (!box) return nullptr;
        Click(GetDlgItem(box, IDYES));
        return program.WaitWindow(texts::kSetupCaption);
    }
    // The setup dialog that `program` opens; null, and a failure, when it opens none.
    static HWND WaitSetup(Program& program) {
        HWND setup = program.WaitWindow(texts::kSetupCaption);
        if (!setup) ADD_FAILURE() << "no setup dialog";
        return setup;
    }
    HWND WaitMessageBox(Program& program) {
        HWND box = program.WaitWindow(texts::kAppTitle, L"#32770");
        if (!box)
            for (HWND h : program.Windows())
                ADD_FAILURE() << "window: [" << Narrow(ClassOf(h)) << "] [" << Narrow(CaptionOf(h))
                              << "]";
        return box;
    }

    std::wstring work;
};

#include "common/CommonControls.h"

#include "resources/resource.h"

#include <string>

namespace {

// Made once and kept until the program ends: windows made under it go on using it.
HANDLE Context() {
    static const HANDLE context = [] {
        std::wstring exe(MAX_PATH, L'\0');
        DWORD n;
        while ((n = GetModuleFileNameW(nullptr, exe.data(), static_cast<DWORD>(exe.size()))) ==
                   exe.size() &&
               exe.size() < 32768)
            exe.resize(exe.size() * 2);
        exe.resize(n);
        ACTCTXW context{};
        context.cbSize = sizeof context;
        context.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
        context.lpSource = exe.c_str();
        context.hModule = GetModuleHandleW(nullptr);
        context.lpResourceName = MAKEINTRESOURCEW(IDR_COMMON_CONTROLS_MANIFEST);
        return CreateActCtxW(&context);
    }();
    return context;
}

} // namespace

CommonControls6::CommonControls6() {
    if (Context() != INVALID_HANDLE_VALUE) active_ = ActivateActCtx(Context(), &cookie_);
}

CommonControls6::~CommonControls6() {
    if (active_) DeactivateActCtx(0, cookie_);
}

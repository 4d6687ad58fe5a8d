#include "detect/RouterXml.h"

#include <windows.h>

#include <objbase.h>
#include <xmllite.h>

#include <algorithm>
#include <utility>

namespace {

template <class T> class ComPtr {
  public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() {
        if (p_) p_->Release();
    }
    T** Put() { return &p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    T* Get() const { return p_; }

  private:
    T* p_ = nullptr;
};

// The document for the reader to read: a stream over the bytes in memory. Windows' own
// memory streams would bring COM's DLLs into every start that finds a router.
class MemoryStream final : public ISequentialStream {
  public:
    explicit MemoryStream(std::string_view bytes) : rest_(bytes) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (id != __uuidof(IUnknown) && id != __uuidof(ISequentialStream)) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<ISequentialStream*>(this);
        return S_OK;
    }
    // Lives on the stack of Walk, longer than the reader that holds it.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG size, ULONG* read) override {
        const ULONG n = static_cast<ULONG>(std::min<std::size_t>(size, rest_.size()));
        std::copy_n(rest_.data(), n, static_cast<char*>(buffer));
        rest_.remove_prefix(n);
        if (read) *read = n;
        return n < size ? S_FALSE : S_OK;
    }
    HRESULT STDMETHODCALLTYPE Write(const void*, ULONG, ULONG*) override { return E_NOTIMPL; }

  private:
    std::string_view rest_;
};

// A description nests devices in devices three deep; a SOAP answer is shallower still.
constexpr LONG_PTR kMaxDepth = 24;

std::wstring Trimmed(const std::wstring& text) {
    const std::size_t first = text.find_first_not_of(L" \t\r\n");
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(L" \t\r\n") + 1 - first);
}

// Hands each element, as it ends, to `ended` with the local names of the elements it lies
// in (itself last) and its own text. False when the document is not well-formed, holds a
// DTD or nests deeper than kMaxDepth. DtdProcessing_Prohibit makes a document with a DTD an
// error, so no entity is ever expanded ("DtdProcessing enumeration", learn.microsoft.com);
// Wine's XmlLite refuses every DTD whatever the setting, so only Windows shows the setting.
template <class Ended> bool Walk(std::string_view xml, Ended ended) {
    MemoryStream stream(xml);
    ComPtr<IXmlReader> reader;
    if (FAILED(CreateXmlReader(__uuidof(IXmlReader), reinterpret_cast<void**>(reader.Put()),
                               nullptr)) ||
        FAILED(reader->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit)) ||
        FAILED(reader->SetProperty(XmlReaderProperty_MaxElementDepth, kMaxDepth)) ||
        FAILED(reader->SetInput(&stream)))
        return false;
    std::vector<std::wstring> path, texts;
    XmlNodeType node;
    HRESULT hr;
    while ((hr = reader->Read(&node)) == S_OK) {
        const wchar_t* value = nullptr;
        UINT length = 0;
        switch (node) {
        case XmlNodeType_DocumentType:
            return false; // the reader refuses it already; never read one
        case XmlNodeType_Element:
            if (FAILED(reader->GetLocalName(&value, &length))) return false;
            path.emplace_back(value, length);
            texts.emplace_back();
            if (reader->IsEmptyElement()) {
                ended(path, texts.back());
                path.pop_back();
                texts.pop_back();
            }
            break;
        case XmlNodeType_Text:
        case XmlNodeType_CDATA:
        case XmlNodeType_Whitespace:
            if (FAILED(reader->GetValue(&value, &length))) return false;
            if (!texts.empty()) texts.back().append(value, length);
            break;
        case XmlNodeType_EndElement:
            if (path.empty()) return false;
            ended(path, texts.back());
            path.pop_back();
            texts.pop_back();
            break;
        default:
            break;
        }
    }
    return hr == S_FALSE && path.empty();
}

bool Is(const std::vector<std::wstring>& path, std::size_t fromEnd, const wchar_t* name) {
    return path.size() > fromEnd && path[path.size() - 1 - fromEnd] == name;
}

std::string Ascii(const std::wstring& text) {
    std::string ascii;
    for (wchar_t c : Trimmed(text))
        ascii.push_back(c < 0x80 ? static_cast<char>(c) : '\x7F'); // refused later as no URL
    return ascii;
}

} // namespace

std::optional<std::vector<RouterService>> ServicesIn(std::string_view description) {
    std::vector<RouterService> services;
    RouterService current;
    const bool read =
        Walk(description, [&](const std::vector<std::wstring>& path, const std::wstring& text) {
            if (Is(path, 0, L"serviceType") && Is(path, 1, L"service")) current.type = Ascii(text);
            if (Is(path, 0, L"controlURL") && Is(path, 1, L"service"))
                current.controlUrl = Ascii(text);
            if (Is(path, 0, L"service"))
                services.push_back(std::exchange(current, RouterService()));
        });
    if (!read) return std::nullopt;
    return services;
}

std::optional<std::wstring> ExternalAddressIn(std::string_view soapAnswer) {
    std::optional<std::wstring> address;
    bool fault = false;
    const bool read =
        Walk(soapAnswer, [&](const std::vector<std::wstring>& path, const std::wstring& text) {
            fault |= Is(path, 0, L"Fault");
            if (path.size() == 4 && Is(path, 0, L"NewExternalIPAddress") &&
                Is(path, 1, L"GetExternalIPAddressResponse") && Is(path, 2, L"Body") &&
                Is(path, 3, L"Envelope"))
                address = Trimmed(text);
        });
    if (!read || fault) return std::nullopt;
    return address;
}

// Adds a certificate (DER file) to the machine's root store of the Wine prefix it runs in:
// the test CA of the page server, trusted by this prefix alone.
#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <vector>

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) return 2;
    FILE* file = _wfopen(argv[1], L"rb");
    if (!file) return 1;
    std::vector<BYTE> der;
    for (int c; (c = std::fgetc(file)) != EOF;)
        der.push_back(static_cast<BYTE>(c));
    std::fclose(file);
    HCERTSTORE root =
        CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root");
    if (!root) return 1;
    const BOOL added = CertAddEncodedCertificateToStore(root, X509_ASN_ENCODING, der.data(),
                                                        static_cast<DWORD>(der.size()),
                                                        CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    CertCloseStore(root, 0);
    return added ? 0 : 1;
}

// Another program that happens to show a box titled like ours, until it is ended.
#include <windows.h>

int main() {
    MessageBoxW(nullptr, L"Ein anderes Programm", L"Tolvaring", MB_OK);
    return 0;
}

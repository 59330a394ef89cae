// A program that writes the ANSI code page it runs under, in decimal, to code_page.txt in
// its working directory, then waits to be ended: the end-to-end tests start it as they
// start QuillaWS.exe to see that a locale gives the code page they mean.
#include <windows.h>

#include <cstdio>

int main() {
    FILE* file = std::fopen("code_page.txt.part", "wb");
    if (!file) {
        return 1;
    }
    std::fprintf(file, "%u", GetACP());
    if (std::fclose(file) != 0 || !MoveFileExW(L"code_page.txt.part", L"code_page.txt", 0)) {
        return 1;
    }
    Sleep(INFINITE);  // ended by the test, which finds it by its name while it runs
    return 0;
}

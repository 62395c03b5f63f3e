// The Windows side of reading only regular files, built with MinGW-w64 and run under Wine:
// a regular file is read whole; NUL, CON, COM1, a folder and a named pipe are refused without
// blocking. Prints one line per case and exits non-zero when one fails.
#include "NativeFile.h"

#include <windows.h>

#include <cstdio>
#include <string>

using Korveth::FileRefusal;
using Korveth::NativeFile;

namespace {

int failures = 0;

void expect(bool ok, const std::string &what)
{
    std::printf("%s: %s\n", ok ? "ok" : "FAIL", what.c_str());
    failures += ok ? 0 : 1;
}

} // namespace

int main()
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "korveth-regular.cmd";
    {
        std::FILE *f = std::fopen(path.c_str(), "wb");
        std::fputs("put look\r\n", f);
        std::fclose(f);
    }
    NativeFile file = NativeFile::openRegular(path, 1 << 20);
    char text[64] = {};
    expect(file.isOpen() && file.size() == 10 && file.read(text, sizeof text) == 10
               && std::string(text) == "put look\r\n",
           "a regular file is read");
    file = NativeFile();
    expect(NativeFile::openRegular(path, 5).refusal() == FileRefusal::TooLarge,
           "a file past the limit is refused");
    DeleteFileA(path.c_str());

    for (const std::string &device : {std::string("NUL"),
                                      std::string("CON"),
                                      std::string("com1"),
                                      std::string("nul.txt"),
                                      std::string(folder) + "AUX",
                                      std::string("\\\\.\\PhysicalDrive0")})
        expect(NativeFile::openRegular(device, 1 << 20).refusal() == FileRefusal::NotRegular,
               device + " is refused as a device");
    expect(NativeFile::openRegular(folder, 1 << 20).refusal() == FileRefusal::Folder,
           "a folder is refused");
    expect(NativeFile::openRegular(std::string(folder) + "no-such.cmd", 1 << 20).refusal()
               == FileRefusal::SystemError,
           "a missing file gives the system's reason");

    // A named pipe with no one writing: a reader that opened it would wait for ever.
    const char *pipeName = "\\\\.\\pipe\\korveth-test";
    HANDLE pipe
        = CreateNamedPipeA(pipeName, PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 1, 0, 0, 0, nullptr);
    expect(pipe != INVALID_HANDLE_VALUE, "a named pipe is made");
    expect(NativeFile::openRegular(pipeName, 1 << 20).refusal() == FileRefusal::NotRegular,
           "a named pipe is refused");
    CloseHandle(pipe);
    expect(!Korveth::isRegularFileNative("NUL") && !Korveth::isRegularFileNative(folder),
           "NUL and a folder are not listed as scripts");
    return failures == 0 ? 0 : 1;
}

#pragma once

#include <cstdint>
#include <string>

// The one place that asks the system for a file to read. Only regular files are opened (a
// device, a pipe or a socket could block or never end), the open itself never waits, and the
// file's type and size are read from what was opened, not from a name that may have changed in
// between. Plain standard C++ and the system's own calls (POSIX, or Win32 on Windows), so that
// the Windows side can be built and tried without Qt.
namespace Korveth {

enum class FileRefusal {
    None,
    SystemError, // the system's own reason: not found, no permission, ...
    Folder,
    NotRegular, // a device, a pipe, a socket, or a name Windows keeps for a device
    TooLarge,
};

class NativeFile
{
public:
    // path: the system's bytes on POSIX systems, UTF-8 on Windows.
    static NativeFile openRegular(const std::string &path, std::int64_t maxBytes);

    NativeFile() = default;
    ~NativeFile();
    NativeFile(NativeFile &&other) noexcept;
    NativeFile &operator=(NativeFile &&other) noexcept;
    NativeFile(const NativeFile &) = delete;
    NativeFile &operator=(const NativeFile &) = delete;

    bool isOpen() const { return m_refusal == FileRefusal::None; }
    FileRefusal refusal() const { return m_refusal; }
    // For SystemError, and for a failed read: the system's words.
    const std::string &systemMessage() const { return m_message; }
    // The size when it was opened.
    std::int64_t size() const { return m_size; }
    // Up to room bytes into to: the count, 0 at the end, -1 on an error (systemMessage says why).
    std::int64_t read(char *to, std::int64_t room);

private:
    void close();

#ifdef _WIN32
    void *m_handle = nullptr; // a HANDLE
#else
    int m_fd = -1;
#endif
    FileRefusal m_refusal = FileRefusal::SystemError;
    std::int64_t m_size = 0;
    std::string m_message;
};

// Whether the path leads (links followed) to a regular file: what may be listed or opened.
bool isRegularFileNative(const std::string &path);

// Whether a path names one of the devices Windows keeps in every folder (CON, NUL, COM1, ...) or
// lies in its device namespace (\\.\): such a name is never opened. Known on every system, so
// that it can be tested anywhere.
bool isWindowsDeviceName(const std::string &path);

} // namespace Korveth

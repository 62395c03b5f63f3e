#include "NativeFile.h"

#include <algorithm>
#include <cctype>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace Korveth {

bool isWindowsDeviceName(const std::string &path)
{
    if (path.rfind("\\\\.\\", 0) == 0 || path.rfind("//./", 0) == 0)
        return true; // the device namespace: pipes, drives, consoles
    if (path.rfind("\\\\?\\", 0) == 0 || path.rfind("//?/", 0) == 0) {
        // Long paths to files are fine; devices through it are not.
        const std::string rest = path.substr(4);
        if (rest.rfind("GLOBALROOT", 0) == 0 || rest.rfind("globalroot", 0) == 0)
            return true;
    }
    // The last part, without its extension, spaces or dots at the end: "nul.txt", "COM1 " and
    // "con." all name the device.
    const std::size_t slash = path.find_last_of("\\/:");
    std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
    name = name.substr(0, name.find('.'));
    while (!name.empty() && (name.back() == ' ' || name.back() == '.'))
        name.pop_back();
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) {
        return char(std::toupper(c));
    });
    static const char *const devices[]
        = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"};
    if (std::find_if(
            std::begin(devices), std::end(devices), [&](const char *d) { return name == d; })
        != std::end(devices))
        return true;
    // COM1 to COM9 and LPT1 to LPT9, and the superscript digits Windows also takes.
    if (name.size() >= 4 && (name.rfind("COM", 0) == 0 || name.rfind("LPT", 0) == 0)) {
        const std::string digit = name.substr(3);
        return (digit.size() == 1 && digit[0] >= '0' && digit[0] <= '9') || digit == "\xC2\xB9"
               || digit == "\xC2\xB2" || digit == "\xC2\xB3";
    }
    return false;
}

NativeFile::NativeFile(NativeFile &&other) noexcept
{
    *this = std::move(other);
}

NativeFile &NativeFile::operator=(NativeFile &&other) noexcept
{
    if (this != &other) {
        close();
#ifdef _WIN32
        m_handle = std::exchange(other.m_handle, nullptr);
#else
        m_fd = std::exchange(other.m_fd, -1);
#endif
        m_refusal = std::exchange(other.m_refusal, FileRefusal::SystemError);
        m_size = other.m_size;
        m_message = std::move(other.m_message);
    }
    return *this;
}

NativeFile::~NativeFile()
{
    close();
}

#ifdef _WIN32

namespace {

std::wstring wide(const std::string &utf8)
{
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring out(std::size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), out.data(), n);
    return out;
}

std::string messageOf(DWORD error)
{
    char *text = nullptr;
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                                       | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr,
                                   error,
                                   0,
                                   reinterpret_cast<char *>(&text),
                                   0,
                                   nullptr);
    std::string message = n ? std::string(text, n) : "Windows error " + std::to_string(error);
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r'))
        message.pop_back();
    return message;
}

} // namespace

void NativeFile::close()
{
    if (m_handle)
        CloseHandle(std::exchange(m_handle, nullptr));
}

NativeFile NativeFile::openRegular(const std::string &path, std::int64_t maxBytes)
{
    NativeFile file;
    if (isWindowsDeviceName(path)) {
        file.m_refusal = FileRefusal::NotRegular;
        return file;
    }
    const std::wstring name = wide(path);
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        file.m_refusal = FileRefusal::Folder;
        return file;
    }
    // Shared for reading, writing and deleting: the player's front end may be writing the log.
    HANDLE handle = CreateFileW(name.c_str(),
                                GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr,
                                OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN,
                                nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        file.m_message = messageOf(GetLastError());
        return file;
    }
    file.m_handle = handle;
    // The type of what was opened: a name can lead to a pipe or a device in ways no name rule
    // knows (links, mounts).
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, &info)) {
        file.m_refusal = FileRefusal::NotRegular;
        file.close();
        return file;
    }
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        file.m_refusal = FileRefusal::Folder;
        file.close();
        return file;
    }
    file.m_size = (std::int64_t(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    if (file.m_size > maxBytes) {
        file.m_refusal = FileRefusal::TooLarge;
        file.close();
        return file;
    }
    file.m_refusal = FileRefusal::None;
    return file;
}

std::int64_t NativeFile::read(char *to, std::int64_t room)
{
    DWORD got = 0;
    const DWORD ask = DWORD(std::min<std::int64_t>(room, 1 << 30));
    if (!m_handle || !ReadFile(m_handle, to, ask, &got, nullptr)) {
        m_message = messageOf(GetLastError());
        return -1;
    }
    return got;
}

bool isRegularFileNative(const std::string &path)
{
    if (isWindowsDeviceName(path))
        return false;
    const DWORD attributes = GetFileAttributesW(wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)
           && !(attributes & FILE_ATTRIBUTE_DEVICE);
}

#else

void NativeFile::close()
{
    if (m_fd >= 0)
        ::close(std::exchange(m_fd, -1));
}

NativeFile NativeFile::openRegular(const std::string &path, std::int64_t maxBytes)
{
    NativeFile file;
    // Non-blocking, so that a FIFO with no writer cannot hold the open; the type is then checked
    // on what was opened.
    file.m_fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    struct stat info;
    if (file.m_fd < 0 || ::fstat(file.m_fd, &info) != 0) {
        file.m_message = std::strerror(errno);
        file.close();
        return file;
    }
    if (S_ISDIR(info.st_mode))
        file.m_refusal = FileRefusal::Folder;
    else if (!S_ISREG(info.st_mode))
        file.m_refusal = FileRefusal::NotRegular;
    else if (info.st_size > maxBytes)
        file.m_refusal = FileRefusal::TooLarge;
    else
        file.m_refusal = FileRefusal::None;
    file.m_size = info.st_size;
    if (file.m_refusal != FileRefusal::None)
        file.close();
    return file;
}

std::int64_t NativeFile::read(char *to, std::int64_t room)
{
    for (;;) {
        const ssize_t n = ::read(m_fd, to, std::size_t(room));
        if (n >= 0)
            return n;
        if (errno != EINTR) {
            m_message = std::strerror(errno);
            return -1;
        }
    }
}

bool isRegularFileNative(const std::string &path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

#endif

} // namespace Korveth

#include "FileSnapshot.h"

#include "RegularFile.h"

#include <QFileInfo>

#include <cstdint>
#include <cstring>

namespace Korveth {

namespace {

std::uint64_t mix(std::uint64_t h, std::uint64_t word)
{
    h = (h ^ word) * 0x9E3779B97F4A7C15ull;
    return h ^ (h >> 29);
}

std::uint64_t wordAt(const char *p)
{
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    return word;
}

// A fast hash of a file's bytes, to tell whether another program changed them (not a defence
// against anyone): four independent lanes of 8-byte words, so a 50 MB script costs a few ms.
size_t contentHash(QByteArrayView bytes)
{
    std::uint64_t a = 1, b = 2, c = 3, d = 4;
    const char *p = bytes.data();
    qsizetype n = bytes.size();
    for (; n >= 32; n -= 32, p += 32) {
        a = mix(a, wordAt(p));
        b = mix(b, wordAt(p + 8));
        c = mix(c, wordAt(p + 16));
        d = mix(d, wordAt(p + 24));
    }
    std::uint64_t h = mix(mix(a, b), mix(c, d));
    for (; n >= 8; n -= 8, p += 8)
        h = mix(h, wordAt(p));
    std::uint64_t tail = 0;
    if (n > 0) // an empty view may have no data at all
        std::memcpy(&tail, p, size_t(n));
    return size_t(mix(mix(h, tail), std::uint64_t(bytes.size())));
}

} // namespace

FileSnapshot FileSnapshot::of(const QString &path, QByteArrayView bytes)
{
    return {QFileInfo(path).isFile(), bytes.size(), contentHash(bytes)};
}

FileSnapshot FileSnapshot::read(const QString &path)
{
    const FileBytes read = readRegularFile(path);
    if (!read.error.isEmpty())
        return {};
    return {true, read.bytes.size(), contentHash(read.bytes)};
}

bool FileSnapshot::matchesDisk(const QString &path) const
{
    const QFileInfo info(path);
    if (!info.isFile() || !exists)
        return info.isFile() == exists;
    return info.size() == size && sameContent(read(path));
}

} // namespace Korveth

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

} // namespace

void ContentHash::add(QByteArrayView bytes)
{
    m_size += bytes.size();
    const char *p = bytes.data();
    qsizetype n = bytes.size();
    if (m_pendingSize > 0) {
        const qsizetype taken = qMin<qsizetype>(n, qsizetype(sizeof m_pending) - m_pendingSize);
        std::memcpy(m_pending + m_pendingSize, p, size_t(taken));
        m_pendingSize += int(taken);
        p += taken;
        n -= taken;
        if (m_pendingSize < int(sizeof m_pending))
            return;
        addBlock(m_pending);
        m_pendingSize = 0;
    }
    for (; n >= 32; n -= 32, p += 32)
        addBlock(p);
    if (n > 0) // an empty view may have no data at all
        std::memcpy(m_pending, p, size_t(n));
    m_pendingSize = int(n);
}

void ContentHash::addBlock(const char *block)
{
    for (int lane = 0; lane < 4; ++lane)
        m_lanes[lane] = mix(m_lanes[lane], wordAt(block + 8 * lane));
}

size_t ContentHash::value() const
{
    std::uint64_t h = mix(mix(m_lanes[0], m_lanes[1]), mix(m_lanes[2], m_lanes[3]));
    const char *p = m_pending;
    int n = m_pendingSize;
    for (; n >= 8; n -= 8, p += 8)
        h = mix(h, wordAt(p));
    std::uint64_t tail = 0;
    std::memcpy(&tail, p, size_t(n));
    return size_t(mix(mix(h, tail), std::uint64_t(m_size)));
}

size_t ContentHash::of(QByteArrayView bytes)
{
    ContentHash hash;
    hash.add(bytes);
    return hash.value();
}

FileSnapshot FileSnapshot::of(const QString &path, QByteArrayView bytes)
{
    return of(path, bytes.size(), ContentHash::of(bytes));
}

FileSnapshot FileSnapshot::of(const QString &path, qint64 size, size_t hash)
{
    return {QFileInfo(path).isFile(), size, hash};
}

FileSnapshot FileSnapshot::read(const QString &path)
{
    const FileBytes read = readRegularFile(path);
    if (!read.error.isEmpty())
        return {};
    return {true, read.bytes.size(), ContentHash::of(read.bytes)};
}

bool FileSnapshot::matchesDisk(const QString &path) const
{
    const QFileInfo info(path);
    if (!info.isFile() || !exists)
        return info.isFile() == exists;
    return info.size() == size && sameContent(read(path));
}

} // namespace Korveth

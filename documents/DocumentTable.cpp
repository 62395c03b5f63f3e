#include "DocumentTable.h"

#include <QFileInfo>

#include <algorithm>

namespace Korveth {

namespace {

QString samenessKey(const QString &path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

} // namespace

ScriptDocument &DocumentTable::enter(std::unique_ptr<ScriptDocument> document)
{
    Q_ASSERT(!full());
    const auto free = std::find(m_entries.begin(), m_entries.end(), nullptr);
    ++m_count;
    document->m_entry = int(free - m_entries.begin()) + 1;
    document->m_number = ++m_lastNumber;
    *free = std::move(document);
    return **free;
}

std::unique_ptr<ScriptDocument> DocumentTable::remove(const ScriptDocument &document)
{
    const int entry = document.entry();
    if (at(entry) != &document)
        return {};
    --m_count;
    std::unique_ptr<ScriptDocument> removed = std::move(m_entries[entry - 1]);
    removed->m_entry = 0;
    return removed;
}

ScriptDocument *DocumentTable::at(int entry) const
{
    return entry >= 1 && entry <= capacity ? m_entries[entry - 1].get() : nullptr;
}

QList<ScriptDocument *> DocumentTable::documents() const
{
    QList<ScriptDocument *> documents;
    for (const auto &document : m_entries) {
        if (document)
            documents.append(document.get());
    }
    return documents;
}

ScriptDocument *DocumentTable::ofFile(const QString &path) const
{
    const QString key = samenessKey(path);
    for (ScriptDocument *document : documents()) {
        if (!document->path().isEmpty() && samenessKey(document->path()) == key)
            return document;
    }
    return nullptr;
}

} // namespace Korveth

#pragma once

#include "ScriptDocument.h"

#include <QList>

#include <array>
#include <memory>

namespace Korveth {

// The open documents, apart from any window: twenty entries, and the numbers new documents are
// named and tagged by. It owns the documents; windows only show them.
class DocumentTable final
{
public:
    static constexpr int capacity = 20;

    bool full() const { return m_count >= capacity; }
    int count() const { return m_count; }
    // The number the last entered document took; the next takes one more, never reused.
    int lastNumber() const { return m_lastNumber; }

    // Puts the document in the first free entry with the next number; the table must not be full.
    ScriptDocument &enter(std::unique_ptr<ScriptDocument> document);
    // Frees the document's entry and hands the document back.
    std::unique_ptr<ScriptDocument> remove(const ScriptDocument &document);

    // Entries 1 to 20; null for an empty or unknown entry.
    ScriptDocument *at(int entry) const;
    // In entry order.
    QList<ScriptDocument *> documents() const;
    // The document tied to the file, paths compared after resolving links; null for none.
    ScriptDocument *ofFile(const QString &path) const;

private:
    std::array<std::unique_ptr<ScriptDocument>, capacity> m_entries;
    int m_count = 0;
    int m_lastNumber = 0;
};

} // namespace Korveth

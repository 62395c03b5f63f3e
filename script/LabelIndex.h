#pragma once

#include "LabelSet.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

namespace Korveth {

// Answers "does NAME followed by a colon occur anywhere in the script text?" with the plain
// substring semantics of the checker, without scanning the whole text per question.
//
// The text is read as UTF-8 bytes. Every colon is indexed by the hashes of the suffixes (up to 32
// bytes) of the run before it that holds no blank, line break or colon. A name is looked up by its
// longest colon-free piece and verified in place, so long names and names with colons are found
// without a scan. A bucket that many colons share (crafted runs with a common ending) is searched
// by binary search on the runs read backwards, so no input makes the search quadratic. A name whose
// longest piece holds a blank or line break falls back to one scan of the text, remembered for the
// run.
class LabelIndex
{
public:
    LabelIndex() = default;
    // An ASCII text is shared, not copied, and compared upper-cased as it is read; any other is
    // upper-cased once into a copy of its own.
    explicit LabelIndex(QByteArray scriptUtf8);
    explicit LabelIndex(QStringView scriptText);

    // NAME is compared upper-cased, as the checker compares.
    bool containsLabel(QStringView name) const;

    // Same as containsLabel for a name that is already upper-cased.
    bool containsUpperLabel(QStringView upperName) const;
    // Asks ahead for where a whole label name would be found (LabelSet::prefetch).
    void prefetch(QByteArrayView name) const { m_wholeRuns.prefetch(name); }

private:
    struct Entry
    {
        std::uint32_t key;
        std::uint32_t colon; // position of the colon that ends this suffix
    };

    char upperAt(qsizetype i) const;
    void indexSuffixes() const;
    bool scanText(QByteArrayView upperName) const;
    static void sortByKey(std::vector<Entry> &entries);
    // The colons of one large bucket ordered by the text of their runs read backwards, so that a
    // run ending with a given text is found by binary search.
    const std::vector<std::uint32_t> &runsByEnding(std::uint32_t key,
                                                   std::vector<Entry>::const_iterator first,
                                                   std::vector<Entry>::const_iterator last) const;

    static constexpr int bucketBits = 16;

    QByteArray m_text;    // upper-cased but for ASCII letters
    LabelSet m_wholeRuns; // every whole run before a colon
    // Made when first needed (indexSuffixes): a reader of the index is one thread at a time.
    mutable bool m_suffixesIndexed = false;
    mutable std::vector<Entry> m_entries; // sorted by key
    // Where the entries whose key starts with each value of the top bits begin; one more at the
    // end.
    mutable std::vector<std::uint32_t> m_bucketStarts;
    mutable QHash<QByteArray, bool> m_scanned;
    mutable QHash<std::uint32_t, std::vector<std::uint32_t>> m_sortedBuckets;
};

} // namespace Korveth

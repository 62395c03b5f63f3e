#pragma once

#include <QString>
#include <QStringView>

#include <span>

namespace Korveth {

// One entry of the command reference: what the user highlights (upper-cased), a title line, a
// syntax line (shown bold italic) and one or more text lines.
struct ReferenceEntry
{
    QStringView key;
    QStringView title;
    QStringView syntax;
    std::span<const QStringView> textLines;
};

// All entries, in the order the lookup tries their keys.
std::span<const ReferenceEntry> commandReference();

struct ReferenceLookup
{
    enum class Outcome {
        NothingSelected, // leave the reference box as it is
        Found,
        NotFound, // show notFoundPrefix followed by the selection as it was
    };
    Outcome outcome = Outcome::NothingSelected;
    const ReferenceEntry *entry = nullptr;
    QString selection;
};

inline constexpr QStringView notFoundPrefix = u"No reference found for ";

// Looks the selected text up: upper-cased, spaces (only) trimmed, equal to a key.
ReferenceLookup lookupReference(QStringView selection);

} // namespace Korveth

#pragma once

#include "LabelList.h"
#include "ModernChecker.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <functional>

namespace Korveth {

// What may be typed at a place in a line.
struct CompletionPlace
{
    enum Kind { Nothing, Command, Label } kind = Nothing;
    qsizetype wordStart = 0; // where the word being typed starts (UTF-16 units)
};

// A command while the line's first word is typed; a label after goto, gosub, match or matchre.
CompletionPlace completionPlace(QStringView line, qsizetype column);

// Names sorted as the completion list shows them: letter case ignored, each once. Kept as the
// one line of UTF-8 the editor's list is handed, the names apart by blanks, with where each
// starts: a long script's 80,000 labels took a string each, and were joined again for each list.
class CompletionList
{
public:
    CompletionList() = default;
    // Sorts the names and keeps each once.
    explicit CompletionList(const QStringList &names);
    // The same for count names handed out one by one, none of them copied for the sort.
    CompletionList(qsizetype count, const std::function<QStringView(qsizetype)> &nameAt);

    qsizetype size() const { return m_starts.size(); }
    QString at(qsizetype i) const { return QString::fromUtf8(utf8At(i)); }
    QStringList names() const;
    // Whether a name starts with the text, letter case ignored: the list is only worth showing
    // then. A binary search.
    bool offers(QStringView typed) const;
    // The names in order, a blank after each but the last.
    const QByteArray &joined() const { return m_joined; }

private:
    QByteArrayView utf8At(qsizetype i) const;

    QByteArray m_joined;
    QList<std::uint32_t> m_starts; // shared, as the list is, by the copies the editor keeps
};

// A script's own labels, then those its includes bring in, as completion offers them.
CompletionList labelCompletions(const LabelList &defined, const QStringList &included);

// The first words of the dialect; "if_" and its digits once.
const CompletionList &commandWords(Dialect dialect);

} // namespace Korveth

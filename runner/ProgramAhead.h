#pragma once

#include "RunProgram.h"

#include <QFuture>

#include <memory>
#include <optional>

namespace Korveth {

// A run's program made on a worker thread while the user reads the script: the first step of a
// long script then need not wait for it to be read, its labels found and its blocks closed. The
// last one made is kept: a run again of the same text starts at once.
class ProgramAhead
{
public:
    // What a program is made from, besides the text: which text (the editor's count of its
    // changes), the dialect chosen and where includes are looked for.
    struct Key
    {
        quint64 revision = 0;
        DialectChoice dialect = DialectChoice::Auto;
        IncludeSearch search;

        friend bool operator==(const Key &, const Key &) = default;
    };
    struct Made
    {
        std::shared_ptr<const RunProgram> program;
        Dialect dialect = Dialect::Classic;
    };

    // The program for a text, made here and now.
    static Made make(QByteArrayView utf8, const Key &key, ScriptLibrary *library);

    ~ProgramAhead();
    // Starts making the program for key on a worker thread, unless it is made or being made;
    // false when the thread is still making an older one (ask again later).
    bool start(const Key &key, QByteArray utf8, ScriptLibrary *library);
    // The program made for key, waited for if it is still being made; nothing when what was made
    // is for another key.
    std::optional<Made> find(const Key &key) const;
    // Whether the program for key is made, so that find() would not wait.
    bool ready(const Key &key) const { return m_key == key && m_future.isFinished(); }
    // Keeps a program made elsewhere for key.
    void keep(const Key &key, Made made);

private:
    std::optional<Key> m_key;
    QFuture<Made> m_future;
};

} // namespace Korveth

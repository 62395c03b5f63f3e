#include "ProgramAhead.h"

#include "TextLines.h"

#include <QtConcurrent/QtConcurrentRun>

namespace Korveth {

ProgramAhead::Made ProgramAhead::make(QByteArrayView utf8, const Key &key, ScriptLibrary *library)
{
    const Dialect dialect = dialectFor(key.dialect, utf8);
    return {std::make_shared<const RunProgram>(decodeLargeUtf8(utf8), dialect, key.search, library),
            dialect};
}

ProgramAhead::~ProgramAhead()
{
    m_future.waitForFinished(); // it reads the library, which may go before the thread is done
}

bool ProgramAhead::start(const Key &key, QByteArray utf8, ScriptLibrary *library)
{
    if (m_key == key)
        return true;
    if (m_future.isRunning())
        return false;
    m_key = key;
    m_future = QtConcurrent::run(
        [key, utf8 = std::move(utf8), library] { return make(utf8, key, library); });
    return true;
}

std::optional<ProgramAhead::Made> ProgramAhead::find(const Key &key) const
{
    if (m_key != key)
        return std::nullopt;
    return m_future.result();
}

void ProgramAhead::keep(const Key &key, Made made)
{
    m_future.waitForFinished();
    m_key = key;
    m_future = QtFuture::makeReadyFuture(std::move(made));
}

} // namespace Korveth

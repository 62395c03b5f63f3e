#include "EditorTextFeed.h"

#include "LiveCheckSettings.h"
#include "ScriptEditor.h"
#include "ScriptModel.h"

namespace Korveth {

EditorTextFeed::EditorTextFeed(ScriptEditor &editor,
                               ScriptModel &model,
                               LiveCheckSettings &settings)
    : m_editor(editor)
    , m_model(model)
    , m_settings(settings)
    , m_changes([this](qsizetype from, qsizetype length) { return m_editor.utf8(from, length); })
{}

EditorTextFeed::~EditorTextFeed()
{
    stopOffering();
}

void EditorTextFeed::changing()
{
    m_offered.changing();
    m_model.textChanging();
}

void EditorTextFeed::bytesChanging(qsizetype length,
                                   qsizetype at,
                                   qsizetype removed,
                                   qsizetype inserted)
{
    changing();
    if (removed > 0)
        m_changes.removing(length, at, removed);
    else
        m_changes.inserting(length, at, inserted);
}

void EditorTextFeed::textReplacing()
{
    changing();
    m_changes.lose();
}

EditorTextFeed::Text EditorTextFeed::take()
{
    const QByteArrayView text = m_editor.utf8();
    m_offered.standing(text);
    return {m_changes.take(text.size()), QByteArray::fromRawData(text.data(), text.size())};
}

bool EditorTextFeed::give(const QString &path, Text text)
{
    bool changed = true;
    if (!text.change) {
        changed = m_model.update(std::move(text.bytes));
    } else if (m_model.replaceBytes(
                   std::move(text.bytes), text.change->from, text.change->before)) {
        changed = text.change->removed > 0 || text.change->inserted > 0;
    } else {
        m_wholeWanted = true;
        return false;
    }
    if (path.isEmpty())
        return true;
    if (m_offeredPath.isEmpty()) {
        // Read on the thread that needs it, from the editor's bytes: the library keeps no copy.
        m_settings.library().setOpenSource(path, [this] { return m_offered.read(); });
        m_offeredPath = path;
        m_offeredChanged = true;
    } else if (changed) {
        m_settings.library().changed(path);
        m_offeredChanged = true;
    }
    return true;
}

bool EditorTextFeed::wholeWanted()
{
    if (!std::exchange(m_wholeWanted, false))
        return false;
    m_changes.lose();
    return true;
}

void EditorTextFeed::giveNothing()
{
    m_model.update({});
    m_changes.lose();
    stopOffering();
}

void EditorTextFeed::tellChanged()
{
    if (std::exchange(m_offeredChanged, false))
        Q_EMIT m_settings.scriptChanged(m_offeredPath);
}

void EditorTextFeed::stopOffering()
{
    m_offeredChanged = false;
    const QString path = std::exchange(m_offeredPath, {});
    if (path.isEmpty())
        return;
    m_settings.library().closeText(path);
    Q_EMIT m_settings.scriptChanged(path);
}

} // namespace Korveth

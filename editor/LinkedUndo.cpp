#include "LinkedUndo.h"

#include <Qsci/qsciscintilla.h>

namespace Korveth {

LinkedUndo::LinkedUndo(QObject *parent)
    : QObject(parent)
{}

void LinkedUndo::link(const QList<QsciScintilla *> &editors)
{
    unlink();
    if (editors.size() < 2)
        return;
    for (QsciScintilla *editor : editors) {
        const std::size_t index = m_members.size();
        m_members.push_back({editor, true});
        m_connections.push_back(
            connect(editor,
                    &QsciScintillaBase::SCN_MODIFIED,
                    this,
                    [this, index](int, int type, const char *, int, int, int, int, int, int, int) {
                        modified(index, type);
                    }));
    }
}

void LinkedUndo::modified(std::size_t member, int type)
{
    // The editors are told before each piece of text goes in or out (they ask no more, to spare
    // copying the text into every notice).
    constexpr int textChanges
        = QsciScintillaBase::SC_MOD_INSERTTEXT | QsciScintillaBase::SC_MOD_DELETETEXT
          | QsciScintillaBase::SC_MOD_BEFOREINSERT | QsciScintillaBase::SC_MOD_BEFOREDELETE;
    if (m_undoing || member >= m_members.size() || !(type & textChanges))
        return;
    Member &changed = m_members[member];
    const bool undoingTheChange = changed.atChange && (type & QsciScintillaBase::SC_PERFORMED_UNDO);
    changed.atChange = false; // from now on its undo is its own
    // The change's step comes back in pieces; the others follow once it is whole.
    if (undoingTheChange)
        QMetaObject::invokeMethod(
            this, [this, member] { undoTheOthers(member); }, Qt::QueuedConnection);
}

void LinkedUndo::undoTheOthers(std::size_t from)
{
    QList<QsciScintilla *> undone, kept;
    m_undoing = true;
    for (std::size_t i = 0; i < m_members.size(); ++i) {
        QsciScintilla *editor = m_members[i].editor;
        if (!editor || i == from)
            continue;
        if (m_members[i].atChange) {
            editor->undo();
            undone.append(editor);
        } else {
            kept.append(editor);
        }
    }
    m_undoing = false;
    unlink();
    Q_EMIT undoneTogether(undone, kept);
}

void LinkedUndo::unlink()
{
    for (const QMetaObject::Connection &connection : m_connections)
        disconnect(connection);
    m_connections.clear();
    m_members.clear();
}

} // namespace Korveth

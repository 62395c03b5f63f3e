#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <vector>

#include <Qsci/qsciscintilla.h>

namespace Korveth {

// One change made in several editors at once (a label renamed across a library) is one step to
// undo: undoing it in one undoes it in every other that has not been edited since, so no script
// is left calling a name that another no longer has.
class LinkedUndo : public QObject
{
    Q_OBJECT
public:
    explicit LinkedUndo(QObject *parent = nullptr);

    // The editors, each with the change as its last undo step; a new link replaces the old.
    void link(const QList<QsciScintilla *> &editors);
    bool linked() const { return !m_members.empty(); }

Q_SIGNALS:
    // After the change was undone in one: the others undone with it, and those that keep it
    // since they were edited after it.
    void undoneTogether(const QList<QsciScintilla *> &undone, const QList<QsciScintilla *> &kept);

private:
    struct Member
    {
        QPointer<QsciScintilla> editor;
        bool atChange = true; // its last undo step is still the change
    };
    void modified(std::size_t member, int type);
    void undoTheOthers(std::size_t from);
    void unlink();

    std::vector<Member> m_members;
    std::vector<QMetaObject::Connection> m_connections;
    bool m_undoing = false;
};

} // namespace Korveth
